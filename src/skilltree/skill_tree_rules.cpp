#include "skilltree/skill_tree_rules.h"

#include "data/lookups.h"
#include "persistence/build_state.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <algorithm>
#include <limits>

namespace {

constexpr char16_t kNoPointsText[] = u"더 이상 스킬을 올릴 수 없습니다.";
constexpr char16_t kNoPointsCaption[] = u"확인";
constexpr char16_t kResetQuestion[] = u"데이터들을 초기화하시겠습니까?";
constexpr char16_t kRecursionText[] = u"ERROR : recursive call.\n,";
constexpr char16_t kJobGradeEntry[] = u"JobGrade";

int32_t Saturate(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool ValidPage(int32_t page) { return page >= 0 && page < kPageCount; }

// The name up to its terminator, never past the array.
std::u16string NameText(const char16_t (&name)[kNameChars]) {
    size_t length = 0;
    while (length < static_cast<size_t>(kNameChars) && name[length] != 0) ++length;
    return std::u16string(name, length);
}

}  // namespace

SkillTreeRules::SkillTreeRules(SkillTreeView* view) : m_pView(view) { SetSkillTable(nullptr, 0); }

void SkillTreeRules::SetSkillTable(const SkillRecord* table, int32_t count) {
    if (table == nullptr || count < 1) {
        m_pSkillTable = g_SkillTable;
        m_nSkillTableSize = kSkillCount;
    } else {
        m_pSkillTable = table;
        m_nSkillTableSize = count;
    }
}

const SkillRecord& SkillTreeRules::SkillRecordOf(int32_t skill) const {
    // Records sit at their own index (separators hold 0), so a record found
    // there is also the first one with that index.
    if (skill > 0 && skill < m_nSkillTableSize && m_pSkillTable[skill].index == skill) {
        return m_pSkillTable[skill];
    }
    for (int32_t i = 0; i < m_nSkillTableSize; ++i) {
        if (m_pSkillTable[i].index == skill) return m_pSkillTable[i];
    }
    return m_pSkillTable[0];
}

int32_t SkillTreeRules::MaxLevelOf(int32_t skill) const { return SkillRecordOf(skill).maxLevel; }

// ---- State helpers ----------------------------------------------------------

int32_t SkillTreeRules::CurrentSlot() const {
    if (m_nJob < 0 || m_nJob >= kJobCount) return 0;
    const int32_t slot = g_nSelectedSlot[m_nJob];
    return (slot >= 0 && slot < kSlotCount) ? slot : 0;
}

int32_t SkillTreeRules::ClampGrade(int32_t grade) const {
    const int32_t minGrade = m_pJob ? m_pJob->minGrade : 0;
    const int32_t maxGrade = m_pJob ? m_pJob->maxGrade : 0;
    if (grade <= minGrade) grade = minGrade;
    if (grade > maxGrade) grade = maxGrade;
    // Indexes of pages stay inside the four pages whatever the record says.
    return std::clamp(grade, 0, kPageCount - 1);
}

int32_t SkillTreeRules::CurrentGrade() const {
    if (!HasJob()) return 0;
    return ClampGrade(m_pNodes[0].level[CurrentSlot()]);
}

void SkillTreeRules::SetCurrentSlotGrade(int32_t grade) {
    if (!HasJob()) return;
    m_pNodes[0].level[CurrentSlot()] = ClampGrade(grade);
}

int32_t SkillTreeRules::NodeLevel(int32_t node) const {
    if (!HasJob() || node < 0 || node >= kNodeCount) return 0;
    return m_pNodes[node].level[CurrentSlot()];
}

int32_t& SkillTreeRules::LevelRef(int32_t node) { return m_pNodes[node].level[CurrentSlot()]; }

int32_t SkillTreeRules::FindNodeOfSkill(int32_t skill) const {
    if (!HasJob()) return -1;
    for (int32_t i = 0; i < kNodeCount; ++i) {
        if (m_pNodes[i].skill == skill) return i;
    }
    return -1;
}

// A node that carries a skill: 1..99 and before the end of the node list.
bool SkillTreeRules::IsSkillNode(int32_t node) const {
    if (!HasJob() || node < 1 || node >= kNodeCount) return false;
    for (int32_t i = 1; i <= node; ++i) {
        if (m_pNodes[i].skill == 0) return false;
    }
    return true;
}

// ---- Point budget -------------------------------------------------------------

int32_t SkillTreeRules::GetUsedOnPage(int32_t page) const {
    page = std::min(page, CurrentGrade());
    switch (page) {
    case 0: return Saturate(m_nUsedPoints[0]);
    case 1: return Saturate(m_nUsedPoints[1]);
    case 2: return Saturate(m_nUsedPoints[1] + m_nUsedPoints[2]);
    case 3: return Saturate(m_nUsedPoints[3]);
    default: return 0;
    }
}

int32_t SkillTreeRules::GetPageLimit(int32_t page) const {
    if (!m_pJob || !ValidPage(page)) return 0;
    if (page == 2) return Saturate(int64_t{m_pJob->pointLimit[1]} + m_pJob->pointLimit[2]);
    return m_pJob->pointLimit[page];
}

int32_t SkillTreeRules::GetUsedUpTo(int32_t page) const {
    const int32_t grade = CurrentGrade();
    int32_t last = std::min(page, grade);
    if (grade >= 2 && last == 1) last = 2;
    int64_t sum = 0;
    for (int32_t k = 0; k <= last && k < kPageCount; ++k) sum += m_nUsedPoints[k];
    return Saturate(sum);
}

int32_t SkillTreeRules::GetLimitUpTo(int32_t page) const {
    if (!m_pJob) return 0;
    const int32_t last = ClampGrade(page);
    int64_t sum = 0;
    for (int32_t k = 0; k <= last; ++k) sum += m_pJob->pointLimit[k];
    return Saturate(sum);
}

// Granted minus used over pages firstPage..grade.
int64_t SkillTreeRules::RangeBalance(int32_t firstPage, int32_t grade) const {
    int64_t sum = 0;
    for (int32_t k = std::max(firstPage, 0); k <= grade && k < kPageCount; ++k) {
        sum += int64_t{m_pJob->pointLimit[k]} - m_nUsedPoints[k];
    }
    return sum;
}

int32_t SkillTreeRules::GetRemainingFrom(int32_t page) const {
    if (!m_pJob || !ValidPage(page)) return 0;
    const int32_t first = page == 2 ? 1 : page;
    const int32_t grade = CurrentGrade();
    if (first > grade) return 0;
    return Saturate(RangeBalance(first, grade));
}

// The budget of a raise on a page: no range of pages that holds the page may
// end up spending more than it grants, so take the smallest remainder of all
// ranges starting at or before the page.
//
// A page above the current grade has no points, page 2 included: it would
// otherwise spend page 1's points while its own are counted nowhere.
int32_t SkillTreeRules::RaiseBudget(int32_t page) const {
    if (!ValidPage(page) || page > CurrentGrade()) return 0;
    int32_t budget = GetRemainingFrom(page);
    for (int32_t k = 0; k < page; ++k) budget = std::min(budget, GetRemainingFrom(k));
    return budget;
}

int32_t SkillTreeRules::GetPageJobLevel(int32_t page) const {
    if (!ValidPage(page)) return 1;
    int64_t carry[kPageCount + 1] = {};
    int64_t value = 0;  // what page i keeps, last of all for the page asked
    for (int32_t i = 0; i <= page; ++i) {
        if (i == 1 && page >= 2) {
            carry[2] += carry[1];
            carry[1] = 0;
            continue;
        }
        const int64_t spent = int64_t{GetUsedOnPage(i)} + carry[i];
        const int64_t limit = GetPageLimit(i);
        value = std::min(spent, limit);
        // Excess beyond page 3 lands in the spare slot and is dropped.
        if (spent > limit) carry[i + 1] = spent - limit;
    }
    return Saturate(value + 1);
}

int32_t SkillTreeRules::GetTitleJobLevel(int32_t page) const {
    return GetPageJobLevel(m_nJob == 12 ? 0 : page);
}

int32_t SkillTreeRules::RecountUsedPoints() {
    for (int64_t& used : m_nUsedPoints) used = 0;
    if (!HasJob()) return 0;
    const int32_t slot = CurrentSlot();
    for (int32_t i = 1; i < kNodeCount; ++i) {
        const SkillTreeNode& node = m_pNodes[i];
        if (ValidPage(node.page)) m_nUsedPoints[node.page] += node.level[slot];
    }
    return 0;
}

// ---- Raise and lower -------------------------------------------------------------

int32_t SkillTreeRules::RaiseSkill(int32_t node) { return RaiseAt(node, 0); }

int32_t SkillTreeRules::RaiseAt(int32_t n, int32_t depth) {
    if (!IsSkillNode(n) || depth >= kMaxRuleDepth) return 0;

    for (const PrerequisiteEntry& entry : m_pNodes[n].prereq) {
        if (entry.requiredLevel <= 0) break;
        if (entry.skill == 0) continue;
        const int32_t j = FindNodeOfSkill(entry.skill);
        // A prerequisite without a node of its own cannot be met.
        if (j <= 0) return 0;
        const int64_t need = int64_t{entry.requiredLevel} - NodeLevel(j);
        if (need <= 0) continue;
        if (!g_Options.AutoChange) return 0;
        for (int64_t step = 0; step < need; ++step) {
            const uint64_t changesBefore = m_nLevelChanges;
            if (RaiseAt(j, depth + 1) == 0) return 0;
            // A raise that changed no level leaves everything as it was, so
            // every further one would come out the same.
            if (m_nLevelChanges == changesBefore) break;
        }
    }

    const int32_t page = m_pNodes[n].page;
    const int32_t budget = RaiseBudget(page);
    if (budget <= 0 || !ValidPage(page)) {
        if (m_pView) m_pView->RequestRepaint();
        MessageBoxRequest request;
        request.owner = MbOwner::SkillTree;
        request.text = kNoPointsText;
        request.caption = kNoPointsCaption;
        request.buttons = MbButtons::Ok;
        request.icon = MbIcon::Stop;
        ShowMessageBox(request);
        return 0;
    }

    int32_t& level = LevelRef(n);
    const int64_t room = int64_t{MaxLevelOf(m_pNodes[n].skill)} - level;
    const int64_t delta = std::max<int64_t>(0, std::min<int64_t>({1, budget, room}));
    if (delta > 0) {
        level += static_cast<int32_t>(delta);
        m_nUsedPoints[page] += delta;
        ++m_nLevelChanges;
    }
    g_bModified = true;
    UpdateMainTitle();
    return 1;
}

int32_t SkillTreeRules::LowerSkill(int32_t node, int32_t amount) {
    if (node <= 0) {
        node = m_nHoverNode;
        if (node <= 0) return 0;
    }
    if (!IsSkillNode(node)) return 0;
    // The node itself is only reached again through a cycle in damaged data.
    uint8_t cascaded[kNodeCount] = {};
    cascaded[node] = 1;
    return LowerAt(node, std::max(amount, 0), 0, cascaded);
}

// `cascaded` marks the nodes already dropped to 0 by this lowering (or on
// the way there): dropping one again changes nothing, so it is not repeated.
int32_t SkillTreeRules::LowerAt(int32_t n, int64_t amount, int32_t depth, uint8_t* cascaded) {
    if (depth >= kMaxRuleDepth) return 0;
    const int32_t skill = m_pNodes[n].skill;

    for (int32_t j = 1; j < kNodeCount; ++j) {
        const SkillTreeNode& dependent = m_pNodes[j];
        if (dependent.skill == 0) continue;
        for (const PrerequisiteEntry& entry : dependent.prereq) {
            if (entry.skill != skill) continue;
            if (int64_t{NodeLevel(n)} - amount < entry.requiredLevel && !cascaded[j]) {
                cascaded[j] = 1;
                LowerAt(j, std::max(NodeLevel(j), 0), depth + 1, cascaded);
            }
            break;
        }
    }

    int32_t& level = LevelRef(n);
    if (level <= 0) return -1;
    const int32_t page = m_pNodes[n].page;
    const int64_t drop = std::min<int64_t>(level, amount);
    level = static_cast<int32_t>(level - drop);
    if (ValidPage(page)) m_nUsedPoints[page] -= drop;
    if (drop > 0) ++m_nLevelChanges;
    g_bModified = true;
    UpdateMainTitle();
    return 1;
}

// ---- Opening a job ---------------------------------------------------------------

void SkillTreeRules::OpenJob(int32_t job) {
    const JobRecord* record = FindJobRecord(job);
    if (!record) return;
    OpenJobRecord(*record);
}

void SkillTreeRules::OpenJobRecord(const JobRecord& record) {
    if (record.nodes == nullptr) return;
    m_nJob = record.id;
    m_pJob = &record;
    m_pNodes = record.nodes;
    m_pPages = record.pages;
    // A click right after switching must not act on a node of the old job.
    m_nHoverNode = -1;
    ClearPreviewLevels(true);
    RecountUsedPoints();
    if (m_pView) {
        m_pView->LayoutForGrade(CurrentGrade());
        m_pView->SetControlCaption(IDC_SKILLTREE_CLOSE, GetLocalizedText(7));
        m_pView->SetControlCaption(IDC_SKILLTREE_RESET, GetLocalizedText(6));
        m_pView->SetControlCaption(IDC_SKILLTREE_NEXT_GRADE, GetLocalizedText(8));
        m_pView->SetControlCaption(IDC_SKILLTREE_PREV_GRADE, GetLocalizedText(9));
        m_pView->ShowTreeWindow();
    }
}

// ---- Prerequisite preview ----------------------------------------------------------

namespace {

int32_t FindNodeIn(const SkillTreeNode* nodes, int32_t skill) {
    for (int32_t i = 0; i < kNodeCount; ++i) {
        if (nodes[i].skill == skill) return i;
    }
    return -1;
}

}  // namespace

void SkillTreeRules::MarkPrerequisites(SkillTreeNode* nodes, int32_t skill) {
    if (nodes == nullptr) return;
    // Each node's entries are taken once: the highest requirement over all
    // paths only needs every reachable entry seen, and a cycle in damaged
    // data then ends by itself.
    bool visited[kNodeCount] = {};
    struct Frame {
        int32_t skill;
        int32_t node;
        int32_t entry;
    };
    Frame stack[kMaxRuleDepth];
    int32_t depth = 0;

    auto push = [&](int32_t markSkill) {
        const int32_t i = std::max(FindNodeIn(nodes, markSkill), 0);
        if (visited[i] || depth >= kMaxRuleDepth) return;
        visited[i] = true;
        stack[depth++] = Frame{markSkill, i, 0};
    };

    push(skill);
    while (depth > 0) {
        Frame& frame = stack[depth - 1];
        if (frame.entry >= kPrereqCount) {
            --depth;
            continue;
        }
        const PrerequisiteEntry& entry = nodes[frame.node].prereq[frame.entry++];
        if (entry.skill == 0) {
            frame.entry = kPrereqCount;
            continue;
        }
        if (entry.skill == frame.skill) {
            frame.entry = kPrereqCount;
            MessageBoxRequest request;
            request.owner = MbOwner::SkillTree;
            request.text = kRecursionText + NameText(SkillRecordOf(frame.skill).name[0]);
            request.caption = std::u16string(LoadStringResource(AFX_IDS_APP_TITLE));
            request.buttons = MbButtons::Ok;
            request.icon = MbIcon::Exclamation;
            ShowMessageBox(request);
            continue;
        }
        const int32_t j = FindNodeIn(nodes, entry.skill);
        if (j <= 0) continue;  // no node to mark: skipped
        nodes[j].previewLevel = std::max(nodes[j].previewLevel, entry.requiredLevel);
        push(entry.skill);
    }
}

void SkillTreeRules::ClearPreviewLevels(bool includeNode0) {
    if (!m_pNodes) return;
    for (int32_t i = includeNode0 ? 0 : 1; i < kNodeCount; ++i) m_pNodes[i].previewLevel = 0;
}

bool SkillTreeRules::UpdateHover(int32_t hitNode) {
    if (hitNode < 1 || hitNode >= kNodeCount) hitNode = -1;
    const int32_t old = m_nHoverNode;
    m_nHoverNode = hitNode;
    if (hitNode == old) return false;
    ClearPreviewLevels(hitNode == -1);
    if (hitNode > 0 && m_pNodes) MarkPrerequisites(m_pNodes, m_pNodes[hitNode].skill);
    return true;
}

// ---- Grades ------------------------------------------------------------------------

void SkillTreeRules::WriteJobGrade(int32_t grade) {
    Profile().WriteProfileInt(kOptionSection, kJobGradeEntry, grade);
}

void SkillTreeRules::OnClickedPrevGrade() {
    if (!HasJob()) return;
    const int32_t old = CurrentGrade();
    const int32_t grade = ClampGrade(old - 1);
    if (grade >= old) return;

    SetCurrentSlotGrade(grade);
    if (m_pView) m_pView->LayoutForGrade(grade);
    WriteJobGrade(grade);

    if (m_nUsedPoints[old] > 0) {
        bool clearedAny = false;
        for (int32_t i = 1; i < kNodeCount; ++i) {
            if (m_pNodes[i].page < old) continue;
            int32_t& level = LevelRef(i);
            if (level != 0) clearedAny = true;
            level = 0;
        }
        RecountUsedPoints();
        if (clearedAny) {
            ++m_nLevelChanges;
            g_bModified = true;
            UpdateMainTitle();
        }
    }
    TrimOverspentPages(grade);
}

// Lowers levels, walking back from node 99, until no range of pages up to the
// grade spends more than it grants. Only nodes on an overspent range lose a
// level; a pass lowers each such node at most once, and passes repeat while
// some range is still over.
void SkillTreeRules::TrimOverspentPages(int32_t grade) {
    // Ranges start at page 0, 1 (page 2 always counts with page 1) and 3 and
    // run up to the grade; a node's page lies in those starting at or before it.
    auto overspentHolding = [&](int32_t page) {
        for (int32_t first = 0; first <= page && first <= grade; ++first) {
            if (first != 2 && RangeBalance(first, grade) < 0) return true;
        }
        return false;
    };
    int32_t listEnd = 1;
    while (listEnd < kNodeCount && m_pNodes[listEnd].skill != 0) ++listEnd;

    while (overspentHolding(grade)) {
        bool lowered = false;
        for (int32_t i = listEnd - 1; i >= 1; --i) {
            const int32_t page = m_pNodes[i].page;
            if (!ValidPage(page) || page > grade || NodeLevel(i) <= 0) continue;
            if (!overspentHolding(page)) continue;
            const uint64_t before = m_nLevelChanges;
            LowerSkill(i, 1);
            if (m_nLevelChanges != before) lowered = true;
        }
        if (!lowered) break;
    }
}

void SkillTreeRules::OnClickedNextGrade() {
    if (!HasJob()) return;
    const int32_t old = CurrentGrade();
    const int32_t grade = ClampGrade(old + 1);
    if (grade <= old) return;
    SetCurrentSlotGrade(grade);
    if (m_pView) m_pView->LayoutForGrade(grade);
    WriteJobGrade(grade);
    if (m_pView) m_pView->RequestRepaint();
}

// ---- Build slots and reset -------------------------------------------------------------

void SkillTreeRules::SelectSlot(int32_t slot) {
    if (!HasJob() || slot < 0 || slot >= kSlotCount || m_nJob < 0 || m_nJob >= kJobCount) return;
    const int32_t old = CurrentGrade();
    g_nSelectedSlot[m_nJob] = slot;
    SetCurrentSlotGrade(m_pNodes[0].level[slot]);
    const int32_t grade = CurrentGrade();
    if (old != grade && m_pView) m_pView->LayoutForGrade(grade);
    RecountUsedPoints();
    if (m_pView) {
        m_pView->SetButtonCheck(IDC_SKILLTREE_SLOT1, slot == 0);
        m_pView->SetButtonCheck(IDC_SKILLTREE_SLOT2, slot == 1);
        m_pView->SetButtonCheck(IDC_SKILLTREE_SLOT3, slot == 2);
        m_pView->RequestRepaint();
    }
}

void SkillTreeRules::OnClickedReset() {
    if (!HasJob()) return;
    MessageBoxRequest request;
    request.owner = MbOwner::SkillTree;
    request.text = kResetQuestion;
    request.caption = std::u16string(LoadStringResource(AFX_IDS_APP_TITLE));
    request.buttons = MbButtons::YesNo;
    request.icon = MbIcon::Question;
    if (ShowMessageBox(request) != MbResult::Yes) return;

    bool clearedAny = false;
    for (int32_t i = 1; i < kNodeCount; ++i) {
        int32_t& level = LevelRef(i);
        if (level != 0) clearedAny = true;
        level = 0;
    }
    if (clearedAny) {
        ++m_nLevelChanges;
        g_bModified = true;
        UpdateMainTitle();
    }
    RecountUsedPoints();
    if (m_pView) m_pView->RequestRepaint();
}

// ---- Drawing and layout ----------------------------------------------------------------

int32_t SkillTreeRules::VisibleNodeCount() const {
    if (!HasJob()) return 0;
    const int32_t grade = CurrentGrade();
    int32_t count = 0;
    for (int32_t i = 1; i < kNodeCount; ++i) {
        if (m_pNodes[i].skill == 0 || m_pNodes[i].page > grade) break;
        count = i;
    }
    return count;
}

int32_t SkillTreeRules::GetMissingPreviewLevels() const {
    if (!HasJob()) return 0;
    const int32_t slot = CurrentSlot();
    int64_t missing = 0;
    for (int32_t i = 0; i < kNodeCount; ++i) {
        const int64_t lack = int64_t{m_pNodes[i].previewLevel} - m_pNodes[i].level[slot];
        if (lack > 0) missing += lack;
    }
    return Saturate(missing);
}

bool SkillTreeRules::IsPrevGradeEnabled(int32_t grade) const {
    if (m_nJob == 14 || m_nJob == 15 || m_nJob == 18) return false;
    return grade > (m_pJob ? m_pJob->minGrade : 0);
}

bool SkillTreeRules::IsNextGradeEnabled(int32_t grade) const {
    if (m_nJob == 14 || m_nJob == 15 || m_nJob == 18) return false;
    return grade < (m_pJob ? m_pJob->maxGrade : 0);
}

int32_t SkillTreeRules::HitTestNode(int32_t x, int32_t y) const {
    const int32_t visible = VisibleNodeCount();
    for (int32_t i = 1; i <= visible; ++i) {
        const int64_t left = int64_t{64} * m_pNodes[i].column + 53;
        const int64_t top = int64_t{64} * m_pNodes[i].row + 170;
        if (x >= left && x <= left + 24 && y >= top && y <= top + 24) return i;
    }
    return -1;
}
