#include "report/designer/FR_Undo.h"

#include "platform/gui/ComCtrls.h"
#include "platform/rtl/Streams.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Dock.h"
#include "platform/gui/Menus.h"
#include "report/engine/FR_Utils.h"

#include <QHash>
#include <algorithm>
#include <climits>

QByteArray ClipboardList;

void ClearClipboardList()
{
    ClipboardList.clear();
}

// ---------------------------------------------------------------- buffer

void TfrUndoBuffer::Add(TfrUndoRecord Record)
{
    if (Count() >= MaxRecords)
        FRecords.pop_front();
    FRecords.push_back(std::move(Record));
    ++FAdded;
}

TfrUndoRecord TfrUndoBuffer::TakeLast()
{
    TfrUndoRecord Record = std::move(FRecords.back());
    FRecords.pop_back();
    return Record;
}

std::unique_ptr<TfrView> frCopyView(TfrView* Source)
{
    auto Copy = CreateViewByType(Source->ObjectType(), Source->ClassName());
    Copy->Assign(Source);
    Copy->SetID(Source->ID());
    return Copy;
}

// ---------------------------------------------------------------- clipboard block

namespace {

// The smallest view entry: type byte, empty class name (length and 0 byte).
constexpr int64_t MinEntryBytes = 4;

}

QByteArray frWriteViewsBlock(const std::vector<TfrView*>& Views)
{
    TMemoryStream Stream;
    Stream.WriteU32(static_cast<uint32_t>(Views.size()));
    for (TfrView* View : Views) {
        Stream.WriteU8(View->ObjectType());
        WriteStreamString(Stream, View->ClassName());
        View->SaveToStream(Stream);
    }
    return Stream.Data();
}

std::vector<std::unique_ptr<TfrView>> frReadViewsBlock(const QByteArray& Block)
{
    std::vector<std::unique_ptr<TfrView>> Views;
    TMemoryStream Stream(Block);
    const int SavedVersion = FormVersion;
    const bool SavedError = frErrorFlag;
    const QString SavedMissing = frMissingClasses;
    try {
        if (Stream.Remaining() < 4)
            return {};
        const uint32_t Count = Stream.ReadU32();
        if (Count > static_cast<uint64_t>(Stream.Remaining()) / MinEntryBytes)
            return {};
        for (uint32_t i = 0; i < Count; ++i) {
            const uint8_t Type = Stream.ReadU8();
            FormVersion = frCurrentVersion;
            const QString ClassName = ReadStreamString(Stream);
            if (Type > gtLine && Type != gtAddIn)
                throw EReadError(QStringLiteral("Unknown view type"));
            auto View = CreateViewByType(Type, ClassName);
            if (!View)
                throw EReadError(QStringLiteral("Unknown view type"));
            FormVersion = frCurrentVersion;
            View->LoadFromStream(Stream);
            if (!frViewWithinLimits(View.get()))
                throw EReadError(QStringLiteral("View out of range"));
            Views.push_back(std::move(View));
        }
        if (Stream.Remaining() != 0)
            Views.clear();
    } catch (const Exception&) {
        Views.clear();
    }
    FormVersion = SavedVersion;
    frErrorFlag = SavedError;
    frMissingClasses = SavedMissing;
    return Views;
}

// ---------------------------------------------------------------- recording

namespace {

std::vector<int32_t> PageOrder(const TfrPage* Page)
{
    std::vector<int32_t> Order;
    Order.reserve(Page->Count());
    for (int i = 0; i < Page->Count(); ++i)
        Order.push_back(Page->Objects(i)->ID());
    return Order;
}

TfrUndoAction Inverse(TfrUndoAction Action)
{
    return Action == acInsert ? acDelete : Action == acDelete ? acInsert : Action;
}

// Puts the page's views into Order; views it does not name keep their
// relative order behind the others.
void RestoreOrder(TfrPage* Page, const std::vector<int32_t>& Order)
{
    QHash<int32_t, int> Rank;
    for (size_t i = 0; i < Order.size(); ++i)
        Rank.insert(Order[i], static_cast<int>(i));
    std::vector<std::unique_ptr<TfrView>> Views;
    while (Page->Count() > 0)
        Views.push_back(Page->Extract(0));
    std::stable_sort(Views.begin(), Views.end(), [&](const auto& A, const auto& B) {
        return Rank.value(A->ID(), INT_MAX) < Rank.value(B->ID(), INT_MAX);
    });
    for (auto& V : Views)
        Page->Add(std::move(V));
}

} // namespace

