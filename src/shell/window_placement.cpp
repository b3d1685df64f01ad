#include "shell/window_placement.h"

ScreenPoint CentredPosition(int screenWidth, int screenHeight, int w, int h) {
    return {(screenWidth - w) / 2, (screenHeight - h) / 2};
}

bool IsOffScreen(const ScreenRect& window, int screenWidth, int screenHeight) {
    return window.right <= 5 || window.left >= screenWidth - 5 || window.bottom <= 5 ||
           window.top >= screenHeight - 5;
}

ScreenPoint ChooserPlacement(const ScreenRect& window, int screenWidth, int screenHeight, int w, int h,
                             bool autoCenter) {
    if (autoCenter || IsOffScreen(window, screenWidth, screenHeight))
        return CentredPosition(screenWidth, screenHeight, w, h);
    return {window.left, window.top};
}
