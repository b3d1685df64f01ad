// Shared by the start-up probe and its floor: ends the process as soon as a
// chosen widget has finished its first paint, and prints how long that took
// from the start of main(). A watchdog ends a run that never paints.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

class FirstPaintExit : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    // `isTarget` picks the widget whose first paint ends the run; `afterPaint`
    // (optional) runs with it once the time is taken, before the end.
    FirstPaintExit(Clock::time_point start, std::function<bool(QWidget*)> isTarget,
                   std::function<void(QWidget*)> afterPaint = {})
        : m_start(start), m_isTarget(std::move(isTarget)), m_afterPaint(std::move(afterPaint)) {
        QCoreApplication::instance()->installEventFilter(this);
        QTimer::singleShot(m_watchdogMs, [] {
            std::fprintf(stderr, "no first paint within the watchdog time\n");
            std::_Exit(2);
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_ended) return false;
        if (!m_painted) {
            if (event->type() == QEvent::Paint && watched->isWidgetType() &&
                m_isTarget(static_cast<QWidget*>(watched))) {
                m_painted = true;
                m_target = static_cast<QWidget*>(watched);
                // Should nothing else be waiting, this ends the run.
                QTimer::singleShot(0, [] {});
            }
            return false;
        }
        // The first event that comes from the event loop after the paint:
        // that paint, its children's and the flush to the window are done.
        // The run ends here, at once: whatever the program left for later
        // and its shutdown are not part of a start.
        switch (event->type()) {
        case QEvent::MetaCall:
        case QEvent::Timer:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater: break;
        default: return false;
        }
        m_ended = true;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
        std::printf("first-paint-ms %.3f\n", ms);
        std::fflush(stdout);
        if (m_afterPaint) m_afterPaint(m_target);
        std::fflush(stdout);
        std::_Exit(0);
    }

    bool Painted() const { return m_ended; }

private:
    static constexpr int m_watchdogMs = 20000;
    Clock::time_point m_start;
    std::function<bool(QWidget*)> m_isTarget;
    std::function<void(QWidget*)> m_afterPaint;
    QWidget* m_target = nullptr;
    bool m_painted = false;
    bool m_ended = false;
};
