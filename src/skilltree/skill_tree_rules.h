// The rules of the skill tree: the point budget of each page, raising and
// lowering one skill level, opening a job, the prerequisite preview of the
// hovered skill, grades, build slots and reset.
//
// SkillTreeRules holds the state of the shown job and runs every rule without
// any window. What the rules need of the window (its layout for a grade, a
// repaint, control captions and checks, showing it) goes through the small
// SkillTreeView interface; message boxes go through platform/message_box.h
// with the owner MbOwner::SkillTree. The tree window owns one SkillTreeRules
// and implements SkillTreeView; tests record the calls instead.
#pragma once

#include "data/tables.h"

#include <cstdint>
#include <string>

// Control ids of the tree window.
inline constexpr int32_t IDC_SKILLTREE_CLOSE = 1002;
inline constexpr int32_t IDC_SKILLTREE_RESET = 1003;
inline constexpr int32_t IDC_SKILLTREE_PREV_GRADE = 1005;  // "<<"
inline constexpr int32_t IDC_SKILLTREE_NEXT_GRADE = 1006;  // ">>"
inline constexpr int32_t IDC_SKILLTREE_SLOT1 = 1060;       // "1"
inline constexpr int32_t IDC_SKILLTREE_SLOT2 = 1062;       // "2"
inline constexpr int32_t IDC_SKILLTREE_SLOT3 = 1064;       // "3"

// Deepest prerequisite or dependent chain the rules follow. Deeper chains can
// only come from damaged data (a cycle); a raise that reaches this depth is
// refused and a cascade stops there.
inline constexpr int32_t kMaxRuleDepth = 100;

// What the rules ask of the tree window.
class SkillTreeView {
public:
    virtual ~SkillTreeView() = default;
    // Sizes the tree window and the main window for the grade, places the
    // controls, enables "<<" and ">>" (see SkillTreeRules::IsPrevGradeEnabled
    // and IsNextGradeEnabled), sets the slot checks from the current build
    // slot and repaints.
    virtual void LayoutForGrade(int32_t grade) = 0;
    // Invalidates the whole tree window without erasing it.
    virtual void RequestRepaint() = 0;
    // Sets the caption of one of the IDC_SKILLTREE_* controls.
    virtual void SetControlCaption(int32_t controlId, const std::u16string& caption) = 0;
    // Sets or clears the check of one of the three slot buttons.
    virtual void SetButtonCheck(int32_t controlId, bool checked) = 0;
    // Shows the tree window.
    virtual void ShowTreeWindow() = 0;
};

class SkillTreeRules {
public:
    // The view may be null (nothing is then asked of a window); it is not owned.
    explicit SkillTreeRules(SkillTreeView* view = nullptr);

    void SetView(SkillTreeView* view) { m_pView = view; }

    // The skill records the rules read maximum levels and names from (first
    // record whose index matches, record 0 when none). Defaults to
    // g_SkillTable; nullptr or a count below 1 restores it. Not owned.
    void SetSkillTable(const SkillRecord* table, int32_t count);

    // ---- State of the shown job -------------------------------------------
    int32_t m_nJob = NO_JOB;                   // job id shown; NO_JOB before the first OpenJob
    SkillTreeNode* m_pNodes = nullptr;         // the job's 100 nodes, borrowed
    const PageDescriptor* m_pPages = nullptr;  // the job's 4 pages, borrowed
    int64_t m_nUsedPoints[kPageCount] = {};    // points spent per page in the current slot
    int32_t m_nHoverNode = -1;                 // hovered node 1..99, or -1 when none

    // The bound job record, or nullptr before the first OpenJob.
    const JobRecord* Job() const { return m_pJob; }
    bool HasJob() const { return m_pJob != nullptr && m_pNodes != nullptr; }

    // The current build slot (g_nSelectedSlot of the job, 0..2; 0 when the
    // stored value is out of range) and the current grade (node 0's level in
    // that slot, clamped to the job's grade range; always 0..3).
    int32_t CurrentSlot() const;
    int32_t CurrentGrade() const;
    // A node's level in the current build slot; 0 outside 0..99 or with no job.
    int32_t NodeLevel(int32_t node) const;
    // The maximum level of a skill, from the skill table in use.
    int32_t MaxLevelOf(int32_t skill) const;
    // The first node of 0..99 carrying the skill, or -1 when none.
    int32_t FindNodeOfSkill(int32_t skill) const;

    // ---- Point budget ------------------------------------------------------
    // Points used on a page; the page is first lowered to the current grade,
    // page 2 counts pages 1 and 2 together; 0 for a negative page.
    int32_t GetUsedOnPage(int32_t page) const;
    // Points a page grants; page 2 grants pages 1 and 2 together; 0 outside 0..3.
    int32_t GetPageLimit(int32_t page) const;
    // Points used on pages 0 up to the page (lowered to the current grade),
    // for the header's points line.
    int32_t GetUsedUpTo(int32_t page) const;
    // Points granted to pages 0 up to the page clamped to the job's grades.
    int32_t GetLimitUpTo(int32_t page) const;
    // Points still free for a skill of that page: the free points of the page
    // (page 2 counts from page 1) and of every later page up to the current
    // grade. 0 or less means none.
    int32_t GetRemainingFrom(int32_t page) const;
    // The job level shown in a page's title: points used on the page, with
    // the overflow of earlier pages carried over, plus 1.
    int32_t GetPageJobLevel(int32_t page) const;
    // The job level a page title shows: GetPageJobLevel of the page, except
    // that job 12 shows the level of page 0 on every page.
    int32_t GetTitleJobLevel(int32_t page) const;
    // Rebuilds m_nUsedPoints from the levels of nodes 1..99. Returns 0.
    int32_t RecountUsedPoints();

