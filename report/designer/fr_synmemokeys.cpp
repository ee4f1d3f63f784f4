// The syntax memo's input: keys, typed and input-method text, the mouse, the
// clipboard menu and text drops.
#include "report/designer/fr_synmemo.h"
#include "report/designer/fr_synmemo_p.h"

#include "platform/gui/Application.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

using namespace synmemo;

namespace {

int Indent(const QString& S)
{
    int n = 0;
    while (n < S.size() && S[n] == u' ')
        ++n;
    return n;
}

bool Blank(const QString& S)
{
    return S.trimmed().isEmpty();
}

} // namespace

// ---------------------------------------------------------------- key events

void TfrSyntaxMemo::keyPressEvent(QKeyEvent* Event)
{
    bool Consumed = false;
    try {
        int Key = VirtualKeyFromQt(Event);
        if (Key != 0) {
            KeyDown(Key, ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons()));
            Consumed = Key == 0;
        }
        // Typed text comes whole from the event, so a surrogate pair stays one character.
        const QString T = Event->text();
        const bool Plain = !(Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!Consumed && Plain && !T.isEmpty() && T[0].unicode() >= 32 && T[0].unicode() != 127) {
            QChar First = T[0];
            TCustomControl::KeyPress(First);
            if (!First.isNull()) {
                FResetArmed = false;
                TypeText(T);
            }
            Consumed = true;
        } else if (!Consumed) {
            QChar C = KeyCharFromQt(Event);
            if (!C.isNull()) {
                KeyPress(C);
                Consumed = C.isNull();
            }
        }
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
    Event->setAccepted(Consumed);
}

void TfrSyntaxMemo::MoveCaret(TSynPos To, bool Extend)
{
    if (Extend) {
        if (!FSelActive) {
            FAnchor = FCaret;
            FSelActive = true;
        }
    } else {
        FSelActive = false;
    }
    SetCaretPos(To.Col, To.Line);
}

void TfrSyntaxMemo::KeyDown(int& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    FResetArmed = false;
    const bool S = Shift.Contains(ssShift), Ctl = Shift.Contains(ssCtrl), Alt = Shift.Contains(ssAlt);
    const bool None = !S && !Ctl && !Alt;
    const int Col = FCaret.Col, Ln = FCaret.Line, Rows = std::max(1, VisibleRows());
    bool Handled = true;
    switch (Key) {
    case VK_LEFT:
        if (Ctl)
            WordLeft(S);
        else
            MoveCaret({Col - 1, Ln}, S);
        break;
    case VK_RIGHT:
        if (Ctl)
            WordRight(S);
        else
            MoveCaret({Col + 1, Ln}, S);
        break;
    case VK_UP: MoveCaret({Col, Ln - 1}, S); break;
    case VK_DOWN: MoveCaret({Col, Ln + 1}, S); break;
    case VK_HOME: MoveCaret(Ctl ? TSynPos{1, 1} : TSynPos{1, Ln}, S); break;
    case VK_END:
        MoveCaret(Ctl ? TSynPos{Cols(FText.last()) + 1, LineCount()} : TSynPos{Cols(TrimRight(Line(Ln))) + 1, Ln}, S);
        break;
    case VK_PRIOR:
        if (FTopLine > Rows) {
            FTopLine -= Rows - 1;
            MoveCaret({Col, Ln - (Rows - 1)}, S);
        } else {
            const int Up = FTopLine == 0 ? Ln - 1 : FTopLine;
            FTopLine = 0;
            MoveCaret({Col, Ln - Up}, S);
        }
        break;
    case VK_NEXT:
        if (FTopLine + 2 * Rows >= LineCount()) {
            FTopLine = std::max(0, LineCount() - Rows);
            MoveCaret({Col, LineCount()}, S);
        } else {
            FTopLine += Rows - 1;
            MoveCaret({Col, Ln + Rows - 1}, S);
        }
        break;
    case VK_RETURN:
        Handled = None;
        if (None)
            DoEnterKey();
        break;
    case VK_TAB:
        Handled = !Ctl && !Alt;
        if (Handled)
            DoTab();
        break;
    case VK_BACK: DoBackspace(); break;
    case VK_DELETE:
        if (S && !Ctl && !Alt)
            CutToClipboard();
        else
            DoDelete();
        break;
    case VK_INSERT:
        if (Ctl && !S)
            CopyToClipboard();
        else if (S && !Ctl)
            PasteFromClipboard();
        else
            Handled = false;
        break;
    case VK_F3:
        if (!FLastSearch.isEmpty())
            Find(FLastSearch);
        break;
    default: Handled = Ctl && !Alt && CtrlKey(Key, S); break;
    }
    if (Handled)
        Key = 0;
}

