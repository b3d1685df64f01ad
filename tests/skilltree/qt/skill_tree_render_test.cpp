#include "skilltree/qt/tree_fixture.h"

#include "skilltree/tree_geometry.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace treetest;

class TreeRender : public ::testing::Test {
protected:
    void SetUp() override {
        ResetState();
        dlg.SetSkillTable(tree.skills, 6);
        dlg.Rules().OpenJobRecord(tree.job);
    }
    void TearDown() override {
        SetTreeBitmapSource({});
        ResetBuildState();
    }
    // Client point of a tree point.
    static QPoint Client(int x, int y) { return {x + kTreeOriginX, y + kTreeOriginY}; }
    QRgb At(const QImage& image, int treeX, int treeY) {
        return image.pixel(Client(treeX, treeY)) | 0xFF000000u;
    }
    void Hover(int node) {
        const SkillTreeNode& n = tree.nodes[node];
        QTest::mouseMove(&dlg, Client(IconLeft(n.column) + 5, IconTop(n.row) + 5));
    }
    void Save(const QImage& image, const char* name) {
        if (const char* dir = std::getenv("TOLVEMAR_SHOT_DIR"))
            image.save(QString::fromUtf8(dir) + QLatin1Char('/') + QLatin1String(name));
    }

    Tree tree;
    CSkillTreeDlg dlg;
};

TEST_F(TreeRender, SyntheticTreeForScreenshots) {
    tree.nodes[1].level[0] = 2;
    dlg.Rules().RecountUsedPoints();
    Hover(3);
    Save(dlg.RenderClient(), "synthetic.png");
    Save(dlg.grab().toImage(), "synthetic-grab.png");
}

}  // namespace
