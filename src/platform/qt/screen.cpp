#include "platform/qt/screen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {
WindowPlacement* installedPlacement = nullptr;
const char* const kPendingOuterProperty = "tolvemarPendingOuter";

// A window placed before it was first shown has no frame yet, so it got the
// whole outer size as its client area. Once it is on the screen and the
// window manager has framed it, the placement is made again so that the
// outer size is the one asked for.
class FramePlacementFix : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* window = static_cast<QWidget*>(watched);
        window->removeEventFilter(this);
        QPointer<QWidget> target(window);
        QTimer::singleShot(0, window, [target] {
            if (!target) return;
            const QRect outer = target->property(kPendingOuterProperty).toRect();
            target->setProperty(kPendingOuterProperty, QVariant());
            if (outer.isValid() && target->frameGeometry() != outer) Placement().MoveWindow(target, outer);
        });
        deleteLater();
        return false;
    }
};

// The frame around the client area: what the window manager reports once the
// window is shown, nothing before.
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}
}  // namespace

QSize WindowPlacement::ScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QRect WindowPlacement::WindowRect(const QWidget* window) const { return window->frameGeometry(); }

void WindowPlacement::MoveWindow(QWidget* window, const QRect& outer) {
    if (!window->isVisible()) {
        if (!window->property(kPendingOuterProperty).isValid())
            window->installEventFilter(new FramePlacementFix(window));
        window->setProperty(kPendingOuterProperty, outer);
    } else if (window->property(kPendingOuterProperty).isValid()) {
        window->setProperty(kPendingOuterProperty, outer);
    }
    const QMargins frame = FrameMargins(window);
    const int width = std::max(1, outer.width() - frame.left() - frame.right());
    const int height = std::max(1, outer.height() - frame.top() - frame.bottom());
    // A fixed-size window only takes a new size through its limits.
    window->setFixedSize(width, height);
    window->move(outer.topLeft());
    window->update();
}

WindowPlacement& Placement() {
    static WindowPlacement qtPlacement;
    return installedPlacement ? *installedPlacement : qtPlacement;
}

void SetPlacement(WindowPlacement* placement) { installedPlacement = placement; }
