#include "platform/qt/bitmaps.h"

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
    QImage image(QStringLiteral(":/bmp/%1").arg(id));
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_RGB32);
}
