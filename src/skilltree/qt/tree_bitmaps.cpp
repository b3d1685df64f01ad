#include "skilltree/qt/tree_bitmaps.h"

#include "platform/qt/bitmaps.h"

#include <unordered_map>

namespace {

struct BitmapCache {
    std::function<QImage(int)> source;
    std::unordered_map<int, QImage> images;
};

BitmapCache& Cache() {
    static BitmapCache cache;
    return cache;
}

}  // namespace

const QImage& TreeBitmap(int id) {
    BitmapCache& cache = Cache();
    auto found = cache.images.find(id);
    if (found != cache.images.end()) return found->second;
    QImage image = cache.source ? cache.source(id) : LoadBitmapResource(id);
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return cache.images.emplace(id, std::move(image)).first->second;
}

void SetTreeBitmapSource(std::function<QImage(int)> source) {
    BitmapCache& cache = Cache();
    cache.source = std::move(source);
    cache.images.clear();
}
