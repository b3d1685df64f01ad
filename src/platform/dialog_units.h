// Dialog units: the layout grid of dialog templates, scaled by the average
// character size of the dialog's font.
#pragma once

struct DialogBaseUnits {
    int x;  // average character width in pixels
    int y;  // character height in pixels
};

// "Tahoma" 9 pt and "MS Shell Dlg" 8 pt, the two dialog fonts in use.
inline constexpr DialogBaseUnits kTahoma9BaseUnits{7, 14};
inline constexpr DialogBaseUnits kShellDlg8BaseUnits{6, 13};

inline constexpr int DialogUnitsToPixelsX(int du, DialogBaseUnits base) { return (du * base.x + 2) / 4; }
inline constexpr int DialogUnitsToPixelsY(int du, DialogBaseUnits base) { return (du * base.y + 4) / 8; }

struct PixelRect {
    int x, y, width, height;
    bool operator==(const PixelRect&) const = default;
};

// A control rectangle (x, y, width, height in dialog units) in pixels; each
// of the four values is converted on its own, as dialog templates are.
inline constexpr PixelRect DialogRectToPixels(int x, int y, int w, int h, DialogBaseUnits base) {
    return {DialogUnitsToPixelsX(x, base), DialogUnitsToPixelsY(y, base), DialogUnitsToPixelsX(w, base),
            DialogUnitsToPixelsY(h, base)};
}
