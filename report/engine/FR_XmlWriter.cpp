#include "report/engine/FR_XmlWriter.h"

#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_View.h"
#include "report/engine/FR_XmlText.h"

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Value types of the binary property stream.
constexpr char vaCollection = 14;
constexpr char vaString = 6;
constexpr char vaLString = 12;
constexpr char vaList = 1;
constexpr char vaNull = 0;

QString PageObjectName(int Index)
{
    return QStringLiteral("Page") + QString::number(Index + 1);
}

// Layout pixels to the millimetres of the template format.
int64_t PixelsToMM(int Pixels)
{
    return RoundHalfEven(Pixels / 3.77953 * 1.047741935483871);
}

// ---------------------------------------------------------------- script

void AddProcedure(QStringList& Lines, const QString& Name, const TStrings& Script)
{
    const int Count = Script.Count();
    if (Count == 0)
        return;
    const bool OwnBlock = Script.Strings(0) == u"begin";
    Lines << QStringLiteral("procedure ") + frXmlEventName(Name) + QStringLiteral("(Sender: TfrComponent);")
          << QStringLiteral("begin")
          << QStringLiteral("  with ") + Name + QStringLiteral(", Engine do")
          << QStringLiteral("  begin");
    if (!OwnBlock)
        Lines << Script.Strings(0);
    for (int i = 1; i < Count - 1; ++i)
        Lines << Script.Strings(i);
    if (!OwnBlock) {
        if (Count >= 2)
            Lines << Script.Strings(Count - 1);
        Lines << QStringLiteral("  end") << QStringLiteral("end;");
    } else {
        Lines << QStringLiteral("  end") << Script.Strings(Count - 1) + u';';
    }
    Lines << QString();
}

// One procedure per page or view with a script, then the main block.
QString ConvertedScript(const TfrPages& Pages)
{
    QStringList Lines;
    for (int i = 0; i < Pages.Count(); ++i) {
        const TfrPage* Page = Pages.Pages(i);
        AddProcedure(Lines, PageObjectName(i), Page->Script);
        for (int k = 0; k < Page->Count(); ++k)
            AddProcedure(Lines, Page->Objects(k)->Name(), *Page->Objects(k)->Script());
    }
    Lines << QStringLiteral("begin") << QString() << QStringLiteral("end.");
    return Lines.join(Crlf);
}

// ---------------------------------------------------------------- dictionary

void WritePropName(QByteArray& Out, const char* Name)
{
    Out.append(static_cast<char>(qstrlen(Name)));
    Out.append(Name);
}

void WritePropText(QByteArray& Out, const QString& Text)
{
    const QByteArray Bytes = ToGbk(Text);
    if (Bytes.size() <= 255) {
        Out.append(vaString);
        Out.append(static_cast<char>(Bytes.size()));
    } else {
        Out.append(vaLString);
        const auto Length = static_cast<uint32_t>(Bytes.size());
        for (int Shift = 0; Shift < 32; Shift += 8)
            Out.append(static_cast<char>((Length >> Shift) & 0xFF));
    }
    Out.append(Bytes);
}

// The dictionary's variables as a binary property stream: an empty
// "Datasets" collection, then "Variables" with one item (Name, Value) each.
QString DictionaryData(const TfrDataDictionary& Dictionary)
{
    QByteArray Out;
    WritePropName(Out, "Datasets");
    Out.append(vaCollection);
    Out.append(vaNull);
    WritePropName(Out, "Variables");
    Out.append(vaCollection);
    const TfrVariables& Variables = Dictionary.Variables;
    for (int i = 0; i < Variables.Count(); ++i) {
        Out.append(vaList);
        WritePropName(Out, "Name");
        WritePropText(Out, Variables.GetName(i));
        WritePropName(Out, "Value");
        WritePropText(Out, Variables.GetValue(i).AsString());
        Out.append(vaNull);
    }
    Out.append(vaNull);
    return frHexText(Out);
}

// ---------------------------------------------------------------- password

// Every GBK byte lowered by 10, each result written as the character of that
// code. A result below 32 (a blank or one of !"#$%&'() in the password) has
// no place in XML 1.0; the save is refused rather than writing a password
// that no longer matches.
QString LoweredPassword(const QString& Password)
{
    QString Result;
    for (const char Byte : ToGbk(Password)) {
        const auto Code = static_cast<uint8_t>(static_cast<uint8_t>(Byte) - 10);
        if (Code < 32)
            throw EWriteError(QStringLiteral(
                "The report password cannot be saved in an XML template: "
                "it holds a blank or one of the characters !\"#$%&'()"));
        Result += QChar(Code);
    }
    return Result;
}

// ---------------------------------------------------------------- pages

