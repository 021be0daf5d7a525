#pragma once
#include "widgets/type_to_find.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

// The main list's control: rows of text, one selected row or none. The rows
// live outside the control (a subclass gives their count and texts); it draws
// only the visible rows, so adding a row costs the same with ten or a hundred
// thousand of them, and it repaints at a steady pace while rows arrive.
// Letters typed into it select a row as list views do (TypeToFind).
// Assistive technology reads it as a list (RomListBoxAccessible).
class RomListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Rows arriving in a stream show at this pace.
    static constexpr int kRepaintPauseMs = 40;
    // Letters typed within this time of each other make one word.
    static constexpr int kTypingWordMs = 1000;

    explicit RomListBox(QWidget *parent = nullptr);

    virtual int count() const = 0;

    // The selected row, -1 for none. Setting it from code fires no click.
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int row);

    int rowHeight() const;
    // The row's text, and where it lies in the viewport (outside it when scrolled away).
    QString itemText(int row) const { return rowText(row); }
    QRect itemRect(int row) const;
    // The row under a point of the viewport, -1 for none.
    int rowAt(int y) const;
    // Rows came in that the screen does not show yet; a paint is on its way.
    bool repaintPending() const { return repaintTimer_.isActive(); }

signals:
    // The user chose an entry with the mouse or the keyboard.
    void clicked();
    void doubleClicked();
    // A typed character (Enter gives '\r').
    void keyPressed(QChar key);
    // The rows are about to be drawn: what must show in step with them
    // (a count of them elsewhere) goes to the screen now.
    void painting();

protected:
    virtual const QString &rowText(int row) const = 0;
    // A row came in at this place: the selected row stays selected.
    void rowInserted(int row);
    // Every row is gone, and so is the selection.
    void rowsCleared();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class RomListBoxAccessible;

    int visibleRows() const;
    void updateScrollRange();
    void scheduleRepaint();
    void ensureVisible(int row);
    void selectByUser(int row);
    void tellSelectionMoved(int before);
    int findTyped(QChar typed);

    int itemIndex_ = -1;
    QTimer repaintTimer_;
    TypeToFind typeToFind_;
    QElapsedTimer typingClock_;
};
