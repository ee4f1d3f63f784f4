// The grid's exchange formats: plain text, CSV, RTF and the binary "VCLDBIF"
// interchange format, written from the grid's selection (or the whole grid)
// to a stream, a file or the clipboard, and read back from the clipboard, a
// stream or a file into the selection. One driver walks the selection and
// hands titles, records and footers to a format class, which decides the
// bytes. Text and CSV are UTF-8; VCLDBIF strings are GBK; RTF is 7-bit with
// other characters as \u escapes.
#pragma once

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhSelection.h"
#include "platform/rtl/Variants.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class TCustomDBGridEh;
class TDataSet;
class TField;
class TFont;
class TStream;

// ---------------------------------------------------------------- export

class TDBGridEhExport
{
public:
    TDBGridEhExport();
    virtual ~TDBGridEhExport();
    TDBGridEhExport(const TDBGridEhExport&) = delete;
    TDBGridEhExport& operator=(const TDBGridEhExport&) = delete;

    TCustomDBGridEh* DBGrid() const { return FDBGrid; }
    void SetDBGrid(TCustomDBGridEh* Value) { FDBGrid = Value; }
    // Writes the selection (or everything with AllSelected); nothing at all
    // when nothing is selected.
    virtual void ExportToStream(TStream& AStream, bool AllSelected);
    // Writes a temporary file beside FileName and renames it into place, so
    // a failure leaves no half-written file.
    void ExportToFile(const QString& FileName, bool AllSelected);

protected:
    friend class TDBGridEhCopyExport;
    // Called once the export knows it writes something, before WritePrefix.
    virtual void BeginExport() {}
    virtual void WritePrefix() {}
    virtual void WriteSuffix() {}
    virtual void WriteTitle(const TColumnsEhList& Columns) { (void)Columns; }
    // A record: BeginRecord, one WriteDataCell per column, EndRecord.
    virtual void WriteRecord(const TColumnsEhList& Columns);
    virtual void BeginRecord(const TColumnsEhList& Columns) { (void)Columns; }
    virtual void EndRecord() {}
    virtual void WriteDataCell(TColumnEh* Column, TColCellParamsEh& Params)
    {
        (void)Column;
        (void)Params;
    }
    // A footer row: BeginFooter, one WriteFooterCell per column, EndFooter.
    virtual void WriteFooter(const TColumnsEhList& Columns, int FooterNo);
    virtual void BeginFooter(const TColumnsEhList& Columns, int FooterNo)
    {
        (void)Columns;
        (void)FooterNo;
    }
    virtual void EndFooter() {}
    virtual void WriteFooterCell(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor Background,
                                 TAlignment Alignment, const QString& Text);
    // The cell parameters of Column for the current record, after the
    // grid's and the column's events.
    TColCellParamsEh& CellParams(TColumnEh* Column);
    // Font, colour, alignment and text of a footer cell after the grid's event.
    void FooterParams(int FooterNo, int Pos, TColumnEh* Column, TColor& Background, TAlignment& Alignment,
                      QString& Text);
    TFont* CellFont() const { return FCellFont.get(); }

    TStream* Stream() const { return FStream; }
    void SetStream(TStream* Value) { FStream = Value; }
    const TColumnsEhList& ExpCols() const { return FExpCols; }
    void Write(const char* Data, qsizetype Size);
    void Write(const QByteArray& Data) { Write(Data.constData(), Data.size()); }
    void Write(const char* Text);
    // The text of footer row Row of the export column at position Pos.
    QString FooterValue(int Row, int Pos) const;

private:
    struct TFooterSource;
    struct TColumnDefaults;
    void PrepareFooters();
    void CalcFooterValues();

    TCustomDBGridEh* FDBGrid = nullptr;
    std::vector<TColumnDefaults> FDefaults; // per grid column, read once per export
    TStream* FStream = nullptr;
    TColumnsEhList FExpCols;
    std::unique_ptr<TFont> FCellFont;
    TColCellParamsEh FColCellParams;
    std::vector<TFooterSource> FFooters;  // per footer row x export column
    std::vector<TSumUnitsEh> FFooterValues; // value x 10000, same order
};

