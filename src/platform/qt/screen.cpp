#include "platform/qt/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
WindowPlacement* g_placement = nullptr;

// The frame around the client area: what the window manager reports once the
// window is shown, nothing before.
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}
}  // namespace

QSize WindowPlacement::ScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QRect WindowPlacement::WindowRect(const QWidget* window) const { return window->frameGeometry(); }

void WindowPlacement::MoveWindow(QWidget* window, const QRect& outer) {
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
    return g_placement ? *g_placement : qtPlacement;
}

void SetPlacement(WindowPlacement* placement) { g_placement = placement; }
