// Text rules of the description popup: wrapping at blanks, counting lines and
// columns, and the popup size that follows from them.
#pragma once

#include <string>
#include <string_view>

// Width of the popup's font grid.
inline constexpr int kMemoColumnWidth = 6;
inline constexpr int kMemoLineHeight = 12;

// Inserts a line break after each blank met at column 49 or beyond (columns
// counted from the last line break, 2 for a character of 0x80 or above),
// unless a line break already follows it.
void WrapMemoText(std::u16string& text);

// Columns of the widest line; 0 for an empty text.
int MaxLineColumns(std::u16string_view text);

// 1 plus the line breaks that another character follows.
int CountMemoLines(std::u16string_view text);

struct MemoSize {
    int width = 0, height = 0;
    bool operator==(const MemoSize&) const = default;
};
MemoSize MemoPopupSize(int lines, int columns);
