#pragma once
#include "catalogue/sorted_rom_list.h"

#include <QAbstractScrollArea>
#include <QTimer>

// The main list: ROM names in sorted order, one selected entry or none.
// It draws only the visible rows straight from the sorted entries, so adding
// an entry costs the same with ten or a hundred thousand of them, and it
// repaints at a steady pace while a scan adds entries.
class RomListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit RomListBox(QWidget *parent = nullptr);

    int count() const { return entries_.count(); }
    const RomListEntry &item(int row) const { return entries_.at(row); }
    // Adds at the sorted place; the selected entry stays selected.
    int addItem(const QString &text, const romobj &object);
    void clear();

    // The selected row, -1 for none. Setting it from code fires no click.
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int row);

    int rowHeight() const;

signals:
    // The user chose an entry with the mouse or the keyboard.
    void clicked();
    void doubleClicked();
    // A typed character (Enter gives '\r').
    void keyPressed(QChar key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int rowAt(int y) const;
    int visibleRows() const;
    void updateScrollRange();
    void scheduleRepaint();
    void ensureVisible(int row);
    void selectByUser(int row);
    int findByFirstLetter(QChar letter) const;

    SortedRomList entries_;
    int itemIndex_ = -1;
    QTimer repaintTimer_;
};
