// The import side of the grid's exchange formats: the text and "VCLDBIF"
// readers, the driver that writes what they read into the selection, paste
// from the clipboard, and deleting or clearing a selection.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhImpExp.h"
#include "grid/DbUtilsEh.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"

#include <cstring>

namespace {

// "No" to "Ignore error?": the import stops without a message of its own.
struct EImportAborted
{
};

TColumnsEhList VisibleColumns(TCustomDBGridEh* Grid, int From = 0, int To = -1)
{
    TColumnsEhList List;
    TDBGridColumnsEh* Columns = Grid->Columns();
    if (To < 0)
        To = Columns->Count() - 1;
    for (int i = std::max(0, From); i <= To && i < Columns->Count(); ++i)
        if (Columns->Items(i)->Visible())
            List.push_back(Columns->Items(i));
    return List;
}

[[noreturn]] void InvalidVCLDBIF()
{
    throw Exception(QStringLiteral("TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format"));
}

// The field a column's cell is written to: a lookup column writes its key
// field, and one without KeyFields is skipped.
TField* TargetField(TColumnEh* Column)
{
    TField* F = Column->Field();
    if (!F || !F->Lookup())
        return F;
    if (F->KeyFields().isEmpty())
        return nullptr;
    return F->DataSet()->FindField(F->KeyFields());
}

// Fields whose value is bytes rather than text.
bool HoldsBytes(TFieldType Type)
{
    switch (Type) {
    case ftBytes: case ftVarBytes: case ftBlob: case ftGraphic: case ftParadoxOle: case ftDBaseOle:
    case ftTypedBinary:
        return true;
    default:
        return false;
    }
}

// A number as the grid shows it ("￥1,234.50") is read back without its
// currency sign and thousand separators.
QString PlainNumber(const TField* Field, const QString& Text)
{
    double Value;
    if (!IsNumericFieldType(Field->DataType()) || TryStrToFloat(Text, Value))
        return Text;
    const TFormatSettings& Fmt = FormatSettings();
    QString Plain = Text;
    Plain.remove(Fmt.CurrencyString).remove(Fmt.ThousandSeparator).remove(u' ');
    return TryStrToFloat(Plain, Value) ? Plain : Text;
}

} // namespace

// ---------------------------------------------------------------- base import

TDBGridEhImport::TDBGridEhImport() = default;
TDBGridEhImport::~TDBGridEhImport() = default;

void TDBGridEhImport::ImportFromFile(const QString& FileName, bool AllSelected)
{
    TFileStream File(FileName, fmOpenRead);
    ImportFromStream(File, AllSelected);
}

void TDBGridEhImport::ImportFromStream(TStream& AStream, bool AllSelected)
{
    FStream = &AStream;
    FRecords.clear();
    FNext = 0;
    FIgnoreAll = false;
    if (!GridDataSet(FDBGrid))
        return;
    // The whole block is read and checked before anything is written; the
    // readers keep only the cells the target columns take.
    FColumns = TargetColumns(AllSelected);
    ReadPrefix();
    RunImport(AllSelected);
    ReadSuffix();
}

// The columns the cells of a record go to, in order: from the current column
// on, the selected rectangle's or columns, or every visible one.
TColumnsEhList TDBGridEhImport::TargetColumns(bool AllSelected) const
{
    TCustomDBGridEh* G = FDBGrid;
    TDBGridEhSelection* S = G->Selection();
    switch (AllSelected ? gstAll : S->SelectionType()) {
    case gstNon: return VisibleColumns(G, G->SelectedIndex());
    case gstRectangle: return VisibleColumns(G, S->Rect()->LeftCol(), S->Rect()->RightCol());
    case gstColumns: return S->Columns()->List();
    case gstRecordBookmarks:
    case gstAll: break;
    }
    return VisibleColumns(G);
}

