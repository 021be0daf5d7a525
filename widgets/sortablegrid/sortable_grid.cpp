#include "widgets/sortablegrid/sortable_grid.h"

#include "platform/handler_guard.h"
#include "widgets/sortablegrid/grid_accessibility_events.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QColor kDataLineColor(0xC0, 0xC0, 0xC0);
const QColor kFixedLineColor(Qt::black);

// A cell can hold a whole megabyte of text; no cell is wide enough to show
// more than this, and shaping all of it on every repaint would stall the window.
constexpr int kMaxShownChars = 4096;

QString ShownText(const QString &text)
{
    return text.size() > kMaxShownChars ? text.left(kMaxShownChars) : text;
}

} // namespace

TSortableGrid::TSortableGrid(QWidget *parent)
    : QAbstractScrollArea(parent), accessibility_(std::make_unique<GridAccessibilityEvents>(*this, [this] {
          return GridShape{ColCount(), RowCount(), FixedCols(), FixedRows(), Col(), Row(), Selection(), hasFocus()};
      }))
{
    color_ = palette().color(QPalette::Base);
    fixedColor_ = palette().color(QPalette::Button);
    fontColor_ = palette().color(QPalette::Text);
    setFocusPolicy(Qt::StrongFocus);

    editor_ = new QLineEdit(viewport());
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    ConnectHandler(editor_, &QLineEdit::textEdited, this,
                   [this](const QString &text) { SetEditText(Col(), Row(), text); });

    // The page of a click beside the thumb is the visible rows or columns,
    // whatever page size the thumb shows.
    ConnectHandler(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        QScrollBar *bar = verticalScrollBar();
        const int page = std::max(1, VisibleRowCount());
        if (action == QAbstractSlider::SliderPageStepAdd)
            bar->setSliderPosition(bar->value() + page);
        else if (action == QAbstractSlider::SliderPageStepSub)
            bar->setSliderPosition(bar->value() - page);
    });
    ConnectHandler(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        QScrollBar *bar = horizontalScrollBar();
        const int page = std::max(1, VisibleColCount());
        if (action == QAbstractSlider::SliderPageStepAdd)
            bar->setSliderPosition(bar->value() + page);
        else if (action == QAbstractSlider::SliderPageStepSub)
            bar->setSliderPosition(bar->value() - page);
    });
    SetScrollBars(ssBoth);
}

TSortableGrid::~TSortableGrid()
{
    if (scrollPageHeld_)
        qApp->removeEventFilter(this);
}

// ---- Properties

void TSortableGrid::SetAlignmentHorz(TAlignment alignment)
{
    alignmentHorz_ = alignment;
    viewport()->update();
}

void TSortableGrid::SetAlignmentVert(TVertAlignment alignment)
{
    alignmentVert_ = alignment;
    viewport()->update();
}

void TSortableGrid::SetBevelStyle(TCellBevelStyle style)
{
    bevelStyle_ = style;
    viewport()->update();
}

void TSortableGrid::SetProportionalScrollBars(bool on)
{
    proportionalScrollBars_ = on;
    ApplyScrollPage();
}

void TSortableGrid::SetColor(const QColor &color)
{
    color_ = color;
    viewport()->update();
}

void TSortableGrid::SetFixedColor(const QColor &color)
{
    fixedColor_ = color;
    viewport()->update();
}

void TSortableGrid::SetFontColor(const QColor &color)
{
    fontColor_ = color;
    viewport()->update();
}

void TSortableGrid::SetScrollBars(TScrollStyle style)
{
    scrollBars_ = style;
    const bool vertical = style == ssVertical || style == ssBoth;
    const bool horizontal = style == ssHorizontal || style == ssBoth;
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    ApplyScrollPage();
}

void TSortableGrid::SetDefaultDrawing(bool on)
{
    defaultDrawing_ = on;
    viewport()->update();
}

// ---- Geometry

int TSortableGrid::LineAfterCol(int col) const
{
    return (Options() & (col < FixedCols() ? goFixedVertLine : goVertLine)) ? 1 : 0;
}

int TSortableGrid::LineAfterRow(int row) const
{
    return (Options() & (row < FixedRows() ? goFixedHorzLine : goHorzLine)) ? 1 : 0;
}

int TSortableGrid::FixedWidth() const
{
    int width = 0;
    for (int col = 0; col < FixedCols(); ++col)
        width += Table().ColWidth(col) + LineAfterCol(col);
    return width;
}