QString ReportPageTag(const TfrPage& Page, int Index)
{
    const TfrPrnInfo& Info = Page.PrnInfo;
    TfrXmlTag Tag(QStringLiteral("TfrReportPage"));
    Tag.Add(QStringLiteral("Name"), PageObjectName(Index))
        .Add(QStringLiteral("Orientation"),
             Page.Orientation == poLandscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"))
        .Add(QStringLiteral("PaperWidth"), PixelsToMM(Info.PaperWidthPx))
        .Add(QStringLiteral("PaperHeight"), PixelsToMM(Info.PaperHeightPx))
        .Add(QStringLiteral("PaperSize"), Page.Size)
        .Add(QStringLiteral("LeftMargin"), PixelsToMM(Page.GetLeftBound()))
        .Add(QStringLiteral("RightMargin"), PixelsToMM(Info.PaperWidthPx - Page.GetRightBound()))
        .Add(QStringLiteral("TopMargin"), PixelsToMM(Page.GetTopBound()))
        .Add(QStringLiteral("BottomMargin"), PixelsToMM(Info.PaperHeightPx - Page.GetBottomBound()))
        .Add(QStringLiteral("Columns"), Page.Columns)
        .Add(QStringLiteral("ColumnWidth"), Page.ColumnWidth);
    if (Page.PrintToPrevPage != 0)
        Tag.Add(QStringLiteral("PrintOnPreviousPage"), QStringLiteral("True"));
    if (Page.Script.Count() > 0)
        Tag.Add(QStringLiteral("OnBeforePrint"), frXmlEventName(PageObjectName(Index)));
    return Tag.Text();
}

QString DialogPageTag(const TfrPage& Page, int Index)
{
    TfrXmlTag Tag(QStringLiteral("TfrDialogPage"));
    Tag.Add(QStringLiteral("Name"), PageObjectName(Index))
        .Add(QStringLiteral("Height"), Page.FormHeight)
        .Add(QStringLiteral("Left"), Page.FormLeft)
        .Add(QStringLiteral("Top"), Page.FormTop)
        .Add(QStringLiteral("Width"), Page.FormWidth)
        .Add(QStringLiteral("BorderStyle"), Page.BorderStyle)
        .Add(QStringLiteral("Caption"), Page.Caption)
        .AddColor(QStringLiteral("Color"), Page.Color)
        .Add(QStringLiteral("Position"), Page.Position);
    if (Page.Script.Count() > 0)
        Tag.Add(QStringLiteral("OnActivate"), frXmlEventName(PageObjectName(Index)));
    return Tag.Text();
}

void WritePage(TStream& Stream, const TfrPage& Page, int Index)
{
    const bool Dialog = Page.PageType == ptDialog;
    frWriteXmlText(Stream, Dialog ? DialogPageTag(Page, Index) : ReportPageTag(Page, Index));
    if (Page.Count() == 0) {
        frWriteXmlText(Stream, QStringLiteral("/>") + Crlf);
        return;
    }
    frWriteXmlText(Stream, u'>' + Crlf);
    for (int i = 0; i < Page.Count(); ++i) {
        // Views without an element (the overlay and the cross bands) get no
        // closing "/>" either.
        const int64_t Before = Stream.Position();
        Page.Objects(i)->SaveToFR3(Stream);
        if (Stream.Position() != Before)
            frWriteXmlText(Stream, QStringLiteral("/>") + Crlf);
    }
    frWriteXmlText(Stream, (Dialog ? QStringLiteral("</TfrDialogPage>") : QStringLiteral("</TfrReportPage>")) + Crlf);
}

// Margins are written as designed: the printing state would take the page
// footer off the bottom bound.
class TDesignState
{
public:
    TDesignState() : FSaved(DocMode) { DocMode = dmDesigning; }
    ~TDesignState() { DocMode = FSaved; }
    TDesignState(const TDesignState&) = delete;
    TDesignState& operator=(const TDesignState&) = delete;

private:
    int FSaved;
};

} // namespace

void frWriteXmlTemplate(TfrReport& Report, TStream& Stream)
{
    const QString Password = LoweredPassword(Report.ReportPassword);
    TDesignState Design;
    const TfrPages& Pages = *Report.Pages();

    TfrXmlTag Tag(QStringLiteral("TfrReport"));
    Tag.Add(QStringLiteral("ScriptLanguage"), QStringLiteral("PascalScript"))
        .Add(QStringLiteral("ScriptText.text"), ConvertedScript(Pages))
        .Add(QStringLiteral("Propdata"), DictionaryData(*Report.Dictionary()))
        .Add(QStringLiteral("ReportOptions.Name"), Report.ReportName)
        .Add(QStringLiteral("ReportOptions.Author"), Report.ReportAutor)
        .Add(QStringLiteral("ReportOptions.Description.text"), Report.ReportComment)
        .Add(QStringLiteral("ReportOptions.CreateDate"), DateTimeToStr(Report.ReportCreateDate))
        .Add(QStringLiteral("ReportOptions.LastChange"), DateTimeToStr(Report.ReportLastChange))
        .Add(QStringLiteral("ReportOptions.VersionMajor"), Report.ReportVersionMajor)
        .Add(QStringLiteral("ReportOptions.VersionMinor"), Report.ReportVersionMinor)
        .Add(QStringLiteral("ReportOptions.VersionRelease"), Report.ReportVersionRelease)
        .Add(QStringLiteral("ReportOptions.VersionBuild"), Report.ReportVersionBuild)
        .Add(QStringLiteral("ReportOptions.Password"), Password);

    frWriteXmlText(Stream, QStringLiteral("<?xml version=\"1.0\"?>") + Crlf);
    frWriteXmlText(Stream, Tag.Text() + u'>' + Crlf);
    for (int i = 0; i < Pages.Count(); ++i)
        WritePage(Stream, *Pages.Pages(i), i);
    frWriteXmlText(Stream, QStringLiteral("</TfrReport>") + Crlf);
}