void TDBGridEhImport::RunImport(bool AllSelected)
{
    TCustomDBGridEh* G = FDBGrid;
    TDataSet* D = GridDataSet(G);
    TDBGridEhSelection* S = G->Selection();
    const TColumnsEhList& Columns = FColumns;
    if (AllSelected) {
        S->Clear();
        D->First();
        if (!Columns.empty())
            G->SetSelectedIndex(Columns.front()->Index());
    }
    const bool Inserting = D->State() == dsInsert;
    // A record appended after the last one continues at the end.
    const bool Append = InsertedAtEnd(D);
    if (!Inserting)
        G->SaveBookmark();
    auto* Query = dynamic_cast<TADOQuery*>(D);
    TADOConnection* Connection = Query ? Query->Connection() : nullptr;
    // The record being written is not kept half-done; on a query the whole
    // import goes back and the rows are read again.
    auto Undo = [&] {
        if (D->State() == dsEdit || D->State() == dsInsert)
            D->Cancel();
        if (Connection) {
            Connection->RollbackTrans();
            Query->Refresh();
        }
    };
    auto Finish = [&] {
        if (!Inserting)
            G->RestoreBookmark();
        D->EnableControls();
    };
    D->DisableControls();
    if (Connection)
        Connection->BeginTrans();
    try {
        switch (S->SelectionType()) {
        case gstNon: {
            if (Inserting) {
                InsertLoop(Columns, Append);
                break;
            }
            while (!Eof() && !D->Eof()) {
                ReadRecord(Columns);
                D->Next();
            }
            if (G->AllowedOperations().Contains(alopAppendEh))
                InsertLoop(Columns, true);
            break;
        }
        case gstRecordBookmarks: {
            if (Inserting) {
                InsertLoop(Columns, Append);
                break;
            }
            const std::vector<TBookmark> Marks = G->SelectedRows()->Reachable();
            for (size_t i = 0; i < Marks.size() && !Eof(); ++i) {
                D->GotoBookmark(Marks[i]);
                ReadRecord(Columns);
            }
            break;
        }
        case gstRectangle: {
            if (Inserting) {
                InsertLoop(Columns, Append);
                break;
            }
            S->Rect()->ForEachRow([&] {
                if (Eof())
                    return false;
                ReadRecord(Columns);
                return true;
            });
            break;
        }
        case gstColumns:
        case gstAll: {
            if (Inserting) {
                InsertLoop(Columns, Append);
                break;
            }
            D->First();
            while (!Eof() && !D->Eof()) {
                ReadRecord(Columns);
                D->Next();
            }
            break;
        }
        }
        D->CheckBrowseMode();
        if (Connection)
            Connection->CommitTrans();
    } catch (const EImportAborted&) {
        Undo();
        Finish();
        return;
    } catch (...) {
        Undo();
        Finish();
        throw;
    }
    Finish();
}

void TDBGridEhImport::InsertLoop(const TColumnsEhList& Columns, bool Append)
{
    TDataSet* D = GridDataSet(FDBGrid);
    while (!Eof()) {
        if (Append)
            D->Append();
        else
            D->Insert();
        ReadRecord(Columns);
        D->Post();
        if (!Append)
            D->Next();
    }
}

void TDBGridEhImport::ReadRecord(const TColumnsEhList& Columns)
{
    if (Eof())
        return;
    const TRecord& Record = NextRecord();
    for (size_t k = 0; k < Record.size() && k < Columns.size(); ++k)
        ReadDataCell(Columns[k], Record[k]);
}

void TDBGridEhImport::ReadDataCell(TColumnEh* Column, const TCell& Cell)
{
    AssignCell(Column, Cell, false);
}

void TDBGridEhImport::AssignCell(TColumnEh* Column, const TCell& Cell, bool AsText)
{
    if (!Cell.Assigned || !Column || !Column->CanModify(false))
        return;
    TField* Target = TargetField(Column);
    if (!Target || !Target->DataSet()->CanModify())
        return;
    TDataSet* D = Target->DataSet();
    try {
        D->Edit();
        if (D->State() != dsEdit && D->State() != dsInsert)
            return;
        if (Cell.Binary && HoldsBytes(Target->DataType())) {
            Target->SetAsBytes(Cell.Bytes);
            return;
        }
        if (!AsText) {
            Target->SetAsVariant(Cell.Value);
            return;
        }
        const QString Text = Cell.Value.AsString();
        TField* F = Column->Field();
        if (F->Lookup()) {
            // Whole text, any letter case: "北京" must not pick "北京分公司".
            TDataSet* List = F->LookupDataSet();
            if (List && List->Locate(F->LookupResultField(), Variant(Text), loCaseInsensitive))
                Target->SetAsVariant(List->FieldValues(F->LookupKeyFields()));
        } else if (Column->GetColumnType() == ctKeyPickList) {
            const int k = Column->PickList()->IndexOf(Text);
            if (k < 0 || k >= Column->KeyList()->Count())
                Target->Clear();
            else
                Target->SetAsString(Column->KeyList()->Strings(k));
        } else {
            Target->SetAsString(PlainNumber(Target, Text));
        }
    } catch (const Exception& E) {
        if (FIgnoreAll)
            return;
        const TModalResult Answer =
            MessageDlg(QStringLiteral("Error during insert value:\n%1\n\nIgnore error?").arg(E.Message()), mtError,
                       {mbYes, mbNo, mbAll});
        if (Answer == mrAll)
            FIgnoreAll = true;
        else if (Answer != mrYes)
            throw EImportAborted();
    }
}

// ---------------------------------------------------------------- text reader

