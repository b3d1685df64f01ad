#include "platform/draw_text.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int AlignedX(const TextRect& rect, unsigned flags, int width) {
    if (flags & DT_CENTER) return rect.left + (rect.right - rect.left - width) / 2;
    if (flags & DT_RIGHT) return rect.right - width;
    return rect.left;
}

// Breaks one paragraph (no line breaks inside) into lines no wider than
// `maxWidth` where blanks allow it.
void WrapParagraph(std::u16string_view para, int maxWidth, const TextMeasurer& m,
                   std::vector<std::u16string>& out) {
    size_t pos = 0;
    const size_t n = para.size();
    if (n == 0) {
        out.emplace_back();
        return;
    }
    while (pos < n) {
        // The line starts at pos; take words while they fit.
        size_t lineEnd = pos;  // end of the accepted text (blanks after it not yet taken)
        size_t scan = pos;
        bool any = false;
        while (scan < n) {
            size_t wordStart = scan;
            while (wordStart < n && IsBlank(para[wordStart])) ++wordStart;
            size_t wordEnd = wordStart;
            while (wordEnd < n && !IsBlank(para[wordEnd])) ++wordEnd;
            if (wordEnd == wordStart) {  // only blanks remain
                if (!any) lineEnd = n;
                scan = n;
                break;
            }
            const int w = m.Width(para.substr(pos, wordEnd - pos));
            if (any && w > maxWidth) break;
            lineEnd = wordEnd;
            any = true;
            scan = wordEnd;
            if (w > maxWidth) break;  // a lone word too wide: its own line
        }
        out.emplace_back(para.substr(pos, lineEnd - pos));
        pos = lineEnd;
        while (pos < n && IsBlank(para[pos])) ++pos;  // blanks at the break are dropped
        if (scan >= n && pos >= n) break;
    }
}

}  // namespace

int TextColumns(std::u16string_view text) {
    int columns = 0;
    for (char16_t c : text) columns += c < 0x80 ? 1 : 2;
    return columns;
}

std::vector<TextLine> LayoutDrawText(std::u16string_view text, const TextRect& rect, unsigned flags,
                                     const TextMeasurer& measurer) {
    std::vector<TextLine> lines;
    const int lineHeight = measurer.LineHeight();
    if (flags & DT_SINGLELINE) {
        TextLine line;
        line.text = std::u16string(text);
        line.width = measurer.Width(text);
        line.x = AlignedX(rect, flags, line.width);
        if (flags & DT_BOTTOM)
            line.y = rect.bottom - lineHeight;
        else if (flags & DT_VCENTER)
            line.y = rect.top + (rect.bottom - rect.top - lineHeight) / 2;
        else
            line.y = rect.top;
        lines.push_back(std::move(line));
        return lines;
    }
    std::vector<std::u16string> texts;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\n' && text[i] != u'\r') continue;
        const std::u16string_view para = text.substr(start, i - start);
        if (flags & DT_WORDBREAK)
            WrapParagraph(para, rect.right - rect.left, measurer, texts);
        else
            texts.emplace_back(para);
        if (end) break;
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    // A text that ends in a line break has no further line.
    if (texts.size() > 1 && texts.back().empty() && !text.empty() &&
        (text.back() == u'\n' || text.back() == u'\r'))
        texts.pop_back();
    int y = rect.top;
    for (std::u16string& t : texts) {
        TextLine line;
        line.width = t.empty() ? 0 : measurer.Width(t);
        line.x = AlignedX(rect, flags, line.width);
        line.y = y;
        line.text = std::move(t);
        lines.push_back(std::move(line));
        y += lineHeight;
    }
    return lines;
}
