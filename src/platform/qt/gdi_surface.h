// A small drawing layer with the semantics the tree window's drawing relies
// on: off-screen colour surfaces, block transfers with raster operations,
// colour-keyed copies through a monochrome mask, pens whose lines leave out
// their end point, fonts chosen by cell height, and the DrawText layout with
// opaque or transparent text backgrounds. Colours are 0x00BBGGRR values.
#pragma once

#include "platform/draw_text.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The colour of button faces and dialog backgrounds.
inline constexpr uint32_t kButtonFaceColour = 0xF0F0F0;

QRgb RgbOfColourRef(uint32_t colour);

enum class RasterOp {
    SrcCopy,    // destination = source
    SrcAnd,     // destination = source AND destination
    SrcPaint,   // destination = source OR destination
    SrcInvert,  // destination = source XOR destination
};

enum class BkMode { Transparent, Opaque };

struct FontSpec {
    std::u16string face;  // "" lets the system choose
    int height = 0;       // cell height in pixels
    int weight = 0;       // 0 = don't care, 400 normal, 700 bold
};

// A font made from a face name and a cell height. The face is mapped to
// installed families (Latin first, then Hangul and kana); the pixel size is
// the largest whose line fits the cell; lines advance by the cell height.
// Text is drawn without antialiasing. The fixed-pitch face "굴림체" is drawn
// on a grid of 6 pixels per column.
class GdiFont final : public TextMeasurer {
public:
    explicit GdiFont(const FontSpec& spec);

    const QFont& Font() const {
        Resolve();
        return m_font;
    }
    int CellHeight() const { return m_cell; }
    int Ascent() const {
        Resolve();
        return m_ascent;
    }
    // Pixels per column when the face is drawn on a fixed grid, else 0.
    int GridWidth() const { return m_grid; }

    int Width(std::u16string_view text) const override;
    int LineHeight() const override { return m_cell; }

    // The pixels a line of text sets, relative to the top-left of its cell.
    // Rendered once per string and kept: the same strings are drawn on every
    // paint, and without antialiasing a glyph's pixels do not depend on the
    // colour or on where (at whole pixels) it is drawn.
    struct InkMask {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<uint8_t> ink;  // width x height, 1 where the text sets a pixel
    };
    const InkMask& Ink(const std::u16string& text) const;

private:
    void Resolve() const;

    mutable QFont m_font;  // its pixel size, the metrics and the ascent: see Resolve()
    mutable std::unordered_map<std::u16string, int> m_widths;
    mutable std::unordered_map<std::u16string, InkMask> m_ink;
    mutable QFontMetrics m_metrics;
    int m_cell = 0;
    mutable int m_ascent = 0;
    int m_grid = 0;
    mutable bool m_resolved = false;
};

struct GdiPen {
    uint32_t colour = 0;
    int width = 1;
};

// An off-screen colour surface (RGB32) and its drawing state: text colour
// (black), background colour (white), background mode (opaque), the selected
// font (none: the surface's default font), the selected pen (black, 1 pixel)
// and the current point.
class GdiSurface {
public:
    GdiSurface(int width, int height);
    // Draws into a picture handed over (converted to RGB32 when needed); its
    // pixels are kept as they are. TakeImage hands it back.
    explicit GdiSurface(QImage&& image);
    ~GdiSurface();
    QImage TakeImage();
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    int Width() const { return m_image.width(); }
    // The picture as drawn so far.
    const QImage& Image();

    uint32_t SetTextColor(uint32_t colour);
    uint32_t SetBkColor(uint32_t colour);
    BkMode SetBkMode(BkMode mode);
    uint32_t BkColor() const { return m_bk; }
    const GdiFont* SelectFont(const GdiFont* font);
    const GdiPen* SelectPen(const GdiPen* pen);

    // Fills the rectangle and leaves `colour` as the background colour.
    void FillSolidRect(const TextRect& rect, uint32_t colour);
    // Copies w x h pixels from (sx, sy) of `source` to (x, y). Nothing for an
    // empty or negative size; parts outside either picture are left out.
    void BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, RasterOp op);
    // Copies (0, 0)-(w, h) of `source` to (x, y), leaving out source pixels of
    // the key colour: where the key is, the destination is ANDed with its
    // background colour; elsewhere it is ANDed with its text colour and ORed
    // with the source.
    void DrawTransparentBitmap(int x, int y, int w, int h, const QImage& source, uint32_t key);

    void MoveTo(int x, int y);
    // A line from the current point to (x, y) with the selected pen; the end
    // point becomes the current point. A 1-pixel pen draws the start point and
    // not the end point. A pen of width w > 1 covers a w x w square at each
    // point of the line, its top-left w/2 pixels above and left of the point,
    // ends included: a 2-pixel line along y = c covers rows c - 1 and c.
    void LineTo(int x, int y);

    // Draws the text laid out by LayoutDrawText with the selected font (the
    // surface's default font when none), in the text colour; in opaque mode
    // each line's cell is first filled with the background colour.
    void DrawText(std::u16string_view text, const TextRect& rect, unsigned flags);

    // The default font of a new surface.
    static const GdiFont& DefaultFont();

private:
    QPainter& Painter();
    void EndPainting();
    void FillRect(int l, int t, int r, int b, uint32_t colour);
    void DrawLineText(const std::u16string& text, int x, int y, const GdiFont& font);
    const GdiFont* m_painterFont = nullptr;
    uint32_t m_painterPen = 0xFFFFFFFF;
    QPainter::CompositionMode m_painterMode = QPainter::CompositionMode_SourceOver;
    void SetMode(QPainter::CompositionMode mode);

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    uint32_t m_text = 0x000000;
    uint32_t m_bk = 0xFFFFFF;
    BkMode m_mode = BkMode::Opaque;
    const GdiFont* m_font = nullptr;
    const GdiPen* m_pen = nullptr;
    int m_x = 0, m_y = 0;
};