int TSortableGrid::FixedHeight() const
{
    int height = 0;
    for (int row = 0; row < FixedRows(); ++row)
        height += Table().RowHeight(row) + LineAfterRow(row);
    return height;
}

int TSortableGrid::TopRow() const
{
    return FixedRows() + verticalScrollBar()->value();
}

int TSortableGrid::LeftCol() const
{
    return FixedCols() + horizontalScrollBar()->value();
}

void TSortableGrid::SetTopRow(int row)
{
    ApplyPendingScrollPage();
    verticalScrollBar()->setValue(row - FixedRows());
}

void TSortableGrid::SetLeftCol(int col)
{
    ApplyPendingScrollPage();
    horizontalScrollBar()->setValue(col - FixedCols());
}

int TSortableGrid::MaxTopRow() const
{
    const int available = viewport()->height() - FixedHeight();
    int top = RowCount() - 1;
    int used = Table().RowHeight(top);
    while (top - 1 >= FixedRows()) {
        const int extent = Table().RowHeight(top - 1) + LineAfterRow(top - 1);
        if (used + extent > available)
            break;
        used += extent;
        --top;
    }
    return top;
}

int TSortableGrid::MaxLeftCol() const
{
    const int available = viewport()->width() - FixedWidth();
    int left = ColCount() - 1;
    int used = Table().ColWidth(left);
    while (left - 1 >= FixedCols()) {
        const int extent = Table().ColWidth(left - 1) + LineAfterCol(left - 1);
        if (used + extent > available)
            break;
        used += extent;
        --left;
    }
    return left;
}

int TSortableGrid::VisibleRowCount() const
{
    int count = 0;
    int y = FixedHeight();
    for (int row = TopRow(); row < RowCount(); ++row) {
        if (y + Table().RowHeight(row) > viewport()->height())
            break;
        ++count;
        y += Table().RowHeight(row) + LineAfterRow(row);
    }
    return count;
}

int TSortableGrid::VisibleColCount() const
{
    int count = 0;
    int x = FixedWidth();
    for (int col = LeftCol(); col < ColCount(); ++col) {
        if (x + Table().ColWidth(col) > viewport()->width())
            break;
        ++count;
        x += Table().ColWidth(col) + LineAfterCol(col);
    }
    return count;
}

std::vector<TSortableGrid::Span> TSortableGrid::SpansInView(bool columns) const
{
    const int fixed = columns ? FixedCols() : FixedRows();
    const int first = columns ? LeftCol() : TopRow();
    const int count = columns ? ColCount() : RowCount();
    const int limit = columns ? viewport()->width() : viewport()->height();
    std::vector<Span> spans;
    int start = 0;
    for (int i = fixed > 0 ? 0 : first; i < count && start < limit; i = (i + 1 == fixed ? first : i + 1)) {
        const int size = columns ? Table().ColWidth(i) : Table().RowHeight(i);
        spans.push_back({i, start, size});
        start += size + (columns ? LineAfterCol(i) : LineAfterRow(i));
    }
    return spans;
}

void TSortableGrid::MouseToCell(QPoint point, int &col, int &row) const
{
    // A grid line belongs to the cell before it.
    auto find = [this](int target, bool columns) {
        for (const Span &span : SpansInView(columns)) {
            const int line = columns ? LineAfterCol(span.index) : LineAfterRow(span.index);
            if (target >= span.start && target < span.start + span.size + line)
                return span.index;
        }
        return -1;
    };
    col = find(point.x(), true);
    row = find(point.y(), false);
}

QRect TSortableGrid::CellRect(int col, int row) const
{
    auto spanOf = [this](int index, bool columns) -> std::optional<Span> {
        for (const Span &span : SpansInView(columns)) {
            if (span.index == index)
                return span;
        }
        return std::nullopt;
    };
    const std::optional<Span> colSpan = spanOf(col, true);
    const std::optional<Span> rowSpan = spanOf(row, false);
    if (!colSpan || !rowSpan)
        return QRect();
    return QRect(colSpan->start, rowSpan->start, colSpan->size, rowSpan->size);
}

// ---- Scroll bars

