#pragma once
#include <QAccessible>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <algorithm>
#include <private/qguiapplication_p.h>
#include <vector>

// Assistive technology listening, as a screen reader would be: the platform's
// accessibility is switched on, so that controls tell their changes, and
// every event is recorded while the listener lives. Tests that use it link
// Qt6::GuiPrivate.
class AccessibilityListener
{
public:
    struct Event
    {
        QAccessible::Event type;
        int child;
        int modelChange; // QAccessibleTableModelChangeEvent::ModelChangeType, or -1
        int firstRow, lastRow;
    };

    AccessibilityListener()
    {
        current() = this;
        QAccessible::installUpdateHandler(&Record);
        if (QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
    }
    ~AccessibilityListener()
    {
        if (QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        current() = nullptr;
    }
    AccessibilityListener(const AccessibilityListener &) = delete;
    AccessibilityListener &operator=(const AccessibilityListener &) = delete;

    void Clear() { events_.clear(); }
    bool Told(QAccessible::Event type, int child) const
    {
        return std::any_of(events_.begin(), events_.end(),
                           [&](const Event &e) { return e.type == type && e.child == child; });
    }
    bool ToldChange(QAccessibleTableModelChangeEvent::ModelChangeType change, int firstRow = -1, int lastRow = -1) const
    {
        return std::any_of(events_.begin(), events_.end(), [&](const Event &e) {
            return e.modelChange == change && e.firstRow == firstRow && e.lastRow == lastRow;
        });
    }

private:
    static AccessibilityListener *&current()
    {
        static AccessibilityListener *listener = nullptr;
        return listener;
    }

    static void Record(QAccessibleEvent *event)
    {
        Event told{event->type(), event->child(), -1, -1, -1};
        if (event->type() == QAccessible::TableModelChanged) {
            const auto *change = static_cast<QAccessibleTableModelChangeEvent *>(event);
            told.modelChange = change->modelChangeType();
            told.firstRow = change->firstRow();
            told.lastRow = change->lastRow();
        }
        if (current())
            current()->events_.push_back(told);
    }

    std::vector<Event> events_;
};
