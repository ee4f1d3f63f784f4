// The export side of the grid's exchange formats and the copy to the clipboard.
#include "grid/DBGridEhImpExp.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhTitles.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

#include <QSaveFile>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

const QString ClipboardCsvFormat = QStringLiteral("Csv");
const QString ClipboardCsvMimeType = QStringLiteral("text/csv");
const QString ClipboardRtfFormat = QStringLiteral("Rich Text Format");
const QString ClipboardVCLDBIFFormat = QStringLiteral("VCLDBIF");
const QString ClipboardRecordsFormat = QStringLiteral("Grid records text");

TDataSet* GridDataSet(const TCustomDBGridEh* Grid)
{
    return Grid && Grid->DataLink()->Active() ? Grid->DataLink()->DataSet() : nullptr;
}

namespace {

// Disables the dataset's controls for a walk and enables them again on every path.
class TControlsDisabled
{
public:
    explicit TControlsDisabled(TDataSet* D) : FDataSet(D)
    {
        if (FDataSet)
            FDataSet->DisableControls();
    }
    ~TControlsDisabled()
    {
        if (FDataSet)
            FDataSet->EnableControls();
    }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet* FDataSet;
};

void AppendInt(QByteArray& B, int64_t V)
{
    char Buf[24];
    const auto R = std::to_chars(Buf, Buf + sizeof Buf, V);
    B.append(Buf, R.ptr - Buf);
}

// Appends Text as UTF-8; with Quote, inside double quotes with inner quotes
// doubled. Written out by hand: a copy converts a million cells.
void AppendUtf8(QByteArray& B, const QString& Text, bool Quote = false)
{
    if (Quote)
        B.append('"');
    const qsizetype N = Text.size();
    const QChar* P = Text.constData();
    for (qsizetype i = 0; i < N; ++i) {
        uint32_t U = P[i].unicode();
        if (U < 0x80) {
            if (Quote && U == '"')
                B.append('"');
            B.append(char(U));
            continue;
        }
        if (QChar::isHighSurrogate(U) && i + 1 < N && P[i + 1].isLowSurrogate())
            U = QChar::surrogateToUcs4(char16_t(U), P[++i].unicode());
        else if (QChar::isSurrogate(U))
            U = 0xFFFD;
        char Bytes[4];
        int Len;
        if (U < 0x800) {
            Bytes[0] = char(0xC0 | (U >> 6));
            Bytes[1] = char(0x80 | (U & 0x3F));
            Len = 2;
        } else if (U < 0x10000) {
            Bytes[0] = char(0xE0 | (U >> 12));
            Bytes[1] = char(0x80 | ((U >> 6) & 0x3F));
            Bytes[2] = char(0x80 | (U & 0x3F));
            Len = 3;
        } else {
            Bytes[0] = char(0xF0 | (U >> 18));
            Bytes[1] = char(0x80 | ((U >> 12) & 0x3F));
            Bytes[2] = char(0x80 | ((U >> 6) & 0x3F));
            Bytes[3] = char(0x80 | (U & 0x3F));
            Len = 4;
        }
        B.append(Bytes, Len);
    }
    if (Quote)
        B.append('"');
}

bool IsAscii(const QString& Text)
{
    for (const QChar C : Text)
        if (C.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------- base export

// Where a footer's running value comes from: the field, once per export.
struct TDBGridEhExport::TFooterSource
{
    TField* Field = nullptr;
    TFooterValueType Type = fvtNon;
};

// What a cell starts from, read from its column once per export.
struct TDBGridEhExport::TColumnDefaults
{
    std::unique_ptr<TFont> Font;
    TColor Color = clWindow;
    TAlignment Alignment = taLeftJustify;
    bool Checkboxes = false;
    bool ReadOnly = false;
};

TDBGridEhExport::TDBGridEhExport() : FCellFont(std::make_unique<TFont>()) {}

TDBGridEhExport::~TDBGridEhExport() = default;

void TDBGridEhExport::Write(const char* Data, qsizetype Size)
{
    FStream->WriteBuffer(Data, Size);
}

void TDBGridEhExport::Write(const char* Text)
{
    Write(Text, qsizetype(std::strlen(Text)));
}

void TDBGridEhExport::ExportToFile(const QString& FileName, bool AllSelected)
{
    TMemoryStream Data;
    ExportToStream(Data, AllSelected);
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly) || File.write(Data.Data()) != Data.Data().size() || !File.commit())
        throw EWriteError(QStringLiteral("Cannot create file \"%1\"").arg(FileName));
}

void TDBGridEhExport::ExportToStream(TStream& AStream, bool AllSelected)
{
    FStream = &AStream;
    TCustomDBGridEh* G = FDBGrid;
    TDataSet* D = GridDataSet(G);
    if (!D)
        return;
    TDBGridEhSelection* S = G->Selection();
    const TDBGridEhSelectionType Kind = AllSelected ? gstAll : S->SelectionType();
    if (Kind == gstNon)
        return;
    FExpCols.clear();
    {
        TControlsDisabled Disabled(D);
        G->SaveBookmark();
        struct TRestore
        {
            TCustomDBGridEh* Grid;
            ~TRestore() { Grid->RestoreBookmark(); }
        } Restore{G};
        TDBGridColumnsEh* Columns = G->Columns();
        switch (Kind) {
        case gstRectangle:
            for (int i = S->Rect()->LeftCol(); i <= S->Rect()->RightCol() && i < Columns->Count(); ++i)
                if (Columns->Items(i)->Visible())
                    FExpCols.push_back(Columns->Items(i));
            break;
        case gstColumns:
            FExpCols = S->Columns()->List();
            break;
        default:
            for (int i = 0; i < Columns->Count(); ++i)
                if (Columns->Items(i)->Visible())
                    FExpCols.push_back(Columns->Items(i));
            break;
        }
        FDefaults.clear();
        PrepareFooters();
        BeginExport();
        WritePrefix();
        if (G->Options().Contains(dgTitles))
            WriteTitle(FExpCols);
        switch (Kind) {
        case gstRecordBookmarks:
            for (const TBookmark& B : G->SelectedRows()->Reachable()) {
                D->GotoBookmark(B);
                CalcFooterValues();
                WriteRecord(FExpCols);
            }
            break;
        case gstRectangle:
            S->Rect()->ForEachRow([this] {
                WriteRecord(FExpCols);
                CalcFooterValues();
                return true;
            });
            break;
        default:
            D->First();
            while (!D->Eof()) {
                WriteRecord(FExpCols);
                CalcFooterValues();
                D->Next();
            }
            break;
        }
        for (int r = 0; r < G->FooterRowCount(); ++r)
            WriteFooter(FExpCols, r);
    }
    WriteSuffix();
    FFooters.clear();
    FFooterValues.clear();
}

void TDBGridEhExport::PrepareFooters()
{
    TCustomDBGridEh* G = FDBGrid;
    TDataSet* D = G->DataLink()->DataSet();
    const size_t N = size_t(std::max(0, G->FooterRowCount())) * FExpCols.size();
    FFooters.assign(N, TFooterSource());
    FFooterValues.assign(N, 0);
    for (int r = 0; r < G->FooterRowCount(); ++r) {
        for (size_t p = 0; p < FExpCols.size(); ++p) {
            TColumnEh* C = FExpCols[p];
            TColumnFooterEh* F = C->UsedFooter(r);
            TFooterSource& Source = FFooters[size_t(r) * FExpCols.size() + p];
            Source.Type = F->ValueType();
            const QString Name = F->FieldName().isEmpty() ? C->FieldName() : F->FieldName();
            Source.Field = Name.isEmpty() ? nullptr : D->FindField(Name);
        }
    }
}

// Sums and counts of the exported records only.
void TDBGridEhExport::CalcFooterValues()
{
    for (size_t i = 0; i < FFooters.size(); ++i) {
        const TFooterSource& S = FFooters[i];
        if (!S.Field)
            continue;
        if (S.Type == fvtSum && !S.Field->IsNull())
            FFooterValues[i] += SumUnits(S.Field->AsFloat());
        else if (S.Type == fvtCount)
            FFooterValues[i] += 10000;
    }
}

QString TDBGridEhExport::FooterValue(int Row, int Pos) const
{
    const size_t i = size_t(Row) * FExpCols.size() + size_t(Pos);
    const TFooterSource& S = FFooters[i];
    const TSumUnitsEh V = FFooterValues[i];
    if (S.Type == fvtCount)
        return FloatToStr(double(V) / 10000);
    TField* F = S.Field;
    if (!F)
        return QString();
    const double Value = double(V) / 10000;
    const TFormatSettings& Fmt = FormatSettings();
    switch (F->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
        if (!F->DisplayFormat().isEmpty())
            return FormatFloat(F->DisplayFormat(), Value);
        // A total past the exact range shows as the floating-point value.
        return SumUnitsFit(V) ? IntToStr(int64_t(V / 10000)) : FloatToStrF(Value, TFloatFormat::ffGeneral, 15, 0);
    case ftFloat: case ftCurrency:
        if (!F->DisplayFormat().isEmpty())
            return FormatFloat(F->DisplayFormat(), Value);
        return F->Currency() ? FloatToStrF(Value, TFloatFormat::ffCurrency, F->Precision(), Fmt.CurrencyDecimals)
                             : FloatToStrF(Value, TFloatFormat::ffGeneral, F->Precision(), 0);
    case ftBCD:
        if (!F->DisplayFormat().isEmpty())
            return FormatCurr(F->DisplayFormat(), Value);
        return F->Currency() ? CurrToStrF(Value, TFloatFormat::ffCurrency, Fmt.CurrencyDecimals)
                             : CurrToStrF(Value, TFloatFormat::ffGeneral, 0);
    default:
        return QString();
    }
}

TColCellParamsEh& TDBGridEhExport::CellParams(TColumnEh* Column)
{
    const size_t i = size_t(std::max(0, Column->Index()));
    if (FDefaults.size() <= i)
        FDefaults.resize(i + 1);
    TColumnDefaults& D = FDefaults[i];
    if (!D.Font) {
        D.Font = std::make_unique<TFont>();
        D.Font->Assign(*Column->Font());
        D.Color = Column->Color();
        D.Alignment = Column->Alignment();
        D.Checkboxes = Column->GetColumnType() == ctCheckboxes;
        D.ReadOnly = Column->ReadOnly();
    }
    TColCellParamsEh& P = FColCellParams;
    // A font of its own: the cell events may change it.
    FCellFont->Assign(*D.Font);
    P.Col = P.Row = -1;
    P.State = 0;
    P.Font = FCellFont.get();
    P.Background = D.Color;
    P.Alignment = D.Alignment;
    P.ImageIndex = -1;
    P.Text = Column->GetDisplayText();
    P.CheckboxState = D.Checkboxes ? Column->CheckboxState() : cbUnchecked;
    P.ReadOnly = D.ReadOnly;
    TCustomDBGridEh* G = FDBGrid;
    if (G->OnGetCellParams)
        G->OnGetCellParams(G, Column, P.Font, P.Background, TGridDrawState());
    Column->GetColCellParams(false, P);
    return P;
}

void TDBGridEhExport::FooterParams(int FooterNo, int Pos, TColumnEh* Column, TColor& Background,
                                   TAlignment& Alignment, QString& Text)
{
    TCustomDBGridEh* G = FDBGrid;
    TColumnFooterEh* F = Column->UsedFooter(FooterNo);
    FCellFont->Assign(*F->Font());
    Background = F->Color();
    Alignment = F->Alignment();
    Text = F->ValueType() == fvtSum || F->ValueType() == fvtCount ? FooterValue(FooterNo, Pos)
                                                                  : G->GetFooterValueText(FooterNo, Column);
    if (G->OnGetFooterParams)
        G->OnGetFooterParams(G, Column->Index(), FooterNo, Column, FCellFont.get(), Background, Alignment,
                             TGridDrawState(), Text);
}

void TDBGridEhExport::WriteRecord(const TColumnsEhList& Columns)
{
    BeginRecord(Columns);
    for (TColumnEh* C : Columns)
        WriteDataCell(C, CellParams(C));
    EndRecord();
}

void TDBGridEhExport::WriteFooter(const TColumnsEhList& Columns, int FooterNo)
{
    BeginFooter(Columns, FooterNo);
    for (size_t p = 0; p < Columns.size(); ++p) {
        TColor Background;
        TAlignment Alignment;
        QString Text;
        FooterParams(FooterNo, int(p), Columns[p], Background, Alignment, Text);
        WriteFooterCell(int(p), FooterNo, Columns[p], FCellFont.get(), Background, Alignment, Text);
    }
    EndFooter();
}

void TDBGridEhExport::WriteFooterCell(int, int, TColumnEh*, TFont*, TColor, TAlignment, const QString&) {}

// ---------------------------------------------------------------- text

void TDBGridEhExportAsText::CheckFirstRec()
{
    if (!FFirstRec)
        Write("\r\n", 2);
    FFirstRec = false;
}

bool TDBGridEhExportAsText::TakeFirstCell()
{
    const bool First = FFirstCell;
    FFirstCell = false;
    return First;
}

void TDBGridEhExportAsText::CheckFirstCell()
{
    if (!TakeFirstCell())
        Write("\t", 1);
}

void TDBGridEhExportAsText::WriteText(const QString& Text)
{
    FBuffer.clear();
    AppendUtf8(FBuffer, Text);
    Write(FBuffer);
}

void TDBGridEhExportAsText::WriteTitle(const TColumnsEhList& Columns)
{
    CheckFirstRec();
    FFirstCell = true;
    for (TColumnEh* C : Columns) {
        CheckFirstCell();
        WriteText(C->Title()->Caption());
    }
}

void TDBGridEhExportAsText::BeginRecord(const TColumnsEhList&)
{
    CheckFirstRec();
    FFirstCell = true;
}

void TDBGridEhExportAsText::WriteDataCell(TColumnEh*, TColCellParamsEh& Params)
{
    CheckFirstCell();
    WriteText(Params.Text);
}

void TDBGridEhExportAsText::BeginFooter(const TColumnsEhList&, int)
{
    CheckFirstRec();
    FFirstCell = true;
}

void TDBGridEhExportAsText::WriteFooterCell(int, int, TColumnEh*, TFont*, TColor, TAlignment, const QString& Text)
{
    CheckFirstCell();
    WriteText(Text);
}

// ---------------------------------------------------------------- CSV

TDBGridEhExportAsCSV::TDBGridEhExportAsCSV() : FSeparator(QString(FormatSettings().ListSeparator).toUtf8()) {}

void TDBGridEhExportAsCSV::CheckFirstCell()
{
    if (!TakeFirstCell())
        Write(FSeparator);
}

void TDBGridEhExportAsCSV::WriteText(const QString& Text)
{
    QByteArray& B = Buffer();
    B.clear();
    AppendUtf8(B, Text, true);
    Write(B);
}

// ---------------------------------------------------------------- RTF

namespace {

// 7-bit RTF text: the three special characters escaped, every other
// non-ASCII UTF-16 unit as \uN? (N signed 16-bit) so that any reader shows
// the characters whatever its code page.
void AppendRtfText(QByteArray& B, const QString& Text)
{
    for (const QChar Ch : Text) {
        const ushort U = Ch.unicode();
        if (U == '\\' || U == '{' || U == '}') {
            B.append('\\');
            B.append(char(U));
        } else if (U < 0x80) {
            B.append(char(U));
        } else {
            B.append("\\u", 2);
            AppendInt(B, int16_t(U));
            B.append('?');
        }
    }
}

int Twips(int Pixels, int Dpi)
{
    return int(std::lround(double(Pixels) / Dpi * 1440));
}

} // namespace

TDBGridEhExportAsRTF::TDBGridEhExportAsRTF() = default;
TDBGridEhExportAsRTF::~TDBGridEhExportAsRTF() = default;

int TDBGridEhExportAsRTF::ColorIndex(TColor Color)
{
    for (const auto& [Known, Index] : FColorCache)
        if (Known == Color)
            return Index;
    const int Index = ColorIndexOf(Color);
    FColorCache.emplace_back(Color, Index);
    return Index;
}

int TDBGridEhExportAsRTF::ColorIndexOf(TColor Color)
{
    const TColor Rgb = ColorToRGB(Color);
    char Entry[16];
    std::snprintf(Entry, sizeof Entry, "%3d%3d%3d", GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb));
    for (size_t i = 0; i < FColors.size(); ++i)
        if (FColors[i] == Entry)
            return int(i);
    FColors.emplace_back(Entry);
    return int(FColors.size() - 1);
}