void TSortableGrid::UpdateScrollRanges()
{
    verticalScrollBar()->setRange(0, std::max(0, MaxTopRow() - FixedRows()));
    horizontalScrollBar()->setRange(0, std::max(0, MaxLeftCol() - FixedCols()));
}

void TSortableGrid::HoldScrollPage(bool hold)
{
    if (hold == scrollPageHeld_)
        return;
    scrollPageHeld_ = hold;
    // Input may come to any widget and act on the grid through it.
    if (hold) {
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
        ApplyPendingScrollPage();
    }
}

void TSortableGrid::ApplyPendingScrollPage()
{
    if (!scrollPagePending_)
        return;
    scrollPagePending_ = false;
    const bool held = std::exchange(scrollPageHeld_, false);
    ApplyScrollPage();
    scrollPageHeld_ = held;
}

void TSortableGrid::ApplyScrollPage()
{
    if (scrollPageHeld_) {
        scrollPagePending_ = true;
        return;
    }
    UpdateScrollRanges();
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
        QScrollBar *bar = verticalScrollBar();
        bar->setPageStep(proportionalScrollBars_ ? ProportionalPageSize(VisibleRowCount(), FixedRows(), RowCount(),
                                                                        bar->minimum(), bar->maximum())
                                                 : 0);
    }
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
        QScrollBar *bar = horizontalScrollBar();
        bar->setPageStep(proportionalScrollBars_ ? ProportionalPageSize(VisibleColCount(), FixedCols(), ColCount(),
                                                                        bar->minimum(), bar->maximum())
                                                 : 0);
    }
    viewport()->update();
}

void TSortableGrid::ScrollIntoView(int col, int row)
{
    ApplyPendingScrollPage();
    // The smallest first index that still shows index whole at the far edge.
    auto lowestFirst = [](int index, int fixed, int available, auto size, auto line) {
        int first = index;
        int used = size(index);
        while (first - 1 >= fixed && used + size(first - 1) + line(first - 1) <= available) {
            --first;
            used += size(first) + line(first);
        }
        return first;
    };
    if (row >= FixedRows() && row < RowCount()) {
        const int lowest = lowestFirst(
            row, FixedRows(), viewport()->height() - FixedHeight(), [this](int r) { return Table().RowHeight(r); },
            [this](int r) { return LineAfterRow(r); });
        if (row < TopRow())
            SetTopRow(row);
        else if (TopRow() < lowest)
            SetTopRow(lowest);
    }
    if (col >= FixedCols() && col < ColCount()) {
        const int lowest = lowestFirst(
            col, FixedCols(), viewport()->width() - FixedWidth(), [this](int c) { return Table().ColWidth(c); },
            [this](int c) { return LineAfterCol(c); });
        if (col < LeftCol())
            SetLeftCol(col);
        else if (LeftCol() < lowest)
            SetLeftCol(lowest);
    }
}

void TSortableGrid::resizeEvent(QResizeEvent *event)
{
    RunHandler([&] {
        QAbstractScrollArea::resizeEvent(event);
        ApplyScrollPage();
        UpdateEditor();
    });
}

void TSortableGrid::scrollContentsBy(int, int)
{
    viewport()->update();
    UpdateEditor();
}

// ---- Drawing

TGridDrawState TSortableGrid::CellState(int col, int row) const
{
    TGridDrawState state;
    state.Fixed = col < FixedCols() || row < FixedRows();
    state.Focused = col == Col() && row == Row() && (hasFocus() || editor_->hasFocus());
    state.Selected = !state.Fixed && Selection().contains(col, row);
    return state;
}

TFormatOptions TSortableGrid::FormatDefaults(TGridDrawState state) const
{
    TFormatOptions options;
    options.CellFont = font();
    options.CellBrush = QBrush(state.Fixed ? fixedColor_ : color_);
    options.CellFontColor = fontColor_;
    if (state.Selected && !(state.Focused && !(Options() & goDrawFocusSelected))) {
        options.CellBrush = palette().brush(QPalette::Highlight);
        options.CellFontColor = palette().color(QPalette::HighlightedText);
    }
    options.CellAlignHorz = alignmentHorz_;
    options.CellAlignVert = alignmentVert_;
    options.BevelKind = bevelStyle_;
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor window = palette().color(QPalette::Base);
    options.BevelTopLeftColor = bevelStyle_ == cbRaised ? light : bevelStyle_ == cbLowered ? shadow : window;
    options.BevelBottomRightColor = bevelStyle_ == cbRaised ? shadow : bevelStyle_ == cbLowered ? light : window;
    return options;
}

void TSortableGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state)
{
    TFormatOptions options = FormatDefaults(state);
    if (OnGetCellFormat)
        OnGetCellFormat(col, row, state, options);
    if (!defaultDrawing_) {
        if (OnDrawCell)
            OnDrawCell(painter, col, row, rect, state);
        return;
    }

    painter.fillRect(rect, options.CellBrush);
    if (!options.HideText) {
        const QString text = ShownText(Table().Cell(col, row));
        const QFontMetrics metrics(options.CellFont);
        const int x = HorzTextOffset(options.CellAlignHorz, rect.width(), metrics.horizontalAdvance(text));
        const int y = VertTextOffset(options.CellAlignVert, rect.height(), metrics.height());
        painter.save();
        painter.setClipRect(rect);
        painter.setFont(options.CellFont);
        painter.setPen(options.CellFontColor);
        painter.drawText(rect.left() + x, rect.top() + y + metrics.ascent(), text);
        painter.restore();
    }

    if (options.BevelKind == cbNone || col < FixedCols() || row < FixedRows())
        return;
    // One-pixel edges, each without its end point.
    const bool vertical = Options() & goFixedVertLine;
    const bool horizontal = Options() & goFixedHorzLine;
    if (vertical) {
        painter.setPen(options.BevelBottomRightColor);
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    }
    if (horizontal) {
        painter.setPen(options.BevelBottomRightColor);
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    }
    if (vertical) {
        painter.setPen(options.BevelTopLeftColor);
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    }
    if (horizontal) {
        painter.setPen(options.BevelTopLeftColor);
        painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    }
}

void TSortableGrid::DrawGridLines(QPainter &painter, int col, int row, const QRect &rect)
{
    const bool fixed = col < FixedCols() || row < FixedRows();
    painter.setPen(fixed ? kFixedLineColor : kDataLineColor);
    const int right = LineAfterCol(col), bottom = LineAfterRow(row);
    if (right)
        painter.drawLine(rect.right() + 1, rect.top(), rect.right() + 1, rect.bottom() + bottom);
    if (bottom)
        painter.drawLine(rect.left(), rect.bottom() + 1, rect.right() + right, rect.bottom() + 1);
}

void TSortableGrid::paintEvent(QPaintEvent *)
{
    RunHandler([&] {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), color_);
        const std::vector<Span> cols = SpansInView(true);
        const std::vector<Span> rows = SpansInView(false);
        for (const Span &row : rows) {
            for (const Span &col : cols) {
                const QRect rect(col.start, row.start, col.size, row.size);
                DrawCell(painter, col.index, row.index, rect, CellState(col.index, row.index));
                DrawGridLines(painter, col.index, row.index, rect);
            }
        }
        if (hasFocus() && !editorMode_) {
            const QRect current = CellRect(Col(), Row());
            if (!current.isEmpty()) {
                QStyleOptionFocusRect option;
                option.initFrom(this);
                option.rect = current.adjusted(1, 1, -1, -1);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
            }
        }
    });
}

void TSortableGrid::GridChanged()
{
    viewport()->update();
    accessibility_->CurrentOrSelectionMoved();
}

void TSortableGrid::CellsChanged(int col, int row)
{
    accessibility_->CellsChanged(col, row);
}

void TSortableGrid::CountsChanged()
{
    accessibility_->CountsChanged();
}

// ---- Mouse

void TSortableGrid::mousePressEvent(QMouseEvent *event)
{
    RunHandler([&] {
        setFocus(Qt::MouseFocusReason);
        if (editorMode_ && !(Options() & goAlwaysShowEditor))
            HideEditor();
        if (event->button() != Qt::LeftButton)
            return;
        int col = -1, row = -1;
        MouseToCell(event->position().toPoint(), col, row);
        if (col < FixedCols() || row < FixedRows())
            return; // a fixed cell or none: no selection starts
        selecting_ = true;
        const bool stretch = (event->modifiers() & Qt::ShiftModifier) && (Options() & goRangeSelect);
        const QPoint before(Col(), Row());
        FocusCell(col, row, !stretch);
        // A move of the current cell ran the click handling; a click on the
        // current cell itself is a click all the same.
        if (before == QPoint(Col(), Row()))
            Click();
    });
}