// Rows end with CR LF and cells with TAB; a CR without LF is bad data. A NUL
// ends the data (the clipboard's text carries one), and a final CR LF starts
// no row. An empty cell just before a line's end is not written.
void TDBGridEhImportAsText::ReadPrefix()
{
    const QByteArray Data = Stream()->ReadBytes(Stream()->Remaining());
    const qsizetype Size = Data.indexOf('\0') >= 0 ? Data.indexOf('\0') : Data.size();
    const char* P = Data.constData();
    qsizetype Pos = 0;
    enum { stChar, stTab, stEol, stEnd } State = stChar;
    char Current = 0;
    auto CheckState = [&] {
        if (Pos >= Size) {
            State = stEnd;
            return;
        }
        Current = P[Pos++];
        if (Current == '\t') {
            State = stTab;
        } else if (Current == '\r') {
            if (Pos >= Size || P[Pos] != '\n')
                throw Exception(QStringLiteral("TDBGridEhImportAsText.CheckState: Invalid text format"));
            ++Pos;
            State = stEol;
        } else {
            State = stChar;
        }
    };
    // Cells past the target columns are stepped over as they are read.
    const size_t Kept = CellsKept();
    auto ReadCell = [&](bool Keep) {
        const qsizetype Start = Pos - 1;
        do
            CheckState();
        while (State == stChar);
        const qsizetype End = State == stEnd ? Size : Pos - (State == stEol ? 2 : 1);
        const QString Text = Keep ? QString::fromUtf8(P + Start, End - Start) : QString();
        if (State == stTab)
            CheckState();
        return Text;
    };
    auto Add = [Kept](TRecord& R, size_t At, const QString& Text) {
        if (At >= Kept)
            return;
        if (R.size() <= At)
            R.resize(At + 1);
        R[At].Assigned = true;
        R[At].Value = Variant(Text);
    };
    CheckState();
    while (State != stEnd) {
        TRecord Record;
        size_t Next = 0;
        if (State == stChar) {
            Add(Record, 0, ReadCell(Kept > 0));
            Next = 1;
        }
        while (State == stChar || State == stTab) {
            QString Text;
            if (State == stTab)
                CheckState();
            else
                Text = ReadCell(Next < Kept);
            Add(Record, Next++, Text);
        }
        Records().push_back(std::move(Record));
        if (State == stEol)
            CheckState();
    }
}

void TDBGridEhImportAsText::ReadDataCell(TColumnEh* Column, const TCell& Cell)
{
    AssignCell(Column, Cell, true);
}

// ---------------------------------------------------------------- VCLDBIF reader

// Every count and length is checked against the bytes that remain before
// anything is kept, so a damaged block fails with the reader's message and
// never allocates beyond itself.
void TDBGridEhImportAsVCLDBIF::ReadPrefix()
{
    TStream* S = Stream();
    const QByteArray Data = S->ReadBytes(S->Remaining());
    const char* P = Data.constData();
    const qsizetype Size = Data.size();
    qsizetype Pos = 0;
    auto Need = [&](qsizetype N) {
        if (N < 0 || Size - Pos < N)
            InvalidVCLDBIF();
    };
    Need(12);
    if (std::memcmp(P, "VCLDBIF", 7) != 0)
        InvalidVCLDBIF();
    int32_t Count;
    std::memcpy(&Count, P + 8, 4);
    Pos = 12;
    // Each descriptor takes at least its flag and the name's end byte.
    if (Count < 0 || Count > (Size - Pos) / 2)
        InvalidVCLDBIF();
    for (int32_t i = 0; i < Count; ++i) {
        Need(1);
        ++Pos;
        const char* End = static_cast<const char*>(std::memchr(P + Pos, 0, size_t(Size - Pos)));
        if (!End)
            InvalidVCLDBIF();
        Pos = End - P + 1;
    }
    const size_t Kept = CellsKept();
    TRecord Record;
    int32_t InRecord = 0;
    for (;;) {
        Need(1);
        const uint8_t Tag = uint8_t(P[Pos++]);
        if (Tag == 0)
            break;
        TCell Cell;
        switch (Tag) {
        case 2:
            Cell.Assigned = true;
            Cell.Value = Variant::Null();
            break;
        case 3: {
            Need(4);
            int32_t V;
            std::memcpy(&V, P + Pos, 4);
            Pos += 4;
            Cell.Assigned = true;
            Cell.Value = Variant(int(V));
            break;
        }
        case 4: {
            Need(8);
            double V;
            std::memcpy(&V, P + Pos, 8);
            Pos += 8;
            Cell.Assigned = true;
            Cell.Value = Variant(V);
            break;
        }
        case 5:
        case 6: {
            Need(4);
            int32_t L;
            std::memcpy(&L, P + Pos, 4);
            Pos += 4;
            Need(L);
            Cell.Assigned = true;
            Cell.Value = Variant(FromGbk(P + Pos, L));
            if (Tag == 6) {
                Cell.Binary = true;
                Cell.Bytes = QByteArray(P + Pos, L);
            }
            Pos += L;
            break;
        }
        default:
            break;
        }
        // A record is Count cells of the block, whatever the grid takes of
        // them; the cells past the target columns are not kept.
        if (Count == 0)
            continue;
        if (size_t(InRecord) < Kept)
            Record.push_back(std::move(Cell));
        if (++InRecord == Count) {
            Records().push_back(std::move(Record));
            Record = TRecord();
            InRecord = 0;
        }
    }
    if (InRecord > 0)
        Records().push_back(std::move(Record));
}

