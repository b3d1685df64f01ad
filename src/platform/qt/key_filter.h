// Drops Enter and Escape key presses aimed at the covered windows or any of
// their children, so a focused default button is not pressed by Enter and a
// dialog does not close on Escape. The decision is DropsDialogKey's
// (platform/dialog_keys.h); this filter hands it Qt's key presses. One filter
// object serves the application; each window that wants the behaviour covers
// itself with it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QEvent;

class EnterEscapeFilter : public QObject {
    Q_OBJECT
public:
    // The application's filter, created and installed on the application
    // object on first use. Needs a QApplication.
    static EnterEscapeFilter& Instance();

    explicit EnterEscapeFilter(QObject* parent = nullptr);

    // Key presses of Enter (either key) and Escape sent to `root` or to a
    // widget inside its window below it are dropped from now on. A destroyed
    // root falls out of the list by itself.
    void Cover(QWidget* root);
    void Uncover(QWidget* root);
    bool Covers(const QObject* target) const;

    // True for a key press that DropsDialogKey drops: Return, keypad Enter
    // or Escape.
    static bool IsDroppedKeyPress(const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> m_roots;
};
