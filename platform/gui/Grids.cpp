// TCustomGrid: geometry, current cell, input and the in-place editor. The
// painting and the scrolling of painted pixels are in GridsPaint.cpp.
#include "platform/gui/Grids.h"

#include "platform/gui/Application.h"
#include "platform/gui/StdCtrls.h"

#include <QTextBlock>
#include <QTextLayout>
#include <utility>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

namespace {

// How near a border the pointer must be to size a column or row.
constexpr int SizingTolerance = 3;
// Interval of the timer that scrolls while the mouse selects outside the cells.
constexpr int ScrollInterval = 60;

} // namespace

// ---------------------------------------------------------------- TInplaceEdit

// The word-wrapping view of a multi-line editor: keys and focus changes go
// through the editor's own rules, which hand the keys it keeps back here.
class TInplaceEdit::TWrapEdit : public TWrapView
{
public:
    explicit TWrapEdit(TInplaceEdit* AEdit) : TWrapView(AEdit), FEdit(AEdit)
    {
        setFrameStyle(QFrame::NoFrame);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTabChangesFocus(true);
        document()->setDocumentMargin(0);
    }

protected:
    void keyPressEvent(QKeyEvent* Event) override
    {
        FEdit->keyPressEvent(Event);
        // A key the editor let go of goes on to the grid as from the line
        // edit, without passing the editor's rules a second time.
        if (!Event->isAccepted())
            FEdit->FPassedUp = Event;
    }
    void mouseDoubleClickEvent(QMouseEvent* Event) override { FEdit->mouseDoubleClickEvent(Event); }
    void inputMethodEvent(QInputMethodEvent* Event) override
    {
        TypeCommittedText(this, Event, [this](QKeyEvent* Key) { FEdit->keyPressEvent(Key); },
                          [this](QInputMethodEvent* Rest) { TWrapView::inputMethodEvent(Rest); });
    }
    bool focusNextPrevChild(bool) override { return false; } // Tab is the grid's
    void focusInEvent(QFocusEvent* Event) override
    {
        TWrapView::focusInEvent(Event);
        FEdit->focusInEvent(Event);
    }
    void focusOutEvent(QFocusEvent* Event) override
    {
        TWrapView::focusOutEvent(Event);
        FEdit->focusOutEvent(Event);
    }

private:
    TInplaceEdit* FEdit;
};

TInplaceEdit::TInplaceEdit(TCustomGrid* AGrid) : QLineEdit(AGrid), FGrid(AGrid)
{
    setFrame(false);
    hide();
    KeepWholeCharacters(this);
    // textEdited is the user's change only: loading the text stays silent.
    QObject::connect(this, &QLineEdit::textEdited, this, [this] { UserEdited(); });
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { TextToWrap(); });
    QObject::connect(this, &QLineEdit::selectionChanged, this, [this] { SelectionToWrap(); });
    QObject::connect(this, &QLineEdit::cursorPositionChanged, this, [this] { SelectionToWrap(); });
}

TInplaceEdit::~TInplaceEdit()
{
    // The view goes first, so that no change of it reaches a half-destroyed editor.
    delete std::exchange(FWrapEdit, nullptr);
}

QPlainTextEdit* TInplaceEdit::WrapEdit() const
{
    return FWrapEdit;
}

void TInplaceEdit::SetMultiLine(bool Value)
{
    if (Value == MultiLine())
        return;
    const bool HadFocus = hasFocus();
    if (!Value) {
        setFocusProxy(nullptr);
        delete std::exchange(FWrapEdit, nullptr);
        if (HadFocus)
            setFocus();
        return;
    }
    FWrapEdit = new TWrapEdit(this);
    QObject::connect(FWrapEdit, &QPlainTextEdit::textChanged, this, [this] { WrapToText(); });
    QObject::connect(FWrapEdit, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (FSyncing)
            return;
        // The caret and selection made in the view are the editor's.
        const QTextCursor C = FWrapEdit->textCursor();
        FSyncing = true;
        if (C.hasSelection())
            setSelection(C.anchor(), C.position() - C.anchor());
        else
            setCursorPosition(C.position());
        FSyncing = false;
    });
    TextToWrap();
    setFocusProxy(FWrapEdit);
    PlaceWrapEdit();
    FWrapEdit->show();
    if (HadFocus)
        FWrapEdit->setFocus();
}

void TInplaceEdit::PlaceWrapEdit()
{
    if (!FWrapEdit)
        return;
    const QMargins M = textMargins();
    FWrapEdit->setGeometry(rect().adjusted(M.left() + 2, M.top() + 1, -M.right() - 1, -M.bottom()));
    FWrapEdit->setReadOnly(isReadOnly());
}

bool TInplaceEdit::event(QEvent* Event)
{
    if (Event == FPassedUp) {
        FPassedUp = nullptr;
        Event->ignore();
        return false;
    }
    return QLineEdit::event(Event);
}

void TInplaceEdit::resizeEvent(QResizeEvent* Event)
{
    QLineEdit::resizeEvent(Event);
    PlaceWrapEdit();
}

