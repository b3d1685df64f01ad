#include "skilltree/qt/skill_memo_dlg.h"

#include "data/description_loader.h"
#include "data/lookups.h"
#include "platform/qt/gdi_surface.h"
#include "skilltree/memo_text.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

const DialogTemplate& SkillMemoTemplate() {
    static const DialogTemplate dialog{
        IDD_SKILLMEMO, QString(), DialogFontFace::Tahoma9,
        281,           211,       {{IDC_SKILLMEMO_TEXT, ControlKind::Static, QString(), 2, 2, 272, 201}}};
    return dialog;
}

CSkillMemoDlg::CSkillMemoDlg(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint),
      m_font(std::make_unique<GdiFont>(FontSpec{u"굴림체", 12, 400})) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    CreateTemplateControls(this, SkillMemoTemplate());
    if (QWidget* control = GetDlgItem(this, IDC_SKILLMEMO_TEXT)) {
        // Mouse moves over the text reach the popup; the text is drawn here.
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        control->installEventFilter(this);
    }
}

CSkillMemoDlg::~CSkillMemoDlg() = default;

bool CSkillMemoDlg::SetSkill(int32_t skill) {
    EnsureSkillDescriptions();
    const char16_t* description = SkillAt(skill).description;
    size_t length = 0;
    while (length < kDescriptionChars && description[length] != 0) ++length;
    std::u16string text(description, length);
    if (text.empty()) return false;
    m_strText = std::move(text);
    WrapMemoText(m_strText);
    ResizeToText(CountMemoLines(m_strText), MaxLineColumns(m_strText));
    if (auto* label = GetDlgItemAs<QLabel>(this, IDC_SKILLMEMO_TEXT)) {
        label->setText(QString::fromStdU16String(m_strText));
        label->update();
    }
    return true;
}

void CSkillMemoDlg::MoveTo(int x, int y) { move(x + 2, y); }

void CSkillMemoDlg::ResizeToText(int lines, int columns) {
    const MemoSize size = MemoPopupSize(lines, columns);
    resize(size.width, size.height);
    update();
}

void CSkillMemoDlg::mouseMoveEvent(QMouseEvent* event) {
    hide();
    QWidget::mouseMoveEvent(event);
}

void CSkillMemoDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

bool CSkillMemoDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
        PaintText(static_cast<QWidget*>(watched));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CSkillMemoDlg::PaintText(QWidget* control) {
    // Black text on the popup's white, wrapped at blanks within the control
    // and cut off at its edges.
    GdiSurface surface(control->width(), control->height());
    surface.FillSolidRect({0, 0, control->width(), control->height()}, 0xFFFFFF);
    surface.SetBkMode(BkMode::Transparent);
    surface.SelectFont(m_font.get());
    surface.DrawText(m_strText, {0, 0, control->width(), control->height()}, DT_LEFT | DT_WORDBREAK);
    // Drawn at its own pixel size and scaled once, as the tree window does.
    QPainter painter(control);
    const qreal ratio = control->devicePixelRatioF();
    if (ratio != std::floor(ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, surface.Image());
}
