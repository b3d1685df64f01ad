#include "skilltree/qt/skill_tree_dlg.h"

#include "data/lookups.h"
#include "persistence/build_state.h"
#include "platform/qt/key_filter.h"
#include "platform/qt/screen.h"
#include "shell/options.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/qt/tree_bitmaps.h"
#include "skilltree/tree_geometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The four arrowheads (by ArrowheadPlace::index) are bitmaps 221..224, taken
// from the bitmap cache when a highlighted connector is drawn.
constexpr int kArrowBitmap = 221;

std::u16string NumberText(long long value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

const int kSlotButtons[kSlotCount] = {IDC_SKILLTREE_SLOT1, IDC_SKILLTREE_SLOT2, IDC_SKILLTREE_SLOT3};

// Offsets of the eight outline copies of a level number.
const int kOutlineOffsets[8][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}, {-2, -2}, {2, -2}, {-2, 2}, {2, 2}};

void ClosedLine(GdiSurface& dc, int l, int t, int r, int b) {
    dc.MoveTo(l, t);
    dc.LineTo(r, t);
    dc.LineTo(r, b);
    dc.LineTo(l, b);
    dc.LineTo(l, t);
}

void DrawPath(GdiSurface& dc, const SkillTreeNode& node, const PrerequisiteEntry& entry) {
    ForEachConnectorSegment(node, entry, [&dc](TreePoint from, TreePoint to) {
        dc.MoveTo(from.x, from.y);
        dc.LineTo(to.x, to.y);
    });
}

}  // namespace

const DialogTemplate& SkillTreeTemplate() {
    static const DialogTemplate dialog{
        IDD_SKILLTREE,
        QString(),
        DialogFontFace::Tahoma9,
        243,
        191,
        {{IDC_SKILLTREE_CLOSE, ControlKind::DefPushButton, QStringLiteral("&Close"), 186, 9, 49, 14},
         {IDC_SKILLTREE_PREV_GRADE, ControlKind::PushButton, QStringLiteral("<<"), 187, 28, 21, 14},
         {IDC_SKILLTREE_NEXT_GRADE, ControlKind::PushButton, QStringLiteral(">>"), 216, 28, 21, 14},
         {IDC_SKILLTREE_RESET, ControlKind::PushButton, QStringLiteral("Reset"), 187, 47, 49, 14},
         {IDC_SKILLTREE_SLOT1, ControlKind::PushLikeCheckBox, QStringLiteral("1"), 190, 66, 13, 12},
         {IDC_SKILLTREE_SLOT2, ControlKind::PushLikeCheckBox, QStringLiteral("2"), 206, 66, 13, 12},
         {IDC_SKILLTREE_SLOT3, ControlKind::PushLikeCheckBox, QStringLiteral("3"), 223, 66, 13, 12}}};
    return dialog;
}

CSkillTreeDlg::CSkillTreeDlg(QWidget* parent)
    : QWidget(parent),
      m_rules(this),
      m_fontTitle(FontSpec{u"Times New Roman Bold Italic", 34, 700}),
      m_fontPoints(FontSpec{u"Tahoma", 13, 700}),
      m_fontName(FontSpec{u"", 11, 0}),
      m_fontPageTitle(FontSpec{u"Tahoma", 14, 700}) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    CreateTemplateControls(this, SkillTreeTemplate());
    const auto connectButton = [this](int id, auto handler) {
        if (auto* button = GetDlgItemAs<QPushButton>(this, id))
            connect(button, &QPushButton::clicked, this, handler);
    };
    connectButton(IDC_SKILLTREE_CLOSE, [this] { OnClickedClose(); });
    connectButton(IDC_SKILLTREE_PREV_GRADE, [this] { m_rules.OnClickedPrevGrade(); });
    connectButton(IDC_SKILLTREE_NEXT_GRADE, [this] { m_rules.OnClickedNextGrade(); });
    connectButton(IDC_SKILLTREE_RESET, [this] { m_rules.OnClickedReset(); });
    connectButton(IDC_SKILLTREE_SLOT1, [this] { m_rules.OnClickedSlot1(); });
    connectButton(IDC_SKILLTREE_SLOT2, [this] { m_rules.OnClickedSlot2(); });
    connectButton(IDC_SKILLTREE_SLOT3, [this] { m_rules.OnClickedSlot3(); });
    m_pMemoDlg = new CSkillMemoDlg(this);
    EnterEscapeFilter::Instance().Cover(this);
    setVisible(false);
}

