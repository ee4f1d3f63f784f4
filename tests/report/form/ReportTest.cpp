// The report component: defaults, the form resource
// property, wizard templates, the page list of printing and the entry points
// that wait for the preparation driver.
#include "FormTestUtil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

using namespace formtest;

TEST(Report, DefaultsOfANewReport)
{
    TfrReport Report;
    EXPECT_EQ(Report.Pages()->Count(), 0);
    EXPECT_EQ(Report.FileName(), QStringLiteral("Untitled"));
    EXPECT_EQ(Report.PrinterName(), QStringLiteral("Virtual printer"));
    EXPECT_TRUE(Report.ShowProgress());
    EXPECT_TRUE(Report.ModalPreview());
    EXPECT_TRUE(Report.ModifyPrepared());
    EXPECT_FALSE(Report.StoreInDFM());
    EXPECT_TRUE(Report.PrintIfEmpty());
    EXPECT_TRUE(Report.ShowPrintDialog());
    EXPECT_TRUE(Report.DefaultCollate());
    EXPECT_EQ(Report.DefaultCopies(), 1);
    EXPECT_EQ(Report.ReportType(), rtSimple);
    EXPECT_EQ(Report.InitialZoom(), pzDefault);
    EXPECT_EQ(Report.PreviewButtons(), pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit);
    EXPECT_EQ(Report.ReportMark, u'X');
    EXPECT_GT(Report.ReportCreateDate, 40000.0);
    EXPECT_EQ(Report.ReportCreateDate, Report.ReportLastChange);
}

TEST(Report, PreparationErrorIsShownOnceAndDropsThePages)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("v25.frf")));
    Report.SetShowProgress(false);
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    // The golden's variable Total names an unknown "A".
    EXPECT_FALSE(Report.PrepareReport());
    ASSERT_EQ(TModalSeam::Messages().size(), 1u);
    EXPECT_EQ(TModalSeam::Messages()[0].Describe().toStdString(),
              "Error|An error occured during calculating\r合计：[Total]\r\rsecond line\r\rReport: \rObject: "
              "Memo1\r\rUndefined symbol \"A\"|error|OK");
    EXPECT_EQ(Report.PreparedPageCount(), 0);
    EXPECT_EQ(CurReport, &Report);
    EXPECT_EQ(DocMode, dmPrinting);
    EXPECT_FALSE(Report.LoadPreparedReport(Golden("v25.frf")));
    // The template is untouched.
    EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 5);
}

TEST(Report, PageNumbersOfPrinting)
{
    struct TRow { const char* Text; int Pages; const char* Expected; };
    const TRow Rows[] = {
        {"", 5, ""},
        {"2-", 5, "2,3,4,5"},
        {"1,3", 5, "1,3"},
        {" 1 , 3 ", 5, "1,3"},
        {"2-4", 5, "2,3,4"},
        {"1,3-4,6", 9, "1,3,4,6"},
        {"1-99999999", 3, "1,2,3"},
        {"99999999999", 3, ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        EXPECT_EQ(frParsePageNumbers(QString::fromLatin1(Row.Text), Row.Pages).join(u',').toStdString(),
                  Row.Expected);
    }
}

TEST(Report, FormResourceKeepsTheWholeForm)
{
    TfrReport Source;
    ASSERT_TRUE(Source.LoadFromFile(Golden("v25.frf")));
    Source.SetStoreInDFM(true);
    TMemoryStream Resource;
    Source.WriteBinaryData(Resource);
    Resource.SetPosition(0);

    TfrReport Copy;
    Copy.SetStoreInDFM(true);
    Copy.ReadBinaryData(Resource);
    Copy.Loaded();
    EXPECT_EQ(Describe(Copy).join(u'\n').toStdString(), Describe(Source).join(u'\n').toStdString());

    // Without StoreInDFM only the version travels.
    TfrReport Bare;
    TMemoryStream Small;
    Bare.WriteBinaryData(Small);
    EXPECT_EQ(Small.Data(), QByteArray("\x19\x00\x00\x00", 4));
}

TEST(Report, FormResourceLengthIsBounded)
{
    TMemoryStream Resource(QByteArray("\x19\x00\x00\x00\xFF\xFF\xFF\x7F" "abc", 11));
    TfrReport Report;
    Report.SetStoreInDFM(true);
    EXPECT_THROW(Report.ReadBinaryData(Resource), EReadError);
}

TEST(Report, ClearResetsInformationAndPages)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("printer.frf")));
    EXPECT_TRUE(Report.DoublePass());
    Report.Clear();
    EXPECT_EQ(Report.Pages()->Count(), 0);
    EXPECT_FALSE(Report.DoublePass());
    EXPECT_EQ(Report.ReportName, QString());
    EXPECT_EQ(Report.Dictionary()->Variables.Count(), 0);
}

