// TfrSyntaxMemo: the self-drawn script editor of the memo editor, with its own
// caret (which may stand beyond the end of a line), keyword, string and
// comment colouring, undo snapshots, ten line bookmarks, a gutter, a footer
// and a vertical scroll bar. TSynMemoSearch is its find dialog.
//
// Positions are (column, line), both from 1; a column is one character (a
// code point), so a surrogate pair is never split. Wide characters take two
// cells on the screen; the left edge of the view counts cells.
//
// Split by job: fr_synmemo.cpp (text, undo, highlighting), fr_synmemokeys.cpp
// (keys, mouse, input method, drops), fr_synmemopaint.cpp (cells, painting,
// caret, scroll bar), fr_synmemosearch.cpp (find).
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Classes.h"

#include <QSet>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class TButton;
class TPopupMenu;
class TScrollBar;

enum class TSyntaxType { stPascal, stCpp, stSQL, stText };
using enum TSyntaxType;

// Style codes kept per character.
enum : uint8_t { synText = 1, synComment = 3, synKeyword = 4, synString = 5 };

struct TSynPos
{
    int Col = 1;
    int Line = 1;
    friend bool operator==(const TSynPos&, const TSynPos&) = default;
    friend bool operator<(const TSynPos& A, const TSynPos& B)
    {
        return A.Line != B.Line ? A.Line < B.Line : A.Col < B.Col;
    }
    friend bool operator<=(const TSynPos& A, const TSynPos& B) { return !(B < A); }
};

class TfrSyntaxMemo : public TCustomControl
{
public:
    static constexpr int MaxLineLength = 1024;

    explicit TfrSyntaxMemo(QWidget* AParent = nullptr);
    ~TfrSyntaxMemo() override;

    // Reading trims trailing blanks of every line and arms the reset: while
    // armed, each change of the list re-highlights, keeps at least one line,
    // clears undo, caret, scroll and selection. A key press disarms it.
    TStrings* Lines();
    void SetLines(const TStrings& Value);
    // The text without arming anything (the editor's own view of it).
    const QStringList& Text() const { return FText; }