void TfrDesignerForm::AddUndoAction(TfrUndoAction Action)
{
    std::vector<TfrUndoPair> Pairs;
    for (int i = 0; Page && i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        // A delete records only what it really removes.
        if ((Action == acZOrder || V->Selected()) && !(Action == acDelete && (V->Restrictions() & frrfDontDelete)))
            Pairs.push_back({V, i, Action});
    }
    RecordChange(Action, std::move(Pairs));
}

void TfrDesignerForm::RecordRename()
{
    // The bands linking to a renamed view by name change with it.
    QStringList Names;
    for (int i = 0; Page && i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected())
            Names << Page->Objects(i)->Name();
    std::vector<TfrUndoPair> Pairs;
    for (int i = 0; Page && i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        auto* B = dynamic_cast<TfrBandView*>(V);
        if (V->Selected() || (B && (Names.contains(B->ChildBand()) || Names.contains(B->Master()))))
            Pairs.push_back({V, i, acEdit});
    }
    RecordChange(acEdit, std::move(Pairs));
}

void TfrDesignerForm::RecordChange(TfrUndoAction Action, std::vector<TfrUndoPair> Pairs,
                                   const std::vector<int32_t>* Order)
{
    if (DisableUndo) {
        SetModified(true);
        return;
    }
    ClearRedoBuffer();
    std::erase_if(Pairs, [](const TfrUndoPair& P) { return P.View->Flags() & flNoUndo; });
    if (Pairs.empty() || !Page) {
        SetModified(true);
        return;
    }
    std::stable_sort(Pairs.begin(), Pairs.end(), [](const auto& A, const auto& B) { return A.Index < B.Index; });
    AddUndoRecord(FUndoBuffer, Action, Pairs, Order ? *Order : PageOrder(Page));
}

void TfrDesignerForm::AddUndoRecord(TfrUndoBuffer& Buffer, TfrUndoAction Action,
                                    const std::vector<TfrUndoPair>& Pairs, std::vector<int32_t> Order)
{
    TfrUndoRecord Record;
    Record.Action = Action;
    Record.Page = FCurPageIndex;
    Record.Order = std::move(Order);
    for (const TfrUndoPair& P : Pairs) {
        TfrUndoEntry E;
        E.ID = P.View->ID();
        E.Action = P.Action;
        E.Index = P.Index;
        if (P.Action == acDelete || P.Action == acEdit)
            E.Copy = frCopyView(P.View);
        Record.Entries.push_back(std::move(E));
    }
    Buffer.Add(std::move(Record));
    const bool Undo = &Buffer == &FUndoBuffer;
    EnableControl(Undo ? UndoB : RedoB, true);
    EnableControl(Undo ? N46 : N48, true);
    SetModified(true);
}

void TfrDesignerForm::DropLastRecord()
{
    TfrUndoRecord Record = FUndoBuffer.TakeLast();
    for (const TfrUndoEntry& E : Record.Entries)
        if (const int i = Page->FindObjectByID(E.ID); i >= 0 && E.Action == acEdit && E.Copy)
            Page->Objects(i)->Assign(E.Copy.get());
    EnableControl(UndoB, !FUndoBuffer.Empty());
    EnableControl(N46, !FUndoBuffer.Empty());
}

void TfrDesignerForm::ClearUndoBuffer()
{
    FUndoBuffer.Clear();
    EnableControl(UndoB, false);
    EnableControl(N46, false);
}

