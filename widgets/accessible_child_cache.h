#pragma once
#include <QAccessible>
#include <QHash>
#include <functional>

// The accessible interfaces of the items a control draws itself (cells, list
// entries), which are no widgets of their own. Each is made on first request
// and registered with QAccessible, so that assistive technology sees one
// identity per item for as long as it lasts; the cache deletes them when they
// are dropped and when it goes.
class AccessibleChildCache
{
public:
    AccessibleChildCache() = default;
    ~AccessibleChildCache();
    AccessibleChildCache(const AccessibleChildCache &) = delete;
    AccessibleChildCache &operator=(const AccessibleChildCache &) = delete;

    // The interface kept for key, made by make the first time.
    QAccessibleInterface *Get(quint64 key, const std::function<QAccessibleInterface *()> &make);
    // Deletes the interfaces whose keys drop accepts.
    void DropIf(const std::function<bool(quint64 key)> &drop);

private:
    QHash<quint64, QAccessible::Id> ids_;
};