int TDBGridEhExportAsRTF::FontIndex(const QString& Name)
{
    if (FLastFont >= 0 && FFonts[size_t(FLastFont)] == Name)
        return FLastFont;
    FLastFont = FontIndexOf(Name);
    return FLastFont;
}

int TDBGridEhExportAsRTF::FontIndexOf(const QString& Name)
{
    for (size_t i = 0; i < FFonts.size(); ++i)
        if (FFonts[i] == Name)
            return int(i);
    FFonts.push_back(Name);
    return int(FFonts.size() - 1);
}

const char* TDBGridEhExportAsRTF::Spacing() const
{
    return DBGrid()->Flat() ? "12" : "24";
}

void TDBGridEhExportAsRTF::BeginExport()
{
    FColors.clear();
    FColorCache.clear();
    FFonts.clear();
    FLastFont = -1;
    FRowShades.clear();
    FRowDefs.clear();
    ColorIndex(clBlack);
    ColorIndex(clWhite);
    ColorIndex(clBtnFace);
    FDpi = std::max(1, ScreenDpi());
}

void TDBGridEhExportAsRTF::ExportToStream(TStream& AStream, bool AllSelected)
{
    BeginExport();
    TMemoryStream Body;
    TDBGridEhExport::ExportToStream(Body, AllSelected);
    WriteDocument(AStream, Body.Data());
}