// Ctrl+A, Ctrl+F, Ctrl+Y and the bookmark keys; false for any other key.
bool TfrSyntaxMemo::CtrlKey(int Key, bool Shift)
{
    if (Key >= '0' && Key <= '9') {
        if (Shift)
            ToggleBookmark(Key - '0');
        else if (FBookmarks[Key - '0'] >= 0)
            MoveCaret({1, FBookmarks[Key - '0'] + 1}, false);
        return true;
    }
    if (Shift)
        return false;
    switch (Key) {
    case 'A': SelectAll(); return true;
    case 'F': ShowSearch(); return true;
    case 'Y': DeleteLine(); return true;
    default: return false;
    }
}

void TfrSyntaxMemo::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key.isNull())
        return;
    FResetArmed = false;
    switch (Key.unicode()) {
    case 3: CopyToClipboard(); break;
    case 22: PasteFromClipboard(); break;
    case 24: CutToClipboard(); break;
    case 26: Undo(); break;
    case 9: BlockIndent(true); break;
    case 21: BlockIndent(false); break;
    default:
        if (Key.unicode() < 32)
            return;
        TypeText(QString(Key));
        break;
    }
    Key = QChar();
}

void TfrSyntaxMemo::TypeText(const QString& Text)
{
    QString T;
    for (QChar C : Text)
        if (C.unicode() >= 32)
            T += C;
    if (!T.isEmpty())
        InsertText(T);
}

// ---------------------------------------------------------------- word moves

void TfrSyntaxMemo::WordLeft(bool Extend)
{
    const QString& S = FText[FCaret.Line - 1];
    int Col = std::min(FCaret.Col, Cols(S) + 1);
    if (Col == 1) {
        if (FCaret.Line > 1)
            MoveCaret({Cols(FText[FCaret.Line - 2]) + 1, FCaret.Line - 1}, Extend);
        return;
    }
    auto CharBefore = [&](int C) { return S[IndexOfCol(S, C - 1)]; };
    while (Col > 1 && !IsWordMoveChar(CharBefore(Col)))
        --Col;
    while (Col > 1 && IsWordMoveChar(CharBefore(Col)))
        --Col;
    MoveCaret({Col, FCaret.Line}, Extend);
}

void TfrSyntaxMemo::WordRight(bool Extend)
{
    int Ln = FCaret.Line, Col = FCaret.Col;
    if (Col > Cols(FText[Ln - 1])) {
        if (Ln == LineCount())
            return;
        ++Ln;
        Col = 1;
    }
    const QString& S = FText[Ln - 1];
    const int N = Cols(S);
    auto CharAt = [&](int C) { return S[IndexOfCol(S, C)]; };
    while (Col <= N && IsWordMoveChar(CharAt(Col)))
        ++Col;
    while (Col <= N && !IsWordMoveChar(CharAt(Col)))
        ++Col;
    MoveCaret({Col, Ln}, Extend);
}

// ---------------------------------------------------------------- editing keys

void TfrSyntaxMemo::DoEnterKey()
{
    if (FReadOnly)
        return;
    if (HasSelection()) {
        PushUndo();
        DeleteSelection();
    }
    const int Ln = FCaret.Line;
    const QString L = Line(Ln);
    const int Split = IndexOfCol(L, FCaret.Col);
    const QString Left = L.left(Split), Right = L.mid(Split);
    Replace(Ln - 1, 1, {Left, Right});
    ShiftBookmarks(Ln - 1, 1);
    PushUndo({1, Ln + 1});
    const int Pad = Blank(Left) ? FCaret.Col - 1 : Indent(Left);
    if (Pad > 0)
        Replace(Ln, 1, {QString(Pad, u' ') + Right});
    FSelActive = false;
    SetCaretPos(Pad + 1, Ln + 1);
    Changed();
}

