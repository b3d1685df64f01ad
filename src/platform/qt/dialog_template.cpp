#include "platform/qt/dialog_template.h"

#include "platform/qt/focus_rect.h"
#include "platform/qt/group_box_frame.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const char* const kControlIdProperty = "tolvemarControlId";

// A read-only edit shows no caret; while it has the focus a dotted rectangle
// one pixel inside its text area shows it instead.
class ReadOnlyMultiLineEdit final : public QPlainTextEdit {
public:
    explicit ReadOnlyMultiLineEdit(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
        // Scrolling moves the pixels already drawn, the rectangle with them,
        // and asks for the whole text area: draw all of it again.
        connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& area, int) {
            if (hasFocus() && area.contains(viewport()->rect())) viewport()->update();
        });
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPlainTextEdit::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(viewport());
        DrawFocusRect(painter, viewport()->rect().adjusted(1, 1, -1, -1), palette().color(QPalette::Text));
    }
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        viewport()->update();
    }
};

// Every push button shows the dotted focus rectangle while it has the focus
// (a picture button draws its own, see bitmap_button.h).
QPushButton* MakePushButton(const QString& caption, QWidget* host) {
    auto* button = new QPushButton(caption, host);
    ShowFocusRectOnButton(button);
    return button;
}

// In a dialog window, Enter presses the push button that has the focus, and
// the default button when no push button has it: every push button is an
// auto-default button there. Inside child windows that are not dialogs of
// their own, no push button takes Enter for itself.
QWidget* MakeControl(QWidget* host, const ControlTemplate& control) {
    const bool inDialog = qobject_cast<QDialog*>(host) != nullptr;
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::PictureButton: {
        auto* button = MakePushButton(control.caption, host);
        button->setAutoDefault(inDialog);
        return button;
    }
    case ControlKind::DefPushButton: {
        auto* button = MakePushButton(control.caption, host);
        button->setDefault(true);
        return button;
    }
    case ControlKind::FlatButton: {
        // A flat button draws no frame: the focus rectangle is all that
        // shows it has the focus.
        auto* button = MakePushButton(control.caption, host);
        button->setFlat(true);
        button->setAutoDefault(inDialog);
        return button;
    }
    case ControlKind::PushLikeCheckBox: {
        auto* button = MakePushButton(control.caption, host);
        button->setCheckable(true);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::CheckBox: return new QCheckBox(control.caption, host);
    case ControlKind::Radio: {
        auto* radio = new QRadioButton(control.caption, host);
        radio->setAutoExclusive(false);
        return radio;
    }
    case ControlKind::GroupBox: {
        auto* box = new QGroupBox(control.caption, host);
        UsePlainGroupBoxFrame(box);
        return box;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(control.caption, host);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::StaticNoPrefix: {
        auto* label = new QLabel(control.caption, host);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Edit: return new QLineEdit(control.caption, host);
    case ControlKind::MultiLineReadOnlyEdit: {
        auto* edit = new ReadOnlyMultiLineEdit(control.caption, host);
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return edit;
    }
    case ControlKind::Icon: return new QLabel(host);
    }
    return new QWidget(host);
}
}  // namespace

DialogBaseUnits BaseUnitsOf(DialogFontFace face) {
    return face == DialogFontFace::Tahoma9 ? kTahoma9BaseUnits : kShellDlg8BaseUnits;
}

QFont DialogFont(DialogFontFace face) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("NanumGothic"), QStringLiteral("IPAGothic")});
    font.setPixelSize(face == DialogFontFace::Tahoma9 ? 12 : 11);
    return font;
}

QSize TemplateClientSize(const DialogTemplate& dialog) {
    const DialogBaseUnits base = BaseUnitsOf(dialog.font);
    return {DialogUnitsToPixelsX(dialog.width, base), DialogUnitsToPixelsY(dialog.height, base)};
}

void CreateTemplateControls(QWidget* host, const DialogTemplate& dialog) {
    const DialogBaseUnits base = BaseUnitsOf(dialog.font);
    host->setFont(DialogFont(dialog.font));
    if (!dialog.caption.isEmpty()) host->setWindowTitle(dialog.caption);
    std::vector<QWidget*> frames;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = MakeControl(host, control);
        const PixelRect r = DialogRectToPixels(control.x, control.y, control.width, control.height, base);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        widget->setProperty(kControlIdProperty, control.id);
        if (control.id >= 0) widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        widget->setVisible(control.visible);
        if (control.kind == ControlKind::GroupBox) frames.push_back(widget);
    }
    for (QWidget* frame : frames) frame->lower();
    host->resize(TemplateClientSize(dialog));
}

QWidget* GetDlgItem(const QWidget* host, int id) {
    if (!host || id < 0) return nullptr;
    return host->findChild<QWidget*>(QStringLiteral("control%1").arg(id), Qt::FindDirectChildrenOnly);
}
