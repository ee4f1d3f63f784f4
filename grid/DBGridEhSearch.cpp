// TCustomDBGridEh: incremental search (typing on a column jumps to the first
// record whose text starts with what was typed) and the copy of a value
// from the record above.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/ExtCtrls.h"

namespace {

bool StartsWithUpper(const QString& Text, const QString& UpperPrefix)
{
    return AnsiUpperCase(Text).startsWith(UpperPrefix);
}

} // namespace

void TCustomDBGridEh::IncrementalSearch(const QString& Text, int TimeOut, int Kind)
{
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D)
        return;
    const int Index = SelectedIndex();
    TColumnEh* Column = Index >= 0 && Index < Columns()->Count() ? Columns()->Items(Index) : nullptr;
    const QString NewText = FIncSearchText + Text;
    if (!NewText.isEmpty() && Column) {
        const QString Upper = AnsiUpperCase(NewText);
        QString Found;
        if (Kind == 0 && StartsWithUpper(Column->GetDisplayText(), Upper)) {
            Found = Column->GetDisplayText();
        } else {
            D->DisableControls();
            try {
                SaveBookmark();
                if (Kind == 0)
                    D->First();
                else if (Kind == 1)
                    D->Next();
                else
                    D->Prior();
                while (Kind == 2 ? !D->Bof() : !D->Eof()) {
                    const QString Cell = Column->GetDisplayText();
                    if (StartsWithUpper(Cell, Upper)) {
                        Found = Cell;
                        break;
                    }
                    if (Kind == 2)
                        D->Prior();
                    else
                        D->Next();
                }
                if (Found.isNull())
                    RestoreBookmark();
            } catch (...) {
                RestoreBookmark();
                D->EnableControls();
                throw;
            }
            D->EnableControls();
        }
        // The search text takes the record's own case.
        if (!Found.isNull())
            FIncSearchText = Found.left(NewText.size());
    }
    FIncSearching = true;
    InvalidateRow(Row());
    if (!FIncSearchTimer) {
        FIncSearchTimer = std::make_unique<TTimer>();
        FIncSearchTimer->OnTimer = [this](QObject*) { EndIncrementalSearch(); };
    }
    FIncSearchTimer->SetEnabled(false);
    if (TimeOut >= 0) {
        FIncSearchTimer->SetInterval(TimeOut);
        FIncSearchTimer->SetEnabled(true);
    }
}

void TCustomDBGridEh::EndIncrementalSearch()
{
    if (FIncSearchTimer)
        FIncSearchTimer->SetEnabled(false);
    FIncSearching = false;
    FIncSearchText.clear();
    InvalidateRow(Row());
    if (Options().Contains(dgAlwaysShowEditor) && CanEditShow())
        ShowEditor();
}

void TCustomDBGridEh::CopyValueFromRecordAbove()
{
    TDataSet* D = DataLink()->DataSet();
    const int Index = SelectedIndex();
    if (!DataLink()->Active() || !D || Index < 0 || Index >= Columns()->Count() || DataLink()->ActiveRecord() <= 0)
        return;
    TColumnEh* Column = Columns()->Items(Index);
    TField* F = Column->Field();
    if (!F || !Column->CanModify(false))
        return;
    // A lookup column copies its key fields.
    QList<TField*> Targets;
    if (F->Lookup()) {
        for (const QString& Name : F->KeyFields().split(u';', Qt::SkipEmptyParts))
            Targets << D->FieldByName(Name.trimmed());
    } else {
        Targets << F;
    }
    QList<Variant> Values;
    const int Saved = D->ActiveIndex();
    DataLink()->SetActiveRecord(DataLink()->ActiveRecord() - 1);
    for (TField* T : Targets)
        Values << T->AsVariant();
    D->SetActiveIndex(Saved);
    ClearSelection();
    if (!Column->CanModify(true))
        return;
    for (int i = 0; i < Targets.size(); ++i)
        Targets[i]->SetAsVariant(Values[i]);
    ShowEditor();
    if (EditorMode() && InplaceEditor())
        InplaceEditor()->selectAll();
}