void TSortableGrid::mouseMoveEvent(QMouseEvent *event)
{
    RunHandler([&] {
        if (!selecting_ || !(Options() & goRangeSelect))
            return;
        const QRect area = viewport()->rect();
        const QPoint point(std::clamp(event->position().toPoint().x(), 0, area.width() - 1),
                           std::clamp(event->position().toPoint().y(), 0, area.height() - 1));
        int col = -1, row = -1;
        MouseToCell(point, col, row);
        // Beyond the last column or row the selection stops at it; over the fixed
        // cells at the first one in view.
        col = col < 0 ? ColCount() - 1 : (col < FixedCols() ? LeftCol() : col);
        row = row < 0 ? RowCount() - 1 : (row < FixedRows() ? TopRow() : row);
        FocusCell(col, row, false);
    });
}

void TSortableGrid::mouseReleaseEvent(QMouseEvent *event)
{
    RunHandler([&] {
        // The release ends any selection, also when the sort fails.
        struct EndSelection
        {
            bool &selecting;
            ~EndSelection() { selecting = false; }
        } endSelection{selecting_};

        const Qt::KeyboardModifiers keys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        int col = -1, row = -1;
        MouseToCell(event->position().toPoint(), col, row);
        if (hasFocus() && ClickSorting() && !selecting_ && FixedRows() > 0 && !(event->modifiers() & keys) &&
            event->buttons() == Qt::NoButton && col >= 0 && row >= 0 && row < FixedRows())
            ClickSort(col, row, event->button() == Qt::RightButton);
    });
}

void TSortableGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    RunHandler([&] {
        mousePressEvent(event);
        int col = -1, row = -1;
        MouseToCell(event->position().toPoint(), col, row);
        if (event->button() == Qt::LeftButton && col == Col() && row == Row())
            ShowEditor();
    });
}

void TSortableGrid::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

// ---- Keys

bool TSortableGrid::MoveByKey(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool stretch = (event->modifiers() & Qt::ShiftModifier) && (Options() & goRangeSelect);
    int col = Col(), row = Row();
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_PageUp: row -= std::max(1, VisibleRowCount()); break;
    case Qt::Key_PageDown: row += std::max(1, VisibleRowCount()); break;
    case Qt::Key_Home:
        col = FixedCols();
        if (ctrl)
            row = FixedRows();
        break;
    case Qt::Key_End:
        col = ColCount() - 1;
        if (ctrl)
            row = RowCount() - 1;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!(Options() & goTabs))
            return false;
        col += event->key() == Qt::Key_Tab ? 1 : -1;
        if (col >= ColCount() && row + 1 < RowCount()) {
            col = FixedCols();
            ++row;
        } else if (col < FixedCols() && row - 1 >= FixedRows()) {
            col = ColCount() - 1;
            --row;
        }
        FocusCell(std::clamp(col, FixedCols(), ColCount() - 1), std::clamp(row, FixedRows(), RowCount() - 1), true);
        return true;
    default: return false;
    }
    FocusCell(std::clamp(col, FixedCols(), ColCount() - 1), std::clamp(row, FixedRows(), RowCount() - 1), !stretch);
    return true;
}

void TSortableGrid::keyPressEvent(QKeyEvent *event)
{
    RunHandler([&] {
        bool handled = MoveByKey(event);
        if (!handled && (Options() & goEditing)) {
            const bool commandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
                ShowEditor();
                handled = true;
            } else if (!commandKey && !event->text().isEmpty() && event->text()[0].isPrint()) {
                const QString typed = event->text();
                ShowEditor(&typed);
                handled = true;
            }
        }
        if (HandleExtendedKey(event->key(), event->modifiers()))
            handled = true;
        event->setAccepted(handled);
    });
}

