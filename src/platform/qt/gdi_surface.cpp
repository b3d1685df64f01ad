#include "platform/qt/gdi_surface.h"

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <utility>

QRgb RgbOfColourRef(uint32_t colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

uint32_t ColourRefOfRgb(QRgb rgb) {
    return static_cast<uint32_t>(qRed(rgb)) | (static_cast<uint32_t>(qGreen(rgb)) << 8) |
           (static_cast<uint32_t>(qBlue(rgb)) << 16);
}

namespace {

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

const char16_t kFixedHangulFace[] = u"굴림체";

QStringList FamiliesFor(std::u16string_view face, bool* serif, bool* fixedGrid) {
    *serif = false;
    *fixedGrid = false;
    if (face == kFixedHangulFace) {
        *fixedGrid = true;
        return {QStringLiteral("NanumGothicCoding"), QStringLiteral("IPAGothic")};
    }
    if (face.substr(0, 15) == u"Times New Roman") {
        *serif = true;
        return {QStringLiteral("Liberation Serif"), QStringLiteral("NanumMyeongjo"),
                QStringLiteral("IPAMincho")};
    }
    return {QStringLiteral("Liberation Sans"), QStringLiteral("NanumGothic"),
            QStringLiteral("IPAGothic")};
}

}  // namespace

GdiFont::GdiFont(const FontSpec& spec) : m_metrics(QFont()) {
    bool serif = false;
    bool grid = false;
    m_font.setFamilies(FamiliesFor(spec.face, &serif, &grid));
    const bool faceBold = spec.face.find(u"Bold") != std::u16string::npos;
    const bool faceItalic = spec.face.find(u"Italic") != std::u16string::npos;
    m_font.setBold(spec.weight >= 600 || faceBold);
    m_font.setItalic(faceItalic);
    m_font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    m_font.setHintingPreference(QFont::PreferFullHinting);
    m_cell = std::max(1, spec.height);
    int size = m_cell;
    for (; size > 1; --size) {
        m_font.setPixelSize(size);
        if (QFontMetrics(m_font).height() <= m_cell) break;
    }
    m_font.setPixelSize(size);
    m_metrics = QFontMetrics(m_font);
    m_ascent = m_cell - m_metrics.descent();
    if (grid) m_grid = 6;
}

int GdiFont::Width(std::u16string_view text) const {
    if (m_grid) return TextColumns(text) * m_grid;
    return m_metrics.horizontalAdvance(ToQString(text));
}

const GdiFont& GdiSurface::DefaultFont() {
    static const GdiFont font(FontSpec{u"", 16, 700});
    return font;
}

GdiSurface::GdiSurface(int width, int height)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {}

GdiSurface::~GdiSurface() { EndPainting(); }

const QImage& GdiSurface::Image() {
    EndPainting();
    return m_image;
}

QPainter& GdiSurface::Painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
    }
    return *m_painter;
}

void GdiSurface::EndPainting() { m_painter.reset(); }

uint32_t GdiSurface::SetTextColor(uint32_t colour) { return std::exchange(m_text, colour & 0xFFFFFF); }
uint32_t GdiSurface::SetBkColor(uint32_t colour) { return std::exchange(m_bk, colour & 0xFFFFFF); }
BkMode GdiSurface::SetBkMode(BkMode mode) { return std::exchange(m_mode, mode); }
const GdiFont* GdiSurface::SelectFont(const GdiFont* font) { return std::exchange(m_font, font); }
const GdiPen* GdiSurface::SelectPen(const GdiPen* pen) { return std::exchange(m_pen, pen); }

void GdiSurface::FillRect(int l, int t, int r, int b, uint32_t colour) {
    if (r <= l || b <= t) return;
    QPainter& p = Painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(l, t, r - l, b - t), QColor::fromRgb(RgbOfColourRef(colour)));
}

void GdiSurface::FillSolidRect(const TextRect& rect, uint32_t colour) {
    m_bk = colour & 0xFFFFFF;
    FillRect(rect.left, rect.top, rect.right, rect.bottom, m_bk);
}

