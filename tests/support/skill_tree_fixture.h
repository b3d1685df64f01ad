// Test helpers for the skill tree rules: a synthetic job (its own skill
// records, tree block and job record), a view that records what the rules ask
// of the window, and a scope that saves and restores the process-wide state
// the rules touch.
#pragma once

#include "data/tables.h"
#include "persistence/build_state.h"
#include "platform/message_box.h"
#include "shell/options.h"
#include "shell/profile_store.h"
#include "skilltree/skill_tree_rules.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct Prereq {
    int32_t skill;
    int32_t requiredLevel;
};

// A job tree built in a test. Skills are numbered 1.. in the order added.
class SyntheticTree {
public:
    // Grades minGrade..maxGrade, point limits of pages 0..3, job id `id`.
    SyntheticTree(int32_t id, int32_t minGrade, int32_t maxGrade, std::initializer_list<int32_t> limits);

    int32_t AddSkill(int32_t maxLevel);
    // Appends a node and returns its index (1..99).
    int32_t AddNode(int32_t skill, int32_t page, std::initializer_list<Prereq> prereqs = {});
    // A skill and its node at once; returns the node index.
    int32_t AddSkillNode(int32_t maxLevel, int32_t page, std::initializer_list<Prereq> prereqs = {});

    SkillTreeNode& Node(int32_t index) { return block->nodes[index]; }
    int32_t SkillOf(int32_t node) const { return block->nodes[node].skill; }

    // Binds the rules to this tree (skill table and job) and opens it.
    void Open(SkillTreeRules& rules);

    std::unique_ptr<SkillTreeBlock> block;
    JobRecord record{};
    std::vector<SkillRecord> skills;
    int32_t nodeCount = 0;
};

// Records the window requests as readable lines, e.g. "layout 2",
// "repaint", "caption 1002 Close", "check 1060 1", "show".
class RecordingView : public SkillTreeView {
public:
    void LayoutForGrade(int32_t grade) override;
    void RequestRepaint() override;
    void SetControlCaption(int32_t controlId, const std::u16string& caption) override;
    void SetButtonCheck(int32_t controlId, bool checked) override;
    void ShowTreeWindow() override;

    std::vector<std::string> calls;
};

// Saves the options, the build state, the selected slots, the message box
// handler, the title sink and the profile; installs a recording message box
// handler answering `answer`, a memory profile that records "JobGrade"
// writes, and a counting title sink.
class RulesTestScope {
public:
    RulesTestScope();
    ~RulesTestScope();
    RulesTestScope(const RulesTestScope&) = delete;
    RulesTestScope& operator=(const RulesTestScope&) = delete;

    std::vector<MessageBoxRequest> boxes;
    MbResult answer = MbResult::Yes;
    int titleUpdates = 0;
    std::u16string lastTitle;

    // "JobGrade" writes seen in section "Option", in order.
    std::vector<int32_t> jobGradeWrites;

private:
    class RecordingProfile;
    std::unique_ptr<RecordingProfile> m_recorder;
    AppOptions m_options;
    int32_t m_slots[kJobCount];
    bool m_modified;
};

// A copy of a real job's tree block and slots, restored on destruction.
class SavedTreeBlock {
public:
    explicit SavedTreeBlock(int32_t job);
    ~SavedTreeBlock();

private:
    int32_t m_job;
    std::unique_ptr<SkillTreeBlock> m_copy;
};