void TDBGridEhExportAsRTF::WriteDocument(TStream& Target, const QByteArray& Body)
{
    QByteArray Head("{\\rtf0\\ansi\\ansicpg936\\uc1\r\n{\\colortbl");
    for (const QByteArray& Entry : FColors) {
        Head.append("\\red").append(Entry.mid(0, 3).trimmed());
        Head.append("\\green").append(Entry.mid(3, 3).trimmed());
        Head.append("\\blue").append(Entry.mid(6, 3).trimmed()).append(';');
    }
    Head.append("}\r\n{\\fonttbl");
    for (size_t i = 0; i < FFonts.size(); ++i) {
        Head.append("\\f");
        AppendInt(Head, int64_t(i));
        Head.append("\\fnil\\fcharset134 ");
        AppendRtfText(Head, FFonts[i]);
        Head.append(';');
    }
    Head.append("}\r\n");
    Target.WriteBuffer(Head.constData(), Head.size());
    Target.WriteBuffer(Body.constData(), Body.size());
}

void TDBGridEhExportAsRTF::WriteSuffix()
{
    Write("}");
}

QByteArray TDBGridEhExportAsRTF::CellDefs(const TColumnsEhList& Columns, const std::vector<TColor>& Shades,
                                          const std::vector<TBorders>* Borders)
{
    QByteArray B;
    int Right = 0;
    for (size_t i = 0; i < Columns.size(); ++i) {
        const TBorders Edges = Borders ? (*Borders)[i] : TBorders();
        if (Edges.Left)
            B.append("\\clbrdrl\\brdrs\\brdrcf0\r\n");
        if (Edges.Top)
            B.append("\\clbrdrt\\brdrs\\brdrcf0\r\n");
        if (Edges.Bottom)
            B.append("\\clbrdrb\\brdrs\\brdrcf0\r\n");
        if (Edges.Right)
            B.append("\\clbrdrr\\brdrs\\brdrcf0\r\n");
        B.append("\\clshdng10000\\clcfpat");
        AppendInt(B, ColorIndex(Shades[i]));
        Right += Twips(Columns[i]->Width(), FDpi);
        B.append("\\cellx");
        AppendInt(B, Right);
        B.append("\r\n");
    }
    return B;
}

