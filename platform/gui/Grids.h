// TCustomGrid: the base of the grids the program draws itself. It owns the
// geometry of cells (column widths, row heights, fixed columns and rows, the
// scrolled top-left cell), the current cell, sizing and moving of columns and
// rows by mouse, keyboard moves between cells and the hosting of an in-place
// editor. It holds no data: each visible cell is painted by DrawCell, and the
// editor's text comes from GetEditText and goes back through SetEditText.
// A column of width 0 (or less) is hidden and takes no room, line included.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Mask.h"
#include "platform/rtl/SysUtils.h"

#include <QLineEdit>
#include <QPointer>
#include <vector>

class QPlainTextEdit;
class QTimer;
class TCustomGrid;

class EInvalidGridOperation : public Exception { using Exception::Exception; };

enum class TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using enum TGridOption;
using TGridOptions = TSet<TGridOption>;

enum class TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using enum TGridDrawStateItem;
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// Directions of TimedScroll, combined as a set.
enum class TGridScrollDirection { sdLeft, sdRight, sdUp, sdDown };
using enum TGridScrollDirection;
using TGridScrollDirections = TSet<TGridScrollDirection>;

struct TGridCoord
{
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// The grid's own in-place editor: a line edit placed over the current cell.
// A typed character reaches the text only when the grid accepts it and may
// modify the cell; any change the user makes is reported to the grid at once.
// A multi-line editor shows and takes its text in a word-wrapping view over
// the text rectangle (its focus proxy); the line edit's text and selection
// stay the editor's own, which callers read and write as before.
class TInplaceEdit : public QLineEdit
{
public:
    explicit TInplaceEdit(TCustomGrid* AGrid);
    ~TInplaceEdit() override;
    TCustomGrid* Grid() const { return FGrid; }
    // True once the user changed the text since it was loaded.
    bool Modified() const { return isModified(); }
    // Loads the cell's text, limit and mask from the grid; no change is reported.
    virtual void UpdateContents();
    bool MultiLine() const { return FWrapEdit != nullptr; }
    void SetMultiLine(bool Value);
    QPlainTextEdit* WrapEdit() const;
    // Whether the caret stands on the first or the last shown line (always
    // so in a single-line editor).
    bool CaretOnFirstLine() const;
    bool CaretOnLastLine() const;

protected:
    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    bool focusNextPrevChild(bool Next) override;
    void resizeEvent(QResizeEvent* Event) override;
    // The edit's own handling of a key: the line edit's, or the wrapping
    // view's in a multi-line editor.
    void EditKeyPress(QKeyEvent* Event);
    // Puts the wrapping view over the text rectangle (after the text margins change).
    void PlaceWrapEdit();

private:
    class TWrapEdit;
    void UserEdited();
    // Keys of the editor: those that leave the cell go to the grid.
    void GridKey(QKeyEvent* Event);
    // After a refused key: the editor open again on the current cell.
    void ReopenEditor();
    void TextToWrap();
    void SelectionToWrap();
    void WrapToText();
    // Up and Down in a multi-line editor: True when they go to the grid.
    bool UpDownLeavesText(int Key) const;

    TCustomGrid* FGrid;
    TWrapEdit* FWrapEdit = nullptr;
    QEvent* FPassedUp = nullptr;
    bool FUpdating = false;
    bool FSyncing = false;
};

class TCustomGrid : public TCustomControl
{
public:
    explicit TCustomGrid(QWidget* AParent = nullptr);
    ~TCustomGrid() override;

    // ---- geometry
    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int Value);
    int RowCount() const { return int(FRowHeights.size()); }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);       // raises EInvalidGridOperation when not below ColCount
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);       // raises EInvalidGridOperation when not below RowCount
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value); // also resets every column's width
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value); // also resets every row's height
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }

    // ---- position
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    // Moves the current cell (through SelectCell) and scrolls it into view.
    void FocusCell(int ACol, int ARow);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    // Scrollable columns and rows that fit completely, from LeftCol / TopRow.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TGridState GridState() const { return FGridState; }

    // ---- hit tests and rectangles
    // The cell's area without its lines; empty when the cell is not in view.
    QRect CellRect(int ACol, int ARow) const;
    // The cell under a client point, (-1, -1) outside the cells.
    TGridCoord MouseCoord(int X, int Y) const;
    // Whether the point lies on a column or row border that may be sized:
    // State gsColSizing or gsRowSizing, Index the column or row whose far
    // border it is, SizingPos the border, SizingOfs the point's distance to it.
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) const;
    // Width and height of all cells in view, lines included.
    int GridWidth() const;
    int GridHeight() const;
    // Left / top edge of the scrolling area.
    int FixedWidth() const;
    int FixedHeight() const;

    // ---- repaint
    void InvalidateCell(int ACol, int ARow);
    void InvalidateRow(int ARow);
    void InvalidateCol(int ACol);
    void InvalidateGrid() { Invalidate(); }

    // ---- column moving
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);

    // Ends a sizing, moving or selecting drag without applying it (a menu
    // opened, the mouse was taken away).
    virtual void CancelMode();

    // ---- in-place editor
    QLineEdit* InplaceEditor() const { return FInplaceEdit; }
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    // Writes the editor's text back when it was changed.
    void UpdateEditorText();
    // Reloads a showing editor from the cell (text, limit, mask), else
    // repaints the current cell.
    virtual void InvalidateEditor();