CSkillTreeDlg::~CSkillTreeDlg() { m_rules.SetView(nullptr); }

void CSkillTreeDlg::OpenJob(int32_t job) { m_rules.OpenJob(job); }

void CSkillTreeDlg::SetSkillTable(const SkillRecord* table, int32_t count) {
    m_rules.SetSkillTable(table, count);
    m_pSkillTable = table && count > 0 ? table : nullptr;
    m_nSkillTableSize = m_pSkillTable ? count : 0;
    update();
}

const SkillRecord& CSkillTreeDlg::RecordOf(int32_t skill) const {
    if (!m_pSkillTable) {
        // Records sit at the position of their index; search only otherwise.
        const SkillRecord& direct = SkillAt(skill);
        return direct.index == skill ? direct : FindSkillRecord(skill);
    }
    for (int32_t i = 0; i < m_nSkillTableSize; ++i)
        if (m_pSkillTable[i].index == skill) return m_pSkillTable[i];
    return m_pSkillTable[0];
}

void CSkillTreeDlg::LayoutForGrade(int32_t grade) {
    PageRect page{};
    if (m_rules.m_pPages && grade >= 0 && grade < kPageCount) page = m_rules.m_pPages[grade].rect;
    const OuterSize size = TreeWindowSize(page);
    emit OuterSizeChanged(QSize(size.width, size.height));
    if (isWindow())
        resize(size.width, size.height);
    else
        setGeometry(0, 0, size.width, size.height);
    // The main window has just been asked to take this outer size; read back
    // what it got once it is on the screen.
    const int mainWidth =
        !isWindow() && window()->isVisible() ? Placement().WindowRect(window()).width() : size.width;

    static const int kControls[] = {IDC_SKILLTREE_CLOSE,      IDC_SKILLTREE_RESET, IDC_SKILLTREE_NEXT_GRADE,
                                    IDC_SKILLTREE_PREV_GRADE, IDC_SKILLTREE_SLOT1, IDC_SKILLTREE_SLOT2,
                                    IDC_SKILLTREE_SLOT3};
    const int slot = m_rules.CurrentSlot();
    for (int id : kControls) {
        auto* button = GetDlgItemAs<QPushButton>(this, id);
        if (!button) continue;
        const TreePoint at = TreeControlPlace(id, mainWidth, button->width());
        button->move(at.x, at.y);
        if (id == IDC_SKILLTREE_CLOSE) button->setFocus(Qt::OtherFocusReason);
        for (int s = 0; s < kSlotCount; ++s) {
            if (id != kSlotButtons[s]) continue;
            button->setChecked(s == slot);
            button->update();
        }
    }
    if (auto* next = GetDlgItem(this, IDC_SKILLTREE_NEXT_GRADE))
        next->setEnabled(m_rules.IsNextGradeEnabled(grade));
    if (auto* prev = GetDlgItem(this, IDC_SKILLTREE_PREV_GRADE))
        prev->setEnabled(m_rules.IsPrevGradeEnabled(grade));
    update();
}

void CSkillTreeDlg::RequestRepaint() { update(); }

void CSkillTreeDlg::SetControlCaption(int32_t controlId, const std::u16string& caption) {
    if (auto* button = GetDlgItemAs<QPushButton>(this, controlId))
        button->setText(QString::fromStdU16String(caption));
}

void CSkillTreeDlg::SetButtonCheck(int32_t controlId, bool checked) {
    if (auto* button = GetDlgItemAs<QPushButton>(this, controlId)) button->setChecked(checked);
}

void CSkillTreeDlg::ShowTreeWindow() {
    show();
    UpdateCursor();
    // The layout gave Close the focus; a hidden window could not take it yet.
    if (QWidget* close = GetDlgItem(this, IDC_SKILLTREE_CLOSE)) close->setFocus(Qt::OtherFocusReason);
}

void CSkillTreeDlg::OnClickedClose() {
    hide();
    emit CloseRequested();
}

void CSkillTreeDlg::hideEvent(QHideEvent* event) {
    // The description belongs to the tree: it goes away with it, however the
    // tree was closed.
    if (m_pMemoDlg && m_pMemoDlg->isVisible()) m_pMemoDlg->hide();
    QWidget::hideEvent(event);
}