void TfrSyntaxMemo::DoTab()
{
    if (FReadOnly)
        return;
    if (HasSelection()) {
        PushUndo();
        DeleteSelection();
        SetCaretPos(FCaret.Col, FCaret.Line);
    }
    const int Col = FCaret.Col;
    for (int k = FCaret.Line - 1; k >= 1; --k) {
        const QString T = TrimRight(Line(k));
        if (Cols(T) < Col)
            continue;
        const int N = Cols(T);
        int P = Col;
        auto At = [&](int C) { return T[IndexOfCol(T, C)]; };
        while (P <= N && At(P) != u' ')
            ++P;
        while (P <= N && At(P) == u' ')
            ++P;
        InsertText(QString(P - Col, u' '));
        return;
    }
    Changed();
}

void TfrSyntaxMemo::DoBackspace()
{
    // Read-only or a selection to remove: Backspace does what Delete does.
    if (FReadOnly || HasSelection()) {
        DoDelete();
        return;
    }
    const int Ln = FCaret.Line, Col = FCaret.Col;
    const QString L = Line(Ln);
    if (Col == 1) {
        if (Ln == 1)
            return;
        PushUndo();
        const QString Above = TrimRight(Line(Ln - 1));
        Replace(Ln - 2, 2, {Above + L});
        ShiftBookmarks(Ln - 2, -1);
        SetCaretPos(Cols(Above) + 1, Ln - 1);
        Changed();
        return;
    }
    const bool LineBlank = Blank(L);
    if (LineBlank || (Col == Indent(L) + 1)) {
        // Unindent to the nearest line above with a smaller indent.
        int Target = 0;
        for (int k = Ln - 1; k >= 1; --k) {
            if (Blank(Line(k)))
                continue;
            if (Indent(Line(k)) < Col - 1) {
                Target = Indent(Line(k));
                break;
            }
        }
        PushUndo();
        DeleteRange({Target + 1, Ln}, {Col, Ln});
        SetCaretPos(Target + 1, Ln);
        Changed();
        return;
    }
    if (Col > Cols(L) + 1) {
        SetCaretPos(Col - 1, Ln);   // a blank beyond the text: nothing to delete
        return;
    }
    PushUndo();
    DeleteRange({Col - 1, Ln}, {Col, Ln});
    SetCaretPos(Col - 1, Ln);
    Changed();
}

void TfrSyntaxMemo::DoDelete()
{
    if (FReadOnly)
        return;
    if (HasSelection()) {
        PushUndo();
        DeleteSelection();
        SetCaretPos(FCaret.Col, FCaret.Line);
        Changed();
        return;
    }
    const int Ln = FCaret.Line, Col = FCaret.Col;
    if (Col > Cols(Line(Ln))) {
        if (Ln == LineCount())
            return;
        PushUndo();
        DeleteRange({Col, Ln}, {1, Ln + 1});
    } else {
        PushUndo();
        DeleteRange({Col, Ln}, {Col + 1, Ln});
    }
    SetCaretPos(Col, Ln);
    Changed();
}

void TfrSyntaxMemo::DeleteLine()
{
    if (FReadOnly)
        return;
    PushUndo();
    const int Ln = FCaret.Line;
    FSelActive = false;
    if (LineCount() == 1) {
        Replace(0, 1, {QString()});
    } else {
        Replace(Ln - 1, 1, {});
        for (int& B : FBookmarks)
            if (B > Ln - 1)
                --B;
            else if (B == Ln - 1)
                B = std::min(B, LineCount() - 1);
    }
    SetCaretPos(FCaret.Col, Ln);
    Changed();
}

void TfrSyntaxMemo::ToggleBookmark(int Index)
{
    const int L = FCaret.Line - 1;
    const auto It = std::find(FBookmarks.begin(), FBookmarks.end(), L);
    if (It == FBookmarks.end())
        FBookmarks[Index] = L;
    else if (It - FBookmarks.begin() == Index)
        FBookmarks[Index] = -1;
    Invalidate();
}

// ---------------------------------------------------------------- mouse

void TfrSyntaxMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Shift.Contains(ssDouble))
        return;
    if (Button == mbRight) {
        const QPoint G = mapToGlobal(QPoint(X, Y));
        if (FPopupMenu)
            FPopupMenu->Popup(G.x(), G.y());
        else
            ShowBuiltInMenu(G.x(), G.y());
        return;
    }
    if (Button != mbLeft)
        return;
    SetFocus();
    FDragging = true;
    const TSynPos P = PointToPos(X, Y);
    FSelActive = false;
    SetCaretPos(P.Col, P.Line);
    FAnchor = FCaret;
}

void TfrSyntaxMemo::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const TSynPos P = PointToPos(X, Y);
    FSelActive = true;
    SetCaretPos(P.Col, P.Line);
}

void TfrSyntaxMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDragging = false;
}

void TfrSyntaxMemo::DblClick()
{
    TCustomControl::DblClick();
    FDragging = false;
    SelectWordAtCaret();
}

void TfrSyntaxMemo::SelectWordAtCaret()
{
    const QString& S = Line(FCaret.Line);
    const int N = Cols(S);
    auto At = [&](int C) { return S[IndexOfCol(S, C)]; };
    int From = FCaret.Col, To = FCaret.Col;
    if (From > N || !IsWordMoveChar(At(From)))
        return;
    while (From > 1 && IsWordMoveChar(At(From - 1)))
        --From;
    while (To <= N && IsWordMoveChar(At(To)))
        ++To;
    FAnchor = {From, FCaret.Line};
    FSelActive = true;
    SetCaretPos(To, FCaret.Line);
}

bool TfrSyntaxMemo::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, X, Y))
        return true;
    FTopLine = std::clamp(FTopLine - WheelDelta / 120, 0, std::max(0, LineCount() - 1));
    UpdateScrollBar();
    Invalidate();
    return true;
}

void TfrSyntaxMemo::ShowBuiltInMenu(int X, int Y)
{
    if (!FMenu) {
        FMenu = new TPopupMenu(this);
        FMenu->Items()->Add(QStringLiteral("Cut"), [this](QObject*) { CutToClipboard(); });
        FMenu->Items()->Add(QStringLiteral("Copy"), [this](QObject*) { CopyToClipboard(); });
        FMenu->Items()->Add(QStringLiteral("Paste"), [this](QObject*) { PasteFromClipboard(); });
    }
    FMenu->Popup(X, Y);
}

void TfrSyntaxMemo::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TfrSyntaxMemo::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

// ---------------------------------------------------------------- input method

void TfrSyntaxMemo::inputMethodEvent(QInputMethodEvent* Event)
{
    try {
        if (!Event->commitString().isEmpty()) {
            FResetArmed = false;
            TypeText(Event->commitString());
        }
        FPreedit = Event->preeditString();
        Invalidate();
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
    Event->accept();
}

QVariant TfrSyntaxMemo::inputMethodQuery(Qt::InputMethodQuery Query) const
{
    switch (Query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return QRect(PosToPoint(FCaret), QSize(2, FCellH));
    case Qt::ImFont: return TextAttr()->ToQFont();
    case Qt::ImSurroundingText: return FText[FCaret.Line - 1];
    case Qt::ImCursorPosition: return IndexOfCol(FText[FCaret.Line - 1], FCaret.Col);
    default: return TCustomControl::inputMethodQuery(Query);
    }
}

// ---------------------------------------------------------------- drops

void TfrSyntaxMemo::dragEnterEvent(QDragEnterEvent* Event)
{
    if (!FReadOnly && (Event->mimeData()->hasText() || qobject_cast<QAbstractItemView*>(Event->source())))
        Event->acceptProposedAction();
}

void TfrSyntaxMemo::dragMoveEvent(QDragMoveEvent* Event)
{
    if (!FReadOnly)
        Event->acceptProposedAction();
}

void TfrSyntaxMemo::dropEvent(QDropEvent* Event)
{
    QString Text = Event->mimeData()->text();
    if (auto* Tree = qobject_cast<QAbstractItemView*>(Event->source()))
        Text = Tree->currentIndex().data().toString();
    if (FReadOnly || Text.isEmpty())
        return;
    const QPoint At = Event->position().toPoint();
    const TSynPos P = PointToPos(At.x(), At.y());
    FSelActive = false;
    SetCaretPos(P.Col, P.Line);
    InsertText(Text);
    Event->acceptProposedAction();
}
