#include "skilltree/memo_text.h"

#include <algorithm>

void WrapMemoText(std::u16string& text) {
    int columns = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            columns = 0;
        } else if (c >= 0x80) {
            columns += 2;
        } else if (c == u' ' && columns >= 49) {
            if (i + 1 >= text.size() || text[i + 1] != u'\n') text.insert(i + 1, 1, u'\n');
            ++i;  // past the break
            columns = 0;
        } else {
            columns += 1;
        }
    }
}

int MaxLineColumns(std::u16string_view text) {
    int columns = 0;
    int widest = 0;
    for (char16_t c : text) {
        if (c == u'\n')
            columns = 0;
        else
            columns += c < 0x80 ? 1 : 2;
        widest = std::max(widest, columns);
    }
    return widest;
}

int CountMemoLines(std::u16string_view text) {
    int lines = 1;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == u'\n') ++lines;
    return lines;
}

MemoSize MemoPopupSize(int lines, int columns) {
    return {kMemoColumnWidth * columns + 8, kMemoLineHeight * lines + 8};
}