void TDBGridEhExportAsRTF::WriteCell(TAlignment Alignment, const TFont* Font, TColor Background, const QString& Text,
                                     bool Spacing, const char* Space)
{
    QByteArray& B = FCell;
    B.clear();
    B.append("\\pard\\intbl{");
    B.append(Alignment == taRightJustify ? "\\qr" : Alignment == taCenter ? "\\qc" : "\\ql");
    if (Spacing) {
        const char* S = Space ? Space : this->Spacing();
        B.append("\\sb").append(S).append("\\sa").append(S);
    }
    B.append("\\fs");
    AppendInt(B, Font->Size() * 2);
    const TFontStyles Style = Font->Style();
    if (Style.Contains(fsBold))
        B.append("\\b");
    if (Style.Contains(fsItalic))
        B.append("\\i");
    if (Style.Contains(fsStrikeOut))
        B.append("\\strike");
    if (Style.Contains(fsUnderline))
        B.append("\\ul");
    B.append("\\f");
    AppendInt(B, FontIndex(Font->Name()));
    B.append("\\cf");
    AppendInt(B, ColorIndex(Font->Color()));
    B.append("\\cb");
    AppendInt(B, ColorIndex(Background));
    B.append(' ');
    AppendRtfText(B, Text);
    B.append("\\cell}\r\n");
    Write(B);
}