void GdiSurface::BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy,
                        RasterOp op) {
    if (w <= 0 || h <= 0 || source.isNull()) return;
    QPainter& p = Painter();
    switch (op) {
    case RasterOp::SrcCopy: p.setCompositionMode(QPainter::CompositionMode_Source); break;
    case RasterOp::SrcAnd: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case RasterOp::SrcPaint: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case RasterOp::SrcInvert: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    }
    // Only the part of the source rectangle that lies inside the source.
    QRect from = QRect(sx, sy, w, h).intersected(source.rect());
    if (from.isEmpty()) return;
    p.drawImage(QPoint(x + from.x() - sx, y + from.y() - sy), source, from);
}

void GdiSurface::DrawTransparentBitmap(int x, int y, int w, int h, const QImage& source,
                                       uint32_t key) {
    if (w <= 0 || h <= 0 || source.isNull()) return;
    w = std::min(w, source.width());
    h = std::min(h, source.height());
    const QImage src = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    EndPainting();
    const QRgb keyRgb = RgbOfColourRef(key) & 0xFFFFFF;
    const QRgb bk = RgbOfColourRef(m_bk) | 0xFF000000;
    const QRgb text = RgbOfColourRef(m_text) | 0xFF000000;
    const int x0 = std::max(0, -x), y0 = std::max(0, -y);
    const int x1 = std::min(w, m_image.width() - x), y1 = std::min(h, m_image.height() - y);
    for (int j = y0; j < y1; ++j) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(j));
        auto* d = reinterpret_cast<QRgb*>(m_image.scanLine(y + j)) + x;
        for (int i = x0; i < x1; ++i) {
            if ((s[i] & 0xFFFFFF) == keyRgb)
                d[i] &= bk;
            else
                d[i] = (d[i] & text) | s[i] | 0xFF000000;
        }
    }
}

void GdiSurface::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void GdiSurface::LineTo(int x, int y) {
    const uint32_t colour = m_pen ? m_pen->colour : 0;
    const int width = m_pen ? m_pen->width : 1;
    const int x0 = m_x, y0 = m_y;
    m_x = x;
    m_y = y;
    if (width > 1) {
        const int before = width / 2;
        if (x0 == x || y0 == y) {
            const int l = std::min(x0, x) - before, t = std::min(y0, y) - before;
            FillRect(l, t, std::max(x0, x) - before + width, std::max(y0, y) - before + width, colour);
            return;
        }
        // Slanted wide lines: a square at each point of the pixel line.
        int cx = x0, cy = y0;
        const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
        const int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            FillRect(cx - before, cy - before, cx - before + width, cy - before + width, colour);
            if (cx == x && cy == y) break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; cx += stepX; }
            if (e2 <= dx) { err += dx; cy += stepY; }
        }
        return;
    }
    if (y0 == y) {
        if (x > x0) FillRect(x0, y, x, y + 1, colour);
        else if (x < x0) FillRect(x + 1, y, x0 + 1, y + 1, colour);
        return;
    }
    if (x0 == x) {
        if (y > y0) FillRect(x, y0, x + 1, y, colour);
        else FillRect(x, y + 1, x + 1, y0 + 1, colour);
        return;
    }
    int cx = x0, cy = y0;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (cx != x || cy != y) {
        FillRect(cx, cy, cx + 1, cy + 1, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; cx += stepX; }
        if (e2 <= dx) { err += dx; cy += stepY; }
    }
}

void GdiSurface::DrawLineText(const std::u16string& text, int x, int y, const GdiFont& font) {
    QPainter& p = Painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setFont(font.Font());
    p.setPen(QColor::fromRgb(RgbOfColourRef(m_text)));
    if (font.GridWidth() == 0) {
        p.drawText(QPoint(x, y + font.Ascent()), ToQString(text));
        return;
    }
    int column = 0;
    for (char16_t c : text) {
        if (c != u' ')
            p.drawText(QPoint(x + column * font.GridWidth(), y + font.Ascent()),
                       QString(QChar(c)));
        column += c < 0x80 ? 1 : 2;
    }
}

void GdiSurface::DrawText(std::u16string_view text, const TextRect& rect, unsigned flags) {
    const GdiFont& font = m_font ? *m_font : DefaultFont();
    for (const TextLine& line : LayoutDrawText(text, rect, flags, font)) {
        if (m_mode == BkMode::Opaque)
            FillRect(line.x, line.y, line.x + line.width, line.y + font.CellHeight(), m_bk);
        if (!line.text.empty()) DrawLineText(line.text, line.x, line.y, font);
    }
}
