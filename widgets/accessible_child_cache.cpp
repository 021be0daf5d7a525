#include "widgets/accessible_child_cache.h"

AccessibleChildCache::~AccessibleChildCache()
{
    DropIf([](quint64) { return true; });
}

QAccessibleInterface *AccessibleChildCache::Get(quint64 key, const std::function<QAccessibleInterface *()> &make)
{
    const auto found = ids_.constFind(key);
    if (found != ids_.constEnd()) {
        if (QAccessibleInterface *kept = QAccessible::accessibleInterface(*found))
            return kept;
    }
    QAccessibleInterface *made = make();
    ids_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

void AccessibleChildCache::DropIf(const std::function<bool(quint64 key)> &drop)
{
    for (auto it = ids_.begin(); it != ids_.end();) {
        if (drop(it.key())) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = ids_.erase(it);
        } else {
            ++it;
        }
    }
}
