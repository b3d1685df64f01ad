#include "platform/qt/gdi_surface.h"

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

QRgb RgbOfColourRef(uint32_t colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
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
    return {QStringLiteral("Liberation Sans"), QStringLiteral("NanumGothic"), QStringLiteral("IPAGothic")};
}

// Visits the points of the pixel line from (x0, y0) to (x, y) in order; the
// end point only when `withEnd` is set.
template <typename Plot>
void WalkLine(int x0, int y0, int x, int y, bool withEnd, Plot plot) {
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
    int err = dx + dy;
    for (int cx = x0, cy = y0;;) {
        const bool atEnd = cx == x && cy == y;
        if (atEnd && !withEnd) return;
        plot(cx, cy);
        if (atEnd) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            cy += stepY;
        }
    }
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
    if (grid) m_grid = 6;
}

// Finding the pixel size loads the face at several sizes, which windows made
// at start-up but shown later need not wait for: it happens at first use.
void GdiFont::Resolve() const {
    if (m_resolved) return;
    m_resolved = true;
    int size = m_cell;
    for (; size > 1; --size) {
        m_font.setPixelSize(size);
        if (QFontMetrics(m_font).height() <= m_cell) break;
    }
    m_font.setPixelSize(size);
    m_metrics = QFontMetrics(m_font);
    m_ascent = m_cell - m_metrics.descent();
}

int GdiFont::Width(std::u16string_view text) const {
    if (m_grid) return TextColumns(text) * m_grid;
    std::u16string key(text);
    auto found = m_widths.find(key);
    if (found != m_widths.end()) return found->second;
    Resolve();
    const int width = m_metrics.horizontalAdvance(ToQString(text));
    m_widths.emplace(std::move(key), width);
    return width;
}

const GdiFont::InkMask& GdiFont::Ink(const std::u16string& text) const {
    auto found = m_ink.find(text);
    if (found != m_ink.end()) return found->second;
    Resolve();
    // Draw white on black with room around the cell for overhangs, then keep
    // the set pixels.
    const int margin = m_cell;
    const int w = Width(text) + 2 * margin + m_cell;
    const int h = 3 * m_cell;
    QImage scratch(std::max(w, 1), h, QImage::Format_RGB32);
    scratch.fill(Qt::black);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(m_font);
        p.setPen(Qt::white);
        p.drawText(QPoint(margin, m_cell + m_ascent), ToQString(text));
    }
    int l = scratch.width(), t = h, r = -1, b = -1;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == 0) continue;
            l = std::min(l, x);
            r = std::max(r, x);
            t = std::min(t, y);
            b = std::max(b, y);
        }
    }
    InkMask mask;
    if (r >= 0) {
        mask.left = l - margin;
        mask.top = t - m_cell;
        mask.width = r - l + 1;
        mask.height = b - t + 1;
        mask.ink.resize(static_cast<size_t>(mask.width) * mask.height);
        for (int y = 0; y < mask.height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(t + y));
            for (int x = 0; x < mask.width; ++x)
                mask.ink[static_cast<size_t>(y) * mask.width + x] = (row[l + x] & 0xFFFFFF) != 0;
        }
    }
    return m_ink.emplace(text, std::move(mask)).first->second;
}

const GdiFont& GdiSurface::DefaultFont() {
    static const GdiFont font(FontSpec{u"", 16, 700});
    return font;
}

GdiSurface::GdiSurface(int width, int height)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {}

GdiSurface::GdiSurface(QImage&& image) : m_image(std::move(image)) {
    if (m_image.isNull()) m_image = QImage(1, 1, QImage::Format_RGB32);
    if (m_image.format() != QImage::Format_RGB32) m_image = m_image.convertToFormat(QImage::Format_RGB32);
}

GdiSurface::~GdiSurface() { EndPainting(); }

QImage GdiSurface::TakeImage() {
    EndPainting();
    QImage image = std::move(m_image);
    m_image = QImage(1, 1, QImage::Format_RGB32);
    return image;
}

const QImage& GdiSurface::Image() {
    // The raster painter draws at once, so the picture is current while a
    // painter stays open on it.
    return m_image;
}