TEST(Report, FindObjectSearchesEveryPage)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("subreport.frf")));
    ASSERT_NE(Report.FindObject(QStringLiteral("line1")), nullptr);
    EXPECT_EQ(Report.FindObject(QStringLiteral("LINE1"))->ClassName(), QStringLiteral("TfrLineView"));
    EXPECT_EQ(Report.FindObject(QStringLiteral("Memo9")), nullptr);
}

TEST(Report, ViewsGetRunningIDs)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("subreport.frf")));
    const int First = Report.Pages()->Pages(0)->Objects(0)->ID();
    EXPECT_EQ(Report.Pages()->Pages(1)->Objects(0)->ID(), First + 1);
    EXPECT_EQ(CreateViewByType(gtMemo, QString())->ID(), First + 2);
    EXPECT_EQ(CreateViewByType(7, QString()), nullptr);
}

TEST(Report, TemplatesReadAsWritten)
{
    struct TRow { const char* File; int PictureWidth; };
    for (const TRow& Row : {TRow{"plain.frt", 0}, TRow{"picture.frt", 1}}) {
        SCOPED_TRACE(Row.File);
        TfrReport Report;
        TStringList Comment;
        QImage Picture(3, 3, QImage::Format_RGB32);
        ASSERT_TRUE(Report.LoadTemplate(Golden(Row.File), &Comment, &Picture, false));
        EXPECT_EQ(Lines(Comment), QStringLiteral("合同模板|second"));
        EXPECT_EQ(Picture.width(), Row.PictureWidth);
        EXPECT_EQ(Report.Pages()->Count(), 0);

        TStringList Untouched;
        ASSERT_TRUE(Report.LoadTemplate(Golden(Row.File), &Untouched, nullptr, true));
        EXPECT_EQ(Untouched.Count(), 0);
        ASSERT_EQ(Report.Pages()->Count(), 1);
        EXPECT_EQ(Report.Pages()->Pages(0)->Objects(0)->Name(), QStringLiteral("Memo1"));
        EXPECT_EQ(Report.Dictionary()->BandDataSourceAliases.GetVariable("frDBDataSet1").AsString(),
                  QStringLiteral("Rows"));
    }
}

TEST(Report, TemplateSaveGivesTheGoldenBytes)
{
    QTemporaryDir Dir;
    for (const char* File : {"plain.frt", "picture.frt"}) {
        SCOPED_TRACE(File);
        TfrReport Report;
        TStringList Comment;
        QImage Picture;
        ASSERT_TRUE(Report.LoadTemplate(Golden(File), &Comment, &Picture, false));
        ASSERT_TRUE(Report.LoadTemplate(Golden(File), nullptr, nullptr, true));
        const QString Saved = Dir.filePath(File);
        Report.SaveTemplate(Saved, &Comment, Picture.isNull() ? nullptr : &Picture);
        QFile F(Saved);
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        const QByteArray Bytes = F.readAll();
        if (Picture.isNull()) {
            EXPECT_EQ(Bytes.toHex(), ReadGolden(File).toHex());
        } else {
            // The bitmap image is the platform's; everything around it is ours.
            TfrReport Again;
            QImage Back;
            TStringList BackComment;
            ASSERT_TRUE(Again.LoadTemplate(Saved, &BackComment, &Back, false));
            EXPECT_EQ(Back.pixelColor(0, 0), Picture.pixelColor(0, 0));
            ASSERT_TRUE(Again.LoadTemplate(Saved, nullptr, nullptr, true));
            EXPECT_EQ(Describe(Again).join(u'\n').toStdString(), Describe(Report).join(u'\n').toStdString());
        }
    }
}

TEST(Report, DamagedTemplatesFailCleanly)
{
    for (const char* File : {"plain.frt", "picture.frt"}) {
        SCOPED_TRACE(File);
        const QByteArray Bytes = ReadGolden(File);
        QTemporaryDir Dir;
        const QString Path = Dir.filePath("t.frt");
        for (qsizetype n = 0; n < Bytes.size(); n += 7) {
            QFile F(Path);
            ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
            F.write(Bytes.left(n));
            F.close();
            TMessageRecorder Recorder;
            TfrReport Report;
            TStringList Comment;
            QImage Picture;
            Report.LoadTemplate(Path, &Comment, &Picture, false);
            Report.LoadTemplate(Path, nullptr, nullptr, true);
        }
    }
}
