#include "widgets/accessible_controls.h"

#include "widgets/rom_list_box_accessible.h"
#include "widgets/sortablegrid/accessible_sortable_grid.h"

#include <QAccessible>

void InstallAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(RomListBoxAccessible::Factory);
        QAccessible::installFactory(AccessibleSortableGrid::Factory);
        return true;
    }();
    Q_UNUSED(installed);
}
