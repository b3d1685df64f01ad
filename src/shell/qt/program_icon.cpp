#include "shell/qt/program_icon.h"

#include "shell/desktop_integration.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <QStyleOption>

#include <iterator>
#include <map>

// The icons live in a resource file of the static library; its initialiser
// must be called by name (and outside any namespace).
static bool InitIconResources() {
    Q_INIT_RESOURCE(icons);
    return true;
}

namespace {
void EnsureIconResources() {
    static const bool done = InitIconResources();
    (void)done;
}

QString IconResourcePath(int size) {
    return QStringLiteral(":/icons/hicolor/%1x%1/apps/tolvemar.png").arg(size);
}
}  // namespace

namespace {
// Decodes a size only when it is asked for: the main window takes the icon
// before it shows, and decoding all eight sizes up front (the largest is
// 256 x 256) held up the start for nothing where the desktop asks for one or
// two. Asked for a size that is not shipped, it scales the next larger one
// down, or gives the largest.
class ProgramIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        int chosen = kIconSizes[std::size(kIconSizes) - 1];
        for (int s : kIconSizes) {
            if (s >= size.width() && s >= size.height()) {
                chosen = s;
                break;
            }
        }
        QPixmap& decoded = m_decoded[chosen];
        if (decoded.isNull()) decoded = QPixmap(IconResourcePath(chosen));
        QPixmap result = decoded;
        if (!result.isNull() && (result.width() > size.width() || result.height() > size.height()))
            result = result.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && !result.isNull()) {
            QStyleOption option;
            if (QStyle* style = QApplication::style())
                result = style->generatedIconPixmap(mode, result, &option);
        }
        return result;
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap result = pixmap(size * scale, mode, state);
        result.setDevicePixelRatio(scale);
        return result;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int largest = kIconSizes[std::size(kIconSizes) - 1];
        return size.boundedTo(QSize(largest, largest));
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int s : kIconSizes) sizes.append(QSize(s, s));
        return sizes;
    }
    QString key() const override { return QStringLiteral("tolvemar-program-icon"); }
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

private:
    std::map<int, QPixmap> m_decoded;
};
}  // namespace

QIcon ProgramIcon() {
    EnsureIconResources();
    return QIcon(new ProgramIconEngine);
}

QByteArray ProgramIconPng(int size) {
    EnsureIconResources();
    QFile file(IconResourcePath(size));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}
