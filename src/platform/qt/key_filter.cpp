#include "platform/qt/key_filter.h"

#include "platform/dialog_keys.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

EnterEscapeFilter& EnterEscapeFilter::Instance() {
    static QPointer<EnterEscapeFilter> instance;
    if (!instance) {
        instance = new EnterEscapeFilter(qApp);
        qApp->installEventFilter(instance);
    }
    return *instance;
}

EnterEscapeFilter::EnterEscapeFilter(QObject* parent) : QObject(parent) {}

void EnterEscapeFilter::Cover(QWidget* root) {
    if (!root || Covers(root)) return;
    m_roots.erase(
        std::remove_if(m_roots.begin(), m_roots.end(), [](const QPointer<QWidget>& w) { return w.isNull(); }),
        m_roots.end());
    m_roots.emplace_back(root);
}

void EnterEscapeFilter::Uncover(QWidget* root) {
    m_roots.erase(
        std::remove_if(m_roots.begin(), m_roots.end(),
                       [root](const QPointer<QWidget>& w) { return w.isNull() || w.data() == root; }),
        m_roots.end());
}

bool EnterEscapeFilter::Covers(const QObject* target) const {
    if (!target || !target->isWidgetType()) return false;
    const auto* widget = static_cast<const QWidget*>(target);
    for (const QPointer<QWidget>& root : m_roots) {
        if (root && (root.data() == widget || root->isAncestorOf(widget))) return true;
    }
    return false;
}

bool EnterEscapeFilter::IsDroppedKeyPress(const QEvent* event) {
    if (!event || event->type() != QEvent::KeyPress) return false;
    uint32_t virtualKey = 0;
    switch (static_cast<const QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: virtualKey = kVkReturn; break;  // keypad Enter is Enter too
    case Qt::Key_Escape: virtualKey = kVkEscape; break;
    default: break;
    }
    return DropsDialogKey(kWmKeyDown, virtualKey);
}

bool EnterEscapeFilter::eventFilter(QObject* watched, QEvent* event) {
    if (IsDroppedKeyPress(event) && Covers(watched)) return true;
    return QObject::eventFilter(watched, event);
}
