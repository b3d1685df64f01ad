// The description popup of the skill tree: a borderless window beside the
// hovered icon that shows the skill's description, wrapped at blanks and
// sized to the text. It hides itself as soon as the mouse moves over it.
#pragma once

#include "platform/qt/dialog_template.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class GdiFont;

inline constexpr int IDD_SKILLMEMO = 173;
inline constexpr int IDC_SKILLMEMO_TEXT = 1011;

// Template 173: the popup and its one text control.
const DialogTemplate& SkillMemoTemplate();

class CSkillMemoDlg : public QWidget {
    Q_OBJECT
public:
    // A tool-tip window: never activated, never grabs the mouse. Owned by its
    // parent when one is given.
    explicit CSkillMemoDlg(QWidget* parent = nullptr);
    ~CSkillMemoDlg() override;

    // Loads the description of skill record `skill` (a table position; any
    // other value reads as the empty record 0), wraps it and sizes the popup
    // to it. False, with nothing changed, when the description is empty.
    bool SetSkill(int32_t skill);
    // Puts the popup's top-left at (x + 2, y) on the screen, keeping its size.
    void MoveTo(int x, int y);
    // Sets the size for the text's lines and widest line, keeping the top-left.
    void ResizeToText(int lines, int columns);

    const std::u16string& Text() const { return m_strText; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintText(QWidget* control);

    std::u16string m_strText;
    std::unique_ptr<GdiFont> m_font;
};