void TfrDesignerForm::ClearRedoBuffer()
{
    FRedoBuffer.Clear();
    EnableControl(RedoB, false);
    EnableControl(N48, false);
}

// ---------------------------------------------------------------- replay

void TfrDesignerForm::ReplayUndo(TfrUndoBuffer& Buffer)
{
    if (Buffer.Empty() || !Page || Buffer.Last().Page != FCurPageIndex)
        return;
    TfrUndoBuffer& Other = &Buffer == &FUndoBuffer ? FRedoBuffer : FUndoBuffer;
    TfrUndoRecord Record = Buffer.TakeLast();

    // A record that does not fit the page would change the wrong views.
    bool Fits = true;
    for (const TfrUndoEntry& E : Record.Entries) {
        const bool OnPage = Page->FindObjectByID(E.ID) >= 0;
        if (E.Action == acDelete ? OnPage || !E.Copy : !OnPage || (E.Action == acEdit && !E.Copy))
            Fits = false;
    }
    if (!Fits) {
        ClearUndoBuffer();
        ClearRedoBuffer();
        ResetSelection();
        RedrawPage();
        return;
    }

    std::vector<TfrUndoPair> Pairs;
    for (const TfrUndoEntry& E : Record.Entries) {
        if (E.Action == acDelete) {
            Pairs.push_back({E.Copy.get(), E.Index, acInsert});
        } else {
            const int Index = Page->FindObjectByID(E.ID);
            Pairs.push_back({Page->Objects(Index), Index, Inverse(E.Action)});
        }
    }
    AddUndoRecord(Other, Inverse(Record.Action), Pairs, PageOrder(Page));

    for (const TfrUndoEntry& E : Record.Entries)
        if (E.Action == acInsert) {
            if (RefView && RefView->ID() == E.ID)
                RefView = nullptr;
            Page->Delete(Page->FindObjectByID(E.ID));
        } else if (E.Action == acEdit) {
            Page->Objects(Page->FindObjectByID(E.ID))->Assign(E.Copy.get());
        }
    for (TfrUndoEntry& E : Record.Entries)
        if (E.Action == acDelete)
            Page->Insert(E.Index, std::move(E.Copy));
    RestoreOrder(Page, Record.Order);

    PageView->SelRegionStale = true;
    ResetSelection();
    UpdatePageTabs();
    RedrawPage();
    EnableControl(UndoB, !FUndoBuffer.Empty());
    EnableControl(N46, !FUndoBuffer.Empty());
    EnableControl(RedoB, !FRedoBuffer.Empty());
    EnableControl(N48, !FRedoBuffer.Empty());
}

void TfrDesignerForm::UndoBClick()
{
    ReplayUndo(FUndoBuffer);
}

void TfrDesignerForm::RedoBClick()
{
    ReplayUndo(FRedoBuffer);
}

// ---------------------------------------------------------------- clipboard

bool TfrDesignerForm::CanPaste() const
{
    return !ClipboardList.isEmpty();
}

void TfrDesignerForm::CopySelection()
{
    ClearClipboardList();
    std::vector<TfrView*> Views;
    for (int i = 0; Page && i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected())
            Views.push_back(Page->Objects(i));
    if (!Views.empty())
        ClipboardList = frWriteViewsBlock(Views);
}

void TfrDesignerForm::CopyBClick()
{
    CopySelection();
    SelectionChanged();
}

void TfrDesignerForm::CutBClick()
{
    RecordDeletion();
    CopySelection();
    DeleteSelection(false);
    RefView = nullptr;
    SelectionChanged();
    RedrawPage();
}