class TDBGridEhExportAsText : public TDBGridEhExport
{
protected:
    void BeginExport() override { FFirstRec = true; }
    void WriteTitle(const TColumnsEhList& Columns) override;
    void BeginRecord(const TColumnsEhList& Columns) override;
    void WriteDataCell(TColumnEh* Column, TColCellParamsEh& Params) override;
    void BeginFooter(const TColumnsEhList& Columns, int FooterNo) override;
    void WriteFooterCell(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor Background,
                         TAlignment Alignment, const QString& Text) override;
    void CheckFirstRec();
    virtual void CheckFirstCell();
    // True for the first cell of a row, once.
    bool TakeFirstCell();
    virtual void WriteText(const QString& Text);
    QByteArray& Buffer() { return FBuffer; }

private:
    QByteArray FBuffer;
    bool FFirstRec = true;
    bool FFirstCell = true;
};

class TDBGridEhExportAsCSV : public TDBGridEhExportAsText
{
public:
    TDBGridEhExportAsCSV();

protected:
    void CheckFirstCell() override;
    void WriteText(const QString& Text) override;

private:
    QByteArray FSeparator;
};

class TDBGridEhExportAsRTF : public TDBGridEhExport
{
public:
    TDBGridEhExportAsRTF();
    ~TDBGridEhExportAsRTF() override;
    void ExportToStream(TStream& AStream, bool AllSelected) override;

protected:
    void BeginExport() override;
    void WriteSuffix() override;
    void WriteTitle(const TColumnsEhList& Columns) override;
    void BeginRecord(const TColumnsEhList& Columns) override;
    void EndRecord() override;
    void WriteDataCell(TColumnEh* Column, TColCellParamsEh& Params) override;
    void BeginFooter(const TColumnsEhList& Columns, int FooterNo) override;
    void EndFooter() override { EndRecord(); }
    void WriteFooterCell(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor Background,
                         TAlignment Alignment, const QString& Text) override;
    // The header with the colour and font tables, then Body.
    void WriteDocument(TStream& Target, const QByteArray& Body);

private:
    struct TBorders
    {
        bool Left = true, Top = true, Bottom = true, Right = true;
    };
    friend class TDBGridEhCopyExport;
    int ColorIndex(TColor Color);
    int ColorIndexOf(TColor Color);
    int FontIndex(const QString& Name);
    int FontIndexOf(const QString& Name);
    QByteArray CellDefs(const TColumnsEhList& Columns, const std::vector<TColor>& Shades,
                        const std::vector<TBorders>* Borders = nullptr);
    void WriteCell(TAlignment Alignment, const TFont* Font, TColor Background, const QString& Text,
                   bool Spacing = true, const char* Space = nullptr);
    void WriteMultiTitle(const TColumnsEhList& Columns);
    const char* Spacing() const;

    void BeginRow(const TColumnsEhList& Columns, const std::vector<TColor>& Shades);

    std::vector<QByteArray> FColors;      // "%3d%3d%3d" of each colour
    std::vector<std::pair<TColor, int>> FColorCache;
    std::vector<QString> FFonts;
    int FLastFont = -1;
    std::vector<TColor> FShades;
    std::vector<TColor> FRowShades;       // the shades FRowDefs was made for
    QByteArray FRowDefs;
    QByteArray FCell;
    int FDpi = 96;
};

// Writes the header from the export columns, one tagged value per cell and
// the end byte. Texts GBK cannot hold are written as '?' and noted, so that
// a copy can leave this format out.
class TDBGridEhExportAsVCLDBIF : public TDBGridEhExport
{
public:
    bool LostText() const { return FLostText; }

protected:
    void BeginExport() override { FLostText = false; }
    void WritePrefix() override;
    void WriteSuffix() override;
    void WriteDataCell(TColumnEh* Column, TColCellParamsEh& Params) override;

private:
    void WriteBytes(uint8_t Tag, const QString& Text);
    bool FLostText = false;
};

// Makes an export of class T for Grid, writes it to Stream and frees it.
template <class T> void ExportGridToStream(TCustomDBGridEh* Grid, TStream& Stream, bool AllSelected)
{
    T Export;
    Export.SetDBGrid(Grid);
    Export.ExportToStream(Stream, AllSelected);
}

// The grid's dataset while its link is active, else null.
TDataSet* GridDataSet(const TCustomDBGridEh* Grid);