// ---- Mouse ------------------------------------------------------------------------

void CSkillTreeDlg::UpdateCursor() {
    const Qt::CursorShape shape = m_rules.m_nHoverNode > 0 ? Qt::BlankCursor : Qt::ArrowCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

void CSkillTreeDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int32_t hit = m_rules.HitTestNode(at.x(), at.y());
    const bool changed = m_rules.UpdateHover(hit);
    // Also when the hover did not change: opening a job forgets the hovered
    // node, and the cursor must follow.
    UpdateCursor();
    if (!changed) return;
    if (g_Options.Language == 0 && m_pMemoDlg) {
        if (hit > 0 && !m_pMemoDlg->isVisible() && g_Options.SkillInfo)
            ShowSkillMemo(hit);
        else if (hit == -1 && m_pMemoDlg->isVisible())
            m_pMemoDlg->hide();
    }
    update();
}

void CSkillTreeDlg::ShowSkillMemo(int32_t node) {
    if (!m_rules.m_pNodes || node < 1 || node >= kNodeCount) return;
    const SkillTreeNode& n = m_rules.m_pNodes[node];
    if (!m_pMemoDlg->SetSkill(n.skill)) return;
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int screenWidth = Placement().ScreenSize().width();
    const int left = origin.x() + kTreeOriginX + IconLeft(n.column);
    const int top = origin.y() + kTreeOriginY + IconTop(n.row);
    m_pMemoDlg->MoveTo(left + 29, top);
    const QRect placed = m_pMemoDlg->geometry();
    int x = placed.x();
    const int right = placed.x() + placed.width();
    if (right >= screenWidth) x = placed.x() - placed.width() - 34;
    m_pMemoDlg->move(x, placed.y());
    m_pMemoDlg->show();
}

void CSkillTreeDlg::mouseReleaseEvent(QMouseEvent* event) {
    const int32_t hover = m_rules.m_nHoverNode;
    if (event->button() == Qt::LeftButton && hover > 0) {
        m_rules.RaiseSkill(hover);
        if (g_bModified) update();
    } else if (event->button() == Qt::RightButton && hover > 0) {
        m_rules.LowerSkill(hover, 1);
        if (g_bModified) update();
    }
    QWidget::mouseReleaseEvent(event);
}

void CSkillTreeDlg::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    const int32_t hover = m_rules.m_nHoverNode;
    if (hover <= 0 || delta == 0) {
        event->ignore();
        return;
    }
    if (delta > 0)
        m_rules.RaiseSkill(hover);
    else
        m_rules.LowerSkill(hover, 1);
    if (g_bModified) update();
    event->accept();
}

// ---- Drawing ----------------------------------------------------------------------