void TfrDesignerForm::PasteFromClipboard()
{
    if (!Page)
        return;
    std::vector<std::unique_ptr<TfrView>> Views = frReadViewsBlock(ClipboardList);
    const std::vector<int32_t> Before = PageOrder(Page);

    TfrView* Target = nullptr;
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        if (V->ObjectType() == gtBand && V->Selected() && !Target)
            Target = V;
        if (V->ObjectType() != gtBand || V == Target)
            SetViewSelected(V, false);
    }

    // A class allowed once per page is left out when the page has one.
    auto MayPaste = [this](const TfrView* View) {
        for (int i = 0; i < Page->Count(); ++i) {
            const TfrView* V = Page->Objects(i);
            if ((V->Flags() & flOnePerPage) && V->ObjectType() == View->ObjectType()
                && V->ClassName() == View->ClassName())
                return false;
        }
        return true;
    };
    int MinX = 32767, MinY = 32767;
    for (const auto& V : Views)
        if (MayPaste(V.get())) {
            MinX = std::min(MinX, V->Left());
            MinY = std::min(MinY, V->Top());
        }

    const QPoint Origin = PageView->mapTo(ScrollBox1->viewport(), QPoint(0, 0));
    std::vector<TfrUndoPair> Pasted;
    for (auto& Owned : Views) {
        TfrView* V = Owned.get();
        if (!MayPaste(V))
            continue;
        if (auto* Band = dynamic_cast<TfrBandView*>(V)) {
            const int T = Band->BandType();
            const bool Repeatable = (T >= btMasterHeader && T <= btSubDetailFooter) || T == btGroupHeader
                || T == btGroupFooter;
            if (!Repeatable && PageHasBandType(T))
                continue;
        }
        if (CurReport->FindObject(V->Name()))
            V->CreateUniqueName();
        V->SetPropValue(QStringLiteral("Name"), V->Name());
        V->SetLeft(Origin.x() < 0 ? (-Origin.x()) / GridSizeX * GridSizeX + (V->Left() - MinX) : V->Left() - MinX);
        V->SetTop(Origin.y() < 0 ? (-Origin.y()) / GridSizeY * GridSizeY + (V->Top() - MinY) : V->Top() - MinY);
        if (Target)
            V->SetTop(Target->Top());
        SetViewSelected(V, true);
        Page->Add(std::move(Owned));
        Pasted.push_back({V, Page->Count() - 1, acInsert});
    }
    if (Pasted.empty()) {
        SelectionChanged();
        RedrawPage();
        return;
    }
    ReorderBands(Page);
    for (TfrUndoPair& P : Pasted)
        P.Index = Page->FindObjectByID(P.View->ID());
    // Recorded before anything is drawn, so that the views stay undoable
    // whatever the repaint meets.
    RecordChange(acInsert, Pasted, &Before);
    PageView->ComputeSelectionBounds();
    PageView->SelRegionStale = true;
    SelectionChanged();
    RedrawPage();
}

void TfrDesignerForm::PstBClick()
{
    PasteFromClipboard();
}

// ---------------------------------------------------------------- select all, delete, z-order

void TfrDesignerForm::SelAllBClick()
{
    SelectAll();
}

void TfrDesignerForm::N5Click()
{
    DeleteSelection();
}

void TfrDesignerForm::ZB1Click()
{
    if (!Page)
        return;
    AddUndoAction(acZOrder);
    const int N = Page->Count();
    for (int Step = 0, i = 0; Step < N; ++Step) {
        TfrView* V = Page->Objects(i);
        if (V->Selected() && !(V->Restrictions() & frrfDontMove))
            Page->Move(i, N - 1);
        else
            ++i;
    }
    ReorderBands(Page);
    RedrawPage();
}

void TfrDesignerForm::ZB2Click()
{
    if (!Page)
        return;
    AddUndoAction(acZOrder);
    const int N = Page->Count();
    for (int Step = 0, i = N - 1; Step < N; ++Step) {
        TfrView* V = Page->Objects(i);
        if (V->Selected() && !(V->Restrictions() & frrfDontMove))
            Page->Move(i, 0);
        else
            --i;
    }
    ReorderBands(Page);
    RedrawPage();
}