QPainter& GdiSurface::Painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painterFont = nullptr;
        m_painterPen = 0xFFFFFFFF;
        m_painterMode = QPainter::CompositionMode_SourceOver;
    }
    return *m_painter;
}

void GdiSurface::SetMode(QPainter::CompositionMode mode) {
    QPainter& p = Painter();
    if (m_painterMode == mode) return;
    p.setCompositionMode(mode);
    m_painterMode = mode;
}

void GdiSurface::EndPainting() { m_painter.reset(); }

uint32_t GdiSurface::SetTextColor(uint32_t colour) { return std::exchange(m_text, colour & 0xFFFFFF); }
uint32_t GdiSurface::SetBkColor(uint32_t colour) { return std::exchange(m_bk, colour & 0xFFFFFF); }
BkMode GdiSurface::SetBkMode(BkMode mode) { return std::exchange(m_mode, mode); }
const GdiFont* GdiSurface::SelectFont(const GdiFont* font) { return std::exchange(m_font, font); }
const GdiPen* GdiSurface::SelectPen(const GdiPen* pen) { return std::exchange(m_pen, pen); }

void GdiSurface::FillRect(int l, int t, int r, int b, uint32_t colour) {
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, m_image.width());
    b = std::min(b, m_image.height());
    if (r <= l || b <= t) return;
    const QRgb rgb = RgbOfColourRef(colour) | 0xFF000000u;
    if (l == 0 && t == 0 && r == m_image.width() && b == m_image.height()) {
        m_image.fill(rgb);
        return;
    }
    if ((r - l) * (b - t) >= 4096) {
        SetMode(QPainter::CompositionMode_Source);
        Painter().fillRect(QRect(l, t, r - l, b - t), QColor::fromRgb(rgb));
        return;
    }
    // Small rectangles straight into the pixels; an open painter draws into
    // the same ones.
    uchar* base = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = t; y < b; ++y) std::fill_n(reinterpret_cast<QRgb*>(base + y * stride) + l, r - l, rgb);
}

void GdiSurface::FillSolidRect(const TextRect& rect, uint32_t colour) {
    m_bk = colour & 0xFFFFFF;
    FillRect(rect.left, rect.top, rect.right, rect.bottom, m_bk);
}

void GdiSurface::BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, RasterOp op) {
    if (w <= 0 || h <= 0 || source.isNull()) return;
    switch (op) {
    case RasterOp::SrcCopy: SetMode(QPainter::CompositionMode_Source); break;
    case RasterOp::SrcAnd: SetMode(QPainter::RasterOp_SourceAndDestination); break;
    case RasterOp::SrcPaint: SetMode(QPainter::RasterOp_SourceOrDestination); break;
    case RasterOp::SrcInvert: SetMode(QPainter::RasterOp_SourceXorDestination); break;
    }
    QPainter& p = Painter();
    // Only the part of the source rectangle that lies inside the source.
    QRect from = QRect(sx, sy, w, h).intersected(source.rect());
    if (from.isEmpty()) return;
    const QPoint to(x + from.x() - sx, y + from.y() - sy);
    if (op == RasterOp::SrcCopy && source.format() == QImage::Format_RGB32) {
        // Plain copies row by row, straight into the pixels.
        const QRect target = QRect(to, from.size()).intersected(m_image.rect());
        if (target.isEmpty()) return;
        const int dx = target.x() - to.x(), dy = target.y() - to.y();
        const uchar* srcBase = source.constBits();
        const qsizetype srcStride = source.bytesPerLine();
        uchar* dstBase = m_image.bits();
        const qsizetype dstStride = m_image.bytesPerLine();
        for (int row = 0; row < target.height(); ++row) {
            const auto* src =
                reinterpret_cast<const QRgb*>(srcBase + (from.y() + dy + row) * srcStride) + from.x() + dx;
            auto* dst = reinterpret_cast<QRgb*>(dstBase + (target.y() + row) * dstStride) + target.x();
            std::memcpy(dst, src, sizeof(QRgb) * static_cast<size_t>(target.width()));
        }
        return;
    }
    p.drawImage(to, source, from);
}

