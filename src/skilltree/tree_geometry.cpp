#include "skilltree/tree_geometry.h"

#include "data/lookups.h"

#include <string>

int VisibleNodeEnd(const SkillTreeNode* nodes, int grade) {
    if (!nodes) return 1;
    int i = 1;
    while (i < kNodeCount && nodes[i].skill != 0 && nodes[i].page <= grade) ++i;
    return i;
}

int HitTestNode(const SkillTreeNode* nodes, int grade, int x, int y) {
    const int end = VisibleNodeEnd(nodes, grade);
    for (int i = 1; i < end; ++i) {
        const int left = kTreeOriginX + IconLeft(nodes[i].column);
        const int top = kTreeOriginY + IconTop(nodes[i].row);
        if (x >= left && x <= left + kIconSize && y >= top && y <= top + kIconSize) return i;
    }
    return -1;
}

int MissingPreviewLevels(const SkillTreeNode* nodes, int slot) {
    if (!nodes || slot < 0 || slot >= kSlotCount) return 0;
    int missing = 0;
    for (int i = 0; i < kNodeCount; ++i) {
        const int lack = nodes[i].previewLevel - nodes[i].level[slot];
        if (lack > 0) missing += lack;
    }
    return missing;
}

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

ArrowheadPlace ChooseArrowhead(const SkillTreeNode& node, const PrerequisiteEntry& entry,
                               int nameLines) {
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

int FindNodeOfSkill(const SkillTreeNode* nodes, int32_t skill) {
    if (!nodes) return 0;
    for (int i = 0; i < kNodeCount; ++i)
        if (nodes[i].skill == skill) return i;
    return 0;
}

bool IsConnectorHighlighted(const SkillTreeNode* nodes, const PrerequisiteEntry& entry) {
    if (!nodes) return false;
    const int k = FindNodeOfSkill(nodes, entry.skill);
    return nodes[k].previewLevel <= entry.requiredLevel;
}

OuterSize TreeWindowSize(const PageRect& page) { return {page.right + 50, page.bottom + 185}; }

TreePoint CentredWindowPos(int screenWidth, int screenHeight, int w, int h) {
    return {(screenWidth - w) / 2, (screenHeight - h) / 2};
}

TreePoint TreeControlPlace(int controlId, int mainWidth, int width) {
    switch (controlId) {
    case IDC_TREE_CLOSE: return {mainWidth - width - 30, 20};
    case IDC_TREE_RESET: return {mainWidth - width - 30, 50};
    case IDC_TREE_NEXT_GRADE: return {mainWidth - width - 30, 80};
    case IDC_TREE_PREV_GRADE: return {mainWidth - 2 * width - 40, 80};
    case IDC_TREE_SLOT1: return {mainWidth - 2 * width - 67, 110};
    case IDC_TREE_SLOT2: return {mainWidth - 2 * width - 37, 110};
    case IDC_TREE_SLOT3: return {mainWidth - 2 * width - 7, 110};
    default: return {};
    }
}

GradeButtonStates GradeButtons(int job, int grade) {
    if (job == 14 || job == 15 || job == 18) return {};
    const JobRecord* record = FindJobRecord(job);
    const int minGrade = record ? record->minGrade : 0;
    const int maxGrade = record ? record->maxGrade : 0;
    return {grade > minGrade, grade < maxGrade};
}