// Puts the selection (or everything) on the clipboard in every format at once.
void CopyGridSelection(TCustomDBGridEh* Grid, bool AllSelected);
// Copies, then deletes or clears what was copied.
void CutGridSelection(TCustomDBGridEh* Grid, bool AllSelected);

// The clipboard's names of the grid's formats.
extern const QString ClipboardCsvFormat;      // "Csv"
extern const QString ClipboardCsvMimeType;    // "text/csv"
extern const QString ClipboardRtfFormat;      // "Rich Text Format"
extern const QString ClipboardVCLDBIFFormat;  // "VCLDBIF"
// A copy without "VCLDBIF": its text rows of records only, read by a paste.
extern const QString ClipboardRecordsFormat;

// ---------------------------------------------------------------- import

// The readers first read and check the whole block, so that bad data writes
// nothing; then the driver writes it cell by cell into the selection. On a
// TADOQuery the writes form one transaction: a refusal ("No") or a failure
// rolls it back and the query reads its rows again.
class TDBGridEhImport
{
public:
    TDBGridEhImport();
    virtual ~TDBGridEhImport();
    TDBGridEhImport(const TDBGridEhImport&) = delete;
    TDBGridEhImport& operator=(const TDBGridEhImport&) = delete;

    TCustomDBGridEh* DBGrid() const { return FDBGrid; }
    void SetDBGrid(TCustomDBGridEh* Value) { FDBGrid = Value; }
    virtual void ImportFromStream(TStream& AStream, bool AllSelected);
    void ImportFromFile(const QString& FileName, bool AllSelected);

protected:
    // One cell of the data as read: an unassigned cell writes nothing.
    struct TCell
    {
        bool Assigned = false;
        Variant Value;
        // A binary cell keeps the bytes it carried: a field of bytes takes
        // them as they are, any other field takes Value, their GBK text.
        bool Binary = false;
        QByteArray Bytes;
    };
    using TRecord = std::vector<TCell>;

    // Reads and checks the whole block into Records(), keeping of each record
    // only its first CellsKept() cells; raises the reader's message on bad data.
    virtual void ReadPrefix() {}
    virtual void ReadSuffix() {}
    virtual void ReadRecord(const TColumnsEhList& Columns);
    virtual void ReadDataCell(TColumnEh* Column, const TCell& Cell);
    // Writes Cell into the column's field (a lookup column's key field),
    // asking "Ignore error?" on a failure. Text cells go through the
    // column's lookup or key list; values are stored as they are.
    void AssignCell(TColumnEh* Column, const TCell& Cell, bool AsText);

    TStream* Stream() const { return FStream; }
    // As many cells of a record as there are columns to take them: a paste
    // holds no more than it can write.
    size_t CellsKept() const { return FColumns.size(); }
    std::vector<TRecord>& Records() { return FRecords; }
    bool Eof() const { return FNext >= FRecords.size(); }
    const TRecord& NextRecord() { return FRecords[FNext++]; }

private:
    TColumnsEhList TargetColumns(bool AllSelected) const;
    void RunImport(bool AllSelected);
    void InsertLoop(const TColumnsEhList& Columns, bool Append);

    TCustomDBGridEh* FDBGrid = nullptr;
    TStream* FStream = nullptr;
    TColumnsEhList FColumns;
    std::vector<TRecord> FRecords;
    size_t FNext = 0;
    bool FIgnoreAll = false;
};

class TDBGridEhImportAsText : public TDBGridEhImport
{
protected:
    void ReadPrefix() override;
    void ReadDataCell(TColumnEh* Column, const TCell& Cell) override;
};

class TDBGridEhImportAsVCLDBIF : public TDBGridEhImport
{
protected:
    void ReadPrefix() override;
};

template <class T> void ImportGridFromStream(TCustomDBGridEh* Grid, TStream& Stream, bool AllSelected)
{
    T Import;
    Import.SetDBGrid(Grid);
    Import.ImportFromStream(Stream, AllSelected);
}

// Reads "VCLDBIF" from the clipboard when it is there, else the text (of a
// copy made here, its records without titles and footers).
void PasteIntoGrid(TCustomDBGridEh* Grid, bool AllSelected);
// Deletes the selected records or clears the selected cells, after the
// confirmation that dgConfirmDelete asks for.
void DeleteGridSelection(TCustomDBGridEh* Grid, bool AllSelected);
