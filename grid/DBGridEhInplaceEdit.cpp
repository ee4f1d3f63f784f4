// The data grid's in-place editor: kinds, buttons, pop-ups, keys, completion
// and the MRU drop-down.
#include "grid/DBGridEhInplaceEdit.h"

#include "grid/CalculatorEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhDropDownBox.h"
#include "platform/db/DataSource.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- kinds

namespace {

// Buttons and pop-ups act from mouse events: a failure (a text that is no
// number, a refused write) is shown, never thrown into the event loop.
template <class F> void Guarded(F&& Action)
{
    try {
        Action();
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

} // namespace

TDataSet* ColumnLookupDataSetEh(TColumnEh* Column)
{
    if (!Column)
        return nullptr;
    if (Column->DropDownBox()->ListSource() && Column->DropDownBox()->ListSource()->DataSet())
        return Column->DropDownBox()->ListSource()->DataSet();
    TField* F = Column->Field();
    return F && F->Lookup() ? F->LookupDataSet() : nullptr;
}

TGridEditorKindEh ColumnEditorKindEh(TColumnEh* Column, bool ForPainting)
{
    if (!Column)
        return ekSimple;
    switch (Column->ButtonStyle()) {
    case cbsEllipsis: return ekEllipsis;
    case cbsUpDown: return ekUpDown;
    case cbsDropDown: return ekDropDown;
    case cbsNone: return ekSimple;
    case cbsAuto: break;
    }
    TField* F = Column->Field();
    if (!F)
        return ekSimple;
    if (F->Lookup()) {
        TCustomDBGridEh* G = Column->Grid();
        TDataSet* D = F->DataSet();
        bool Keys = !F->KeyFields().isEmpty() && D;
        if (Keys && !ForPainting) {
            try {
                for (TField* Key : GetFieldsList(D, F->KeyFields()))
                    Keys = Keys && Key->CanModify();
            } catch (const Exception&) {
                Keys = false;
            }
        }
        const bool ReadOnlySet = Column->IsReadOnlyStored() && Column->ReadOnly();
        const bool Editable = G && !G->ReadOnly() && G->DataLink()->Active() && !G->DataLink()->ReadOnly();
        return Keys && !ReadOnlySet && Editable ? ekDataList : ekSimple;
    }
    if (Column->PickList()->Count() > 0 && !Column->ReadOnly() && !(ForPainting && Column->ImageList()))
        return ekPickList;
    switch (F->DataType()) {
    case ftDate:
    case ftDateTime:
        return Column->ReadOnly() ? ekSimple : ekDateCalendar;
    default:
        return ekSimple;
    }
}

std::vector<TCellButtonEh> CellButtonsEh(TColumnEh* Column, int ButtonWidth, bool Flat)
{
    std::vector<TCellButtonEh> Buttons;
    if (!Column || !Column->AlwaysShowEditButton())
        return Buttons;
    switch (ColumnEditorKindEh(Column, true)) {
    case ekSimple: break;
    case ekEllipsis: Buttons.push_back({ButtonWidth, bcsEllipsisEh, nullptr}); break;
    case ekUpDown: Buttons.push_back({ButtonWidth, bcsUpDownEh, nullptr}); break;
    default: Buttons.push_back({ButtonWidth, bcsDropDownEh, nullptr}); break;
    }
    TEditButtonsEh* Extra = Column->EditButtons();
    for (int i = 0; i < Extra->Count(); ++i) {
        const TEditButtonEh* Item = Extra->Items(i);
        if (Item->Visible())
            Buttons.push_back({Item->Width() >= 1 ? Item->Width() + (Flat ? 1 : 0) : ButtonWidth,
                               EditButtonDrawStyleEh(Item->Style()), Item});
    }
    return Buttons;
}

int CellButtonsWidthEh(const std::vector<TCellButtonEh>& Buttons)
{
    int W = 0;
    for (const TCellButtonEh& B : Buttons)
        W += B.Width;
    return W;
}

void PaintCellButtonsEh(TCanvas* Canvas, const QRect& Strip, const std::vector<TCellButtonEh>& Buttons,
                        int ButtonHeight, bool Flat, TColor Background)
{
    TCanvas* C = Canvas;
    const int H = std::min(ButtonHeight, Strip.height());
    int X = Strip.left();
    for (const TCellButtonEh& B : Buttons) {
        QRect R(X, Strip.top(), B.Width, H);
        X += B.Width;
        if (Flat) {
            // A flat button stands apart by a line of the cell's colour.
            C->Brush()->SetColor(Background);
            C->FillRect(QRect(R.left(), R.top(), 1, R.height()));
            R.setLeft(R.left() + 1);
        }
        if (B.Item && B.Item->Style() == ebsGlyphEh) {
            QRect Face = R;
            if (Flat) {
                C->Brush()->SetColor(clBtnFace);
                C->FillRect(Face);
            } else {
                C->DrawEdge(Face, EDGE_RAISED, BF_RECT | BF_MIDDLE);
            }
            const TBitmap* G = B.Item->Glyph();
            if (!G->Empty()) {
                const int W = G->Width() / std::max(1, B.Item->NumGlyphs());
                TCanvasState Clip(C);
                C->IntersectClipRect(R.adjusted(1, 1, -1, -1));
                C->DrawImage(R.left() + (R.width() - W) / 2, R.top() + (R.height() - G->Height()) / 2,
                             G->ToImage().copy(0, 0, W, G->Height()));
            }
        } else {
            PaintButtonControlEh(C, R, Background, B.Kind, 0, Flat, false, true, cbUnchecked);
        }
    }
    if (Strip.height() > H) {
        C->Brush()->SetColor(Background);
        C->FillRect(QRect(Strip.left(), Strip.top() + H, Strip.width(), Strip.height() - H));
    }
}

QLineEdit* TCustomDBGridEh::CreateEditor()
{
    return new TDBGridInplaceEdit(this);
}

bool TCustomDBGridEh::InCellButtons(TGridCoord Cell, QPoint P) const
{
    TColumnEh* C = DataColumn(Cell.X);
    if (!C || !C->AlwaysShowEditButton())
        return false;
    const int Strip = CellButtonsWidthEh(CellButtonsEh(C, ButtonWidth(), Flat()));
    const QRect R = CellRect(Cell.X, Cell.Y);
    if (Strip <= 0 || R.isEmpty())
        return false;
    return UseRightToLeftAlignment() ? P.x() < R.left() + Strip : P.x() >= RectRight(R) - Strip;
}

void TCustomDBGridEh::PressEditorButton(QPoint P)
{
    QLineEdit* E = InplaceEditor();
    if (!E || !EditorMode() || !E->isVisible())
        return;
    const QPoint Local = E->mapFrom(this, P);
    auto* B = dynamic_cast<TEditButtonControlEh*>(E->childAt(Local));
    if (!B)
        return;
    FPressedEditorButton = B;
    const QPoint At = B->mapFrom(this, P);
    QMouseEvent Press(QEvent::MouseButtonPress, At, B->mapToGlobal(At), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(B, &Press);
}

void TCustomDBGridEh::ReleaseEditorButton(int X, int Y)
{
    QWidget* B = FPressedEditorButton;
    FPressedEditorButton.clear();
    if (!B)
        return;
    const QPoint At = B->mapFrom(this, QPoint(X, Y));
    QMouseEvent Release(QEvent::MouseButtonRelease, At, B->mapToGlobal(At), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(B, &Release);
}

// ---------------------------------------------------------------- editor

TDBGridInplaceEdit::TDBGridInplaceEdit(TCustomDBGridEh* AGrid) : TInplaceEdit(AGrid), FGrid(AGrid)
{
    QObject::connect(this, &QLineEdit::textEdited, this, [this] { TextEdited(); });
}

TDBGridInplaceEdit::~TDBGridInplaceEdit()
{
    WatchPresses(false);
}

TColumnEh* TDBGridInplaceEdit::Column() const
{
    // The grid's parts go before its child windows.
    if (FGrid->FDestroying)
        return nullptr;
    const int i = FGrid->SelectedIndex();
    return i >= 0 && i < FGrid->Columns()->Count() ? FGrid->Columns()->Items(i) : nullptr;
}

bool TDBGridInplaceEdit::GridEditable() const
{
    TColumnEh* C = Column();
    return C && C->CanModify(false) && !FGrid->DataLink()->ReadOnly();
}

void TDBGridInplaceEdit::SetEditorKind(TGridEditorKindEh Value)
{
    FKind = Value;
    TColumnEh* C = Column();
    QWidget* Popup = nullptr;
    switch (FKind) {
    case ekPickList:
        if (!FPickList) {
            FPickList = new TPopupListboxEh(this);
            FPickList->OnMouseUp = [this](TPopupListboxEh* L, TMouseButton Button, TShiftState, int X, int Y) {
                if (Button == mbLeft)
                    Guarded([&] { CloseUp(L->rect().contains(X, Y)); });
            };
        }
        Popup = FPickList;
        break;
    case ekDateCalendar:
        if (!FCalendar)
            FCalendar = new TPopupMonthCalendarEh(this, this);
        Popup = FCalendar;
        break;
    case ekDataList:
        Popup = DataList();
        break;
    case ekDropDown:
        if (C && C->Field() && IsNumericFieldType(C->Field()->DataType()) && C->Field()->DataType() != ftAutoInc)
            Popup = CreateCalculator();
        break;
    default:
        break;
    }
    if (FActivePopup && FActivePopup != Popup && FListVisible)
        CloseUp(false);
    FActivePopup = Popup;
    setReadOnly(C ? C->ReadOnly() : false);
}

void TDBGridInplaceEdit::UpdateContents()
{
    CloseMRU(false);
    TColumnEh* C = Column();
    SetEditorKind(ColumnEditorKindEh(C, false));
    if (!C) {
        SetMultiLine(false);
        TInplaceEdit::UpdateContents();
        LayoutButtons();
        return;
    }
    setFont(C->Font()->ToQFont());
    // Word-wrapped cells in rows taller than a line edit in lines.
    SetMultiLine(C->WordWrap() && FGrid->MultiLineRows());
    TColCellParamsEh P;
    C->FillColCellParams(P);
    TFont CellFont;
    CellFont.Assign(*C->Font());
    P.Font = &CellFont;
    P.Col = FGrid->Col();
    P.Row = FGrid->Row();
    P.State = int(TGridDrawState({gdFocused}).Bits());
    P.ReadOnly = !C->CanModify(false);
    TInplaceEdit::UpdateContents(); // the grid's edit text, mask and limit
    P.Text = text();
    FGrid->GetCellParams(C, P.Font, P.Background, TGridDrawState({gdFocused}));
    C->GetColCellParams(true, P);
    QPalette Palette = palette();
    Palette.setColor(QPalette::Base, ColorToQColor(P.Background));
    Palette.setColor(QPalette::Text, ColorToQColor(P.Font->Color()));
    setPalette(Palette);
    const bool Own = !C->CanModify(false);
    FReadOnlyOverridden = P.ReadOnly != Own;
    if (FReadOnlyOverridden)
        setReadOnly(P.ReadOnly);
    if (P.Text != text()) {
        SetLineEditText(this, P.Text);
        setModified(false);
    }
    FMRUList = C->MRUList();
    LayoutButtons();
}

// ---------------------------------------------------------------- buttons

TEditButtonControlEh* TDBGridInplaceEdit::CreateEditButton()
{
    auto* B = new TEditButtonControlEh(this);
    B->resize(10, 17);
    B->setCursor(Qt::ArrowCursor);
    B->show();
    return B;
}

void TDBGridInplaceEdit::resizeEvent(QResizeEvent* Event)
{
    TInplaceEdit::resizeEvent(Event);
    LayoutButtons();
}

void TDBGridInplaceEdit::LayoutButtons()
{
    TColumnEh* C = Column();
    TEditButtonsEh* Extra = C ? C->EditButtons() : nullptr;
    const size_t Wanted = 1 + size_t(Extra ? Extra->Count() : 0);
    while (FButtons.size() > Wanted) {
        delete FButtons.back().Button;
        delete FButtons.back().Separator;
        FButtons.pop_back();
    }
    while (FButtons.size() < Wanted) {
        TButtonPair P{new TShape(this), CreateEditButton()};
        P.Separator->Pen()->SetColor(clBtnFace);
        P.Separator->Brush()->SetColor(clBtnFace);
        TEditButtonControlEh* B = P.Button;
        B->OnMouseDown = [this](TEditButtonControlEh* S, TMouseButton Button, TShiftState, int X, int Y) {
            ButtonMouseDown(S, Button, X, Y);
        };
        B->OnDown = [this, B](QObject*, bool Top, bool& AutoRepeat, bool& Handled) {
            Guarded([&] { ButtonDown(B, Top, AutoRepeat, Handled); });
        };
        B->OnMouseMove = [this](TEditButtonControlEh* S, TShiftState Shift, int X, int Y) {
            ButtonMouseMove(S, Shift, X, Y);
        };
        B->OnMouseUp = [this](TEditButtonControlEh* S, TMouseButton Button, TShiftState, int X, int Y) {
            Guarded([&] { ButtonMouseUp(S, Button, X, Y); });
        };
        B->OnClick = [this, B](QObject*) { Guarded([&] { ButtonClick(B); }); };
        FButtons.push_back(P);
    }
    const bool Flat = FGrid->Flat();
    const int Auto = Flat ? FlatButtonWidthEh() : ScrollBarWidth();
    const int ClientHeight = height();
    auto ButtonHeight = [ClientHeight](int W) {
        return ClientHeight > int(std::lround(W * 1.5)) ? W : ClientHeight;
    };
    const bool RightToLeft = FGrid->UseRightToLeftAlignment();
    int Used = 0;
    for (size_t n = FButtons.size(); n-- > 0;) {
        TEditButtonControlEh* B = FButtons[n].Button;
        int W = Auto;
        bool Visible = true;
        if (n == 0) {
            Visible = FKind != ekSimple;
            B->SetStyle(FKind == ekEllipsis ? ebsEllipsisEh : FKind == ekUpDown ? ebsUpDownEh : ebsDropDownEh);
        } else {
            TEditButtonEh* Item = Extra->Items(int(n) - 1);
            Visible = Item->Visible();
            B->SetStyle(Item->Style());
            B->Glyph()->Assign(*Item->Glyph());
            B->SetNumGlyphs(Item->NumGlyphs());
            B->setToolTip(Item->Hint());
            if (Item->Width() >= 1)
                W = Item->Width();
        }
        B->SetFlat(Flat);
        B->setEnabled(true);
        B->SetActive(true);
        if (!Visible)
            W = 0;
        const int H = ButtonHeight(W);
        const int X = RightToLeft ? Used : width() - Used - W;
        B->setGeometry(X, 0, W, H);
        B->setVisible(Visible && W > 0);
        Used += W;
        const int SW = Flat && Visible ? 1 : 0;
        TShape* S = FButtons[n].Separator;
        S->setGeometry(RightToLeft ? Used : width() - Used - SW, 0, SW, H);
        S->setVisible(SW > 0);
        Used += SW;
    }
    FButtonsWidth = Used;
    setTextMargins(RightToLeft ? Used : 0, 0, RightToLeft ? 0 : Used, 0);
    PlaceWrapEdit();
}

int TDBGridInplaceEdit::ButtonIndex(const TEditButtonControlEh* Sender) const
{
    for (size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i].Button == Sender)
            return int(i);
    return -1;
}

void TDBGridInplaceEdit::ButtonMouseDown(TEditButtonControlEh*, TMouseButton Button, int, int)
{
    if (Button != mbLeft)
        return;
    setFocus();
}

void TDBGridInplaceEdit::ButtonDown(TEditButtonControlEh* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)
{
    const int Index = ButtonIndex(Sender);
    TColumnEh* C = Column();
    if (Index < 0 || !C)
        return;
    // The press that would open the button's menu again only closes it.
    if (FMenuButton == Sender) {
        FMenuButton.clear();
        for (int i = 0; i < C->EditButtons()->Count(); ++i)
            if (TPopupMenu* M = C->EditButtons()->Items(i)->DropdownMenu(); M && M->ShownMenu())
                M->ShownMenu()->hide();
        Sender->CancelPress();
        Handled = true;
        AutoRepeat = false;
        return;
    }
    if (Index > 0) {
        TEditButtonEh* Item = C->EditButtons()->Items(Index - 1);
        if (Item->OnDown)
            Item->OnDown(Sender, TopButton, AutoRepeat, Handled);
        if (!Handled && Item->DropdownMenu()) {
            TPopupMenu* Menu = Item->DropdownMenu();
            const QPoint P = Sender->mapToGlobal(QPoint(0, Sender->height()));
            FMenuButton = Sender;
            Menu->Popup(P.x(), P.y());
            if (QMenu* Shown = Menu->ShownMenu()) {
                QPointer<TEditButtonControlEh> Button(Sender);
                QObject::connect(Shown, &QMenu::aboutToHide, this, [this, Button] {
                    // Cleared once the press that closed the menu is handled.
                    QTimer::singleShot(0, this, [this, Button] {
                        if (FMenuButton == Button)
                            FMenuButton.clear();
                    });
                });
            }
            Sender->CancelPress();
            AutoRepeat = false;
        }
        return;
    }
    if (C->OnEditButtonDown)
        C->OnEditButtonDown(C, TopButton, AutoRepeat, Handled);
    if (Handled)
        return;
    if (FKind == ekUpDown) {
        // Up moves to the previous entry of a list.
        const double Sign = C->GetColumnType() == ctCommon ? 1.0 : -1.0;
        StepValue((TopButton ? Sign : -Sign) * C->Increment());
    } else if (!FButtonDown) {
        DropDown();
        FTracking = FListVisible;
    }
}

void TDBGridInplaceEdit::StepValue(double Amount)
{
    TColumnEh* C = Column();
    if (!C)
        return;
    // The step starts from what the editor shows.
    if (FGrid->FEditText != text())
        FGrid->SetEditText(FGrid->Col(), FGrid->Row(), text());
    C->StepValue(Amount);
}

void TDBGridInplaceEdit::ButtonMouseMove(TEditButtonControlEh* Sender, TShiftState Shift, int X, int Y)
{
    if (ButtonIndex(Sender) != 0 || !FListVisible || !FActivePopup || !Sender->isDown()
        || !Shift.Contains(ssLeft))
        return;
    const QPoint G = Sender->mapToGlobal(QPoint(X, Y));
    const QPoint Local = FActivePopup->mapFromGlobal(G);
    if (!FActivePopup->rect().contains(Local))
        return;
    // A press that started on the button is dragged into the list.
    Sender->CancelPress();
    QMouseEvent Press(QEvent::MouseButtonPress, Local, G, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(FActivePopup, &Press);
}

void TDBGridInplaceEdit::ButtonMouseUp(TEditButtonControlEh* Sender, TMouseButton Button, int X, int Y)
{
    if (ButtonIndex(Sender) != 0 || Button != mbLeft)
        return;
    const QPoint G = Sender->mapToGlobal(QPoint(X, Y));
    if (FListVisible && FActivePopup && FActivePopup == FPickList && FTracking
        && FPickList->rect().contains(FPickList->mapFromGlobal(G)) && !Sender->rect().contains(X, Y)) {
        // Released over the list the press was dragged into.
        FTracking = false;
        CloseUp(true);
        return;
    }
    if (!Sender->rect().contains(X, Y))
        FTracking = false;
}

void TDBGridInplaceEdit::ButtonClick(TEditButtonControlEh* Sender)
{
    const int Index = ButtonIndex(Sender);
    TColumnEh* C = Column();
    if (Index < 0 || !C)
        return;
    bool Handled = false;
    if (Index == 0 && (FKind == ekEllipsis || (FKind == ekDropDown && !FActivePopup)))
        FGrid->EditButtonClick();
    if (Index == 0) {
        if (C->OnEditButtonClick)
            C->OnEditButtonClick(C, Handled);
    } else if (TEditButtonEh* Item = C->EditButtons()->Items(Index - 1); Item->OnClick) {
        Item->OnClick(Sender, Handled);
    }
    if (!Handled && FListVisible && !FTracking && Index == 0)
        CloseUp(false);
    FTracking = false;
}

// ---------------------------------------------------------------- pending values

QString TDBGridInplaceEdit::SetEditorText(const QString& Text, int SelStart, int SelLength)
{
    const QString Kept = SetLineEditText(this, Text);
    const int Size = int(text().size());
    SelStart = std::min(SelStart, Size);
    SelLength = std::min(SelLength, Size - SelStart);
    if (SelLength > 0)
        setSelection(SelStart, SelLength);
    else
        setCursorPosition(SelStart);
    return Kept;
}

// The text the grid will store; the record is already in edit state.
// The open lookup list follows every key the editor makes pending.
void TDBGridInplaceEdit::SetPendingKey(const Variant& Key)
{
    FGrid->FEditKeyValue = Key;
    if (FListVisible && FDataList && FActivePopup == FDataList)
        FDataList->SetKeyValue(Key);
}

void TDBGridInplaceEdit::SetPendingText(const QString& Text)
{
    FGrid->FEditText = Text;
    FGrid->DataLink()->SetModified();
    setModified(true);
}

void TDBGridInplaceEdit::RederivePending()
{
    SetPendingText(text());
    TColumnEh* C = Column();
    TDataSet* List = ColumnLookupDataSetEh(C);
    if (FKind == ekDataList && List) {
        TField* F = C->Field();
        if (List->Locate(F->LookupResultField(), Variant(text()), loCaseInsensitive)) {
            SetPendingKey(GetFieldValues(List, F->LookupKeyFields()));
        } else {
            SetPendingKey(Variant::Null());
        }
    }
    if (FPickList && FListVisible && FActivePopup == FPickList) {
        int Found = -1;
        for (int i = 0; i < FPickList->Items()->Count(); ++i)
            if (FPickList->Items()->Strings(i).compare(FGrid->FEditText, Qt::CaseInsensitive) == 0) {
                Found = i;
                break;
            }
        FPickList->SetItemIndex(Found);
    }
}

// The new text matched against the pick list or the lookup dataset; Typed
// characters of it are the user's, the rest is completed and selected.
bool TDBGridInplaceEdit::MatchText(const QString& NewText, int Typed)
{
    TColumnEh* C = Column();
    TField* F = C->Field();
    TDataSet* List = ColumnLookupDataSetEh(C);
    const bool NotInList = bool(C->OnNotInList);
    if (FKind == ekDataList && List) {
        if (List->Locate(F->LookupResultField(), Variant(NewText), loCaseInsensitive | loPartialKey)) {
            if (!FGrid->CanEditModify())
                return true;
            const QString Found = List->FieldByName(F->LookupResultField())->Text();
            const QString Kept = SetEditorText(Found, Typed, int(Found.size()) - Typed);
            SetPendingKey(GetFieldValues(List, F->LookupKeyFields()));
            SetPendingText(Kept);
            return true;
        }
        if (NotInList && FGrid->CanEditModify()) {
            const QString Kept = SetEditorText(NewText, int(NewText.size()), 0);
            SetPendingKey(Variant::Null());
            SetPendingText(Kept);
            return true;
        }
        return false;
    }
    const TStringList* Picks = C->PickList();
    for (int i = 0; i < Picks->Count(); ++i) {
        const QString Entry = Picks->Strings(i);
        if (Entry.left(NewText.size()).compare(NewText, Qt::CaseInsensitive) != 0)
            continue;
        if (!FGrid->CanEditModify())
            return true;
        SetPendingText(SetEditorText(Entry, Typed, int(Entry.size()) - Typed));
        if (FPickList && FListVisible && FActivePopup == FPickList)
            FPickList->SetItemIndex(FPickList->Items()->IndexOf(Entry));
        return true;
    }
    if (NotInList && C->GetColumnType() == ctKeyPickList && FGrid->CanEditModify()) {
        const QString Kept = SetEditorText(NewText, int(NewText.size()), 0);
        SetPendingKey(Variant::Null());
        SetPendingText(Kept);
        if (FPickList && FListVisible && FActivePopup == FPickList)
            FPickList->SetItemIndex(-1);
        return true;
    }
    return false;
}

// Typed characters against the pick list or the lookup dataset; True when
// they were used (or dropped) here.
bool TDBGridInplaceEdit::CompleteTyped(const QString& Typed)
{
    TColumnEh* C = Column();
    if (!C || !GridEditable() || isReadOnly())
        return false;
    const bool Back = Typed == QString(QChar(VK_BACK));
    const TColumnEhType Type = C->GetColumnType();
    const bool Lookup = FKind == ekDataList && ColumnLookupDataSetEh(C);
    const bool Picks = FKind == ekPickList || Type == ctKeyPickList;
    if (!Lookup && !Picks)
        return false;
    if (Back)
        return Lookup || Type == ctKeyPickList;
    const int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString NewText = text().left(Start) + Typed;
    if (MatchText(NewText, int(NewText.size())))
        return true;
    // Unmatched characters are dropped where only list values are allowed.
    return Lookup || Type == ctKeyPickList;
}

bool TDBGridInplaceEdit::Paste()
{
    TColumnEh* C = Column();
    if (!C || !GridEditable())
        return true;
    const bool Special = FKind == ekDataList || C->GetColumnType() == ctKeyPickList;
    if (!Special)
        return false;
    const QString Clip = PlainTextOf(QGuiApplication::clipboard()->mimeData());
    if (Clip.isEmpty())
        return true;
    const int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int End = hasSelectedText() ? Start + int(selectedText().size()) : Start;
    const QString NewText = text().left(Start) + Clip + text().mid(End);
    MatchText(NewText, Start + int(Clip.size()));
    return true;
}

// ---------------------------------------------------------------- keys

void TDBGridInplaceEdit::keyPressEvent(QKeyEvent* Event)
{
    const int Key = VirtualKeyFromQt(Event);
    const TShiftState Shift = ShiftStateFromQt(Event->modifiers(), Qt::NoButton);
    const QString Text = Event->text();
    try {
        if (PopupKey(Key, Shift, Text) || MRUKey(Key, Shift) || EditorKeyDown(Key, Shift)) {
            Event->accept();
            return;
        }
        if (Event->matches(QKeySequence::Paste)) {
            if (Paste()) {
                Event->accept();
                return;
            }
        } else if (!Text.isEmpty() && (Text[0].unicode() >= 32 || Key == VK_BACK) && !Shift.Contains(ssCtrl)
                   && !Shift.Contains(ssAlt)) {
            // A surrogate pair arrives whole and stays whole.
            if (CompleteTyped(Key == VK_BACK ? QString(QChar(VK_BACK)) : Text)) {
                Event->accept();
                return;
            }
        }
    } catch (const std::exception& E) {
        Event->accept();
        Application()->HandleException(E);
        return;
    }
    TInplaceEdit::keyPressEvent(Event);
}

// Letting go of Ctrl finishes a sort marking in the open lookup list.
void TDBGridInplaceEdit::keyReleaseEvent(QKeyEvent* Event)
{
    TInplaceEdit::keyReleaseEvent(Event);
    if (Event->key() == Qt::Key_Control && FListVisible && FDataList && FActivePopup == FDataList) {
        int Key = VK_CONTROL;
        FDataList->KeyUp(Key, ShiftStateFromQt(Event->modifiers(), Qt::NoButton));
    }
}

// Keys while a pop-up can open: the pick list, the lookup list, the
// calendar and the calculator.
bool TDBGridInplaceEdit::PopupKey(int Key, TShiftState Shift, const QString& Text)
{
    if (!FActivePopup)
        return false;
    const bool Visible = FListVisible;
    const bool Alt = Shift.Contains(ssAlt), Ctrl = Shift.Contains(ssCtrl);
    const bool Calculator = FActivePopup == FCalculator;
    if (Visible && (Calculator || FActivePopup == FDataList) && OwnPopupKey(Key, Shift, Text))
        return true;
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && Visible && !Alt && !Calculator && !Ctrl) {
        CloseUp(Key == VK_RETURN);
        return true;
    }
    if (Key == VK_RETURN && Ctrl && !Visible) {
        DropDown();
        return true;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && Alt) {
        if (Visible)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (!Visible && !Text.isEmpty() && Text[0].unicode() >= 32 && !Ctrl && !Alt) {
        TColumnEh* C = Column();
        if (C && C->AutoDropDown())
            DropDown(); // then the character is typed
        return false;
    }
    if (!Visible)
        return false;
    const bool Nav = ((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && !Shift.Contains(ssShift))
        || ((Key == VK_HOME || Key == VK_END) && Ctrl)
        || ((Key == VK_LEFT || Key == VK_RIGHT) && FActivePopup == FCalendar);
    if (!Nav)
        return false;
    if (FActivePopup == FPickList)
        FPickList->HandleKey(Key, Shift);
    else if (FActivePopup == FCalendar)
        FCalendar->HandleKey(Key, Shift);
    FollowList();
    return true;
}

// While browsing the pick list the editor shows the entry under the cursor.
void TDBGridInplaceEdit::FollowList()
{
    if (FActivePopup != FPickList || FPickList->ItemIndex() < 0)
        return;
    const QString Item = FPickList->Items()->Strings(FPickList->ItemIndex());
    if (Item != text())
        SetEditorText(Item, 0, int(Item.size()));
}

bool TDBGridInplaceEdit::MRUKey(int Key, TShiftState Shift)
{
    if (!MRUDroppedDown())
        return false;
    const bool Alt = Shift.Contains(ssAlt), Ctrl = Shift.Contains(ssCtrl);
    if (((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && !Alt)
        || ((Key == VK_HOME || Key == VK_END) && Ctrl)) {
        FMRUListbox->HandleKey(Key, Shift);
        return true;
    }
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        CloseMRU(Key == VK_RETURN);
        return true;
    }
    return false;
}

bool TDBGridInplaceEdit::EditorKeyDown(int Key, TShiftState Shift)
{
    TColumnEh* C = Column();
    if (!C)
        return false;
    const bool Plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const bool Ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt);
    const TColumnEhType Type = C->GetColumnType();
    const bool ListColumn = Type == ctLookupField || Type == ctKeyPickList;
    // 1. Ctrl+Enter reports the button click and types nothing.
    if ((FKind == ekEllipsis || (FKind == ekDropDown && !FActivePopup)) && Ctrl && Key == VK_RETURN) {
        FGrid->EditButtonClick();
        return true;
    }
    // 2, 3. Delete and Backspace in a column that only takes list values.
    if ((Key == VK_DELETE || Key == VK_BACK) && Plain && ListColumn)
        return ListValueKey(Key);
    // 6, 7. Ctrl+' copies from the record above; Ctrl+F starts a search.
    if ((Ctrl && Key == VK_OEM_7) || (Ctrl && Key == 'F' && FGrid->OptionsEh().Contains(dghIncSearch))) {
        int K = Key;
        FGrid->KeyDown(K, Shift);
        return true;
    }
    // 8. The special row's short cut picks it.
    const TShortCut Pressed = ShortCut(Key, Shift);
    if (FKind == ekDataList && C->DropDownSpecRow()->Visible() && Pressed == C->DropDownSpecRow()->ShortCut()) {
        if (C->CanModify(false) && FGrid->CanEditModify()) {
            TSpecRowEh* Row = C->DropDownSpecRow();
            const QString T = Row->CellText(0);
            SetPendingText(SetEditorText(T, 0, int(T.size())));
            SetPendingKey(Row->Value());
        }
        return true;
    }
    // 9. An extra button's short cut presses and clicks it.
    for (int i = 0; i < C->EditButtons()->Count(); ++i) {
        TEditButtonEh* Item = C->EditButtons()->Items(i);
        if (Item->ShortCut() == 0 || Item->ShortCut() != Pressed || size_t(i + 1) >= FButtons.size())
            continue;
        TEditButtonControlEh* B = FButtons[size_t(i) + 1].Button;
        bool AutoRepeat = false, Handled = false;
        ButtonDown(B, false, AutoRepeat, Handled);
        ButtonClick(B);
        return true;
    }
    return false;
}

// Delete and Backspace where only list values may stand: they remove what a
// completion selected, and re-derive the pending text and key.
bool TDBGridInplaceEdit::ListValueKey(int Key)
{
    TColumnEh* C = Column();
    const TColumnEhType Type = C->GetColumnType();
    if (Key == VK_DELETE) {
        if (!C->CanModify(false))
            return false;
        const bool All = selectionStart() == 0 && selectedText().size() == text().size();
        if (All) {
            if (FKind == ekDataList && FGrid->CanEditModify()) {
                SetPendingKey(Variant::Null());
                SetEditorText(QString(), 0, 0);
                SetPendingText(QString());
            } else if (FKind == ekPickList && Type == ctKeyPickList && FGrid->CanEditModify()) {
                SetEditorText(QString(), 0, 0);
                SetPendingText(QString());
            }
            return true;
        }
        if (!C->OnNotInList)
            return true;
        if (hasSelectedText() && FGrid->CanEditModify()) {
            const int Start = selectionStart();
            SetEditorText(text().remove(Start, selectedText().size()), Start, 0);
            RederivePending();
        }
        return true;
    }
    // Backspace without OnNotInList only moves the caret.
    if (!C->OnNotInList) {
        cursorBackward(false);
        return true;
    }
    if (!C->CanModify(false) || !FGrid->CanEditModify())
        return true;
    int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    QString T = text();
    if (hasSelectedText())
        T.remove(Start, selectedText().size());
    if (Start > 0) {
        // One character, a surrogate pair included.
        const int Width = Start >= 2 && T[Start - 1].isLowSurrogate() ? 2 : 1;
        T.remove(Start - Width, Width);
        Start -= Width;
    }
    SetEditorText(T, Start, 0);
    RederivePending();
    return true;
}

// ---------------------------------------------------------------- pop-ups

void TDBGridInplaceEdit::DropDown()
{
    TColumnEh* C = Column();
    if (FListVisible || !FActivePopup || !C)
        return;
    QWidget* Popup = FActivePopup;
    const QColor Base = palette().color(QPalette::Base);
    int Width = width();
    if (Popup == FPickList) {
        FPickList->SetColor(QColorToColor(Base));
        FPickList->Font()->Assign(*C->Font());
        TStringList* Items = FPickList->Items();
        Items->BeginUpdate();
        Items->Clear();
        const int Keys = C->KeyList()->Count();
        const int Count = Keys > 0 ? std::min(Keys, C->PickList()->Count()) : C->PickList()->Count();
        for (int i = 0; i < Count; ++i)
            Items->AddObject(C->PickList()->Strings(i), C->PickList()->Objects(i));
        Items->EndUpdate();
        FPickList->SetRowCount(std::min(Count, C->DropDownRows()));
        int Selected = -1;
        if (C->Field() && !C->Field()->IsNull())
            Selected = Keys > 0 ? C->PickList()->IndexOf(text()) : Items->IndexOf(text());
        FPickList->SetItemIndex(Selected);
        const int Extra = 2 * FPickList->BorderWidth() + (Count > FPickList->RowCount() ? ScrollBarWidth() : 0);
        Width = std::max(Width, FPickList->WidestItemWidth() + 4 + Extra);
        FPickList->resize(Width, FPickList->height());
        FListValue = Variant();
    } else if (Popup == FCalendar) {
        QPalette P = FCalendar->palette();
        P.setColor(QPalette::Base, Base);
        FCalendar->setPalette(P);
        FCalendar->setFont(font());
        // Text that is no date starts the calendar at today rather than failing.
        TDateTime D = Date();
        if (!text().trimmed().isEmpty() && !TryStrToDate(text(), D, FormatSettings()))
            D = Date();
        FCalendar->setSelectedDate(DateTimeToQDate(D));
        const int B = 2 * FCalendar->BorderWidth();
        FCalendar->resize(FCalendar->minimumSizeHint() + QSize(B, B));
        Width = FCalendar->width();
    } else if (!PrepareOwnPopup(Popup, Width)) {
        return;
    }
    const QRect Anchor(mapToGlobal(QPoint(0, 0)), size());
    const TDropDownPlacementEh Place =
        PlaceDropDownEh(Anchor, QSize(Width, Popup->height()), taLeftJustify, ScreenWorkArea());
    TSizeGripEh* Grip = Popup == FPickList ? FPickList->SizeGrip()
                        : Popup == FDataList && FDataList ? FDataList->SizeGrip()
                                                          : nullptr;
    if (Grip) {
        Grip->setVisible(C->DropDownSizing());
        Grip->ChangeSide(Place.VertSide);
        Grip->ChangeSide(Place.HorzSide);
    }
    CloseMRU(false);
    Popup->setGeometry(Place.Bounds);
    Popup->show();
    if (Popup == FPickList)
        FPickList->SetResized(false);
    else if (Popup == FDataList && FDataList)
        FDataList->SetResized(false);
    FListVisible = true;
    FButtonDown = true;
    WatchPresses(true);
    update();
    setFocus();
    if (!FButtons.empty())
        FButtons[0].Button->SetAlwaysDown(true);
}

void TDBGridInplaceEdit::CloseUp(bool Accept)
{
    if (FActivePopup && QApplication::focusWidget() && InsidePopup(QApplication::focusWidget()))
        setFocus();
    if (!FListVisible || !FActivePopup)
        return;
    TColumnEh* C = Column();
    if (!FButtons.empty())
        FButtons[0].Button->SetAlwaysDown(false);
    if (QWidget::mouseGrabber())
        QWidget::mouseGrabber()->releaseMouse();
    QWidget* Popup = FActivePopup;
    bool Selected = false;
    if (Popup == FPickList && C) {
        const int i = FPickList->ItemIndex();
        Selected = i >= 0;
        if (Selected)
            FListValue = C->KeyList()->Count() > 0 && i < C->KeyList()->Count() ? Variant(C->KeyList()->Strings(i))
                                                                                 : Variant(FPickList->Items()->Strings(i));
        if (FPickList->Resized()) {
            C->SetDropDownRows((FPickList->height() - 2 * FPickList->BorderWidth()) / std::max(1, FPickList->ItemHeight()));
            C->SetDropDownWidth(FPickList->width());
        }
    }
    Popup->hide();
    FListVisible = false;
    FButtonDown = false;
    WatchPresses(false);
    update();
    if (Popup == FCalculator || (Popup == FDataList && FDataList)) {
        CloseOwnPopup(Popup, Accept && C && GridEditable(), C);
        return;
    }
    if (!C)
        return;
    if (!Accept) {
        if (Popup == FPickList)
            SetEditorText(FGrid->FEditText, 0, int(FGrid->FEditText.size()));
        return;
    }
    if (!GridEditable())
        return;
    if (Popup == FCalendar) {
        if (C->CanModify(true)) {
            const TDateTime D = QDateToDateTime(FCalendar->selectedDate());
            C->UpdateData(DateToStr(D), Variant::FromDateTime(D), false);
        }
    } else if (Popup == FPickList && Selected && FGrid->CanEditModify()) {
        // Nothing chosen leaves the text as it is.
        const int i = FPickList->ItemIndex();
        const QString T = C->KeyList()->Count() > 0 ? FPickList->Items()->Strings(i) : VarToStr(FListValue);
        SetPendingText(SetEditorText(T, 0, int(T.size())));
    }
}

bool TDBGridInplaceEdit::InsidePopup(QWidget* W) const
{
    for (QWidget* P : std::initializer_list<QWidget*>{FActivePopup.data(), FMRUListbox})
        if (P && W && (W == P || P->isAncestorOf(W)))
            return true;
    return false;
}

void TDBGridInplaceEdit::WatchPresses(bool On)
{
    const bool Want = On || FListVisible || MRUDroppedDown();
    if (Want == FWatching)
        return;
    FWatching = Want;
    if (Want)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

// A press anywhere but on the editor and the open pop-ups is the cancel mode.
bool TDBGridInplaceEdit::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::MouseButtonPress && Watched->isWidgetType()) {
        auto* W = static_cast<QWidget*>(Watched);
        if (W != this && !isAncestorOf(W) && !InsidePopup(W)) {
            CloseUp(false);
            CloseMRU(false);
        }
    }
    return TInplaceEdit::eventFilter(Watched, Event);
}

void TDBGridInplaceEdit::hideEvent(QHideEvent* Event)
{
    if (FGrid->FDestroying) {
        TInplaceEdit::hideEvent(Event);
        return;
    }
    CloseUp(false);
    CloseMRU(false);
    TInplaceEdit::hideEvent(Event);
}

void TDBGridInplaceEdit::focusOutEvent(QFocusEvent* Event)
{
    QWidget* To = QApplication::focusWidget();
    QWidget* Active = QApplication::activeWindow();
    if (!FGrid->FDestroying && Active && InsidePopup(Active)) {
        // A platform that activates the pop-up anyway: the editor takes the focus back.
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) {
                window()->activateWindow();
                setFocus();
            }
        });
        TInplaceEdit::focusOutEvent(Event);
        return;
    }
    if (!FGrid->FDestroying && (!To || !InsidePopup(To))) {
        CloseUp(false);
        CloseMRU(false);
    }
    TInplaceEdit::focusOutEvent(Event);
}

void TDBGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* Event)
{
    TColumnEh* C = Column();
    if (C && C->DblClickNextVal()) {
        Guarded([&] { StepValue(Event->modifiers().testFlag(Qt::ShiftModifier) ? -1.0 : 1.0); });
        return;
    }
    TInplaceEdit::mouseDoubleClickEvent(Event);
}

void TDBGridInplaceEdit::wheelEvent(QWheelEvent* Event)
{
    if (FListVisible) {
        Event->accept();
        return;
    }
    TInplaceEdit::wheelEvent(Event);
}

// The menu's paste completes in list columns as Ctrl+V does.
void TDBGridInplaceEdit::contextMenuEvent(QContextMenuEvent* Event)
{
    ExecEditContextMenuEh(this, Event->globalPos(), [this] {
        Guarded([&] {
            if (!Paste())
                LineEditPaste(this);
        });
    });
}

// ---------------------------------------------------------------- MRU drop-down

TMRUListboxEh* TDBGridInplaceEdit::CreateMRUListbox()
{
    auto* L = new TMRUListboxEh(this);
    L->OnMouseUp = [this](TPopupListboxEh* List, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == mbLeft)
            Guarded([&] { CloseMRU(List->rect().contains(X, Y)); });
    };
    L->SizeGrip()->OnParentResized = [this](TSizeGripEh*) { RememberMRUSize(); };
    return L;
}