void CSkillTreeDlg::paintEvent(QPaintEvent*) {
    RenderInto(m_client);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // On a screen with more device pixels per pixel the picture is drawn at
    // its own size and scaled once, here. The drawing works pixel by pixel
    // (masks, one-pixel pens, unsmoothed text over 24 x 24 icons) and its
    // layout is fixed in pixels, so a picture at the higher resolution would
    // be another picture; scaled, it keeps its looks and costs the same to
    // draw. Whole ratios repeat each pixel; others are smoothed, as repeating
    // would give uneven pixels.
    const qreal ratio = devicePixelRatioF();
    if (ratio != std::floor(ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, m_client);
}

QImage CSkillTreeDlg::RenderClient() {
    RenderInto(m_client);
    return m_client;
}

void CSkillTreeDlg::RenderInto(QImage& client) {
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    if (client.size() != QSize(w, h) || client.format() != QImage::Format_RGB32)
        client = QImage(w, h, QImage::Format_RGB32);
    if (m_paintSurface.size() != QSize(w, h)) m_paintSurface = QImage(w, h, QImage::Format_RGB32);
    GdiSurface dc(std::move(m_paintSurface));
    dc.FillSolidRect({0, 0, w, h}, kButtonFaceColour);
    DrawPageFrames(dc);
    DrawConnectors(dc);
    DrawSkillNodes(dc);
    GdiSurface out(std::move(client));
    // Left uncovered by the two layers: the column left of the tree layer and
    // the row between the layers.
    out.FillSolidRect({0, kHeaderHeight, kTreeOriginX, h}, kButtonFaceColour);
    out.FillSolidRect({0, kHeaderHeight, w, kTreeOriginY}, kButtonFaceColour);
    out.BitBlt(kTreeOriginX, kTreeOriginY, w - kTreeOriginX, h - kTreeOriginY, dc.Image(), 0, 0,
               RasterOp::SrcCopy);
    // Only the header's rows are copied from the second layer, so only they
    // need clearing.
    dc.FillSolidRect({0, 0, w, std::min(h, kHeaderHeight)}, kButtonFaceColour);
    DrawHeader(dc);
    out.BitBlt(0, 0, w, kHeaderHeight, dc.Image(), 0, 0, RasterOp::SrcCopy);
    client = out.TakeImage();
    m_paintSurface = dc.TakeImage();
}

void CSkillTreeDlg::DrawPageFrames(GdiSurface& dc) {
    if (!m_rules.HasJob() || !m_rules.m_pPages) return;
    const int32_t grade = m_rules.CurrentGrade();
    const GdiPen* oldPen = dc.SelectPen(&m_penFrameOuter);
    const GdiFont* oldFont = dc.SelectFont(&m_fontPageTitle);
    for (int32_t p = 0; p <= grade && p < kPageCount; ++p) {
        if (p == 1 && grade >= 2) continue;
        const PageRect& r = m_rules.m_pPages[p].rect;
        if (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0) continue;
        dc.SelectPen(&m_penFrameOuter);
        ClosedLine(dc, r.left, r.top + 6, r.right, r.bottom + 6);
        dc.SelectPen(&m_penFrameInner);
        ClosedLine(dc, r.left + 2, r.top + 8, r.right - 2, r.bottom + 4);
        const int32_t titleText = m_rules.m_pPages[p].titleText;
        if (titleText == 0) continue;
        // Appended piece by piece: GCC 12 warns (wrongly) about a string
        // literal followed by a temporary string.
        std::u16string title(u" ");
        title += GetLocalizedText(titleText);
        title += u" (Job ";
        title += NumberText(m_rules.GetTitleJobLevel(p));
        title += u") ";
        dc.DrawText(title, {r.left + 8, r.top, r.right, r.top + 30}, DT_SINGLELINE);
    }
    dc.SelectPen(oldPen);
    dc.SelectFont(oldFont);
}

void CSkillTreeDlg::DrawConnectors(GdiSurface& dc) {
    if (!m_rules.HasJob()) return;
    const SkillTreeNode* nodes = m_rules.m_pNodes;
    const GdiPen* oldPen = dc.SelectPen(&m_penConnector);
    const int32_t visible = m_rules.VisibleNodeCount();
    for (int32_t i = 1; i <= visible; ++i) {
        for (const PrerequisiteEntry& entry : nodes[i].prereq) {
            if (entry.skill == 0) break;
            DrawPath(dc, nodes[i], entry);
        }
    }
    dc.SelectPen(&m_penHighlight);
    const int32_t hover = m_rules.m_nHoverNode;
    for (int32_t i = 1; i < kNodeCount; ++i) {
        const SkillTreeNode& node = nodes[i];
        if (node.previewLevel == 0 && i != hover) continue;
        for (const PrerequisiteEntry& entry : node.prereq) {
            if (entry.skill == 0) break;
            if (!IsConnectorHighlighted(nodes, entry)) continue;
            const ArrowheadPlace arrow =
                ChooseArrowhead(node, entry, NameLineCount(GetSkillRecordDisplayName(RecordOf(node.skill))));
            if (arrow.index >= 0)
                dc.DrawTransparentBitmap(arrow.x, arrow.y, 6, 6, TreeBitmap(kArrowBitmap + arrow.index),
                                         kColourMagenta);
            DrawPath(dc, node, entry);
        }
    }
    dc.SelectPen(oldPen);
}

void CSkillTreeDlg::DrawSkillNodes(GdiSurface& dc) {
    if (!m_rules.HasJob()) return;
    const SkillTreeNode* nodes = m_rules.m_pNodes;
    const int32_t slot = m_rules.CurrentSlot();
    const int32_t hover = m_rules.m_nHoverNode;
    const int32_t missing = m_rules.GetMissingPreviewLevels();
    const int32_t visible = m_rules.VisibleNodeCount();
    GdiSurface icon(kIconSize, kIconSize);
    icon.SetBkMode(BkMode::Transparent);
    const TextRect iconRect{0, 0, kIconSize, kIconSize};
    for (int32_t i = 1; i <= visible; ++i) {
        const SkillTreeNode& node = nodes[i];
        const int x = 64 * node.column;
        const int y = 64 * node.row;
        const SkillRecord& record = RecordOf(node.skill);
        // The icon surface starts black each time, so an icon that does not
        // load (or is smaller than the cell) shows no part of the one before.
        icon.FillSolidRect(iconRect, kColourBlack);
        const QImage& bitmap = TreeBitmap(record.iconId);
        if (!bitmap.isNull()) icon.BitBlt(0, 0, kIconSize, kIconSize, bitmap, 0, 0, RasterOp::SrcCopy);
        if (record.maxLevel > 0) {
            const LevelNumber number = ChooseLevelNumber(node, slot, i == hover, missing);
            if (!number.text.empty()) {
                const uint32_t oldColour = icon.SetTextColor(number.outline);
                for (const auto& offset : kOutlineOffsets) {
                    icon.DrawText(number.text,
                                  {offset[0], offset[1], kIconSize + offset[0], kIconSize + offset[1]},
                                  DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
                }
                icon.SetTextColor(kColourWhite);
                icon.DrawText(number.text, iconRect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
                icon.SetTextColor(oldColour);
            }
        }
        dc.DrawTransparentBitmap(x + 33, y + 35, kIconSize, kIconSize, icon.Image(), kColourMagenta);
        dc.FillSolidRect({x + 33, y + 59, x + 57, y + 61}, kButtonFaceColour);
        const GdiFont* oldFont = dc.SelectFont(&m_fontName);
        dc.DrawText(GetSkillRecordDisplayName(record), {x + 9, y + 61, x + 81, y + 101},
                    DT_CENTER | DT_WORDBREAK);
        dc.SelectFont(oldFont);
        if (i == hover) {
            const GdiPen* oldPen = dc.SelectPen(&m_penHighlight);
            ClosedLine(dc, x + 32, y + 34, x + 58, y + 60);
            dc.SelectPen(oldPen);
        }
    }
}

void CSkillTreeDlg::DrawHeader(GdiSurface& dc) {
    const int32_t job = m_rules.m_nJob;
    const int32_t grade = m_rules.HasJob() ? m_rules.CurrentGrade() : 0;
    const JobRecord* record = m_rules.Job() ? m_rules.Job() : FindJobRecord(job);
    int32_t portraitId = kFallbackPortrait;
    if (record) {
        const int sex = g_Options.SexType ? 1 : 0;
        // The grade raised to the job's lowest and lowered to its highest.
        const int32_t clamped = std::min(std::max(grade, record->minGrade), record->maxGrade);
        portraitId = record->portrait[sex][std::clamp<int32_t>(clamped, 0, kPageCount - 1)];
    }
    const QImage& portrait = TreeBitmap(portraitId);
    if (!portrait.isNull())
        dc.DrawTransparentBitmap(20, 20, portrait.width(), portrait.height(), portrait, kColourWhite);

    const GdiFont* oldFont = dc.SelectFont(&m_fontTitle);
    dc.SetBkColor(kButtonFaceColour);
    const TextRect titleRect{90, 25, 290, 75};
    dc.FillSolidRect(titleRect, kButtonFaceColour);
    dc.DrawText(GetJobTitle(job, grade), titleRect, DT_SINGLELINE);
    dc.SelectFont(oldFont);

    oldFont = dc.SelectFont(&m_fontPoints);
    dc.SetBkColor(kButtonFaceColour);
    const TextRect pointsRect{115, 63, 315, 113};
    dc.FillSolidRect(pointsRect, kButtonFaceColour);
    std::u16string sums(u"(");  // appended piece by piece, as the page titles
    sums += NumberText(m_rules.HeaderUsedPoints());
    sums += u"/";
    sums += NumberText(m_rules.HeaderPointLimit());
    sums += u")";
    const std::u16string line = g_Options.Language == 1
                                    ? std::u16string(u"Skill Points ") + sums
                                    : std::u16string(GetJobName(job, grade)) + u" " + sums;
    dc.DrawText(line, pointsRect, DT_SINGLELINE);
    dc.SelectFont(oldFont);
    dc.FillSolidRect({100, 80, 300, 130}, kButtonFaceColour);
}
