#include "widgets/rom_list_box.h"

#include "platform/handler_guard.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kTextInset = 2;
} // namespace

RomListBox::RomListBox(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    typingClock_.start();
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintPauseMs);
    ConnectHandler(&repaintTimer_, &QTimer::timeout, this, [this] {
        updateScrollRange();
        viewport()->update();
    });
    ConnectHandler(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

int RomListBox::rowHeight() const
{
    return fontMetrics().height() + 1;
}

int RomListBox::visibleRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

void RomListBox::rowInserted(int row)
{
    if (itemIndex_ >= row)
        ++itemIndex_;
    scheduleRepaint();
    // Assistive technology hears of changes only while it listens, as from Qt's own views.
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::RowsInserted);
        change.setFirstRow(row);
        change.setLastRow(row);
        QAccessible::updateAccessibility(&change);
    }
}

void RomListBox::rowsCleared()
{
    itemIndex_ = -1;
    updateScrollRange();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
}

void RomListBox::setItemIndex(int row)
{
    const int before = itemIndex_;
    itemIndex_ = (row >= 0 && row < count()) ? row : -1;
    updateScrollRange();
    if (itemIndex_ >= 0)
        ensureVisible(itemIndex_);
    viewport()->update();
    if (itemIndex_ != before && QAccessible::isActive())
        tellSelectionMoved(before);
}

void RomListBox::tellSelectionMoved(int before)
{
    // As Qt's own list views tell it: the entry left, the entry chosen, and
    // the focus on it when the list has the focus.
    if (before >= 0 && before < count()) {
        QAccessibleEvent removed(this, QAccessible::SelectionRemove);
        removed.setChild(before);
        QAccessible::updateAccessibility(&removed);
    }
    if (itemIndex_ < 0)
        return;
    QAccessibleEvent added(this, QAccessible::SelectionAdd);
    added.setChild(itemIndex_);
    QAccessible::updateAccessibility(&added);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(itemIndex_);
        QAccessible::updateAccessibility(&focus);
    }
}

void RomListBox::scheduleRepaint()
{
    if (!repaintTimer_.isActive())
        repaintTimer_.start();
}

void RomListBox::updateScrollRange()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(visibleRows());
    bar->setSingleStep(1);
    bar->setRange(0, std::max(0, count() - visibleRows()));
}

void RomListBox::resizeEvent(QResizeEvent *event)
{
    RunHandler([&] {
        QAbstractScrollArea::resizeEvent(event);
        updateScrollRange();
    });
}

void RomListBox::ensureVisible(int row)
{
    QScrollBar *bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + visibleRows())
        bar->setValue(row - visibleRows() + 1);
}

QRect RomListBox::itemRect(int row) const
{
    const int height = rowHeight();
    return QRect(0, (row - verticalScrollBar()->value()) * height, viewport()->width(), height);
}

int RomListBox::rowAt(int y) const
{
    const int row = verticalScrollBar()->value() + y / rowHeight();
    return (y >= 0 && row < count()) ? row : -1;
}

void RomListBox::paintEvent(QPaintEvent *)
{
    RunHandler([&] {
        emit painting();
        QPainter painter(viewport());
        const QPalette colours = palette();
        painter.fillRect(viewport()->rect(), colours.color(QPalette::Base));
        const int height = rowHeight();
        const int first = verticalScrollBar()->value();
        const int last = std::min(count(), first + visibleRows() + 1);
        for (int row = first; row < last; ++row) {
            const QRect line(0, (row - first) * height, viewport()->width(), height);
            const bool selected = row == itemIndex_;
            if (selected)
                painter.fillRect(line, colours.color(QPalette::Highlight));
            painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
            painter.drawText(line.adjusted(kTextInset, 0, -kTextInset, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             rowText(row));
            if (selected && hasFocus()) {
                painter.setPen(QPen(colours.color(QPalette::HighlightedText), 1, Qt::DotLine));
                painter.drawRect(line.adjusted(0, 0, -1, -1));
            }
        }
    });
}

void RomListBox::selectByUser(int row)
{
    if (row < 0 || row >= count())
        return;
    setItemIndex(row);
    emit clicked();
}

void RomListBox::mousePressEvent(QMouseEvent *event)
{
    RunHandler([&] {
        if (event->button() == Qt::LeftButton)
            selectByUser(rowAt(event->position().toPoint().y()));
    });
}

void RomListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    RunHandler([&] {
        // Anywhere in the list, as its double click plays the selected entry.
        if (event->button() == Qt::LeftButton)
            emit doubleClicked();
    });
}

int RomListBox::findTyped(QChar typed)
{
    // Letters typed within about a second make one word, or within the
    // desktop's own interval for its item views where that is longer.
    const int interval = std::max(QApplication::keyboardInputInterval(), kTypingWordMs);
    return typeToFind_.type(typed, typingClock_.elapsed(), interval, itemIndex_, count(),
                            [this](int row) -> const QString & { return rowText(row); });
}

void RomListBox::keyPressEvent(QKeyEvent *event)
{
    RunHandler([&] {
        const int last = count() - 1;
        int target = -1;
        switch (event->key()) {
        case Qt::Key_Up: target = std::max(0, itemIndex_ - 1); break;
        case Qt::Key_Down: target = std::min(last, itemIndex_ + 1); break;
        case Qt::Key_PageUp: target = std::max(0, itemIndex_ - visibleRows() + 1); break;
        case Qt::Key_PageDown: target = std::min(last, std::max(0, itemIndex_) + visibleRows() - 1); break;
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = last; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: emit keyPressed(QChar(u'\r')); return;
        default:
            if (!event->text().isEmpty()) {
                const QChar typed = event->text().front();
                emit keyPressed(typed);
                if (typed.isPrint())
                    target = findTyped(typed);
                break;
            }
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        if (target >= 0 && target != itemIndex_)
            selectByUser(target);
    });
}
