// Text layout of the DrawText routine: where each line of a string goes in a
// rectangle, for the flags the windows use. Pure: the glyph widths come from a
// measurer, so the layout can be checked without any font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Format flags, with the values the rest of the program knows them by.
enum DrawTextFlag : unsigned {
    DT_LEFT = 0x00,
    DT_CENTER = 0x01,
    DT_RIGHT = 0x02,
    DT_TOP = 0x00,
    DT_VCENTER = 0x04,
    DT_BOTTOM = 0x08,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
};

// A rectangle with the right and bottom edges excluded.
struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TextRect&) const = default;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The advance of the text in pixels.
    virtual int Width(std::u16string_view text) const = 0;
    // The height of a text cell; lines are this far apart.
    virtual int LineHeight() const = 0;
};

struct TextLine {
    std::u16string text;
    int x = 0;      // left of the line's cell
    int y = 0;      // top of the line's cell
    int width = 0;  // width of the line's cell
    bool operator==(const TextLine&) const = default;
};

// Lays the text out in the rectangle:
// - DT_SINGLELINE: one line, line breaks kept as characters; DT_BOTTOM or
//   DT_VCENTER place it vertically, otherwise it starts at the top.
// - otherwise lines end at each line break ("\n", "\r\n" or "\r"); with
//   DT_WORDBREAK a line that would grow past the rectangle's width is broken
//   at the last blank, the blanks at the break being dropped. A word wider
//   than the rectangle keeps a line of its own and is not cut. Lines run
//   down from the top, one cell height apart.
// - DT_CENTER centres each line, DT_RIGHT aligns it to the right edge.
// Nothing is clipped: lines may reach outside the rectangle. Empty lines are
// kept (they advance the next line) but have an empty text.
std::vector<TextLine> LayoutDrawText(std::u16string_view text, const TextRect& rect, unsigned flags,
                                     const TextMeasurer& measurer);

// Columns of a fixed-pitch face: 1 for a character below 0x80, 2 for others.
int TextColumns(std::u16string_view text);

// A measurer for a fixed grid: `columnWidth` pixels per column.
class GridMeasurer final : public TextMeasurer {
public:
    GridMeasurer(int columnWidth, int lineHeight) : m_column(columnWidth), m_line(lineHeight) {}
    int Width(std::u16string_view text) const override { return TextColumns(text) * m_column; }
    int LineHeight() const override { return m_line; }

private:
    int m_column;
    int m_line;
};
