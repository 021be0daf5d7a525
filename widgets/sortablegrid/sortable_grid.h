#pragma once
#include "widgets/sortablegrid/cell_format.h"
#include "widgets/sortablegrid/sortable_grid_core.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class GridAccessibilityEvents;
class QLineEdit;
class QPainter;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TFormatDrawCellEvent = std::function<void(int Col, int Row, TGridDrawState State, TFormatOptions &FormatOptions)>;
using TDrawCellEvent = std::function<void(QPainter &Canvas, int Col, int Row, const QRect &Rect, TGridDrawState State)>;

// A grid of text cells whose fixed rows and columns are ordinary cells (the
// header texts live in row 0), sortable by a click on a header cell. The cells,
// sorting, row and column operations, files and validation come from
// SortableGridCore; this widget draws the cells, scrolls by whole rows and
// columns, keeps the fixed rows and columns in view, offers range selection
// by dragging and an in-place editor, and turns mouse and keys into commands.
class TSortableGrid : public QAbstractScrollArea, public SortableGridCore
{
    Q_OBJECT

public:
    explicit TSortableGrid(QWidget *parent = nullptr);
    ~TSortableGrid() override;

    // ---- Published properties (ClickSorting and ExtendedKeys: see the core)
    TAlignment AlignmentHorz() const { return alignmentHorz_; }
    void SetAlignmentHorz(TAlignment alignment);
    TVertAlignment AlignmentVert() const { return alignmentVert_; }
    void SetAlignmentVert(TVertAlignment alignment);
    TCellBevelStyle BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TCellBevelStyle style);
    bool ProportionalScrollBars() const { return proportionalScrollBars_; }
    void SetProportionalScrollBars(bool on);

    // ---- Look
    QColor Color() const { return color_; } // data cells and the empty area
    void SetColor(const QColor &color);
    QColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const QColor &color);
    QColor FontColor() const { return fontColor_; } // the text; the font is QWidget::font()
    void SetFontColor(const QColor &color);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);

    // ---- Scrolling and geometry
    int TopRow() const;  // first scrollable row in view
    int LeftCol() const; // first scrollable column in view
    void SetTopRow(int row);
    void SetLeftCol(int col);
    int VisibleRowCount() const; // fully visible scrollable rows
    int VisibleColCount() const;
    // The cell at a viewport point; -1 for a column or row where there is none.
    void MouseToCell(QPoint point, int &col, int &row) const;
    // The cell's rectangle in the viewport; empty when it is scrolled away.
    QRect CellRect(int col, int row) const;

    // ---- In-place editor
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool on);

    // ---- Operations of the widget
    void ApplyScrollPage() override;
    // While held, ApplyScrollPage only notes that the scroll bars are due. A
    // loop that grows the grid row by row holds them, so that the scroll area
    // is not laid out again after every row; they are brought up to date by
    // ApplyPendingScrollPage, before any input event is handled, before the
    // grid scrolls, and when the hold ends.
    void HoldScrollPage(bool hold);
    void ApplyPendingScrollPage();
    virtual void FitColumn(int col);
    virtual void FitAllColumns(bool includeFixed, int extra);
    TGridDrawState CellState(int col, int row) const;

    TFormatDrawCellEvent OnGetCellFormat;
    TDrawCellEvent OnDrawCell; // draws the cells when DefaultDrawing is off

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    bool EditorShowing() const override { return editorMode_; }
    void GridChanged() override;
    void CurrentCellMoved() override;
    void OptionsChanged() override;
    void SetBusyCursor(bool busy) override;
    void CellsChanged(int col, int row) override;
    void CountsChanged() override;

    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state);

private:
    // A row or column in view: its index, where it starts and its size.
    struct Span
    {
        int index;
        int start;
        int size;
    };
    std::vector<Span> SpansInView(bool columns) const;
    TFormatOptions FormatDefaults(TGridDrawState state) const;
    int LineAfterCol(int col) const;
    int LineAfterRow(int row) const;
    int FixedWidth() const;
    int FixedHeight() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void UpdateScrollRanges();
    void ScrollIntoView(int col, int row);
    void PageBy(int direction);
    bool MoveByKey(QKeyEvent *event);
    void ShowEditor(const QString *typed = nullptr);
    void HideEditor();
    void UpdateEditor();
    bool OwnsFocusWidget(const QWidget *widget) const;
    void DrawGridLines(QPainter &painter, int col, int row, const QRect &rect);

    TAlignment alignmentHorz_ = taLeftJustify;
    TVertAlignment alignmentVert_ = taTopJustify;
    TCellBevelStyle bevelStyle_ = cbNone;
    bool proportionalScrollBars_ = true;
    QColor color_, fixedColor_, fontColor_;
    TScrollStyle scrollBars_ = ssBoth;
    bool defaultDrawing_ = true;
    bool selecting_ = false; // a press on a data cell started a selection
    bool editorMode_ = false;
    QString editorOriginal_;
    QLineEdit *editor_ = nullptr;
    bool scrollPageHeld_ = false;
    bool scrollPagePending_ = false;
    std::unique_ptr<GridAccessibilityEvents> accessibility_;
};

// Holds a grid's scroll bars (TSortableGrid::HoldScrollPage) while it lives;
// the grid may be gone by then.
class ScrollPageHold
{
public:
    explicit ScrollPageHold(TSortableGrid *grid) : grid_(grid) { grid->HoldScrollPage(true); }
    ~ScrollPageHold()
    {
        if (grid_)
            grid_->HoldScrollPage(false);
    }
    ScrollPageHold(const ScrollPageHold &) = delete;
    ScrollPageHold &operator=(const ScrollPageHold &) = delete;

private:
    QPointer<TSortableGrid> grid_;
};
