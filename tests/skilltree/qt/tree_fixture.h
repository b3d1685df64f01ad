// A small invented job tree, its skill records and its bitmaps, for the tree
// window's tests: four skills on two pages joined by connectors that leave
// their nodes in each of the four directions.
#pragma once

#include "data/tables.h"
#include "persistence/build_state.h"
#include "platform/qt/gdi_surface.h"
#include "shell/options.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/qt/tree_bitmaps.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tree_test {

inline constexpr int kJob = 7;                     // a job id of the table; its tree block is replaced
inline constexpr uint32_t kIconColour = 0x30A050;  // 0x00BBGGRR
inline constexpr uint32_t kPortraitColour = 0x806040;
inline constexpr uint32_t kArrowColour = 0x0000C8;

// Icon ids 9001..9004; a skill 5 whose icon does not load (id 9999).
inline QImage MakeBitmap(int id) {
    if (id >= 9001 && id <= 9004) {
        // A green square on magenta with a magenta 4-pixel border.
        QImage image(24, 24, QImage::Format_RGB32);
        image.fill(RgbOfColourRef(0xFF00FF));
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 20; ++x) image.setPixel(x, y, RgbOfColourRef(kIconColour));
        return image;
    }
    if (id >= 221 && id <= 224) {
        // Dark red with a magenta first column.
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(RgbOfColourRef(kArrowColour));
        for (int y = 0; y < 6; ++y) image.setPixel(0, y, RgbOfColourRef(0xFF00FF));
        return image;
    }
    if (id == 500 || id == kFallbackPortrait) {
        // A portrait on white: a 40 x 90 block inside a 60 x 110 picture.
        QImage image(60, 110, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 10; y < 100; ++y)
            for (int x = 10; x < 50; ++x) image.setPixel(x, y, RgbOfColourRef(kPortraitColour));
        return image;
    }
    return QImage();
}

inline SkillRecord MakeSkill(int index, int icon, const char16_t* name, int maxLevel) {
    SkillRecord record{};
    record.index = index;
    record.iconId = icon;
    std::memcpy(record.name[0], name, (std::char_traits<char16_t>::length(name) + 1) * 2);
    record.maxLevel = maxLevel;
    return record;
}

inline PrerequisiteEntry Entry(int skill, int level, int sx, int sy, std::vector<int> steps) {
    PrerequisiteEntry e{};
    e.skill = skill;
    e.requiredLevel = level;
    e.startX = sx;
    e.startY = sy;
    for (size_t i = 0; i < steps.size() && i < kPathSteps; ++i) e.path[i] = steps[i];
    return e;
}

// The tree (nodes in tree coordinates; icons at (64c + 33, 64r + 35)):
//   node 1  skill 1 "Alpha"  page 0 (0, 0)  max 5
//   node 2  skill 2 "Beta"   page 0 (0, 2)  needs 1 at 3: up from its top edge
//   node 3  skill 3 "Gamma"  page 0 (2, 2)  needs 2 at 2: left from its left edge
//   node 4  skill 4 "Delta"  page 1 (4, 0)  needs 3 at 1: right, then down
//   node 5  skill 5 "Lost"   page 1 (4, 2)  no icon; needs 4 at 1: down from
//                                            its bottom edge, then left
struct Tree {
    SkillRecord skills[6];
    SkillTreeNode nodes[kNodeCount];
    PageDescriptor pages[kPageCount];
    JobRecord job;

    Tree() : skills{}, nodes{}, pages{}, job{} {
        skills[1] = MakeSkill(1, 9001, u"Alpha", 5);
        skills[2] = MakeSkill(2, 9002, u"Beta", 5);
        skills[3] = MakeSkill(3, 9003, u"Gamma", 5);
        skills[4] = MakeSkill(4, 9004, u"Delta\nTwo", 3);
        skills[5] = MakeSkill(5, 9999, u"Lost", 2);
        auto node = [this](int i, int skill, int page, int c, int r) {
            nodes[i].skill = skill;
            nodes[i].page = page;
            nodes[i].column = c;
            nodes[i].row = r;
        };
        node(1, 1, 0, 0, 0);
        node(2, 2, 0, 0, 2);
        node(3, 3, 0, 2, 2);
        node(4, 4, 1, 4, 0);
        node(5, 5, 1, 4, 2);
        // Beta (icon at 33, 163) up to Alpha's bottom edge (59).
        nodes[2].prereq[0] = Entry(1, 3, 12, 0, {0, -104, kPathEnd});
        // Gamma (icon at 161, 163) left to Beta's right edge (57).
        nodes[3].prereq[0] = Entry(2, 2, 0, 12, {-104, kPathEnd});
        // Delta (icon at 289, 35) from its left edge: left 60, down 140, left 4.
        nodes[4].prereq[0] = Entry(3, 1, 0, 12, {-60, 140, -4, kPathEnd});
        // Lost (icon at 289, 163) from its bottom edge down 20 (arrowhead below
        // the name), then left.
        nodes[5].prereq[0] = Entry(4, 1, 12, 24, {0, 20, -30, kPathEnd});
        pages[0].rect = {0, 0, 212, 424};
        pages[0].titleText = 0;
        pages[1].rect = {256, 0, 468, 424};
        pages[1].titleText = 0;
        job.id = kJob;
        job.minGrade = 0;
        job.maxGrade = 1;
        job.nodes = nodes;
        job.pages = pages;
        job.pointLimit[0] = 10;
        job.pointLimit[1] = 10;
        for (auto& sex : job.portrait)
            for (int& p : sex) p = 500;
    }
};

// Process state as at start, with the test bitmaps and Korean texts.
inline void ResetState() {
    ResetBuildState();
    g_Options = AppOptions{};
    g_Options.Language = 0;
    SetTreeBitmapSource(MakeBitmap);
}

// Put first among a fixture's members: the window loads its arrowheads when
// it is made, so the test bitmaps must be in place before.
struct StateReset {
    StateReset() { ResetState(); }
};

inline QRgb Rgb(uint32_t colour) { return RgbOfColourRef(colour) | 0xFF000000u; }

// Replaces the description of a skill of the real table.
inline void SetDescription(int skill, const char16_t* text) {
    char16_t* d = g_SkillTable[skill].description;
    std::memset(d, 0, sizeof(g_SkillTable[skill].description));
    std::memcpy(d, text, std::char_traits<char16_t>::length(text) * 2);
}

// A tree window bound to the invented tree, over the test bitmaps.
class TreeDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.SetSkillTable(tree.skills, 6);
        dlg.Rules().OpenJobRecord(tree.job);
    }
    void TearDown() override {
        SetTreeBitmapSource({});
        ResetBuildState();
    }

    StateReset reset;
    Tree tree;
    CSkillTreeDlg dlg;
};

}  // namespace tree_test