void GdiSurface::DrawTransparentBitmap(int x, int y, int w, int h, const QImage& source, uint32_t key) {
    if (w <= 0 || h <= 0 || source.isNull()) return;
    w = std::min(w, source.width());
    h = std::min(h, source.height());
    const QImage src = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = RgbOfColourRef(key) & 0xFFFFFF;
    const QRgb bk = RgbOfColourRef(m_bk) | 0xFF000000;
    const QRgb text = RgbOfColourRef(m_text) | 0xFF000000;
    const int x0 = std::max(0, -x), y0 = std::max(0, -y);
    const int x1 = std::min(w, m_image.width() - x), y1 = std::min(h, m_image.height() - y);
    const uchar* srcBase = src.constBits();
    const qsizetype srcStride = src.bytesPerLine();
    // Written directly: an open painter draws into the same pixels.
    uchar* dstBase = m_image.bits();
    const qsizetype dstStride = m_image.bytesPerLine();
    for (int j = y0; j < y1; ++j) {
        const auto* s = reinterpret_cast<const QRgb*>(srcBase + j * srcStride);
        auto* d = reinterpret_cast<QRgb*>(dstBase + (y + j) * dstStride) + x;
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
    // A line of no length draws nothing, whatever the pen's width.
    if (x0 == x && y0 == y) return;
    if (width > 1) {
        const int before = width / 2;
        if (x0 == x || y0 == y) {
            const int l = std::min(x0, x) - before, t = std::min(y0, y) - before;
            FillRect(l, t, std::max(x0, x) - before + width, std::max(y0, y) - before + width, colour);
            return;
        }
        // Slanted wide lines: a square at each point of the pixel line.
        WalkLine(x0, y0, x, y, true, [&](int cx, int cy) {
            FillRect(cx - before, cy - before, cx - before + width, cy - before + width, colour);
        });
        return;
    }
    if (y0 == y) {
        if (x > x0)
            FillRect(x0, y, x, y + 1, colour);
        else if (x < x0)
            FillRect(x + 1, y, x0 + 1, y + 1, colour);
        return;
    }
    if (x0 == x) {
        if (y > y0)
            FillRect(x, y0, x + 1, y, colour);
        else
            FillRect(x, y + 1, x + 1, y0 + 1, colour);
        return;
    }
    WalkLine(x0, y0, x, y, false, [&](int cx, int cy) { FillRect(cx, cy, cx + 1, cy + 1, colour); });
}

void GdiSurface::DrawLineText(const std::u16string& text, int x, int y, const GdiFont& font) {
    if (font.GridWidth() == 0) {
        const GdiFont::InkMask& mask = font.Ink(text);
        const QRgb colour = RgbOfColourRef(m_text) | 0xFF000000u;
        const int x0 = x + mask.left, y0 = y + mask.top;
        const int i0 = std::max(0, -x0), j0 = std::max(0, -y0);
        const int i1 = std::min(mask.width, m_image.width() - x0);
        const int j1 = std::min(mask.height, m_image.height() - y0);
        if (i1 <= i0 || j1 <= j0) return;
        uchar* base = m_image.bits();
        const qsizetype stride = m_image.bytesPerLine();
        for (int j = j0; j < j1; ++j) {
            const uint8_t* ink = mask.ink.data() + static_cast<size_t>(j) * mask.width;
            auto* d = reinterpret_cast<QRgb*>(base + (y0 + j) * stride) + x0;
            for (int i = i0; i < i1; ++i)
                if (ink[i]) d[i] = colour;
        }
        return;
    }
    SetMode(QPainter::CompositionMode_SourceOver);
    QPainter& p = Painter();
    if (m_painterFont != &font) {
        p.setFont(font.Font());
        m_painterFont = &font;
    }
    if (m_painterPen != m_text) {
        p.setPen(QColor::fromRgb(RgbOfColourRef(m_text)));
        m_painterPen = m_text;
    }
    int column = 0;
    for (char16_t c : text) {
        if (c != u' ')
            p.drawText(QPoint(x + column * font.GridWidth(), y + font.Ascent()), QString(QChar(c)));
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