// Rows of one list mostly share their cell definitions: they are made again
// only when the shading changes.
void TDBGridEhExportAsRTF::BeginRow(const TColumnsEhList& Columns, const std::vector<TColor>& Shades)
{
    Write("\\trowd\\trgaph40\r\n");
    if (Shades != FRowShades || FRowDefs.isEmpty()) {
        FRowShades = Shades;
        FRowDefs = CellDefs(Columns, Shades);
    }
    Write(FRowDefs);
    Write("{\\trrh0\r\n");
}

void TDBGridEhExportAsRTF::BeginRecord(const TColumnsEhList& Columns)
{
    TCustomDBGridEh* G = DBGrid();
    FShades.clear();
    TFont Font;
    for (TColumnEh* C : Columns) {
        TColor Background = C->Color();
        if (G->OnGetCellParams) {
            Font.Assign(*C->Font());
            G->OnGetCellParams(G, C, &Font, Background, TGridDrawState());
        }
        FShades.push_back(Background);
    }
    BeginRow(Columns, FShades);
}

void TDBGridEhExportAsRTF::EndRecord()
{
    Write("\\pard\\intbl\\row}\r\n");
}

void TDBGridEhExportAsRTF::WriteDataCell(TColumnEh*, TColCellParamsEh& Params)
{
    WriteCell(Params.Alignment, Params.Font, Params.Background, Params.Text);
}

