#include "platform/qt/bitmaps.h"

#include <QImageReader>
#include <QString>

// The resource list lives in a static library: register it explicitly so the
// linker keeps it.
static void InitBitmapResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(bitmaps);
        return true;
    }();
    (void)done;
}

QImage LoadBitmapResource(int id) {
    InitBitmapResources();
    // The resource names carry no suffix: naming the format, and nothing
    // else, spares the reader from loading every image plugin to ask it.
    QImageReader reader(QStringLiteral(":/bmp/%1").arg(id), "PNG");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_RGB32);
}