void TInplaceEdit::TextToWrap()
{
    if (!FWrapEdit || FSyncing)
        return;
    FSyncing = true;
    FWrapEdit->setPlainText(text());
    FSyncing = false;
    SelectionToWrap();
}

void TInplaceEdit::SelectionToWrap()
{
    if (!FWrapEdit || FSyncing)
        return;
    QTextCursor C = FWrapEdit->textCursor();
    if (hasSelectedText()) {
        // The line edit's selection has no direction: the caret ends it.
        const int Start = selectionStart(), End = Start + int(selectedText().size());
        const bool CaretAtStart = cursorPosition() == Start;
        C.setPosition(CaretAtStart ? End : Start);
        C.setPosition(CaretAtStart ? Start : End, QTextCursor::KeepAnchor);
    } else {
        C.setPosition(std::min(cursorPosition(), int(FWrapEdit->document()->characterCount()) - 1));
    }
    FSyncing = true;
    FWrapEdit->setTextCursor(C);
    FSyncing = false;
}

// What the user changed in the view becomes the editor's text, through its
// mask, and is reported as the user's edit; the view then shows what the
// editor took. The view kept to the limit where the text went in.
void TInplaceEdit::WrapToText()
{
    if (FSyncing)
        return;
    const QString Shown = FWrapEdit->toPlainText();
    const QString Old = text();
    FSyncing = true;
    setText(LeftWholeChars(Shown, maxLength()));
    setCursorPosition(FWrapEdit->textCursor().position());
    FSyncing = false;
    if (text() != Shown)
        TextToWrap();
    if (text() == Old)
        return;
    setModified(true);
    emit textEdited(text());
}

bool TInplaceEdit::CaretOnFirstLine() const
{
    if (!FWrapEdit)
        return true;
    const QTextCursor C = FWrapEdit->textCursor();
    return C.block() == FWrapEdit->document()->firstBlock() && C.block().layout()
        && C.block().layout()->lineForTextPosition(C.positionInBlock()).lineNumber() <= 0;
}

bool TInplaceEdit::CaretOnLastLine() const
{
    if (!FWrapEdit)
        return true;
    const QTextCursor C = FWrapEdit->textCursor();
    const QTextLayout* L = C.block().layout();
    return C.block() == FWrapEdit->document()->lastBlock()
        && (!L || L->lineCount() == 0 || L->lineForTextPosition(C.positionInBlock()).lineNumber() >= L->lineCount() - 1);
}

// With the editor always shown, Up on the first line, Down on the last and
// either over a wholly selected text move between cells; else they move in
// the text.
bool TInplaceEdit::UpDownLeavesText(int Key) const
{
    if (!FGrid->Options().Contains(goAlwaysShowEditor))
        return false;
    if (!text().isEmpty() && selectionStart() == 0 && selectedText().size() == text().size())
        return true;
    return Key == Qt::Key_Up ? CaretOnFirstLine() : CaretOnLastLine();
}

void TInplaceEdit::EditKeyPress(QKeyEvent* Event)
{
    if (!FWrapEdit) {
        LineEditKeyPress(this, Event, [this](QKeyEvent* Key) { QLineEdit::keyPressEvent(Key); });
        return;
    }
    FWrapEdit->setReadOnly(isReadOnly());
    FWrapEdit->TakeKey(Event);
}