void TDBGridEhExportAsRTF::BeginFooter(const TColumnsEhList& Columns, int FooterNo)
{
    TCustomDBGridEh* G = DBGrid();
    FShades.clear();
    TFont Font;
    for (TColumnEh* C : Columns) {
        TColumnFooterEh* F = C->UsedFooter(FooterNo);
        TColor Background = F->Color();
        if (G->OnGetFooterParams) {
            Font.Assign(*F->Font());
            TAlignment Alignment = F->Alignment();
            QString Text = G->GetFooterValueText(FooterNo, C);
            G->OnGetFooterParams(G, C->Index(), FooterNo, C, &Font, Background, Alignment, TGridDrawState(), Text);
        }
        FShades.push_back(Background);
    }
    BeginRow(Columns, FShades);
}

void TDBGridEhExportAsRTF::WriteFooterCell(int, int, TColumnEh*, TFont* AFont, TColor Background,
                                           TAlignment Alignment, const QString& Text)
{
    WriteCell(Alignment, AFont, Background, Text);
}

void TDBGridEhExportAsRTF::WriteTitle(const TColumnsEhList& Columns)
{
    TCustomDBGridEh* G = DBGrid();
    bool Multi = G->UseMultiTitle();
    for (TColumnEh* C : Columns)
        Multi = Multi && C->Index() < int(G->LeafFieldArr().size());
    if (Multi) {
        WriteMultiTitle(Columns);
        return;
    }
    std::vector<TColor> Shades;
    for (TColumnEh* C : Columns)
        Shades.push_back(C->Title()->Color());
    Write("\\trowd\\trgaph40\r\n");
    Write(CellDefs(Columns, Shades));
    Write("{\\trrh0\r\n");
    for (TColumnEh* C : Columns)
        WriteCell(C->Title()->Alignment(), C->Title()->Font(), C->Title()->Color(), C->Title()->Caption());
    Write("\\pard\\intbl\\row}\r\n");
}

// Multi-line titles as rows of cells, one row per level of the title tree;
// a caption shared by neighbouring columns, or reaching down over levels,
// is one block whose inner cells have no borders between them.
void TDBGridEhExportAsRTF::WriteMultiTitle(const TColumnsEhList& Columns)
{
    TCustomDBGridEh* G = DBGrid();
    const THeadTreeNode* Root = G->HeadTree();
    const size_t N = Columns.size();
    std::vector<const THeadTreeNode*> Current(N);
    std::vector<int> Height(N);
    for (size_t c = 0; c < N; ++c) {
        Current[c] = G->LeafFieldArr()[size_t(Columns[c]->Index())];
        Height[c] = Current[c]->Height;
    }
    // Bottom-up: the columns whose captions end highest climb to their group first.
    std::vector<std::vector<const THeadTreeNode*>> Levels{Current};
    for (;;) {
        const int Lowest = N ? *std::min_element(Height.begin(), Height.end()) : 0;
        bool Replaced = false;
        for (size_t c = 0; c < N; ++c) {
            const THeadTreeNode* Parent = Current[c]->Parent;
            if (Height[c] == Lowest && Parent && Parent != Root) {
                Current[c] = Parent;
                Height[c] += Parent->Height;
                Replaced = true;
            }
        }
        if (!Replaced)
            break;
        Levels.push_back(Current);
    }
    char Space[16];
    std::snprintf(Space, sizeof Space, "%d",
                  std::abs(int(std::lround(double(G->VTitleMargin()) / 2 / FDpi * 1440 - 20))));
    std::set<std::pair<size_t, int>> Covered;
    std::map<std::pair<size_t, int>, TBorders> Borders;
    for (int L = int(Levels.size()) - 1; L >= 0; --L) {
        const auto& Level = Levels[size_t(L)];
        for (size_t c = 0; c < N; ++c) {
            if (Covered.count({c, L}))
                continue;
            size_t W = 1;
            while (c + W < N && Level[c + W] == Level[c])
                ++W;
            int H = 1;
            while (L - H >= 0 && Levels[size_t(L - H)][c] == Level[c])
                ++H;
            for (size_t x = 0; x < W; ++x) {
                for (int y = 0; y < H; ++y) {
                    if (x || y)
                        Covered.insert({c + x, L - y});
                    Borders[{c + x, L - y}] = TBorders{x == 0, y == 0, y == H - 1, x == W - 1};
                }
            }
        }
        std::vector<TColor> Shades;
        std::vector<TBorders> RowBorders;
        for (size_t c = 0; c < N; ++c) {
            Shades.push_back(L > 0 ? G->FixedColor() : Columns[c]->Title()->Color());
            RowBorders.push_back(Borders[{c, L}]);
        }
        Write("\\trowd\\trgaph40\r\n");
        Write(CellDefs(Columns, Shades, &RowBorders));
        Write("{\\trrh0\r\n");
        for (size_t c = 0; c < N; ++c) {
            const bool Holds = !Covered.count({c, L});
            const QString Text = Holds ? Level[c]->Text : QString();
            if (L > 0)
                WriteCell(taCenter, G->TitleFont(), G->FixedColor(), Text, Holds, Space);
            else
                WriteCell(taCenter, Columns[c]->Title()->Font(), Columns[c]->Title()->Color(), Text, Holds, Space);
        }
        Write("\\pard\\intbl\\row}\r\n");
    }
}

