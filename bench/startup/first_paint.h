// Shared by the start-up probe and its floor: ends the program once a chosen
// widget has finished its first paint, and prints how long that took from
// the start of main(). A watchdog ends a run that never paints.
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
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType() &&
            m_isTarget(static_cast<QWidget*>(watched))) {
            m_done = true;
            // Queued, so it runs once this paint and the flush that follows
            // it are complete.
            QWidget* target = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, [this, target] {
                const double ms =
                    std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
                std::printf("first-paint-ms %.3f\n", ms);
                std::fflush(stdout);
                if (m_afterPaint) m_afterPaint(target);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

    bool Painted() const { return m_done; }

private:
    static constexpr int m_watchdogMs = 20000;
    Clock::time_point m_start;
    std::function<bool(QWidget*)> m_isTarget;
    std::function<void(QWidget*)> m_afterPaint;
    bool m_done = false;
};
