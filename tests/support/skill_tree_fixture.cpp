#include "support/skill_tree_fixture.h"

#include <cstring>

SyntheticTree::SyntheticTree(int32_t id, int32_t minGrade, int32_t maxGrade,
                             std::initializer_list<int32_t> limits)
    : block(std::make_unique<SkillTreeBlock>()) {
    *block = SkillTreeBlock{};
    record.id = id;
    record.minGrade = minGrade;
    record.maxGrade = maxGrade;
    record.nodes = block->nodes;
    record.pages = block->pages;
    int32_t page = 0;
    for (int32_t limit : limits) {
        if (page < kPageCount) record.pointLimit[page++] = limit;
    }
    for (int32_t p = 0; p < kPageCount; ++p) {
        block->pages[p].rect = PageRect{64 * p * 3, 0, 64 * p * 3 + 180, 400};
    }
    skills.resize(1);
    skills[0] = SkillRecord{};
}

int32_t SyntheticTree::AddSkill(int32_t maxLevel) {
    SkillRecord skill{};
    skill.index = static_cast<int32_t>(skills.size());
    skill.maxLevel = maxLevel;
    const std::u16string name = u"기술" + std::u16string(1, char16_t(u'A' + skill.index % 26));
    std::memcpy(skill.name[0], name.data(), name.size() * sizeof(char16_t));
    skills.push_back(skill);
    return skill.index;
}

int32_t SyntheticTree::AddNode(int32_t skill, int32_t page, std::initializer_list<Prereq> prereqs) {
    const int32_t index = ++nodeCount;
    SkillTreeNode& node = block->nodes[index];
    node.skill = skill;
    node.page = page;
    node.column = index % 8;
    node.row = index / 8;
    int32_t e = 0;
    for (const Prereq& prereq : prereqs) {
        if (e >= kPrereqCount) break;
        node.prereq[e].skill = prereq.skill;
        node.prereq[e].requiredLevel = prereq.requiredLevel;
        ++e;
    }
    return index;
}

int32_t SyntheticTree::AddSkillNode(int32_t maxLevel, int32_t page, std::initializer_list<Prereq> prereqs) {
    return AddNode(AddSkill(maxLevel), page, prereqs);
}

void SyntheticTree::Open(SkillTreeRules& rules) {
    rules.SetSkillTable(skills.data(), static_cast<int32_t>(skills.size()));
    rules.OpenJobRecord(record);
}

void RecordingView::LayoutForGrade(int32_t grade) { calls.push_back("layout " + std::to_string(grade)); }
void RecordingView::RequestRepaint() { calls.push_back("repaint"); }
void RecordingView::SetControlCaption(int32_t controlId, const std::u16string& caption) {
    std::string text;
    for (char16_t c : caption) text += c < 128 ? static_cast<char>(c) : '?';
    calls.push_back("caption " + std::to_string(controlId) + " " + text);
}
void RecordingView::SetButtonCheck(int32_t controlId, bool checked) {
    calls.push_back("check " + std::to_string(controlId) + " " + (checked ? "1" : "0"));
}
void RecordingView::ShowTreeWindow() { calls.push_back("show"); }

class RulesTestScope::RecordingProfile : public MemoryProfileStore {
public:
    explicit RecordingProfile(RulesTestScope& scope) : m_scope(scope) {}
    bool WriteProfileInt(const std::u16string& section, const std::u16string& entry, int32_t value) override {
        if (section == u"Option" && entry == u"JobGrade") m_scope.jobGradeWrites.push_back(value);
        return MemoryProfileStore::WriteProfileInt(section, entry, value);
    }

private:
    RulesTestScope& m_scope;
};

RulesTestScope::RulesTestScope()
    : m_recorder(std::make_unique<RecordingProfile>(*this)), m_options(g_Options), m_modified(g_bModified) {
    std::memcpy(m_slots, g_nSelectedSlot, sizeof(m_slots));
    for (int32_t& slot : g_nSelectedSlot) slot = 0;
    g_bModified = false;
    g_Options = AppOptions{};
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
        boxes.push_back(request);
        return answer;
    });
    SetMainTitleSink([this](const std::u16string& title) {
        ++titleUpdates;
        lastTitle = title;
    });
    SetProfileStore(m_recorder.get());
}

RulesTestScope::~RulesTestScope() {
    SetProfileStore(nullptr);
    SetMainTitleSink(nullptr);
    SetMessageBoxHandler(nullptr);
    g_Options = m_options;
    g_bModified = m_modified;
    std::memcpy(g_nSelectedSlot, m_slots, sizeof(m_slots));
}

SavedTreeBlock::SavedTreeBlock(int32_t job) : m_job(job), m_copy(std::make_unique<SkillTreeBlock>()) {
    std::memcpy(m_copy.get(), &g_SkillTreeBlocks[job], sizeof(SkillTreeBlock));
}

SavedTreeBlock::~SavedTreeBlock() {
    std::memcpy(&g_SkillTreeBlocks[m_job], m_copy.get(), sizeof(SkillTreeBlock));
}