bool TSortableGrid::focusNextPrevChild(bool next)
{
    // With goTabs the Tab key moves between cells, not out of the grid.
    if (Options() & goTabs)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- Focus

bool TSortableGrid::OwnsFocusWidget(const QWidget *widget) const
{
    return widget == this || widget == viewport() || widget == editor_;
}

void TSortableGrid::focusInEvent(QFocusEvent *event)
{
    RunHandler([&] {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
        accessibility_->FocusEntered();
        if (!Entered())
            FocusEntered();
        if ((Options() & goEditing) && (Options() & goAlwaysShowEditor) && !editorMode_)
            ShowEditor();
    });
}

void TSortableGrid::focusOutEvent(QFocusEvent *event)
{
    RunHandler([&] {
        QAbstractScrollArea::focusOutEvent(event);
        viewport()->update();
        if (Entered() && !OwnsFocusWidget(QApplication::focusWidget()))
            FocusLeft();
    });
}

// ---- In-place editor

void TSortableGrid::SetEditorMode(bool on)
{
    if (on)
        ShowEditor();
    else
        HideEditor();
}

void TSortableGrid::ShowEditor(const QString *typed)
{
    if (!(Options() & goEditing) || Col() < FixedCols() || Row() < FixedRows())
        return;
    editorMode_ = true;
    editorOriginal_ = Table().Cell(Col(), Row());
    editor_->setText(typed ? *typed : editorOriginal_);
    if (typed)
        SetEditText(Col(), Row(), *typed);
    else
        editor_->selectAll();
    UpdateEditor();
    editor_->setFocus(Qt::OtherFocusReason);
}

void TSortableGrid::HideEditor()
{
    if (!editorMode_)
        return;
    editorMode_ = false;
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void TSortableGrid::UpdateEditor()
{
    if (!editorMode_) {
        editor_->hide();
        return;
    }
    const QRect rect = CellRect(Col(), Row());
    if (rect.isEmpty()) {
        editor_->hide();
        return;
    }
    editor_->setGeometry(rect);
    editor_->setFont(font());
    editor_->show();
}

void TSortableGrid::CurrentCellMoved()
{
    ScrollIntoView(Col(), Row());
    const bool alwaysShow = (Options() & goEditing) && (Options() & goAlwaysShowEditor);
    if (editorMode_ && !alwaysShow)
        HideEditor();
    else if (alwaysShow && (hasFocus() || editor_->hasFocus()))
        ShowEditor();
    viewport()->update();
    accessibility_->CurrentOrSelectionMoved();
}

void TSortableGrid::OptionsChanged()
{
    const bool alwaysShow = (Options() & goEditing) && (Options() & goAlwaysShowEditor);
    if (!(Options() & goEditing) || (editorMode_ && !alwaysShow && !editor_->hasFocus()))
        HideEditor();
    else if (alwaysShow && hasFocus())
        ShowEditor();
    ApplyScrollPage();
}

bool TSortableGrid::eventFilter(QObject *watched, QEvent *event)
{
    return RunHandler([&] {
        if (scrollPagePending_ && event->isInputEvent())
            ApplyPendingScrollPage();
        if (watched != editor_)
            return QAbstractScrollArea::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Escape:
                editor_->setText(editorOriginal_);
                SetEditText(Col(), Row(), editorOriginal_);
                HideEditor();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!(Options() & goAlwaysShowEditor))
                    HideEditor();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Tab:
            case Qt::Key_Backtab: keyPressEvent(key); return true;
            default: return false;
            }
        }
        case QEvent::FocusIn:
            if (!Entered())
                FocusEntered();
            return false;
        case QEvent::FocusOut:
            if (Entered() && !OwnsFocusWidget(QApplication::focusWidget()))
                FocusLeft();
            return false;
        default: return false;
        }
    });
}

// ---- Column fitting

void TSortableGrid::FitColumn(int col)
{
    CheckCol(col);
    const QFont gridFont = font();
    const QFontMetrics gridMetrics(gridFont);
    int widest = 0;
    for (int row = 0; row < RowCount(); ++row) {
        const TGridDrawState state = CellState(col, row);
        TFormatOptions options = FormatDefaults(state);
        if (OnGetCellFormat)
            OnGetCellFormat(col, row, state, options);
        const QString text = ShownText(Table().Cell(col, row));
        const int width = options.CellFont == gridFont ? gridMetrics.horizontalAdvance(text)
                                                       : QFontMetrics(options.CellFont).horizontalAdvance(text);
        widest = std::max(widest, width);
    }
    SetColWidths(col, widest + gridMetrics.horizontalAdvance(QLatin1Char('x')));
}

void TSortableGrid::FitAllColumns(bool includeFixed, int extra)
{
    for (int col = includeFixed ? 0 : FixedCols(); col < ColCount(); ++col) {
        FitColumn(col);
        if (extra != 0)
            SetColWidths(col, ColWidths(col) + extra);
    }
}
