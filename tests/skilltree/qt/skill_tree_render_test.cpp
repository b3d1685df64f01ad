#include "skilltree/qt/tree_fixture.h"

#include "skilltree/tree_geometry.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <tuple>

namespace {

using namespace tree_test;

class TreeRender : public TreeDlgTest {
protected:
    // Client point of a tree point.
    static QPoint Client(int x, int y) { return {x + kTreeOriginX, y + kTreeOriginY}; }
    QRgb At(const QImage& image, int treeX, int treeY) {
        return image.pixel(Client(treeX, treeY)) | 0xFF000000u;
    }
    // Each (x, y, colour ref) in tree coordinates must hold that colour.
    void ExpectAt(const QImage& image, std::initializer_list<std::tuple<int, int, uint32_t>> pixels) {
        for (const auto& [x, y, colour] : pixels) EXPECT_EQ(At(image, x, y), Rgb(colour)) << x << "," << y;
    }
    void Hover(int node) {
        const SkillTreeNode& n = tree.nodes[node];
        QTest::mouseMove(&dlg, Client(IconLeft(n.column) + 5, IconTop(n.row) + 5));
    }
    void Save(const QImage& image, const char* name) {
        if (const char* dir = std::getenv("TOLVEMAR_SCREENSHOT_DIR"))
            image.save(QString::fromUtf8(dir) + QLatin1Char('/') + QLatin1String(name));
    }
};

// Whether any pixel of the rectangle (tree coordinates) has the colour.
bool Contains(const QImage& image, int l, int t, int r, int b, uint32_t colour) {
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if ((image.pixel(x + kTreeOriginX, y + kTreeOriginY) | 0xFF000000u) == Rgb(colour)) return true;
    return false;
}

TEST_F(TreeRender, FramesIconsAndGreyConnectors) {
    tree.nodes[0].level[0] = 1;  // grade 1: both pages
    dlg.Rules().OpenJobRecord(tree.job);
    const QImage image = dlg.RenderClient();
    Save(image, "synthetic-grade1.png");
    ASSERT_EQ(image.size(), QSize(518, 609));
    // Page 0: grey outer line 6 below its top, white inner line 2 inside it.
    ExpectAt(image, {{100, 6, 0x7F7F7F},
                     {100, 8, 0xFFFFFF},
                     {0, 200, 0x7F7F7F},
                     {2, 200, 0xFFFFFF},
                     {212, 430, 0x7F7F7F},
                     {468, 200, 0x7F7F7F}});
    // Alpha's icon: magenta border shows the button face, its square its colour.
    ExpectAt(image, {{34, 36, kButtonFaceColour}, {45, 47, kIconColour}});
    // An icon that does not load is a black square.
    ExpectAt(image, {{289, 163, 0x000000}, {312, 186, 0x000000}});
    // Grey connectors, one pixel wide, no arrowheads.
    ExpectAt(image, {{45, 130, 0x646464}, {44, 130, kButtonFaceColour}});
    EXPECT_FALSE(Contains(image, 0, 0, 500, 450, kArrowColour));
    EXPECT_FALSE(Contains(image, 0, 0, 500, 450, 0x0000FF));
    // Names in black under the icons; no level numbers anywhere.
    EXPECT_TRUE(Contains(image, 9, 61, 81, 72, 0x000000));
    EXPECT_FALSE(Contains(image, 33, 35, 57, 59, 0xFFFFFF));
    // Header: the portrait keyed on white, the points line in black.
    EXPECT_EQ(image.pixel(45, 60) | 0xFF000000u, Rgb(kPortraitColour));
    EXPECT_EQ(image.pixel(22, 22) | 0xFF000000u, Rgb(kButtonFaceColour));
    bool pointsInk = false;
    for (int y = 63; y < 80 && !pointsInk; ++y)
        for (int x = 115; x < 315 && !pointsInk; ++x) pointsInk = (image.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_TRUE(pointsInk);
}

TEST_F(TreeRender, HoveredSkillShowsItsRedPathsRingAndNumbers) {
    tree.nodes[1].level[0] = 5;
    dlg.Rules().RecountUsedPoints();
    Hover(3);
    const QImage image = dlg.RenderClient();
    Save(image, "synthetic-hover.png");
    // Beta to Alpha and Gamma to Beta in red, two pixels wide.
    ExpectAt(image, {{45, 130, 0x0000FF},
                     {44, 130, 0x0000FF},
                     {100, 175, 0x0000FF},
                     {100, 174, 0x0000FF},
                     {100, 176, kButtonFaceColour}});
    // Arrowheads at the dependents' ends, keyed on magenta.
    ExpectAt(image, {{158, 172, kArrowColour}, {155, 172, kButtonFaceColour}, {47, 158, kArrowColour}});
    // The red ring around Gamma, two pixels outside its icon.
    ExpectAt(image, {{159, 168, 0x0000FF},
                     {160, 168, 0x0000FF},
                     {185, 168, 0x0000FF},
                     {186, 168, 0x0000FF},
                     {187, 168, kButtonFaceColour},
                     {170, 162, 0x0000FF}});
    // Numbers: Gamma "-5" outlined red, Beta "2" outlined red, Alpha "3"
    // outlined blue (needed at 3, has 5); all white inside.
    EXPECT_TRUE(Contains(image, 161, 163, 185, 187, 0x0000FF));
    EXPECT_TRUE(Contains(image, 161, 163, 185, 187, 0xFFFFFF));
    EXPECT_TRUE(Contains(image, 33, 163, 57, 187, 0x0000FF));
    EXPECT_TRUE(Contains(image, 33, 35, 57, 59, 0xFF0000));
    EXPECT_TRUE(Contains(image, 33, 35, 57, 59, 0xFFFFFF));
    EXPECT_FALSE(Contains(image, 33, 35, 57, 59, 0x0000FF));
    // Off the icons everything is grey again.
    QTest::mouseMove(&dlg, QPoint(5, 300));
    EXPECT_EQ(At(dlg.RenderClient(), 45, 130), Rgb(0x646464));
}

TEST_F(TreeRender, DownwardArrowheadSitsBelowTheName) {
    tree.nodes[0].level[0] = 1;
    dlg.Rules().OpenJobRecord(tree.job);
    Hover(5);
    const QImage image = dlg.RenderClient();
    // Lost's path leaves its bottom edge at (301, 187); the arrowhead is
    // 2 + 11 pixels below it (one-line name), at (298, 200)-(304, 206).
    ExpectAt(image, {{303, 201, kArrowColour}, {303, 199, kButtonFaceColour}});
}

TEST_F(TreeRender, PageOneHasNoFrameFromGradeTwo) {
    tree.job.maxGrade = 2;
    tree.pages[2].rect = {300, 0, 532, 424};
    tree.nodes[0].level[0] = 2;
    dlg.Rules().OpenJobRecord(tree.job);
    const QImage image = dlg.RenderClient();
    ExpectAt(image, {{468, 200, kButtonFaceColour}, {300, 200, 0x7F7F7F}});
    // Its nodes are still drawn.
    EXPECT_EQ(At(image, 300, 47), Rgb(kIconColour));
}

TEST_F(TreeRender, PaintsThroughTheWidget) {
    dlg.show();
    const QImage grabbed = dlg.grab().toImage();
    EXPECT_EQ(grabbed.pixel(IconLeft(0) + 12 + kTreeOriginX, IconTop(0) + 12 + kTreeOriginY) | 0xFF000000u,
              Rgb(kIconColour));
    Save(grabbed, "synthetic-grab.png");
}

}  // namespace
