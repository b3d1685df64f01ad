// The skill tree window: one job's tree with its header, page frames,
// prerequisite connectors and skill icons, drawn double-buffered; the mouse
// raises and lowers the hovered skill, and its description pops up beside it.
// The rules it runs live in SkillTreeRules; the window is their view.
//
// Host contract (the main window):
// - create it as a child, hidden; call OpenJob to bind a job and show it;
// - OuterSizeChanged(size) asks the host to take this outer size (and to
//   centre itself when AutoCenter is set) each time the layout changes;
// - CloseRequested() follows the Close button, after the tree has hidden
//   itself: the host shows the job chooser again.
#pragma once

#include "platform/qt/dialog_template.h"
#include "platform/qt/gdi_surface.h"
#include "skilltree/skill_tree_rules.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <memory>

class CSkillMemoDlg;

inline constexpr int IDD_SKILLTREE = 122;

// Template 122: the tree window's buttons.
const DialogTemplate& SkillTreeTemplate();

class CSkillTreeDlg : public QWidget, public SkillTreeView {
    Q_OBJECT
public:
    explicit CSkillTreeDlg(QWidget* parent = nullptr);
    ~CSkillTreeDlg() override;

    // Binds the job, lays the window out for its current grade, sets the
    // captions and shows the window.
    void OpenJob(int32_t job);

    SkillTreeRules& Rules() { return m_rules; }
    const SkillTreeRules& Rules() const { return m_rules; }
    CSkillMemoDlg* MemoDlg() const { return m_pMemoDlg; }

    // The skill records the rules and the drawing read (icons, names,
    // maximum levels); g_SkillTable unless replaced. nullptr restores it.
    void SetSkillTable(const SkillRecord* table, int32_t count);

    // The whole client area as a paint draws it.
    QImage RenderClient();

    // SkillTreeView
    void LayoutForGrade(int32_t grade) override;
    void RequestRepaint() override;
    void SetControlCaption(int32_t controlId, const std::u16string& caption) override;
    void SetButtonCheck(int32_t controlId, bool checked) override;
    void ShowTreeWindow() override;

signals:
    void CloseRequested();
    void OuterSizeChanged(QSize outerSize);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnClickedClose();
    void ShowSkillMemo(int32_t node);
    void UpdateCursor();
    void RenderInto(QImage& client);
    const SkillRecord& RecordOf(int32_t skill) const;

    void DrawPageFrames(GdiSurface& dc);
    void DrawConnectors(GdiSurface& dc);
    void DrawSkillNodes(GdiSurface& dc);
    void DrawHeader(GdiSurface& dc);

    SkillTreeRules m_rules;
    CSkillMemoDlg* m_pMemoDlg = nullptr;  // child object: deleted with the window
    GdiFont m_fontTitle;
    GdiFont m_fontPoints;
    GdiFont m_fontName;
    GdiFont m_fontPageTitle;
    const GdiPen m_penFrameOuter{0x7F7F7F, 1};
    const GdiPen m_penFrameInner{0xFFFFFF, 1};
    const GdiPen m_penConnector{0x646464, 1};
    const GdiPen m_penHighlight{0x0000FF, 2};
    const SkillRecord* m_pSkillTable = nullptr;  // nullptr: g_SkillTable
    int32_t m_nSkillTableSize = 0;
    QImage m_client;        // the last picture, reused between paints of one size
    QImage m_paintSurface;  // the off-screen surface, reused likewise
};