protected:
    // ---- overridables
    virtual void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState);
    void Paint() override;
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TimedScroll(TGridScrollDirections Direction);
    virtual QLineEdit* CreateEditor();
    virtual bool CanEditShow() const;
    // Asked before the user changes the editor's text; a data grid puts its
    // record into edit state here.
    virtual bool CanEditModify() const { return true; }
    // Whether a character typed into the current cell may reach the editor.
    virtual bool CanEditAcceptKey(QChar Key) const { (void)Key; return true; }
    // Maximum text length of the current cell, 0 for none.
    virtual int GetEditLimit() { return 0; }
    // Classic edit mask of a column's cells (see InputMaskFromEditMask).
    virtual QString GetEditMask(int ACol) { (void)ACol; return QString(); }
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    // The user changed the editor's text (typing, paste, cut).
    virtual void EditorTextEdited();
    // The user threw the editor's changes away (Escape).
    virtual void EditorTextReverted() {}
    // The current column is about to change / has changed.
    virtual void ColExit() {}
    virtual void ColEnter() {}
    // Colours of the grid lines in the fixed and in the scrolling area.
    virtual TColor FixedLineColor() const { return clBlack; }
    virtual TColor LineColor() const { return clSilver; }
    // Colour of the lines right of and below a cell; by default that of its area.
    virtual TColor GridLineColor(int ACol, int ARow) const;
    // Column sizing that follows the mouse: no sizing line, each move sets
    // the width through ColSizingTracked.
    virtual bool TraceColSizing() const { return false; }
    virtual void ColSizingTracked(int Index, int Pos);
    // Enters a mouse state as a press would: gsSelecting, or gsColMoving of
    // column Index.
    void SetGridState(TGridState Value, int Index = -1);
    int SizingIndex() const { return FSizingIndex; }
    // Sets the scroll bars from the position; the data grid drives its own
    // vertical bar and overrides it.
    virtual void UpdateScrollRange();
    void UpdateHorzScrollRange();
    void UpdateVertScrollRange();

    // Whether Paint sets the control's font and fills each cell before
    // DrawCell (on); a grid whose DrawCell sets up and fills every cell
    // itself turns it off and saves the work.
    bool PrepareCells() const { return FPrepareCells; }
    void SetPrepareCells(bool Value) { FPrepareCells = Value; }
    // Moves what is on screen after TopRow/LeftCol changed from OldTopLeft:
    // the painted pixels move and only the uncovered band is repainted.
    void ScrollDataInfo(TGridCoord OldTopLeft);
    void MoveTopLeft(int ALeft, int ATop);
    // Places the current cell without SelectCell; scrolls it into view.
    void MoveCurrent(int ACol, int ARow, bool Show);
    // The greatest LeftCol / TopRow that still shows the last column / row.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // X of the left edge of a column, Y of the top edge of a row: -1 when it
    // is scrolled out of view to the left or top.
    int ColLeft(int ACol) const;
    int RowTop(int ARow) const;
    // Width of a column and height of a row with their lines, 0 when hidden.
    int ColBox(int ACol) const;
    int RowBox(int ARow) const;

    // Classic input, overriding the control's.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    // Fires OnKeyPress, then EditorKeyPress.
    void KeyPress(QChar& Key) override;
    // Enter opens and closes the editor; a typed character opens it with
    // the character.
    void EditorKeyPress(QChar& Key);
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void Resize() override;
    void Scroll(TScrollBarKind Kind, int Position) override;

private:
    friend class TInplaceEdit;
    void PaintBand(int FromCol, int ToCol, int FromRow, int ToRow, int X0, int Y0, const QRect& Clip);
    void DrawBandLines(int Left, int Top, int Right, int Bottom, const std::vector<std::pair<int, int>>& Cols,
                       const std::vector<std::pair<int, int>>& Rows);
    void PlaceEditor();
    void LoadEditor();
    void DrawSizingLine(int Pos);
    bool TracedSizing() const;
    void StartScrollTimer();
    void StopScrollTimer();
    void ScrollTimerTick();
    void ClampTopLeft();
    bool ColVisible(int ACol) const { return FColWidths[size_t(ACol)] > 0; }

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    TGridCoord FCurrent{0, 0};
    TGridCoord FTopLeft{0, 0};
    TGridOptions FOptions;
    TGridState FGridState = gsNormal;
    TColor FFixedColor = clBtnFace;
    int FFixedCols = 0;
    int FFixedRows = 0;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    bool FDefaultDrawing = true;
    bool FPrepareCells = true;
    bool FEditorMode = false;
    bool FInTopLeft = false;
    QPointer<QLineEdit> FInplaceEdit;
    // Mouse state of sizing and moving.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    QPoint FMouseDownPos;
    QPoint FLastMouse;
    QTimer* FScrollTimer = nullptr;
};
