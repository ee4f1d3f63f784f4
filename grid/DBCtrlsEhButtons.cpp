// The edit's buttons beside the text and its drop-down of earlier entries.
#include "grid/DBCtrlsEh.h"

#include "grid/ToolCtrlsEh.h"
#include "platform/gui/Menus.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"

#include <QApplication>
#include <QScreen>

std::unique_ptr<TEditButtonEh> TCustomDBEditEh::CreateEditButton()
{
    return std::make_unique<TEditButtonEh>(nullptr, this);
}

TEditButtonEh* TCustomDBEditEh::EditButton() const
{
    if (!FEditButton) {
        auto* Self = const_cast<TCustomDBEditEh*>(this);
        FEditButton = Self->CreateEditButton();
        FEditButton->OnChange = [Self](TEditButtonEh*) { Self->LayoutButtons(); };
    }
    return FEditButton.get();
}

void TCustomDBEditEh::ResetEditButton()
{
    FEditButton.reset();
    LayoutButtons();
}

TEditButtonControlEh* TCustomDBEditEh::EditButtonControl(int Index) const
{
    return Index >= 0 && Index < int(FButtonControls.size()) ? FButtonControls[size_t(Index)] : nullptr;
}

// Main button innermost, the last extra button outermost, each as high as
// the text area; with Flat a one-pixel gap stands in front of each.
void TCustomDBEditEh::LayoutButtons()
{
    const int Count = 1 + FEditButtons->Count();
    while (int(FButtonControls.size()) > Count) {
        delete FButtonControls.back();
        FButtonControls.pop_back();
    }
    while (int(FButtonControls.size()) < Count) {
        const int Index = int(FButtonControls.size());
        auto* C = new TEditButtonControlEh(this);
        C->setFocusPolicy(Qt::NoFocus);
        C->setCursor(Qt::ArrowCursor);
        C->OnDown = [this, Index](QObject*, bool Top, bool& AutoRepeat, bool&) { ButtonDown(Index, Top, AutoRepeat); };
        C->OnClick = [this, Index](QObject*) { ButtonClick(Index); };
        FButtonControls.push_back(C);
    }
    const int Frame = FFlat ? 1 : 2;
    int Right = width() - Frame;
    for (int i = Count - 1; i >= 0; --i) {
        TEditButtonEh* B = i == 0 ? EditButton() : FEditButtons->Items(i - 1);
        TEditButtonControlEh* C = FButtonControls[size_t(i)];
        if (!B->Visible()) {
            C->hide();
            continue;
        }
        const int W = B->Width() >= 1 ? B->Width() : FFlat ? FlatButtonWidthEh() : ScrollBarWidth();
        C->SetStyle(B->Style());
        C->Glyph()->Assign(*B->Glyph());
        C->SetNumGlyphs(B->NumGlyphs());
        C->SetFlat(FFlat);
        C->SetActive(true);
        C->setToolTip(B->Hint());
        C->setGeometry(Right - W, Frame, W, height() - 2 * Frame);
        C->show();
        Right -= W + (FFlat ? 1 : 0);
    }
    FButtonsWidth = width() - Frame - Right;
    LayoutChanged();
}

void TCustomDBEditEh::ButtonDown(int Index, bool TopButton, bool& AutoRepeat)
{
    setFocus(Qt::MouseFocusReason);
    TEditButtonEh* B = Index == 0 ? EditButton() : FEditButtons->Items(Index - 1);
    bool Handled = false;
    if (Index == 0) {
        if (OnButtonDown)
            OnButtonDown(this, TopButton, AutoRepeat, Handled);
    } else if (B->OnDown) {
        B->OnDown(this, TopButton, AutoRepeat, Handled);
    }
    if (Handled)
        return;
    if (TPopupMenu* Menu = B->DropdownMenu()) {
        TEditButtonControlEh* C = FButtonControls[size_t(Index)];
        const QPoint P = C->mapToGlobal(QPoint(0, C->height()));
        Menu->Popup(P.x(), P.y());
        return;
    }
    if (Index == 0)
        PressMainButton(TopButton);
}

void TCustomDBEditEh::ButtonClick(int Index)
{
    bool Handled = false;
    if (Index == 0) {
        if (OnButtonClick)
            OnButtonClick(this, Handled);
    } else if (TEditButtonEh* B = FEditButtons->Items(Index - 1); B->OnClick) {
        B->OnClick(this, Handled);
    }
}

