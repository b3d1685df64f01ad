// Dialog templates as data: each window describes its controls (id, kind,
// caption, rectangle in dialog units) and CreateTemplateControls builds them
// as Qt widgets inside a host widget. Controls are found again by id.
#pragma once

#include "platform/dialog_units.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <vector>

enum class ControlKind {
    PushButton,
    DefPushButton,
    PushLikeCheckBox,  // a checkable push button
    CheckBox,
    Radio,           // an automatic radio button that forms a group of its own
    GroupBox,        // a frame drawn behind the other controls
    Static,          // left-aligned text
    StaticNoPrefix,  // left-aligned text, '&' shown as is
    Edit,            // single-line edit
    MultiLineReadOnlyEdit,
    FlatButton,     // a flat push button with centred text (link-like)
    PictureButton,  // a push button that draws one picture unscaled
    Icon,           // a static picture
};

enum class DialogFontFace { Tahoma9, ShellDlg8 };

struct ControlTemplate {
    int id;  // -1 for controls without an id
    ControlKind kind;
    QString caption;
    int x, y, width, height;  // dialog units
    bool visible = true;
};

struct DialogTemplate {
    int id;
    QString caption;
    DialogFontFace font;
    int width, height;  // dialog units, the client area
    std::vector<ControlTemplate> controls;
};

DialogBaseUnits BaseUnitsOf(DialogFontFace face);

// The font a template's controls use: the face's Linux stand-in at the
// template's pixel size.
QFont DialogFont(DialogFontFace face);

// Creates the template's controls as children of `host`, in template order,
// and sets the host's fixed client size from the template. Returns nothing:
// use GetDlgItem to reach a control.
void CreateTemplateControls(QWidget* host, const DialogTemplate& dialog);

// The control with this id inside `host`, or nullptr.
QWidget* GetDlgItem(const QWidget* host, int id);

template <typename T>
T* GetDlgItemAs(const QWidget* host, int id) {
    return qobject_cast<T*>(GetDlgItem(host, id));
}

// The pixel size of a template's client area.
QSize TemplateClientSize(const DialogTemplate& dialog);
