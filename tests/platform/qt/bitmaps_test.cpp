#include "platform/qt/bitmaps.h"
#include "data/tables.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QResource>
#include <QSet>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kDarkRed = 0xFFC80000;

QByteArray Digest(const QImage& image) {
    return QCryptographicHash::hash(
        QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()),
        QCryptographicHash::Sha1);
}

TEST(BitmapsTest, EverySkillHasItsOwnIconOnTheMagentaKey) {
    QSet<QByteArray> seen;
    int icons = 0;
    for (const SkillRecord& skill : g_SkillTable) {
        if (skill.index == 0) continue;
        const QImage icon = LoadBitmapResource(skill.iconId);
        ASSERT_FALSE(icon.isNull()) << skill.iconId;
        EXPECT_EQ(icon.size(), QSize(24, 24)) << skill.iconId;
        EXPECT_EQ(icon.pixel(0, 0), kMagenta) << skill.iconId;
        int opaque = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) opaque += icon.pixel(x, y) != kMagenta;
        EXPECT_GT(opaque, 300) << skill.iconId;  // a picture, not a hole
        seen.insert(Digest(icon));
        ++icons;
    }
    EXPECT_EQ(icons, 740);
    EXPECT_EQ(seen.size(), 740);
}

TEST(BitmapsTest, PortraitsOfEveryJobAndTheFallback) {
    QSet<int> ids;
    for (const JobRecord& job : g_JobTable)
        for (const auto& bySex : job.portrait)
            for (int32_t id : bySex)
                if (id != 0) ids.insert(id);
    int wide = 0;
    for (int id : ids) {
        const QImage portrait = LoadBitmapResource(id);
        ASSERT_FALSE(portrait.isNull()) << id;
        EXPECT_EQ(portrait.height(), 110) << id;
        EXPECT_TRUE(portrait.width() == 60 || portrait.width() == 62) << id;
        wide += portrait.width() == 62;
        EXPECT_EQ(portrait.pixel(0, 0), kWhite) << id;
        EXPECT_NE(portrait.pixel(portrait.width() / 2, 20), kWhite) << id;  // a head
    }
    EXPECT_EQ(wide, 1);
    const QImage fallback = LoadBitmapResource(kFallbackPortrait);
    EXPECT_EQ(fallback.size(), QSize(119, 99));
    EXPECT_TRUE(LoadBitmapResource(10000).isNull());
    EXPECT_TRUE(LoadBitmapResource(0).isNull());
}

// The chooser shows every job at its highest grade as soon as the program
// starts: those portraits are stored decoded and uncompressed, read by copying.
TEST(BitmapsTest, TheChoosersPortraitsAreStoredDecoded) {
    LoadBitmapResource(kFallbackPortrait);  // registers the resources
    int checked = 0;
    for (const JobRecord& job : g_JobTable) {
        if (job.maxGrade < 0 || job.maxGrade >= kPageCount) continue;
        for (const auto& bySex : job.portrait) {
            const int32_t id = bySex[job.maxGrade];
            if (id == 0) continue;
            const QResource resource(QStringLiteral(":/bmp/%1").arg(id));
            ASSERT_TRUE(resource.isValid()) << id;
            EXPECT_EQ(resource.compressionAlgorithm(), QResource::NoCompression) << id;
            EXPECT_TRUE(QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), 4) == "TVRB")
                << id;
            const QImage portrait = LoadBitmapResource(id);
            EXPECT_EQ(portrait.format(), QImage::Format_RGB32) << id;
            EXPECT_EQ(portrait.pixel(0, 0), kWhite) << id;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 * static_cast<int>(std::size(g_JobTable)));
}

// Expected arrowhead: 'R' red, 'D' dark red, '.' magenta, row by row.
void ExpectArrow(int id, const char* rows) {
    const QImage arrow = LoadBitmapResource(id);
    ASSERT_EQ(arrow.size(), QSize(6, 6)) << id;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const char c = rows[y * 6 + x];
            const QRgb want = c == 'R' ? kRed : c == 'D' ? kDarkRed : kMagenta;
            EXPECT_EQ(arrow.pixel(x, y), want) << id << " at " << x << "," << y;
        }
    }
}

TEST(BitmapsTest, ArrowheadsPointIntoTheNode) {
    ExpectArrow(221,
                "RR...."
                "RRRR.."
                "RRRRRR"
                "DDDDDD"
                "DDDD.."
                "DD....");
    ExpectArrow(222,
                "....DD"
                "..DDDD"
                "DDDDDD"
                "RRRRRR"
                "..RRRR"
                "....RR");
    ExpectArrow(223,
                "..RD.."
                "..RD.."
                ".RRDD."
                ".RRDD."
                "RRRDDD"
                "RRRDDD");
    ExpectArrow(224,
                "DDDRRR"
                "DDDRRR"
                ".DDRR."
                ".DDRR."
                "..DR.."
                "..DR..");
}

}  // namespace
