// The compiled-in game tables: skills, jobs with their tree blocks, the
// localized texts and the jobs' former titles. They live for the whole
// process. Only the fields marked "run time" are ever written; everything
// else is fixed at build time.
#pragma once

#include <cstdint>

inline constexpr int kSkillCount = 745;
inline constexpr int kJobCount = 20;
inline constexpr int kTextCount = 136;
inline constexpr int kPageCount = 4;
inline constexpr int kNodeCount = 100;
inline constexpr int kPrereqCount = 5;
inline constexpr int kPathSteps = 9;
inline constexpr int kSlotCount = 3;
inline constexpr int kLanguageCount = 3;
inline constexpr int kNameChars = 31;           // 30 characters and the terminator
inline constexpr int kDescriptionChars = 1002;  // 1000 characters, terminator, spare
inline constexpr int kTextChars = 100;          // 99 characters and the terminator
inline constexpr int NO_JOB = 20;
inline constexpr int32_t kPathEnd = 65535;  // a path step of this value ends the path
inline constexpr int32_t kFallbackPortrait = 133;

struct SkillRecord {
    int32_t index;                                    // equals the table position; 0 in separators
    int32_t iconId;                                   // bitmap id of the 24 x 24 icon
    char16_t name[kLanguageCount][kNameChars];        // Korean, English, Japanese
    char16_t ident[kNameChars];                       // key in the description table
    int32_t maxLevel;                                 // 0..10
    mutable char16_t description[kDescriptionChars];  // run time: filled once at start
};

struct PrerequisiteEntry {
    int32_t skill;  // 0 = no entry (ends the list)
    int32_t requiredLevel;
    int32_t startX;  // connector start, relative to the node's icon origin
    int32_t startY;
    int32_t path[kPathSteps];  // alternating dx, dy (dx first); kPathEnd stops early
    int32_t reserved[14];
};

struct SkillTreeNode {
    int32_t skill;   // 0 ends the node list
    int32_t page;    // 0..3, also the grade the node belongs to
    int32_t column;  // 64-pixel cells
    int32_t row;
    PrerequisiteEntry prereq[kPrereqCount];
    int32_t previewLevel;       // run time: level the hovered skill needs of this node
    int32_t level[kSlotCount];  // run time, saved: level per build slot (node 0: slot grade)
};

struct PageRect {
    int32_t left, top, right, bottom;
};

struct PageDescriptor {
    int32_t portrait[2];  // never read
    PageRect rect;        // tree pixels; all zero = no page
    int32_t titleText;    // text index of the page title; 0 = none
};

struct SkillTreeBlock {
    PageDescriptor pages[kPageCount];
    int32_t reserved[8];
    SkillTreeNode nodes[kNodeCount];
};

struct JobRecord {
    int32_t id;
    int32_t minGrade;
    int32_t maxGrade;
    SkillTreeNode* nodes;         // the 100 nodes of the job's tree block
    const PageDescriptor* pages;  // the 4 pages of the job's tree block
    int32_t pointLimit[kPageCount];
    int32_t titleText[kPageCount];
    int32_t nameText[kPageCount];
    int32_t portrait[2][kPageCount];  // [SexType][grade]
};

struct LocalizedText {
    char16_t text[kLanguageCount][kTextChars];  // Korean, English, Japanese
};

// A title that a job's highest grade carried before, as its text record held
// it. The profile names a job's builds after that title, so builds stored
// under it are still found after a change.
struct FormerJobTitle {
    int32_t job;  // NO_JOB ends the table
    LocalizedText title;
};

extern const SkillRecord g_SkillTable[kSkillCount];
extern const JobRecord g_JobTable[kJobCount];
extern SkillTreeBlock g_SkillTreeBlocks[kJobCount];  // indexed by job id
extern const LocalizedText g_LocalizedTextTable[kTextCount];
// A job's most recent former title comes first; the record after the last has
// job NO_JOB.
extern const FormerJobTitle g_FormerJobTitleTable[];