void TInplaceEdit::UpdateContents()
{
    FUpdating = true;
    const int Limit = FGrid->GetEditLimit();
    setInputMask(InputMaskFromEditMask(FGrid->GetEditMask(FGrid->Col())));
    setMaxLength(Limit > 0 ? Limit : 32767);
    SetLineEditText(this, FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    setModified(false);
    FUpdating = false;
}

void TInplaceEdit::UserEdited()
{
    if (FUpdating)
        return;
    // A change without a key (a drop, the menu's paste, a middle click) into
    // a record that refuses editing: the editor shows the cell's text again.
    try {
        FGrid->EditorTextEdited();
    } catch (const std::exception& E) {
        FGrid->InvalidateEditor();
        Application()->HandleException(E);
    }
}

// A cell that cannot be left (a text its field refuses, a post the dataset
// refuses) keeps the editor open on it with what the user typed, and the
// reason is shown: the user mends the text or presses Esc. A refused text
// never left the editor; a refused post finds it in the field, which the
// editor shows again.
void TInplaceEdit::keyPressEvent(QKeyEvent* Event)
{
    try {
        GridKey(Event);
    } catch (const std::exception& E) {
        Event->accept();
        ReopenEditor();
        Application()->HandleException(E);
    }
}

void TInplaceEdit::ReopenEditor()
{
    if (!FGrid->EditorMode())
        FGrid->ShowEditor();
    if (FGrid->EditorMode())
        setFocus();
}

// With Tab the grid's key, Tab and Shift+Tab reach keyPressEvent instead of
// moving the focus out of the grid.
bool TInplaceEdit::focusNextPrevChild(bool Next)
{
    return FGrid->Options().Contains(goTabs) ? false : QLineEdit::focusNextPrevChild(Next);
}

void TInplaceEdit::inputMethodEvent(QInputMethodEvent* Event)
{
    TypeCommittedText(this, Event, [this](QKeyEvent* Key) { keyPressEvent(Key); },
                      [this](QInputMethodEvent* Rest) { QLineEdit::inputMethodEvent(Rest); });
}

// Keys that leave the cell go back to the grid, as a user expects of a grid.
void TInplaceEdit::GridKey(QKeyEvent* Event)
{
    TShiftState Shift = ShiftStateFromQt(Event->modifiers(), Qt::NoButton);
    switch (Event->key()) {
    case Qt::Key_Escape: {
        // The grid decides first: a data grid drops the pending text itself.
        int Key = VK_ESCAPE;
        FGrid->KeyDown(Key, Shift);
        if (Key != 0) {
            UpdateContents();
            FGrid->EditorTextReverted();
            FGrid->HideEditor();
        }
        FGrid->setFocus();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Ctrl+Enter breaks the line of a multi-line editor.
        if (FWrapEdit && (Event->modifiers() & Qt::ControlModifier)) {
            if (!isReadOnly() && FGrid->CanEditModify())
                FWrapEdit->InsertText(QStringLiteral("\n"));
            Event->accept();
            return;
        }
        FGrid->HideEditor();
        FGrid->setFocus();
        int Key = VK_RETURN;
        FGrid->KeyDown(Key, Shift);
        return;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (FWrapEdit && !UpDownLeavesText(Event->key())) {
            EditKeyPress(Event);
            return;
        }
        [[fallthrough]];
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (Event->key() == Qt::Key_Backtab)
            Shift << ssShift;
        FGrid->HideEditor();
        FGrid->setFocus();
        int Key = VirtualKeyFromQt(Event);
        FGrid->KeyDown(Key, Shift);
        return;
    }
    default: {
        // A typed character must suit the cell, and the cell must be editable
        // now; a character outside the 16-bit range is checked by its halves.
        const QString Typed = Event->text();
        if (PrintableText(Typed)) {
            bool Accepted = !isReadOnly();
            for (QChar C : Typed)
                Accepted = Accepted && FGrid->CanEditAcceptKey(C);
            if (!Accepted || !FGrid->CanEditModify()) {
                Event->accept();
                return;
            }
        }
        EditKeyPress(Event);
    }
    }
}

// ---------------------------------------------------------------- construction

TCustomGrid::TCustomGrid(QWidget* AParent)
    : TCustomControl(AParent),
      FColWidths(5, 64),
      FRowHeights(5, 24),
      FCurrent{1, 1},
      FTopLeft{1, 1},
      FOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}),
      FFixedCols(1),
      FFixedRows(1)
{
    setFocusPolicy(Qt::StrongFocus);
    SetColor(clWindow);
    FScrollTimer = new QTimer(this);
    FScrollTimer->setInterval(ScrollInterval);
    QObject::connect(FScrollTimer, &QTimer::timeout, this, [this] { ScrollTimerTick(); });
}

TCustomGrid::~TCustomGrid() = default;

// ---------------------------------------------------------------- geometry

void TCustomGrid::SetColCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == ColCount())
        return;
    FColWidths.resize(size_t(Value), FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, Value - 1);
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, Value - 1);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
}

void TCustomGrid::SetRowCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == RowCount())
        return;
    FRowHeights.resize(size_t(Value), FDefaultRowHeight);
    FFixedRows = std::min(FFixedRows, Value - 1);
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, Value - 1);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value < 0 || Value >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Fixed column count must be less than column count"));
    if (Value == FFixedCols)
        return;
    FFixedCols = Value;
    FCurrent.X = std::max(FCurrent.X, FFixedCols);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value < 0 || Value >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Fixed row count must be less than row count"));
    if (Value == FFixedRows)
        return;
    FFixedRows = Value;
    FCurrent.Y = std::max(FCurrent.Y, FFixedRows);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
}

