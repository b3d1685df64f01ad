#include "skilltree/tree_geometry.h"

#include "skilltree/skill_tree_rules.h"

#include <string>

namespace {
std::u16string NumberText(int value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}
}  // namespace

LevelNumber ChooseLevelNumber(const SkillTreeNode& node, int slot, bool hovered, int missing) {
    const int level = slot >= 0 && slot < kSlotCount ? node.level[slot] : 0;
    if (hovered && missing > 0) return {u"-" + NumberText(missing), kColourRed};
    if (level < node.previewLevel) return {NumberText(node.previewLevel), kColourRed};
    if (node.previewLevel >= 1) return {NumberText(node.previewLevel), kColourBlue};
    if (level != 0) return {NumberText(level), kColourBlack};
    return {u"", kColourBlack};
}

TreePoint ConnectorStart(const SkillTreeNode& node, const PrerequisiteEntry& entry) {
    return {IconLeft(node.column) + entry.startX, IconTop(node.row) + entry.startY};
}

ArrowheadPlace ChooseArrowhead(const SkillTreeNode& node, const PrerequisiteEntry& entry, int nameLines) {
    const TreePoint s = ConnectorStart(node, entry);
    if (entry.path[0] < 0) return {0, s.x - 6, s.y - 3};
    if (entry.path[0] > 0) return {1, s.x, s.y - 3};
    if (entry.path[1] > 0) return {2, s.x - 3, s.y + 2 + 11 * nameLines};
    if (entry.path[1] < 0) return {3, s.x - 3, s.y - 6};
    return {};
}

int NameLineCount(const char16_t* name) {
    int lines = 1;
    for (const char16_t* p = name; p && *p; ++p)
        if (*p == u'\n') ++lines;
    return lines;
}

bool IsConnectorHighlighted(const SkillTreeNode* nodes, const PrerequisiteEntry& entry) {
    if (!nodes) return false;
    int k = 0;
    while (k < kNodeCount && nodes[k].skill != entry.skill) ++k;
    if (k == kNodeCount) k = 0;
    return nodes[k].previewLevel <= entry.requiredLevel;
}

OuterSize TreeWindowSize(const PageRect& page) { return {page.right + 50, page.bottom + 185}; }

TreePoint TreeControlPlace(int controlId, int mainWidth, int width) {
    switch (controlId) {
    case IDC_SKILLTREE_CLOSE: return {mainWidth - width - 30, 20};
    case IDC_SKILLTREE_RESET: return {mainWidth - width - 30, 50};
    case IDC_SKILLTREE_NEXT_GRADE: return {mainWidth - width - 30, 80};
    case IDC_SKILLTREE_PREV_GRADE: return {mainWidth - 2 * width - 40, 80};
    case IDC_SKILLTREE_SLOT1: return {mainWidth - 2 * width - 67, 110};
    case IDC_SKILLTREE_SLOT2: return {mainWidth - 2 * width - 37, 110};
    case IDC_SKILLTREE_SLOT3: return {mainWidth - 2 * width - 7, 110};
    default: return {};
    }
}
