#include "platform/qt/bitmaps.h"

#include <QImageReader>
#include <QResource>
#include <QString>
#include <QtEndian>

// The resource list lives in a static library: register it explicitly so the
// linker keeps it.
static void InitBitmapResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(bitmaps);
        return true;
    }();
    (void)done;
}

// The pictures shown at start are stored decoded: "TVRB", width and height
// (16-bit little-endian), then the rows of 32-bit little-endian 0xFFRRGGBB
// pixels. A null image when the resource is not one of them.
static QImage ReadDecodedBitmap(const QResource& resource) {
    constexpr qsizetype kHeader = 8;
    const QByteArray data = resource.compressionAlgorithm() == QResource::NoCompression
                                ? QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                                          static_cast<qsizetype>(resource.size()))
                                : resource.uncompressedData();
    if (data.size() < kHeader || !data.startsWith("TVRB")) return {};
    const int width = qFromLittleEndian<quint16>(data.constData() + 4);
    const int height = qFromLittleEndian<quint16>(data.constData() + 6);
    if (width == 0 || height == 0 || data.size() != kHeader + qsizetype(width) * height * 4) return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < height; ++y)
        qFromLittleEndian<quint32>(data.constData() + kHeader + qsizetype(y) * width * 4, width,
                                   image.scanLine(y));
    return image;
}

QImage LoadBitmapResource(int id) {
    InitBitmapResources();
    const QString name = QStringLiteral(":/bmp/%1").arg(id);
    const QResource resource(name);
    if (!resource.isValid()) return {};
    if (QImage image = ReadDecodedBitmap(resource); !image.isNull()) return image;
    // The resource names carry no suffix: naming the format, and nothing
    // else, spares the reader from loading every image plugin to ask it.
    QImageReader reader(name, "PNG");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_RGB32);
}