int TCustomGrid::ColWidths(int Index) const
{
    if (Index < 0 || Index >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    return FColWidths[size_t(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (FColWidths[size_t(Index)] == Value)
        return;
    FColWidths[size_t(Index)] = Value;
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int Index) const
{
    if (Index < 0 || Index >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    return FRowHeights[size_t(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (FRowHeights[size_t(Index)] == Value)
        return;
    FRowHeights[size_t(Index)] = Value;
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
    RowHeightsChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    FDefaultColWidth = Value;
    std::fill(FColWidths.begin(), FColWidths.end(), Value);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    FDefaultRowHeight = Value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
    ClampTopLeft();
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == FGridLineWidth)
        return;
    FGridLineWidth = Value;
    Invalidate();
    UpdateScrollRange();
    PlaceEditor();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor)
        return;
    FFixedColor = Value;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value)
{
    if (Value.Contains(goRowSelect))
        Value >> goAlwaysShowEditor;
    if (Value == FOptions)
        return;
    FOptions = Value;
    SetWantTabs(FOptions.Contains(goTabs));
    if (FEditorMode && !CanEditShow())
        HideEditor();
    else if (FOptions.Contains(goAlwaysShowEditor))
        ShowEditor();
    Invalidate();
    UpdateScrollRange();
}

int TCustomGrid::ColBox(int ACol) const
{
    const int W = FColWidths[size_t(ACol)];
    if (W <= 0)
        return 0;
    const bool Lines = ACol < FFixedCols ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
    return W + (Lines ? FGridLineWidth : 0);
}

int TCustomGrid::RowBox(int ARow) const
{
    const int H = FRowHeights[size_t(ARow)];
    if (H <= 0)
        return 0;
    const bool Lines = ARow < FFixedRows ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
    return H + (Lines ? FGridLineWidth : 0);
}

int TCustomGrid::FixedWidth() const
{
    int W = 0;
    for (int c = 0; c < FFixedCols; ++c)
        W += ColBox(c);
    return W;
}

int TCustomGrid::FixedHeight() const
{
    int H = 0;
    for (int r = 0; r < FFixedRows; ++r)
        H += RowBox(r);
    return H;
}

int TCustomGrid::GridWidth() const
{
    int W = FixedWidth();
    for (int c = FTopLeft.X; c < ColCount() && W < ClientWidth(); ++c)
        W += ColBox(c);
    return std::min(W, ClientWidth());
}

int TCustomGrid::GridHeight() const
{
    int H = FixedHeight();
    for (int r = FTopLeft.Y; r < RowCount() && H < ClientHeight(); ++r)
        H += RowBox(r);
    return std::min(H, ClientHeight());
}

int TCustomGrid::ColLeft(int ACol) const
{
    if (ACol < FFixedCols) {
        int X = 0;
        for (int c = 0; c < ACol; ++c)
            X += ColBox(c);
        return X;
    }
    if (ACol < FTopLeft.X)
        return -1;
    int X = FixedWidth();
    for (int c = FTopLeft.X; c < ACol; ++c)
        X += ColBox(c);
    return X;
}

int TCustomGrid::RowTop(int ARow) const
{
    if (ARow < FFixedRows) {
        int Y = 0;
        for (int r = 0; r < ARow; ++r)
            Y += RowBox(r);
        return Y;
    }
    if (ARow < FTopLeft.Y)
        return -1;
    int Y = FixedHeight();
    // Only rows in view are of interest; stop once past the client area.
    for (int r = FTopLeft.Y; r < ARow; ++r) {
        Y += RowBox(r);
        if (Y > ClientHeight())
            return Y;
    }
    return Y;
}

QRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount() || !ColVisible(ACol)
        || FRowHeights[size_t(ARow)] <= 0)
        return QRect();
    const int X = ColLeft(ACol);
    const int Y = RowTop(ARow);
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight())
        return QRect();
    return QRect(X, Y, FColWidths[size_t(ACol)], FRowHeights[size_t(ARow)]);
}

// The index of the box under P along one axis: the fixed boxes first, then
// the scrolled ones from First; -1 beyond the last.
template <class TBox>
static int AxisHit(int P, int Fixed, int First, int Count, TBox Box)
{
    int Pos = 0;
    for (int i = 0; i < Fixed; ++i) {
        Pos += Box(i);
        if (P < Pos)
            return i;
    }
    for (int i = First; i < Count; ++i) {
        Pos += Box(i);
        if (P < Pos)
            return i;
    }
    return -1;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight())
        return TGridCoord{-1, -1};
    const int C = AxisHit(X, FFixedCols, FTopLeft.X, ColCount(), [this](int i) { return ColBox(i); });
    const int R = AxisHit(Y, FFixedRows, FTopLeft.Y, RowCount(), [this](int i) { return RowBox(i); });
    if (C < 0 || R < 0)
        return TGridCoord{-1, -1};
    return TGridCoord{C, R};
}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                  int& SizingOfs) const
{
    State = gsNormal;
    Index = -1;
    SizingPos = 0;
    SizingOfs = 0;
    const TGridCoord Cell = MouseCoord(X, Y);
    if (Cell.X < 0)
        return;
    // Columns are sized over the fixed rows, rows over the fixed columns.
    if (FOptions.Contains(goColSizing) && Cell.Y < FFixedRows) {
        for (int c = 0; c < ColCount(); ++c) {
            if (!ColVisible(c) || (c >= FFixedCols && c < FTopLeft.X))
                continue;
            const int Border = ColLeft(c) + FColWidths[size_t(c)];
            if (ColLeft(c) >= ClientWidth())
                break;
            if (std::abs(X - Border) <= SizingTolerance) {
                State = gsColSizing;
                Index = c;
                SizingPos = Border;
                SizingOfs = Border - X;
            }
        }
    }
    if (State == gsNormal && FOptions.Contains(goRowSizing) && Cell.X < FFixedCols) {
        for (int r = 0; r < RowCount(); ++r) {
            if (FRowHeights[size_t(r)] <= 0 || (r >= FFixedRows && r < FTopLeft.Y))
                continue;
            const int Top = RowTop(r);
            if (Top >= ClientHeight())
                break;
            const int Border = Top + FRowHeights[size_t(r)];
            if (std::abs(Y - Border) <= SizingTolerance) {
                State = gsRowSizing;
                Index = r;
                SizingPos = Border;
                SizingOfs = Border - Y;
            }
        }
    }
}

