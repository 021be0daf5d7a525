#include "widgets/rom_list_box_accessible.h"

#include "widgets/rom_list_box.h"

#include <QPointer>
#include <QScrollBar>
#include <QWindow>

namespace {

// One entry of the list, by its row.
class EntryAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    EntryAccessible(RomListBox *list, int row) : list_(list), row_(row) {}

    // QAccessibleInterface
    bool isValid() const override { return list_ && row_ < list_->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(list_.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return isValid() && kind == QAccessible::Name ? list_->itemText(row_) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = list_->itemRect(row_);
        return QRect(list_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = isSelected();
        if (!list_->viewport()->rect().intersects(list_->itemRect(row_)))
            state.invisible = true;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int rowIndex() const override { return row_; }
    // One row is selected and current at once, as in any single-selection list box.
    bool isSelected() const override { return isValid() && list_->itemIndex() == row_; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QPointer<RomListBox> list_;
    int row_;
};

} // namespace

RomListBoxAccessible::RomListBoxAccessible(RomListBox *list) : QAccessibleWidget(list, QAccessible::List) {}

RomListBoxAccessible::~RomListBoxAccessible()
{
    dropEntries();
}

QAccessibleInterface *RomListBoxAccessible::Factory(const QString &, QObject *object)
{
    auto *list = qobject_cast<RomListBox *>(object);
    return list ? new RomListBoxAccessible(list) : nullptr;
}

RomListBox *RomListBoxAccessible::list() const
{
    return static_cast<RomListBox *>(widget());
}

void *RomListBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int RomListBoxAccessible::childCount() const
{
    return list()->count();
}

QAccessibleInterface *RomListBoxAccessible::child(int index) const
{
    if (index < 0 || index >= list()->count())
        return nullptr;
    if (const auto known = entries_.constFind(index); known != entries_.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto *entry = new EntryAccessible(list(), index);
    entries_.insert(index, QAccessible::registerAccessibleInterface(entry));
    return entry;
}

int RomListBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
    if (!cell || child->parent() != this)
        return -1;
    return cell->rowIndex();
}

QAccessibleInterface *RomListBoxAccessible::childAt(int x, int y) const
{
    const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!list()->viewport()->rect().contains(local))
        return nullptr;
    return child(list()->rowAt(local.y()));
}

QAccessibleInterface *RomListBoxAccessible::focusChild() const
{
    return child(list()->itemIndex());
}

QAccessibleInterface *RomListBoxAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

int RomListBoxAccessible::selectedCellCount() const
{
    return selectedRowCount();
}

QList<QAccessibleInterface *> RomListBoxAccessible::selectedCells() const
{
    if (list()->itemIndex() < 0)
        return {};
    return {child(list()->itemIndex())};
}

int RomListBoxAccessible::rowCount() const
{
    return list()->count();
}

int RomListBoxAccessible::selectedColumnCount() const
{
    return isColumnSelected(0) ? 1 : 0;
}

int RomListBoxAccessible::selectedRowCount() const
{
    return list()->itemIndex() >= 0 ? 1 : 0;
}

QList<int> RomListBoxAccessible::selectedColumns() const
{
    return isColumnSelected(0) ? QList<int>{0} : QList<int>{};
}

QList<int> RomListBoxAccessible::selectedRows() const
{
    return list()->itemIndex() >= 0 ? QList<int>{list()->itemIndex()} : QList<int>{};
}

bool RomListBoxAccessible::isColumnSelected(int column) const
{
    // A column is selected when every row is.
    return column == 0 && list()->count() == 1 && list()->itemIndex() == 0;
}

bool RomListBoxAccessible::isRowSelected(int row) const
{
    return row >= 0 && row == list()->itemIndex();
}

bool RomListBoxAccessible::selectRow(int row)
{
    if (row < 0 || row >= list()->count())
        return false;
    list()->selectByUser(row);
    return true;
}

void RomListBoxAccessible::modelChange(QAccessibleTableModelChangeEvent *)
{
    // Entries are known by their rows, which every insertion moves.
    dropEntries();
}

void RomListBoxAccessible::dropEntries()
{
    for (const QAccessible::Id id : std::as_const(entries_))
        QAccessible::deleteAccessibleInterface(id);
    entries_.clear();
}
