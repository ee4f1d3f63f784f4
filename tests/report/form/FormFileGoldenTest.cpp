// Golden report forms written byte by byte from the format description
// (tests/data/form/make_golden.py): what each version and each view class
// loads as, and that saving a loaded form gives the same bytes back.
#include "FormTestUtil.h"

#include "report/engine/FR_Utils.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace formtest;

namespace {

const QString PageLine =
    QStringLiteral("page Page1 type=0 paper=9/2100x2970 o=0 bin=65535 m=10,20,30,40 prev=0 um=-1"
                   " cols=1 gap=0 border=3 caption=Form color=ff00000f form=220,120,380,300 pos=4 script=");
const QString VarsLine =
    QStringLiteral("vars= 单据=;MoneyCN=[Sum];Customer=frDBDataSet1.\"CustomerName\"");
const QString FieldsLine = QStringLiteral("fields=ADOQuery1=Query;ADOQuery1.Name=姓名");
const QString SourcesLine = QStringLiteral("sources=frDBDataSet1=Rows");
const QString InfoLine = QStringLiteral("info=月报|Money|Tallybridge|1.2.3.4 pw= prot=0 mark=X");
const QString NoInfoLine = QStringLiteral("info=|||... pw= prot=0 mark=X");

const QString Band25 =
    QStringLiteral("  TfrBandView Band1 #2 @0,60,718,24 fl=49 fr=5/1/0/0 fill=1fffffff fmt=0"
                   " 'frDBDataSet1' memo= script= vis=1 restr=0 tag= gap=2,1 ba=0"
                   " band=5 child=Band2 cols=2,300,10,3 master=");
const QString Memo25 =
    QStringLiteral("  TfrMemoView Memo1 #0 @20,30,200,18 fl=3 fr=15/1.5/ff/1 fill=ffffff fmt=22e ''"
                   " memo=合计：[Total]||second line script=if a > 1 then b := 2 vis=1 restr=8"
                   " tag=[Tag] gap=3,2 ba=3 font=宋体/9/3/800000/134 al=10 hl=2/0/ffffff"
                   " '[Value] > 10' sp=4,1");
const QString Picture25 =
    QStringLiteral("  TfrPictureView Picture1 #1 @300,100,80,60 fl=5 fr=0/1/0/0 fill=1fffffff fmt=22e ''"
                   " memo=Query1.Photo script= vis=1 restr=0 tag= gap=2,1 ba=0 pict=0/0 blob=1");
const QString SubReport25 =
    QStringLiteral("  TfrSubReportView SubReport1 #3 @20,120,300,40 fl=1 fr=0/1/0/0 fill=1fffffff"
                   " fmt=22e '' memo= script= vis=1 restr=0 tag= gap=2,1 ba=0 sub=1");
const QString Line25 =
    QStringLiteral("  TfrLineView Line1 #4 @20,160,0,50 fl=1 fr=4/2/0/5 fill=ffffff fmt=22e '' memo="
                   " script= vis=1 restr=0 tag= gap=2,1 ba=0");
// Records before version 24 carry no band data, spacing, restrictions, tag,
// gaps or band alignment; before 23 no name, script or visible flag either.
const QString BandOld =
    QStringLiteral("  TfrBandView Band1 #2 @0,60,718,24 fl=49 fr=5/1/0/0 fill=1fffffff fmt=0"
                   " 'frDBDataSet1' memo= script= vis=1 restr=0 tag= gap=2,1 ba=0"
                   " band=5 child= cols=1,200,20,1 master=");
QString MemoOld(int Flags, int Charset)
{
    return QStringLiteral("  TfrMemoView Memo1 #0 @20,30,200,18 fl=%1 fr=15/2/0/0 fill=1fffffff fmt=22e"
                          " '#,##0.00' memo=合计：[Total]|second line script= vis=1 restr=0 tag="
                          " gap=2,1 ba=0 font=宋体/9/3/800000/%2 al=2 hl=2/0/ffffff '' sp=2,0")
        .arg(Flags)
        .arg(Charset);
}
const QString PictureOld =
    QStringLiteral("  TfrPictureView Picture1 #1 @300,100,80,60 fl=5 fr=0/1/0/0 fill=1fffffff fmt=22e ''"
                   " memo=Query1.Photo script= vis=1 restr=0 tag= gap=2,1 ba=0 pict=0/0 blob=0");

struct TGoldenRow
{
    const char* File;
    QStringList Expected;
};

std::vector<TGoldenRow> GoldenRows()
{
    const QString Virtual = QStringLiteral("printer=Virtual printer default=0 double=0");
    const QString Hp = QStringLiteral("printer=HP LaserJet default=0 double=0");
    const QString Page25 = PageLine + QStringLiteral("PageScript");
    return {
        {"v25.frf", {Virtual, Page25, Band25, Memo25, Picture25, SubReport25, Line25, VarsLine,
                     FieldsLine, SourcesLine, InfoLine}},
        {"v24.frf", {Virtual, Page25, Band25, Memo25, Picture25, SubReport25, Line25, VarsLine,
                     FieldsLine, SourcesLine, InfoLine}},
        {"v23.frf", {Virtual, PageLine, BandOld, MemoOld(1, 134), PictureOld, Line25, VarsLine,
                     FieldsLine, SourcesLine, NoInfoLine}},
        {"v22.frf", {Hp, PageLine, BandOld, MemoOld(1, DefaultCharset()), Line25, "vars=",
                     "fields=", "sources=", NoInfoLine}},
        // Version 21 memos also wrap words.
        {"v21.frf", {Hp, PageLine, BandOld, MemoOld(3, DefaultCharset()), Line25, "vars=",
                     "fields=", "sources=", NoInfoLine}},
        {"memo.frf", {Virtual, Page25, Memo25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"band.frf", {Virtual, Page25, Band25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"line.frf", {Virtual, Page25, Line25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"picture.frf",
         {Virtual, Page25, Picture25,
          QStringLiteral("  TfrPictureView Picture2 #1 @300,200,80,60 fl=5 fr=0/1/0/0 fill=1fffffff"
                         " fmt=22e '' memo= script= vis=1 restr=0 tag= gap=2,1 ba=0 pict=1/58 blob=0"),
          VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"subreport.frf",
         {Virtual,
          QStringLiteral("page Page1 type=0 paper=9/2100x2970 o=0 bin=65535 m=0,0,0,0 prev=0 um=-1 cols=1"
                         " gap=0 border=3 caption=Form color=ff00000f form=220,120,380,300 pos=4 script="),
          SubReport25,
          QStringLiteral("page Page2 type=0 paper=256/1000x1500 o=1 bin=7 m=0,0,0,0 prev=0 um=-1 cols=1"
                         " gap=0 border=3 caption=Form color=ff00000f form=220,120,380,300 pos=4 script="),
          Line25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"dialog.frf",
         {Virtual,
          QStringLiteral("page Dialog type=1 paper=9/2100x2970 o=0 bin=65535 m=0,0,0,0 prev=0 um=-1 cols=1"
                         " gap=0 border=2 caption=选择 color=c0c0c0 form=10,20,300,200 pos=0"
                         " script=ShowMessage('x')"),
          VarsLine, FieldsLine, SourcesLine, InfoLine}},
        // An unknown add-in between two views is skipped by its end offset;
        // the rest of the form, the information too, is read as usual.
        {"addin.frf", {Virtual, Page25, Memo25, Line25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        // The old framed memo loads as a memo and its 8 extra bytes are skipped.
        {"framed.frf", {Virtual, Page25, Memo25, Line25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        // A record naming a page that does not exist is skipped.
        {"badpage.frf", {Virtual, Page25, Line25, VarsLine, FieldsLine, SourcesLine, InfoLine}},
        {"printer.frf",
         {QStringLiteral("printer=Office Printer default=1 double=1"), Page25, "vars=", "fields=",
          "sources=", InfoLine}},
        // Without a version byte the form reads from its first byte as version 21.
        {"noversion.frf", {QStringLiteral("printer=P default=0 double=0"), PageLine, Line25, "vars=",
                           "fields=", "sources=", NoInfoLine}},
    };
}

} // namespace

TEST(FormFileGolden, EveryVersionAndViewClassLoadsAsWritten)
{
    for (const TGoldenRow& Row : GoldenRows()) {
        SCOPED_TRACE(Row.File);
        TMessageRecorder Recorder;
        TfrReport Report;
        Report.LoadFromFile(Golden(Row.File));
        EXPECT_EQ(Describe(Report).join(u'\n').toStdString(), Row.Expected.join(u'\n').toStdString());
    }
}

TEST(FormFileGolden, DatesAndVersionAreRead)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("v25.frf")));
    EXPECT_DOUBLE_EQ(Report.ReportCreateDate, 46000.25);
    EXPECT_DOUBLE_EQ(Report.ReportLastChange, 46001.5);
    EXPECT_EQ(FormVersion, 25);
    EXPECT_EQ(Report.FileName(), Golden("v25.frf"));

    // Dates that are no numbers are kept as read.
    for (double Date : {std::nan(""), double(INFINITY)}) {
        QByteArray Bytes = ReadGolden("v25.frf");
        Bytes.replace(Bytes.size() - 16, 8, QByteArray(reinterpret_cast<const char*>(&Date), 8));
        TMemoryStream In(Bytes);
        TfrReport Odd;
        ASSERT_TRUE(Odd.LoadFromStream(In)) << Date;
        EXPECT_EQ(std::memcmp(&Odd.ReportCreateDate, &Date, 8), 0) << Date;
    }
}

TEST(FormFileGolden, MissingAddInIsReportedByName)
{
    // An add-in record names an add-in class, even one built into the engine.
    TfrReport MemoAsAddIn;
    MemoAsAddIn.Pages()->Add();
    MemoAsAddIn.Pages()->Pages(0)->Add(std::make_unique<TfrMemoView>());
    MemoAsAddIn.Pages()->Pages(0)->Objects(0)->SetObjectType(gtAddIn);
    TMemoryStream Saved;
    MemoAsAddIn.SaveToStream(Saved);
    for (const auto& [Bytes, Missing] : {std::pair{ReadGolden("addin.frf"), "TfrCheckBoxView"},
                                         std::pair{Saved.Data(), "TfrMemoView"}}) {
        TMessageRecorder Recorder;
        TfrReport Report;
        TMemoryStream In(Bytes);
        EXPECT_TRUE(Report.LoadFromStream(In));
        EXPECT_EQ(Recorder.Messages,
                  QStringList{QStringLiteral("Error:Report contains the following non-plugged components:\r%1\r"
                                             "You must include these components into your project.")
                                  .arg(QLatin1String(Missing))});
    }
}

TEST(FormFileGolden, ExtensionDataTravelsInFormsAndTemplates)
{
    struct TExtension : TfrFormExtension
    {
        void Clear() override {}
        void LoadFromStream(TStream& Stream) override { Data = Stream.ReadBytes(3); }
        void SaveToStream(TStream& Stream) override { Stream.WriteBytes("abc"); }
        void BeforePrepare() override {}
        void AfterPrepare() override {}
        void PrepareDataSet(TDataSet*) override {}
        bool Ready() override { return true; }
        QByteArray Data;
    } Extension;
    frFormExtension = &Extension;
    TMessageRecorder Recorder;
    TfrReport Report, FromForm, FromTemplate;
    Report.Pages()->Add();
    Report.ReportName = QStringLiteral("Ext");
    TMemoryStream Saved;
    Report.SaveToStream(Saved);
    Saved.SetPosition(0);
    FromForm.LoadFromStream(Saved);
    EXPECT_EQ(Extension.Data, QByteArray("abc"));
    QTemporaryDir Dir;
    Report.SaveTemplate(Dir.filePath("ext.frt"), nullptr, nullptr);
    Extension.Data.clear();
    FromTemplate.LoadTemplate(Dir.filePath("ext.frt"), nullptr, nullptr, true);
    frFormExtension = nullptr;
    EXPECT_EQ(Extension.Data, QByteArray("abc"));
    // The form's end mark after the data was taken, so its information follows.
    EXPECT_EQ(FromForm.ReportName, QStringLiteral("Ext"));
    EXPECT_EQ(FromTemplate.Pages()->Count(), 1);
    EXPECT_TRUE(Recorder.Messages.isEmpty());
}

TEST(FormFileGolden, PluggedAddInLoadsAndSavesWithItsClassName)
{
    class TfrCheckBoxView : public TfrView
    {
    public:
        QString ClassName() const override { return QStringLiteral("TfrCheckBoxView"); }
    };
    frRegisterObject({QStringLiteral("TfrCheckBoxView"), [] { return std::make_unique<TfrCheckBoxView>(); },
                      QString(), QString(), nullptr});
    TMessageRecorder Recorder;
    TfrReport Report;
    EXPECT_TRUE(Report.LoadFromFile(Golden("addin.frf")));
    frAddIns.clear();
    EXPECT_TRUE(Recorder.Messages.isEmpty());
    ASSERT_EQ(Report.Pages()->Pages(0)->Count(), 3);
    TfrView* AddIn = Report.Pages()->Pages(0)->Objects(1);
    EXPECT_EQ(AddIn->ObjectType(), gtAddIn);
    EXPECT_EQ(AddIn->Name(), QStringLiteral("View1"));

    TMemoryStream Saved;
    Report.SaveToStream(Saved);
    const QByteArray Golden = ReadGolden("addin.frf");
    EXPECT_EQ(Saved.Data().left(Golden.size() - 8), Golden.left(Golden.size() - 8));
}

TEST(FormFileGolden, SaveOfALoadedFormGivesTheSameBytes)
{
    // The last-change date (the last 8 bytes) is set to now by the writer.
    for (const char* File : {"v25.frf", "memo.frf", "band.frf", "line.frf", "picture.frf",
                             "subreport.frf", "dialog.frf", "password.frf"}) {
        SCOPED_TRACE(File);
        TMessageRecorder Recorder;
        TfrReport Report;
        TMemoryStream In(ReadGolden(File));
        ASSERT_TRUE(Report.LoadFromStream(In));
        TMemoryStream Out;
        Report.SaveToStream(Out);
        const QByteArray Golden = In.Data();
        ASSERT_EQ(Out.Size(), Golden.size());
        EXPECT_EQ(Out.Data().left(Golden.size() - 8).toHex(), Golden.left(Golden.size() - 8).toHex());
    }
}

TEST(FormFileGolden, OlderVersionsSaveAsCurrentAndReadBackTheSame)
{
    for (const char* File : {"v21.frf", "v22.frf", "v23.frf", "v24.frf", "noversion.frf"}) {
        SCOPED_TRACE(File);
        TMessageRecorder Recorder;
        TfrReport First;
        ASSERT_TRUE(First.LoadFromFile(Golden(File)));
        TMemoryStream Saved;
        First.SaveToStream(Saved);
        EXPECT_EQ(static_cast<uint8_t>(Saved.Data()[0]), 25);
        Saved.SetPosition(0);
        TfrReport Second;
        ASSERT_TRUE(Second.LoadFromStream(Saved));
        EXPECT_EQ(Describe(Second).join(u'\n').toStdString(), Describe(First).join(u'\n').toStdString());
        TMemoryStream Again;
        Second.SaveToStream(Again);
        EXPECT_EQ(Again.Data().left(Again.Size() - 8), Saved.Data().left(Saved.Size() - 8));
    }
}