int TCustomGrid::VisibleColCount() const
{
    int X = FixedWidth();
    int Count = 0;
    for (int c = FTopLeft.X; c < ColCount(); ++c) {
        X += ColBox(c);
        if (X - (ColBox(c) > 0 && FOptions.Contains(goVertLine) ? FGridLineWidth : 0) > ClientWidth())
            break;
        ++Count;
    }
    return std::max(Count, FTopLeft.X < ColCount() ? 1 : 0);
}

int TCustomGrid::VisibleRowCount() const
{
    int Y = FixedHeight();
    int Count = 0;
    for (int r = FTopLeft.Y; r < RowCount(); ++r) {
        Y += RowBox(r);
        if (Y - (RowBox(r) > 0 && FOptions.Contains(goHorzLine) ? FGridLineWidth : 0) > ClientHeight())
            break;
        ++Count;
    }
    return std::max(Count, FTopLeft.Y < RowCount() ? 1 : 0);
}

int TCustomGrid::MaxLeftCol() const
{
    const int Room = ClientWidth() - FixedWidth();
    int Used = 0;
    int Result = ColCount() - 1;
    for (int c = ColCount() - 1; c >= FFixedCols; --c) {
        Used += ColBox(c);
        if (Used > Room)
            break;
        Result = c;
    }
    return std::max(Result, FFixedCols);
}

int TCustomGrid::MaxTopRow() const
{
    const int Room = ClientHeight() - FixedHeight();
    int Used = 0;
    int Result = RowCount() - 1;
    for (int r = RowCount() - 1; r >= FFixedRows; --r) {
        Used += RowBox(r);
        if (Used > Room)
            break;
        Result = r;
    }
    return std::max(Result, FFixedRows);
}

void TCustomGrid::ClampTopLeft()
{
    const int Left = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    const int Top = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (Left != FTopLeft.X || Top != FTopLeft.Y) {
        FTopLeft = TGridCoord{Left, Top};
        Invalidate();
        TopLeftChanged();
    }
}

// ---------------------------------------------------------------- position

void TCustomGrid::SetCol(int Value)
{
    if (Value != FCurrent.X)
        FocusCell(Value, FCurrent.Y);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value != FCurrent.Y)
        FocusCell(FCurrent.X, Value);
}

void TCustomGrid::FocusCell(int ACol, int ARow)
{
    ACol = std::clamp(ACol, FFixedCols, ColCount() - 1);
    ARow = std::clamp(ARow, FFixedRows, RowCount() - 1);
    if (ACol == FCurrent.X && ARow == FCurrent.Y)
        return;
    if (!SelectCell(ACol, ARow))
        return;
    MoveCurrent(ACol, ARow, true);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool Show)
{
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    UpdateEditorText();
    const TGridCoord Old = FCurrent;
    if (Old.X != ACol)
        ColExit();
    FCurrent = TGridCoord{ACol, ARow};
    if (FOptions.Contains(goRowSelect)) {
        if (Old.Y != ARow) {
            InvalidateRow(Old.Y);
            InvalidateRow(ARow);
        }
    } else {
        InvalidateCell(Old.X, Old.Y);
        InvalidateCell(ACol, ARow);
    }
    if (Show) {
        // Scroll the least distance that brings the cell into full view.
        int Left = FTopLeft.X;
        int Top = FTopLeft.Y;
        if (ACol >= FFixedCols && ACol < Left)
            Left = ACol;
        if (ARow >= FFixedRows && ARow < Top)
            Top = ARow;
        if (ACol >= FFixedCols && !FOptions.Contains(goRowSelect)) {
            while (Left < ACol) {
                int X = FixedWidth();
                for (int c = Left; c <= ACol; ++c)
                    X += ColBox(c);
                if (X <= ClientWidth() + (FOptions.Contains(goVertLine) ? FGridLineWidth : 0))
                    break;
                ++Left;
            }
        }
        while (ARow >= FFixedRows && Top < ARow) {
            int Y = FixedHeight();
            for (int r = Top; r <= ARow; ++r)
                Y += RowBox(r);
            if (Y <= ClientHeight() + (FOptions.Contains(goHorzLine) ? FGridLineWidth : 0))
                break;
            ++Top;
        }
        MoveTopLeft(Left, Top);
    }
    PlaceEditor();
    if (Old.X != ACol)
        ColEnter();
}

