// Screen size and top-level window placement. Rectangles are outer
// rectangles (window frame and caption included) in screen pixels.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

class WindowPlacement {
public:
    virtual ~WindowPlacement() = default;
    // Width and height of the primary screen.
    virtual QSize ScreenSize() const;
    // The window's outer rectangle.
    virtual QRect WindowRect(const QWidget* window) const;
    // Moves and sizes the window so that its outer rectangle becomes `outer`;
    // the client area is what the frame leaves of it.
    virtual void MoveWindow(QWidget* window, const QRect& outer);
};

// The process-wide placement; never null.
WindowPlacement& Placement();
// Installs a placement (not owned); nullptr restores the one over Qt's screens.
void SetPlacement(WindowPlacement* placement);
