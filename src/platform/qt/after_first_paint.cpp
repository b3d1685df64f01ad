#include "platform/qt/after_first_paint.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <utility>
#include <vector>

namespace {

// Watches the application's events until the first paint, then hands the
// waiting works to the event loop, to run after that paint has finished.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch() { QCoreApplication::instance()->installEventFilter(this); }

    void Add(std::function<void()> work) {
        if (m_done)
            work();
        else
            m_works.push_back(std::move(work));
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                // A work may add another; it runs at once, as the paint is past.
                m_done = true;
                std::vector<std::function<void()>> works = std::move(m_works);
                m_works.clear();
                for (auto& work : works) work();
            });
        }
        return false;
    }

private:
    std::vector<std::function<void()>> m_works;
    bool m_painted = false;
    bool m_done = false;
};

QPointer<FirstPaintWatch>& Watch() {
    static QPointer<FirstPaintWatch> watch;
    return watch;
}

}  // namespace

void RunAfterFirstPaint(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !qobject_cast<QApplication*>(app)) {
        work();
        return;
    }
    QPointer<FirstPaintWatch>& watch = Watch();
    if (!watch) watch = new FirstPaintWatch;
    watch->setParent(app);
    watch->Add(std::move(work));
}

void ResetFirstPaintWatch() { delete Watch().data(); }