// ---------------------------------------------------------------- paste and delete

void PasteIntoGrid(TCustomDBGridEh* Grid, bool AllSelected)
{
    TClipboard* C = Clipboard();
    if (C->HasFormat(ClipboardVCLDBIFFormat)) {
        TMemoryStream S(C->GetFormat(ClipboardVCLDBIFFormat));
        ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(Grid, S, AllSelected);
    } else if (C->HasFormat(ClipboardRecordsFormat)) {
        TMemoryStream S(C->GetFormat(ClipboardRecordsFormat));
        ImportGridFromStream<TDBGridEhImportAsText>(Grid, S, AllSelected);
    } else if (C->HasFormat(QStringLiteral("text/plain"))) {
        TMemoryStream S(C->AsText().toUtf8());
        ImportGridFromStream<TDBGridEhImportAsText>(Grid, S, AllSelected);
    }
}

namespace {

// Empties the cells of the current record in Columns; the record stays in
// edit state and is posted by the next move.
void ClearRowCells(const TColumnsEhList& Columns)
{
    for (TColumnEh* C : Columns) {
        if (!C->CanModify(false))
            continue;
        TField* F = TargetField(C);
        if (!F || !F->DataSet()->CanModify())
            continue;
        F->DataSet()->Edit();
        if (F->DataSet()->State() == dsEdit || F->DataSet()->State() == dsInsert)
            F->Clear();
    }
}

} // namespace

void DeleteGridSelection(TCustomDBGridEh* Grid, bool AllSelected)
{
    TDataSet* D = Grid && Grid->DataSource() ? Grid->DataLink()->DataSet() : nullptr;
    if (!D || !Grid->DataLink()->Active())
        return;
    TDBGridEhSelection* S = Grid->Selection();
    const TDBGridEhSelectionType Kind = AllSelected ? gstAll : S->SelectionType();
    if (Kind == gstNon)
        return;
    // Records a filter hides (or that are gone) are neither asked about nor deleted.
    const int Reachable = Kind == gstRecordBookmarks ? int(Grid->SelectedRows()->Reachable().size()) : 0;
    if (Kind == gstRecordBookmarks && Reachable == 0)
        return;
    if ((Kind == gstRecordBookmarks || Kind == gstRectangle) && Grid->Options().Contains(dgConfirmDelete)) {
        const QString Text = Kind == gstRectangle ? QStringLiteral("Clear selected cells?")
            : Reachable < 2                       ? QStringLiteral("Delete record?")
                                                  : QStringLiteral("Delete all selected records?");
        if (MessageDlg(Text, mtConfirmation, {mbOK, mbCancel}) != mrOk)
            return;
    }
    Grid->SaveBookmark();
    D->DisableControls();
    try {
        switch (Kind) {
        case gstRecordBookmarks:
            Grid->SelectedRows()->Delete();
            Grid->SelectedRows()->Clear();
            break;
        case gstRectangle: {
            const TColumnsEhList Columns = VisibleColumns(Grid, S->Rect()->LeftCol(), S->Rect()->RightCol());
            S->Rect()->ForEachRow([&] {
                ClearRowCells(Columns);
                return true;
            });
            Grid->RestoreBookmark();
            break;
        }
        case gstColumns: {
            const TColumnsEhList Columns = S->Columns()->List();
            D->First();
            while (!D->Eof()) {
                ClearRowCells(Columns);
                D->Next();
            }
            Grid->RestoreBookmark();
            break;
        }
        case gstAll:
            D->First();
            while (!D->Eof()) {
                const TBookmark Deleted = D->GetBookmark();
                const int Before = D->RecordCount();
                D->Delete();
                // A delete the dataset ignored or undid would repeat for ever.
                if ((Before >= 0 && D->RecordCount() >= Before) || D->BookmarkValid(Deleted))
                    throw EDatabaseError(QStringLiteral("Record was not deleted"));
            }
            break;
        case gstNon:
            break;
        }
    } catch (...) {
        D->EnableControls();
        throw;
    }
    D->EnableControls();
}
