// Where the main window goes when a child window gives it a new size.
#pragma once

struct ScreenRect {
    int left, top, right, bottom;
};

struct ScreenPoint {
    int x, y;
    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner that centres a window of w x h on a screen of
// screenWidth x screenHeight (each half truncated toward zero, so a window
// larger than the screen gets a negative corner).
ScreenPoint CentredPosition(int screenWidth, int screenHeight, int w, int h);

// A window lies off the screen when less than 5 pixels of it reach in from
// any edge: right <= 5, left >= width - 5, bottom <= 5 or top >= height - 5.
bool IsOffScreen(const ScreenRect& window, int screenWidth, int screenHeight);

// The job chooser's rule: centre the main window when AutoCenter is on or the
// window lies off the screen, else keep its top-left corner.
ScreenPoint ChooserPlacement(const ScreenRect& window, int screenWidth, int screenHeight, int w, int h,
                             bool autoCenter);