bool TDBGridInplaceEdit::MRUDroppedDown() const
{
    return FMRUListbox && FMRUListbox->isVisible();
}

QRect TDBGridInplaceEdit::TextRectOnScreen() const
{
    const bool RightToLeft = FGrid->UseRightToLeftAlignment();
    const QRect R(RightToLeft ? FButtonsWidth : 0, 0, std::max(0, width() - FButtonsWidth), height());
    return QRect(mapToGlobal(R.topLeft()), R.size());
}

void TDBGridInplaceEdit::TextEdited()
{
    if (MRUDroppedDown() && text().isEmpty()) {
        CloseMRU(false);
        return;
    }
    if (FMRUList && FMRUList->Active() && isVisible() && !FListVisible && !text().isEmpty())
        RefreshMRU();
}

void TDBGridInplaceEdit::RefreshMRU()
{
    if (!FMRUListbox)
        FMRUListbox = CreateMRUListbox();
    TStringList* Items = FMRUListbox->Items();
    Items->BeginUpdate();
    Items->Clear();
    for (int i = 0; i < FMRUList->Items()->Count(); ++i) {
        const QString S = FMRUList->Items()->Strings(i);
        if (FMRUList->FilterItem(S, text()))
            Items->Add(S);
    }
    Items->EndUpdate();
    if (Items->Count() == 0) {
        CloseMRU(false);
        return;
    }
    const QRect Text = TextRectOnScreen();
    if (!MRUDroppedDown()) {
        FMRUListbox->SetColor(QColorToColor(palette().color(QPalette::Base)));
        if (TColumnEh* C = Column())
            FMRUListbox->Font()->Assign(*C->Font());
        FMRUListbox->SetItemIndex(-1);
        const int Remembered = FMRUList->DropDownWidth();
        FMRUListbox->resize(Remembered > Text.width() ? Remembered : Text.width(), FMRUListbox->height());
    }
    FMRUListbox->SetRowCount(std::min(Items->Count(), FMRUList->Rows()));
    const TDropDownPlacementEh Place =
        PlaceDropDownEh(Text, FMRUListbox->size(), taLeftJustify, ScreenWorkArea());
    FMRUListbox->SizeGrip()->ChangeSide(Place.VertSide);
    FMRUListbox->SizeGrip()->ChangeSide(Place.HorzSide);
    FMRUListbox->setGeometry(Place.Bounds);
    if (!MRUDroppedDown()) {
        FMRUListbox->SizeGrip()->show();
        FMRUListbox->show();
        FMRUListbox->SetResized(false);
        FMRUList->SetDroppedDown(true);
        WatchPresses(true);
    }
}

void TDBGridInplaceEdit::RememberMRUSize()
{
    if (!FMRUList || !MRUDroppedDown())
        return;
    FMRUList->SetRows(FMRUListbox->RowCount());
    FMRUList->SetDropDownWidth(FMRUListbox->width());
}

void TDBGridInplaceEdit::CloseMRU(bool Accept)
{
    if (!MRUDroppedDown())
        return;
    if (QWidget::mouseGrabber() == FMRUListbox)
        FMRUListbox->releaseMouse();
    const int i = FMRUListbox->ItemIndex();
    const QString Item = i >= 0 ? FMRUListbox->Items()->Strings(i) : QString();
    FMRUListbox->hide();
    if (FMRUList)
        FMRUList->SetDroppedDown(false);
    WatchPresses(false);
    if (!Accept || isReadOnly() || i < 0 || !FGrid->CanEditModify())
        return;
    SetPendingText(SetEditorText(Item, 0, int(Item.size())));
}