void TCustomGrid::SetTopRow(int Value)
{
    MoveTopLeft(FTopLeft.X, std::clamp(Value, FFixedRows, std::max(FFixedRows, MaxTopRow())));
}

void TCustomGrid::SetLeftCol(int Value)
{
    MoveTopLeft(std::clamp(Value, FFixedCols, std::max(FFixedCols, MaxLeftCol())), FTopLeft.Y);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    const TGridCoord Old = FTopLeft;
    FTopLeft = TGridCoord{ALeft, ATop};
    ScrollDataInfo(Old);
    PlaceEditor();
    TopLeftChanged();
    UpdateScrollRange();
}

void TCustomGrid::UpdateScrollRange()
{
    UpdateHorzScrollRange();
    UpdateVertScrollRange();
}

void TCustomGrid::UpdateHorzScrollRange()
{
    TScrollBar* H = HorzBar();
    if (FInTopLeft || !H)
        return;
    FInTopLeft = true;
    H->SetParams(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    FInTopLeft = false;
}

void TCustomGrid::UpdateVertScrollRange()
{
    TScrollBar* V = VertBar();
    if (FInTopLeft || !V)
        return;
    FInTopLeft = true;
    V->SetLargeChange(std::max(1, VisibleRowCount()));
    V->SetParams(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    FInTopLeft = false;
}

void TCustomGrid::Scroll(TScrollBarKind Kind, int Position)
{
    if (FInTopLeft)
        return;
    FInTopLeft = true;
    if (Kind == sbHorizontal)
        SetLeftCol(Position);
    else
        SetTopRow(Position);
    FInTopLeft = false;
    TCustomControl::Scroll(Kind, Position);
}

void TCustomGrid::Resize()
{
    ClampTopLeft();
    UpdateScrollRange();
    PlaceEditor();
    TCustomControl::Resize();
}

// ---------------------------------------------------------------- moving columns and rows

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= ColCount() || ToIndex < 0 || ToIndex >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (FromIndex == ToIndex)
        return;
    const int W = FColWidths[size_t(FromIndex)];
    FColWidths.erase(FColWidths.begin() + FromIndex);
    FColWidths.insert(FColWidths.begin() + ToIndex, W);
    // The current cell keeps its column.
    int& C = FCurrent.X;
    if (C == FromIndex)
        C = ToIndex;
    else if (FromIndex < C && C <= ToIndex)
        --C;
    else if (ToIndex <= C && C < FromIndex)
        ++C;
    ColumnMoved(FromIndex, ToIndex);
    Invalidate();
    PlaceEditor();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= RowCount() || ToIndex < 0 || ToIndex >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (FromIndex == ToIndex)
        return;
    const int H = FRowHeights[size_t(FromIndex)];
    FRowHeights.erase(FRowHeights.begin() + FromIndex);
    FRowHeights.insert(FRowHeights.begin() + ToIndex, H);
    RowMoved(FromIndex, ToIndex);
    Invalidate();
    PlaceEditor();
}

// ---------------------------------------------------------------- overridables

void TCustomGrid::DrawCell(int, int, const QRect&, TGridDrawState) {}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
void TCustomGrid::TopLeftChanged() {}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::TimedScroll(TGridScrollDirections Direction)
{
    int C = FCurrent.X;
    int R = FCurrent.Y;
    if (Direction.Contains(sdLeft) && FTopLeft.X > FFixedCols)
        C = FTopLeft.X - 1;
    if (Direction.Contains(sdRight) && FTopLeft.X < MaxLeftCol())
        C = FTopLeft.X + VisibleColCount();
    if (Direction.Contains(sdUp) && FTopLeft.Y > FFixedRows)
        R = FTopLeft.Y - 1;
    if (Direction.Contains(sdDown) && FTopLeft.Y < MaxTopRow())
        R = FTopLeft.Y + VisibleRowCount();
    FocusCell(std::min(C, ColCount() - 1), std::min(R, RowCount() - 1));
}

// ---------------------------------------------------------------- in-place editor

QLineEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

bool TCustomGrid::CanEditShow() const
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FCurrent.X >= FFixedCols
        && FCurrent.Y >= FFixedRows;
}

QString TCustomGrid::GetEditText(int, int)
{
    return QString();
}

void TCustomGrid::SetEditText(int, int, const QString&) {}

// A change the grid refuses (a paste into a cell that cannot be modified) is undone.
void TCustomGrid::EditorTextEdited()
{
    if (!CanEditModify())
        InvalidateEditor();
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    if (!FInplaceEdit)
        FInplaceEdit = CreateEditor();
    FEditorMode = true;
    LoadEditor();
    PlaceEditor();
    if (hasFocus())
        FInplaceEdit->setFocus();
}

