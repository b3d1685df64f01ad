#include "shell/options.h"
#include "shell/profile_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the order in which entries are read and written.
class RecordingProfile : public MemoryProfileStore {
public:
    int32_t GetProfileInt(const std::u16string& section, const std::u16string& entry,
                          int32_t defaultValue) override {
        reads.push_back(entry);
        EXPECT_EQ(section, u"Option");
        return MemoryProfileStore::GetProfileInt(section, entry, defaultValue);
    }
    bool WriteProfileString(const std::u16string& section, const std::u16string& entry,
                            const std::u16string& value) override {
        writes.push_back(entry);
        return MemoryProfileStore::WriteProfileString(section, entry, value);
    }
    std::vector<std::u16string> reads, writes;
};

const std::vector<std::u16string> kOrder = {u"SkillInfo", u"AutoChange", u"AutoCenter", u"AutoSave",
                                            u"SexType",   u"AutoUpdate", u"SaveToFile", u"Language"};

// The eight options in their stored order.
void ExpectOptions(const AppOptions& o, std::vector<int32_t> expected) {
    EXPECT_EQ((std::vector<int32_t>{o.SkillInfo, o.AutoChange, o.AutoCenter, o.AutoSave, o.SexType,
                                    o.AutoUpdate, o.SaveToFile, o.Language}),
              expected);
}

TEST(Options, EmptyProfileGivesTheDefaults) {
    RecordingProfile profile;
    ExpectOptions(ReadOptions(profile), {1, 1, 0, 1, 0, 1, 0, -1});
    EXPECT_EQ(profile.reads, kOrder);
}

TEST(Options, WritesAllEightInOrderAndReadsThemBack) {
    RecordingProfile profile;
    AppOptions options;
    options.SkillInfo = 0;
    options.AutoCenter = 1;
    options.SexType = 1;
    options.SaveToFile = 1;
    options.Language = 2;
    EXPECT_TRUE(WriteOptions(profile, options));
    EXPECT_EQ(profile.writes, kOrder);
    ExpectOptions(ReadOptions(profile), {0, 1, 1, 1, 1, 1, 1, 2});
}

TEST(Options, NormalisesDamagedValues) {
    MemoryProfileStore profile;
    profile.WriteProfileInt(u"Option", u"SkillInfo", -7);
    profile.WriteProfileInt(u"Option", u"AutoCenter", 2);
    profile.WriteProfileInt(u"Option", u"SexType", 5);
    profile.WriteProfileInt(u"Option", u"SaveToFile", INT32_MIN);
    for (int32_t bad : {3, -2, INT32_MAX, INT32_MIN}) {
        profile.WriteProfileInt(u"Option", u"Language", bad);
        SCOPED_TRACE(bad);
        ExpectOptions(ReadOptions(profile), {1, 1, 1, 1, 1, 1, 1, -1});
    }
    profile.values[{u"Option", u"Language"}] = u"1.5";
    EXPECT_EQ(ReadOptions(profile).Language, -1);
}

TEST(Options, ReportsAFailedWrite) {
    MemoryProfileStore profile;
    profile.failWrites = true;
    EXPECT_FALSE(WriteOptions(profile, AppOptions{}));
}

TEST(ParseInt32, AcceptsOnlyWholeDecimalInt32) {
    int32_t v = 0;
    EXPECT_TRUE(ParseInt32(u"2147483647", v));
    EXPECT_EQ(v, INT32_MAX);
    EXPECT_TRUE(ParseInt32(u"-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(ParseInt32(u"+12", v));
    EXPECT_EQ(v, 12);
    for (const char16_t* bad : {u"", u"-", u"2147483648", u"-2147483649", u"1 ", u"0x10", u"１"}) {
        EXPECT_FALSE(ParseInt32(bad, v));
    }
}

}  // namespace