// ---------------------------------------------------------------- VCLDBIF

void TDBGridEhExportAsVCLDBIF::WritePrefix()
{
    QByteArray B("VCLDBIF\x01", 8);
    const int32_t N = int32_t(ExpCols().size());
    B.append(reinterpret_cast<const char*>(&N), 4);
    for (TColumnEh* C : ExpCols()) {
        B.append(char(C->Visible() ? 1 : 0));
        B.append('\0');
    }
    Write(B);
}

void TDBGridEhExportAsVCLDBIF::WriteSuffix()
{
    Write("\0", 1);
}

void TDBGridEhExportAsVCLDBIF::WriteBytes(uint8_t Tag, const QString& Text)
{
    const bool Ascii = IsAscii(Text);
    if (!Ascii && !FLostText && !GbkCanEncode(Text))
        FLostText = true;
    const QByteArray Bytes = Ascii ? Text.toLatin1() : ToGbk(Text);
    const int32_t L = int32_t(Bytes.size());
    Stream()->WriteU8(Tag);
    Stream()->WriteI32(L);
    Write(Bytes);
}

void TDBGridEhExportAsVCLDBIF::WriteDataCell(TColumnEh* Column, TColCellParamsEh&)
{
    TField* F = Column->Field();
    // A lookup column carries its key, not the text looked up.
    if (F && F->Lookup())
        F = F->KeyFields().isEmpty() ? nullptr : F->DataSet()->FindField(F->KeyFields());
    if (!F) {
        Stream()->WriteU8(1);
        return;
    }
    if (F->IsNull()) {
        Stream()->WriteU8(2);
        return;
    }
    switch (F->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
        Stream()->WriteU8(3);
        Stream()->WriteI32(F->AsInteger());
        break;
    case ftFloat: case ftCurrency: case ftBCD: case ftDate: case ftTime: case ftDateTime:
        Stream()->WriteU8(4);
        Stream()->WriteF64(F->AsFloat());
        break;
    case ftString: case ftBoolean: case ftMemo: case ftFixedChar: case ftLargeint:
        WriteBytes(5, F->AsString());
        break;
    case ftBytes: case ftVarBytes: case ftBlob: case ftGraphic: case ftFmtMemo: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftWideString:
        WriteBytes(6, F->AsString());
        break;
    default:
        Stream()->WriteU8(1);
        break;
    }
}

// ---------------------------------------------------------------- clipboard

// The four formats of a copy written in one walk over the selection: each
// cell's parameters and events are evaluated once and handed to every format.
class TDBGridEhCopyExport : public TDBGridEhExport
{
public:
    TDBGridEhExportAsText Text;
    TDBGridEhExportAsCSV Csv;
    TDBGridEhExportAsRTF Rtf;
    TDBGridEhExportAsVCLDBIF Binary;
    TMemoryStream TextData, CsvData, RtfBody, BinaryData;

