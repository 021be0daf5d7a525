#pragma once
#include <QAccessibleWidget>
#include <QHash>

class RomListBox;

// What assistive technology reads of a RomListBox, as of Qt's own list views:
// a list with one column whose children are its entries, each with its text,
// its place, and whether it is selected and current. Entries are made when
// asked for and dropped at every change of the rows.
class RomListBoxAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit RomListBoxAccessible(RomListBox *list);
    ~RomListBoxAccessible() override;

    // Installed with QAccessible::installFactory: the interface of every RomListBox.
    static QAccessibleInterface *Factory(const QString &className, QObject *object);

    RomListBox *list() const;

    // QAccessibleInterface
    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    // QAccessibleTableInterface: one column, one row per entry, one selected row at most.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    int columnCount() const override { return 1; }
    QString rowDescription(int) const override { return {}; }
    int rowCount() const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    // Choosing an entry this way is the user's choice, as a click is.
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    // A list box with one selection keeps it until another entry is chosen.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

private:
    void dropEntries();

    mutable QHash<int, QAccessible::Id> entries_;
};
