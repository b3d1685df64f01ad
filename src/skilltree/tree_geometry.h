// Geometry and choices of the skill tree window that need no window: which
// nodes are visible, the hit test, the level number of a node, the connector
// paths and arrowheads, and the layout and enabling of the window's controls.
#pragma once

#include "data/tables.h"

#include <cstdint>
#include <string>

// Colours as 0x00BBGGRR values.
inline constexpr uint32_t kColourRed = 0x0000FF;
inline constexpr uint32_t kColourBlue = 0xFF0000;
inline constexpr uint32_t kColourBlack = 0x000000;
inline constexpr uint32_t kColourWhite = 0xFFFFFF;
inline constexpr uint32_t kColourMagenta = 0xFF00FF;

// The tree layer is shown in the client area shifted by this much.
inline constexpr int kTreeOriginX = 20;
inline constexpr int kTreeOriginY = 135;
inline constexpr int kHeaderHeight = 134;
inline constexpr int kIconSize = 24;

// Top-left of a node's icon in tree coordinates.
inline constexpr int IconLeft(int column) { return 64 * column + 33; }
inline constexpr int IconTop(int row) { return 64 * row + 35; }

struct LevelNumber {
    std::u16string text;  // empty: nothing is drawn
    uint32_t outline = kColourBlack;
    bool operator==(const LevelNumber&) const = default;
};

// The number drawn on a node's icon and its outline colour. `missing` is the
// number of levels the hovered skill still lacks over the whole tree.
LevelNumber ChooseLevelNumber(const SkillTreeNode& node, int slot, bool hovered, int missing);

// Start of a prerequisite entry's connector in tree coordinates.
struct TreePoint {
    int x = 0, y = 0;
    bool operator==(const TreePoint&) const = default;
};
TreePoint ConnectorStart(const SkillTreeNode& node, const PrerequisiteEntry& entry);

// Calls segment(from, to) for each step of the entry's path: x and y steps in
// turn, up to nine, ending early at a step of 65535. A step of 0 is still a
// (zero-length) segment; drawing it draws nothing.
template <typename Segment>
void ForEachConnectorSegment(const SkillTreeNode& node, const PrerequisiteEntry& entry, Segment&& segment) {
    TreePoint p = ConnectorStart(node, entry);
    for (int j = 0; j < kPathSteps; ++j) {
        const int32_t step = entry.path[j];
        if (step == kPathEnd) break;
        TreePoint next = p;
        if (j % 2 == 0)
            next.x += step;
        else
            next.y += step;
        segment(p, next);
        p = next;
    }
}

// The arrowhead at the start of a highlighted connector: which of the four
// (0 points right, 1 left, 2 up, 3 down; -1 none) and its top-left corner.
// `nameLines` is the number of lines of the node's displayed name (1 plus its
// line feeds); an arrowhead below the icon sits below the name.
struct ArrowheadPlace {
    int index = -1;
    int x = 0, y = 0;
    bool operator==(const ArrowheadPlace&) const = default;
};
ArrowheadPlace ChooseArrowhead(const SkillTreeNode& node, const PrerequisiteEntry& entry, int nameLines);

// Lines of a displayed name: 1 plus its line feeds.
int NameLineCount(const char16_t* name);

// Whether an entry of a node in the red pass is drawn: unless the
// prerequisite's preview level exceeds the level this entry asks for. The
// prerequisite's node is the first of nodes 0..99 holding its skill, node 0
// when none.
bool IsConnectorHighlighted(const SkillTreeNode* nodes, const PrerequisiteEntry& entry);

// Layout of the window for a grade.
struct OuterSize {
    int width = 0, height = 0;
    bool operator==(const OuterSize&) const = default;
};
// Outer size of the tree (and main) window for a page rectangle.
OuterSize TreeWindowSize(const PageRect& page);

// Where a control of the tree window goes for a main window `mainWidth` wide;
// `width` is the control's own width. (0, 0) for an unknown id.
TreePoint TreeControlPlace(int controlId, int mainWidth, int width);