    // The header's points line for the current grade: used and granted.
    int32_t HeaderUsedPoints() const { return GetUsedUpTo(CurrentGrade()); }
    int32_t HeaderPointLimit() const { return GetLimitUpTo(CurrentGrade()); }

    // ---- One level up or down ---------------------------------------------
    // Raises node 1..99 by one level, first raising missing prerequisites when
    // AutoChange is on. 1 raised (or already at its maximum), 0 refused. With
    // no points left it requests a repaint and shows "더 이상 스킬을 올릴 수
    // 없습니다." (caption "확인", OK, stop icon). Sets g_bModified and
    // refreshes the title when it passes the budget.
    int32_t RaiseSkill(int32_t node);
    // Lowers a node (0 or less: the hovered node) by amount, after dropping to
    // 0 every dependent whose requirement the new level breaks. 1 lowered, -1
    // the node was already at 0, 0 no such node.
    int32_t LowerSkill(int32_t node, int32_t amount);

    // ---- Job, preview, grades, slots, reset --------------------------------
    // Binds the job (by id, from g_JobTable) and shows it: recount, layout for
    // the current grade, captions, show. An id without a job record does
    // nothing. Clears the hovered node and the preview levels.
    void OpenJob(int32_t job);
    // The same for a given job record (its id, nodes and pages); used for
    // trees that are not in g_JobTable. The record must outlive the binding.
    void OpenJobRecord(const JobRecord& record);

    // Raises the previewLevel of every node that the skill needs, directly or
    // through prerequisites, to the highest level required of it on any path.
    // Does not clear the preview levels first.
    void MarkPrerequisites(SkillTreeNode* nodes, int32_t skill);
    // Sets the previewLevel of nodes 1..99 (and node 0 when includeNode0) to 0.
    void ClearPreviewLevels(bool includeNode0);
    // The hover step of a mouse move: sets m_nHoverNode to the hit (1..99 or
    // -1); when it changed, clears the preview levels (node 0 too when the hit
    // is -1) and marks the hovered skill's prerequisites. True when changed.
    bool UpdateHover(int32_t hitNode);

    // "<<": one grade down, clearing the higher pages and trimming any page
    // range that then spends more than it grants.
    void OnClickedPrevGrade();
    // ">>": one grade up.
    void OnClickedNextGrade();
    // The slot buttons "1", "2", "3": build slot 0, 1 or 2.
    void OnClickedSlot1() { SelectSlot(0); }
    void OnClickedSlot2() { SelectSlot(1); }
    void OnClickedSlot3() { SelectSlot(2); }
    void SelectSlot(int32_t slot);
    // Reset: after the question "데이터들을 초기화하시겠습니까?" clears every
    // level of the current build slot.
    void OnClickedReset();

    // ---- What drawing and layout read ---------------------------------------
    // The visible nodes are 1..VisibleNodeCount(): they end before the first
    // node whose skill is 0 or whose page lies above the current grade.
    int32_t VisibleNodeCount() const;
    // The number of levels the hovered skill still lacks: the sum over nodes
    // 0..99 of previewLevel - level where that is positive.
    int32_t GetMissingPreviewLevels() const;
    // Whether "<<" / ">>" are enabled at a grade: above the job's lowest
    // grade / below its highest, never for jobs 14, 15 and 18.
    bool IsPrevGradeEnabled(int32_t grade) const;
    bool IsNextGradeEnabled(int32_t grade) const;
    // The visible node whose 25 x 25 hit box (icon plus one pixel right and
    // below, at client (64c + 53, 64r + 170)) holds the client point; -1 when
    // none. The first in list order wins.
    int32_t HitTestNode(int32_t x, int32_t y) const;

private:
    const SkillRecord& SkillRecordOf(int32_t skill) const;
    bool IsSkillNode(int32_t node) const;
    int32_t& LevelRef(int32_t node);
    int64_t RangeBalance(int32_t firstPage, int32_t grade) const;
    int32_t RaiseBudget(int32_t page) const;
    int32_t RaiseAt(int32_t node, int32_t depth);
    int32_t LowerAt(int32_t node, int64_t amount, int32_t depth, uint8_t* cascaded);
    void SetCurrentSlotGrade(int32_t grade);
    int32_t ClampGrade(int32_t grade) const;
    void TrimOverspentPages(int32_t grade);
    void WriteJobGrade(int32_t grade);

    SkillTreeView* m_pView = nullptr;
    const JobRecord* m_pJob = nullptr;
    const SkillRecord* m_pSkillTable = nullptr;
    int32_t m_nSkillTableSize = 0;
    uint64_t m_nLevelChanges = 0;  // counts level changes, to spot raises that change nothing
};