    TSyntaxType SyntaxType() const { return FSyntaxType; }
    void SetSyntaxType(TSyntaxType Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ShowGutter() const { return FShowGutter; }
    void SetShowGutter(bool Value);
    bool ShowFooter() const { return FShowFooter; }
    void SetShowFooter(bool Value);
    TFont* KeywordAttr() const { return FAttr[0].get(); }
    TFont* StringAttr() const { return FAttr[1].get(); }
    TFont* CommentAttr() const { return FAttr[2].get(); }
    TFont* TextAttr() const { return FAttr[3].get(); }
    void SetKeywordAttr(const TFont& Value) { SetAttr(0, Value); }
    void SetStringAttr(const TFont& Value) { SetAttr(1, Value); }
    void SetCommentAttr(const TFont& Value) { SetAttr(2, Value); }
    void SetTextAttr(const TFont& Value) { SetAttr(3, Value); }
    TColor BlockColor() const { return FBlockColor; }
    void SetBlockColor(TColor Value);
    TColor BlockFontColor() const { return FBlockFontColor; }
    void SetBlockFontColor(TColor Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }

    // Operations.
    void SetStatusText(const QString& Text);
    QString StatusText() const { return FStatus; }
    void InsertText(const QString& Text);
    void SetCaretPos(int Col, int Line);
    TSynPos CaretPos() const { return FCaret; }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Find(const QString& Text);
    void Undo();
    void SelectAll();
    // Selection in order (start inclusive, end exclusive); equal when none.
    TSynPos SelStart() const;
    TSynPos SelEnd() const;
    bool HasSelection() const { return FSelActive && !(FAnchor == FCaret); }
    QString SelText() const;
    int Bookmark(int Index) const { return FBookmarks[Index]; }
    int UndoCount() const { return static_cast<int>(FUndo.size()); }
    int TopLine() const { return FTopLine; }
    int LeftCol() const { return FLeftCol; }
    int VisibleRows() const;
    int VisibleCols() const;
    QSize CellSize() const { return QSize(FCellW, FCellH); }
    bool FixedPitch() const { return FFixedPitch; }
    QString LastSearch() const { return FLastSearch; }
    QString Preedit() const { return FPreedit; }
    // Style codes of a line, one per UTF-16 unit.
    const QByteArray& LineStyles(int Index) const { return FStyles[Index].Styles; }
    // Re-highlights the whole text in one pass (the reference the incremental
    // highlighting must equal).
    void HighlightAll();
    // Screen point of a position and the position under a point.
    QPoint PosToPoint(TSynPos P) const;
    TSynPos PointToPos(int X, int Y) const;
    TScrollBar* ScrollBar() const { return FBar; }
    // The built-in clipboard menu (made when first shown).
    TPopupMenu* BuiltInMenu() const { return FMenu; }

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;
    // Inserts typed text (one or more characters of code 32 or above).
    void TypeText(const QString& Text);

protected:
    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    friend class TSynMemoLines;
    struct TLineStyle
    {
        QByteArray Styles;
        uint8_t Start = 0xFF;   // state at the line's start: 0 normal, 1 brace, 2 block; 0xFF unknown
    };
    struct TSnapshot
    {
        TSynPos Caret;
        QStringList Text;
    };

    // fr_synmemo.cpp
    void SetAttr(int Index, const TFont& Value);
    void LinesChanged();
    void ResetView();
    void Replace(int First, int Count, const QStringList& With);
    void Restyle(int First, int Last);
    uint8_t StyleLine(int Index, uint8_t Start);
    void PushUndo();
    void PushUndo(TSynPos Caret);
    QString Line(int Line) const { return FText[Line - 1]; }
    int LineCount() const { return static_cast<int>(FText.size()); }
    void PadTo(TSynPos P);
    void DeleteRange(TSynPos A, TSynPos B);
    void InsertAt(TSynPos At, const QString& Text);
    void ShiftBookmarks(int AfterLine, int Delta);
    void ClampBookmarks();
    void DeleteSelection();
    void Changed();
    void BlockIndent(bool Indent);

    // fr_synmemokeys.cpp
    void MoveCaret(TSynPos To, bool Extend);
    bool CtrlKey(int Key, bool Shift);
    void WordLeft(bool Extend);
    void WordRight(bool Extend);
    void DoEnterKey();
    void DoTab();
    void DoBackspace();
    void DoDelete();
    void DeleteLine();
    void ToggleBookmark(int Index);
    void SelectWordAtCaret();
    void ShowBuiltInMenu(int X, int Y);
    void ShowSearch();

    // fr_synmemopaint.cpp
    void UpdateMetrics();
    void UpdateScrollBar();
    void ScrollToCaret();
    int CellsBefore(int Line, int Col) const;
    int GutterWidth() const { return FShowGutter ? 20 : 0; }
    int FooterHeight() const { return FShowFooter ? 20 : 0; }
    int TextWidthArea() const;
    void PaintLine(TCanvas* C, int Index, int Y);
    void PaintGutter(TCanvas* C);
    void PaintFooter(TCanvas* C);
    TFont* StyleFont(uint8_t Style) const;

    QStringList FText;
    std::vector<TLineStyle> FStyles;
    std::unique_ptr<TStrings> FLines;
    TSyntaxType FSyntaxType = stPascal;
    QString FKeywords;
    QSet<QString> FKeywordSet;
    bool FReadOnly = false;
    bool FShowGutter = false;
    bool FShowFooter = false;
    std::array<std::unique_ptr<TFont>, 4> FAttr;
    TColor FBlockColor = clHighlight;
    TColor FBlockFontColor = clHighlightText;
    TPopupMenu* FPopupMenu = nullptr;
    TPopupMenu* FMenu = nullptr;
    TScrollBar* FBar = nullptr;

    int FCellW = 8;
    int FCellH = 16;
    bool FFixedPitch = false;
    TSynPos FCaret;
    TSynPos FAnchor;
    bool FSelActive = false;
    int FTopLine = 0;
    int FLeftCol = 0;
    QString FStatus;
    QString FLastSearch;
    QString FPreedit;
    std::array<int, 10> FBookmarks;
    bool FDragging = false;
    bool FDoubleClick = false;
    bool FResetArmed = false;
    bool FInLinesChange = false;
    std::vector<TSnapshot> FUndo;
};

class TSynMemoSearch : public TForm
{
public:
    explicit TSynMemoSearch(QWidget* AOwner = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    TButton* Button1;
    TButton* Button2;
};