void TCustomGrid::HideEditor()
{
    if (!FEditorMode)
        return;
    UpdateEditorText();
    FEditorMode = false;
    const bool HadFocus = FInplaceEdit && FInplaceEdit->hasFocus();
    if (FInplaceEdit)
        FInplaceEdit->hide();
    if (HadFocus)
        setFocus();
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::UpdateEditorText()
{
    if (FEditorMode && FInplaceEdit && FInplaceEdit->isModified()) {
        FInplaceEdit->setModified(false);
        try {
            SetEditText(FCurrent.X, FCurrent.Y, FInplaceEdit->text());
        } catch (...) {
            // Refused: the text is still the user's to mend.
            if (FInplaceEdit)
                FInplaceEdit->setModified(true);
            throw;
        }
    }
}

void TCustomGrid::LoadEditor()
{
    if (auto* E = dynamic_cast<TInplaceEdit*>(FInplaceEdit.data())) {
        E->UpdateContents();
    } else {
        FInplaceEdit->setText(GetEditText(FCurrent.X, FCurrent.Y));
        FInplaceEdit->setModified(false);
    }
    FInplaceEdit->selectAll();
}

void TCustomGrid::InvalidateEditor()
{
    if (!FEditorMode || !FInplaceEdit) {
        InvalidateCell(FCurrent.X, FCurrent.Y);
        return;
    }
    LoadEditor();
    PlaceEditor();
}

void TCustomGrid::PlaceEditor()
{
    if (!FInplaceEdit || !FEditorMode)
        return;
    const QRect R = CellRect(FCurrent.X, FCurrent.Y);
    if (R.isEmpty() || !CanEditShow()) {
        FInplaceEdit->hide();
        return;
    }
    FInplaceEdit->setGeometry(R);
    FInplaceEdit->show();
}

// ---------------------------------------------------------------- mouse

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FMouseDownPos = QPoint(X, Y);
    FLastMouse = FMouseDownPos;
    if (Button == mbLeft && FGridState == gsNormal) {
        if (focusPolicy() != Qt::NoFocus && !hasFocus() && !(FInplaceEdit && FInplaceEdit->hasFocus()))
            SetFocus();
        TGridState Sizing;
        CalcSizingState(X, Y, Sizing, FSizingIndex, FSizingPos, FSizingOfs);
        if (Sizing != gsNormal) {
            FGridState = Sizing;
            if (!TracedSizing())
                DrawSizingLine(FSizingPos);
        } else {
            const TGridCoord Cell = MouseCoord(X, Y);
            if (Cell.X >= 0) {
                if (Cell.Y < FFixedRows && Cell.X >= FFixedCols && FOptions.Contains(goColMoving)) {
                    FGridState = gsColMoving;
                    FMoveIndex = FMovePos = Cell.X;
                } else if (Cell.X < FFixedCols && Cell.Y >= FFixedRows && FOptions.Contains(goRowMoving)) {
                    FGridState = gsRowMoving;
                    FMoveIndex = FMovePos = Cell.Y;
                } else if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
                    const bool Again = Cell == FCurrent && !Shift.Contains(ssDouble);
                    FocusCell(Cell.X, Cell.Y);
                    if (Again || FOptions.Contains(goAlwaysShowEditor))
                        ShowEditor();
                    else
                        HideEditor();
                    FGridState = gsSelecting;
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMouse = QPoint(X, Y);
    switch (FGridState) {
    case gsColSizing:
    case gsRowSizing: {
        const bool Cols = FGridState == gsColSizing;
        const int Start = Cols ? ColLeft(FSizingIndex) : RowTop(FSizingIndex);
        const int Pos = std::max(Start + 1, (Cols ? X : Y) + FSizingOfs);
        if (Pos != FSizingPos) {
            if (TracedSizing()) {
                FSizingPos = Pos;
                ColSizingTracked(FSizingIndex, Pos);
                break;
            }
            DrawSizingLine(FSizingPos);
            FSizingPos = Pos;
            DrawSizingLine(FSizingPos);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        // The column under the pointer along the title row, or the row along the first column.
        const bool Cols = FGridState == gsColMoving;
        const TGridCoord Cell = Cols ? MouseCoord(X, 0) : MouseCoord(0, Y);
        const int Target = Cols ? Cell.X : Cell.Y;
        const int Fixed = Cols ? FFixedCols : FFixedRows;
        if (Target >= Fixed)
            FMovePos = Target;
        break;
    }
    case gsSelecting: {
        const TGridCoord Cell = MouseCoord(X, Y);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
            StopScrollTimer();
            FocusCell(Cell.X, Cell.Y);
        } else {
            StartScrollTimer();
        }
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState State = FGridState;
    FGridState = gsNormal;
    switch (State) {
    case gsColSizing:
        if (TraceColSizing())
            break;
        DrawSizingLine(FSizingPos);
        SetColWidths(FSizingIndex, std::max(1, FSizingPos - ColLeft(FSizingIndex)));
        break;
    case gsRowSizing:
        DrawSizingLine(FSizingPos);
        SetRowHeights(FSizingIndex, std::max(1, FSizingPos - RowTop(FSizingIndex)));
        break;
    case gsColMoving:
        if (FMovePos != FMoveIndex && FMovePos >= 0)
            MoveColumn(FMoveIndex, FMovePos);
        break;
    case gsRowMoving:
        if (FMovePos != FMoveIndex && FMovePos >= 0)
            MoveRow(FMoveIndex, FMovePos);
        break;
    case gsSelecting:
        StopScrollTimer();
        break;
    default:
        break;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::CancelMode()
{
    const TGridState State = FGridState;
    FGridState = gsNormal;
    // A sizing line is drawn with XOR: drawing it again erases it.
    if ((State == gsColSizing && !TraceColSizing()) || State == gsRowSizing) {
        FGridState = State;
        DrawSizingLine(FSizingPos);
        FGridState = gsNormal;
    }
    StopScrollTimer();
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

bool TCustomGrid::TracedSizing() const
{
    return FGridState == gsColSizing && TraceColSizing();
}

void TCustomGrid::ColSizingTracked(int Index, int Pos)
{
    SetColWidths(Index, std::max(1, Pos - ColLeft(Index)));
}

void TCustomGrid::SetGridState(TGridState Value, int Index)
{
    FGridState = Value;
    if (Value == gsColMoving || Value == gsRowMoving)
        FMoveIndex = FMovePos = Index;
}

bool TCustomGrid::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, X, Y))
        return true;
    if (WheelDelta == 0)
        return false;
    FocusCell(FCurrent.X, FCurrent.Y + (WheelDelta < 0 ? 1 : -1));
    return true;
}

void TCustomGrid::StartScrollTimer()
{
    if (!FScrollTimer->isActive())
        FScrollTimer->start();
}

void TCustomGrid::StopScrollTimer()
{
    FScrollTimer->stop();
}

void TCustomGrid::ScrollTimerTick()
{
    if (FGridState != gsSelecting) {
        StopScrollTimer();
        return;
    }
    TGridScrollDirections Direction;
    if (FLastMouse.x() < FixedWidth())
        Direction << sdLeft;
    else if (FLastMouse.x() >= GridWidth())
        Direction << sdRight;
    if (FLastMouse.y() < FixedHeight())
        Direction << sdUp;
    else if (FLastMouse.y() >= GridHeight())
        Direction << sdDown;
    if (Direction.Empty())
        StopScrollTimer();
    else
        TimedScroll(Direction);
}

// ---------------------------------------------------------------- keys

void TCustomGrid::KeyDown(int& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool Ctrl = Shift.Contains(ssCtrl);
    int C = FCurrent.X;
    int R = FCurrent.Y;
    const int Page = std::max(1, VisibleRowCount());
    switch (Key) {
    case VK_UP: --R; break;
    case VK_DOWN: ++R; break;
    case VK_LEFT: C = FOptions.Contains(goRowSelect) ? C : C - 1; break;
    case VK_RIGHT: C = FOptions.Contains(goRowSelect) ? C : C + 1; break;
    case VK_PRIOR: R -= Page; break;
    case VK_NEXT: R += Page; break;
    case VK_HOME:
        if (Ctrl)
            R = FFixedRows;
        else
            C = FFixedCols;
        break;
    case VK_END:
        if (Ctrl)
            R = RowCount() - 1;
        else
            C = ColCount() - 1;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt))
            return;
        // Past the last column the next row begins; hidden columns are skipped.
        do {
            if (Shift.Contains(ssShift)) {
                if (--C < FFixedCols) {
                    C = ColCount() - 1;
                    --R;
                }
            } else if (++C >= ColCount()) {
                C = FFixedCols;
                ++R;
            }
        } while (C != FCurrent.X && !ColVisible(C));
        if (R < FFixedRows || R >= RowCount())
            return;
        break;
    case VK_F2:
        ShowEditor();
        Key = 0;
        return;
    default:
        return;
    }
    // Left and right step over hidden columns.
    const int Step = C < FCurrent.X ? -1 : 1;
    while (C >= FFixedCols && C < ColCount() && !ColVisible(C))
        C += Step;
    if (C < FFixedCols || C >= ColCount())
        C = FCurrent.X;
    HideEditor();
    FocusCell(C, std::clamp(R, FFixedRows, RowCount() - 1));
    if (FOptions.Contains(goAlwaysShowEditor))
        ShowEditor();
    Key = 0;
}

void TCustomGrid::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    EditorKeyPress(Key);
}

void TCustomGrid::EditorKeyPress(QChar& Key)
{
    if (Key.isNull() || !FOptions.Contains(goEditing))
        return;
    if (Key == QChar(VK_RETURN)) {
        if (!FOptions.Contains(goAlwaysShowEditor)) {
            if (FEditorMode)
                HideEditor();
            else
                ShowEditor();
            Key = QChar();
        }
        return;
    }
    const QString Text = TypedText(Key);
    if (!PrintableText(Text) || FEditorMode)
        return;
    // The character that opens the editor is its first keystroke.
    ShowEditor();
    if (!FEditorMode || !FInplaceEdit)
        return;
    QKeyEvent Typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(FInplaceEdit, &Typed);
    Key = QChar();
}