void TCustomDBEditEh::PressMainButton(bool TopButton)
{
    (void)TopButton;
    if (EditButton()->Style() != ebsDropDownEh)
        return;
    if (MRUDroppedDown())
        CloseMRUList(false);
    else if (FMRUList->Active())
        UpdateMRUList(true);
}

// A short cut of the main button (when the edit is enabled and linked) or
// of an extra button presses and clicks it.
bool TCustomDBEditEh::ShortCutKeyDown(int& Key, TShiftState Shift)
{
    const TShortCut SC = ShortCut(Key, Shift);
    const bool Linked = isEnabled() && (IsUnbound() || FDataLink->Active());
    for (int i = 0; i <= FEditButtons->Count(); ++i) {
        TEditButtonEh* B = i == 0 ? EditButton() : FEditButtons->Items(i - 1);
        if (B->ShortCut() == 0 || B->ShortCut() != SC || (i == 0 && !Linked))
            continue;
        bool AutoRepeat = false;
        ButtonDown(i, false, AutoRepeat);
        ButtonClick(i);
        Key = 0;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- MRU drop-down

bool TCustomDBEditEh::MRUDroppedDown() const
{
    return FMRUListbox && FMRUListbox->isVisible();
}

// The items that start with the typed text (all of them for the button),
// under the edit or above it when there is no room.
void TCustomDBEditEh::UpdateMRUList(bool ShowAll)
{
    const QString Typed = ShowAll ? QString() : text();
    if (!ShowAll && Typed.isEmpty()) {
        CloseMRUList(false);
        return;
    }
    if (!FMRUListbox) {
        FMRUListbox = new TMRUListboxEh(this);
        FMRUListbox->OnMouseUp = [this](TPopupListboxEh* Sender, TMouseButton, TShiftState, int X, int Y) {
            CloseMRUList(QRect(QPoint(0, 0), Sender->size()).contains(X, Y));
        };
    }
    TStringList* Items = FMRUListbox->Items();
    Items->Clear();
    const TStringList* All = FMRUList->Items();
    for (int i = 0; i < All->Count(); ++i)
        if (FMRUList->FilterItem(All->Strings(i), Typed))
            Items->Add(All->Strings(i));
    if (Items->Count() == 0) {
        CloseMRUList(false);
        return;
    }
    FMRUListbox->Font()->SetFromQFont(font());
    FMRUListbox->SetItemIndex(-1);
    FMRUListbox->SetRowCount(std::min(Items->Count(), FMRUList->Rows()));
    const QRect TextRect = GetEditRect();
    int W = TextRect.width();
    if (FMRUList->DropDownWidth() > W)
        W = FMRUList->DropDownWidth();
    const QRect Anchor(mapToGlobal(TextRect.topLeft()), TextRect.size());
    const QScreen* S = screen();
    const QRect Work = S ? S->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    const TDropDownPlacementEh P = PlaceDropDownEh(Anchor, QSize(W, FMRUListbox->height()), taLeftJustify, Work);
    FMRUListbox->setGeometry(P.Bounds);
    if (!FMRUListbox->isVisible()) {
        FMRUListbox->SetResized(false);
        FMRUListbox->show();
    }
    FMRUList->SetDroppedDown(true);
}

void TCustomDBEditEh::CloseMRUList(bool Accept)
{
    if (!MRUDroppedDown())
        return;
    if (FMRUListbox->Resized()) {
        FMRUList->SetRows(FMRUListbox->RowCount());
        FMRUList->SetDropDownWidth(FMRUListbox->width());
    }
    FMRUListbox->hide();
    FMRUList->SetDroppedDown(false);
    const int Index = FMRUListbox->ItemIndex();
    if (!Accept || Index < 0 || CheckReadOnly() || !FDataLink->Edit())
        return;
    SetControlText(FMRUListbox->Items()->Strings(Index));
    FDataLink->SetModified();
    if (FFocused)
        SelectAllText();
}

// While the list is open its navigation keys go to it; Enter takes the
// entry and Esc closes it.
bool TCustomDBEditEh::MRUKeyDown(int& Key, TShiftState Shift)
{
    if (!MRUDroppedDown())
        return false;
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        CloseMRUList(Key == VK_RETURN);
        Key = 0;
        return true;
    }
    const bool Nav = ((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && !Shift.Contains(ssAlt))
                     || ((Key == VK_HOME || Key == VK_END) && Shift.Contains(ssCtrl));
    if (!Nav)
        return false;
    FMRUListbox->HandleKey(Key, Shift);
    Key = 0;
    return true;
}
