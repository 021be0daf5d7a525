#include "widgets/accessible_controls.h"

#include "widgets/accessible_combo_box.h"
#include "widgets/rom_list_box_accessible.h"
#include "widgets/sortablegrid/accessible_sortable_grid.h"
#include "widgets/url_label_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

// A window that is a plain QWidget (the main window) reads as a window, not
// as a pane inside one. Asked first under the object's own class.
QAccessibleInterface *PlainWindowFactory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    const QMetaObject *type = object->metaObject();
    if (!widget || !widget->isWindow() || className != QLatin1StringView(type->className()) ||
        (type != &QWidget::staticMetaObject && type->superClass() != &QWidget::staticMetaObject))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void InstallAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(RomListBoxAccessible::Factory);
        QAccessible::installFactory(AccessibleSortableGrid::Factory);
        QAccessible::installFactory(AccessibleComboBox::Factory);
        QAccessible::installFactory(URLLabelAccessible::Factory);
        QAccessible::installFactory(PlainWindowFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