    void Run(bool AllSelected)
    {
        // An empty selection still gives the RTF its header and tables.
        Rtf.BeginExport();
        TMemoryStream None;
        ExportToStream(None, AllSelected);
    }
    QByteArray RtfDocument()
    {
        TMemoryStream S;
        Rtf.WriteDocument(S, RtfBody.Data());
        return S.Data();
    }
    // The text's records without the title and footer rows.
    QByteArray RecordsText() const
    {
        if (RecordsBegin < 0)
            return QByteArray();
        QByteArray R = TextData.Data().mid(RecordsBegin, RecordsEnd - RecordsBegin);
        if (R.startsWith("\r\n"))
            R.remove(0, 2);
        return R;
    }

protected:
    void BeginExport() override
    {
        TMemoryStream* Streams[] = {&TextData, &CsvData, &RtfBody, &BinaryData};
        for (size_t i = 0; i < 4; ++i) {
            TDBGridEhExport* P = Part(i);
            P->FDBGrid = DBGrid();
            P->FStream = Streams[i];
            P->FExpCols = ExpCols();
            P->BeginExport();
        }
    }
    void WritePrefix() override
    {
        for (size_t i = 0; i < 4; ++i)
            Part(i)->WritePrefix();
    }
    void WriteSuffix() override
    {
        for (size_t i = 0; i < 4; ++i)
            Part(i)->WriteSuffix();
    }
    void WriteTitle(const TColumnsEhList& Columns) override
    {
        for (size_t i = 0; i < 4; ++i)
            Part(i)->WriteTitle(Columns);
    }
    void WriteRecord(const TColumnsEhList& Columns) override
    {
        if (RecordsBegin < 0)
            RecordsBegin = TextData.Size();
        for (size_t i = 0; i < 4; ++i)
            Part(i)->BeginRecord(Columns);
        for (TColumnEh* C : Columns) {
            TColCellParamsEh& P = CellParams(C);
            for (size_t i = 0; i < 4; ++i)
                Part(i)->WriteDataCell(C, P);
        }
        for (size_t i = 0; i < 4; ++i)
            Part(i)->EndRecord();
        RecordsEnd = TextData.Size();
    }
    void WriteFooter(const TColumnsEhList& Columns, int FooterNo) override
    {
        for (size_t i = 0; i < 4; ++i)
            Part(i)->BeginFooter(Columns, FooterNo);
        for (size_t p = 0; p < Columns.size(); ++p) {
            TColor Background;
            TAlignment Alignment;
            QString Value;
            FooterParams(FooterNo, int(p), Columns[p], Background, Alignment, Value);
            for (size_t i = 0; i < 4; ++i)
                Part(i)->WriteFooterCell(int(p), FooterNo, Columns[p], CellFont(), Background, Alignment, Value);
        }
        for (size_t i = 0; i < 4; ++i)
            Part(i)->EndFooter();
    }

private:
    qint64 RecordsBegin = -1, RecordsEnd = -1;
    TDBGridEhExport* Part(size_t i)
    {
        TDBGridEhExport* Parts[] = {&Text, &Csv, &Rtf, &Binary};
        return Parts[i];
    }
};

void CopyGridSelection(TCustomDBGridEh* Grid, bool AllSelected)
{
    TDataSet* D = GridDataSet(Grid);
    if (!D)
        return;
    TDBGridEhCopyExport Copy;
    {
        TControlsDisabled Disabled(D);
        Copy.SetDBGrid(Grid);
        Copy.Run(AllSelected);
    }
    // Every format of one copy goes out together, and only when all were made.
    TClipboard* C = Clipboard();
    C->Open();
    C->SetAsText(QString::fromUtf8(Copy.TextData.Data()));
    C->SetFormat(ClipboardCsvMimeType, Copy.CsvData.Data());
    C->SetFormat(ClipboardCsvFormat, Copy.CsvData.Data());
    C->SetFormat(ClipboardRtfFormat, Copy.RtfDocument());
    // Texts GBK cannot hold would come back as '?': a paste takes the text
    // then, without the title and footer rows.
    if (!Copy.Binary.LostText())
        C->SetFormat(ClipboardVCLDBIFFormat, Copy.BinaryData.Data());
    else
        C->SetFormat(ClipboardRecordsFormat, Copy.RecordsText());
    C->Close();
}

void CutGridSelection(TCustomDBGridEh* Grid, bool AllSelected)
{
    CopyGridSelection(Grid, AllSelected);
    DeleteGridSelection(Grid, AllSelected);
}
