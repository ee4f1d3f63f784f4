// The file dialogs as a user meets them: Qt's own dialog on the xcb platform
// (this program runs over an Xvfb display of its own), a filter picked in its
// file-type box, a name typed, the accept button pressed. Through the
// designer's Open and Save As, the preview's Save and Load, and the filter
// texts of every window with a file dialog.
#include "DialogUser.h"
#include "report/designer/DesignerTestUtil.h"

#include "platform/gui/FileDialogs.h"
#include "platform/gui/Printers.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace designertest {
namespace {

using namespace xcbtest;

class RealFileDialogTest : public TDesignerTest
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
    // A prepared A4 page with one memo.
    static void AddPage(TfrReport& Prepared, const QString& Text)
    {
        TfrPage Paper(9, 2100, 2970, frNoBin, poPortrait);
        const int Index = Prepared.EMFPages()->Count();
        Prepared.EMFPages()->Insert(Index, &Paper);
        Prepared.EMFPages()->ObjectsToPage(Index);
        auto Memo = std::make_unique<TfrMemoView>();
        Memo->SetBounds(100, 100, 200, 20);
        Memo->Memo()->Add(Text);
        Prepared.EMFPages()->Items(Index)->PageObject->Add(std::move(Memo));
        Prepared.EMFPages()->PageToObjects(Index);
        Prepared.EMFPages()->Items(Index)->PageObject.reset();
    }
    QTemporaryDir Dir;
};

// Each window's filter text, every filter picked once: the index the dialog
// hands back is the one picked.
TEST_F(RealFileDialogTest, EveryWindowsFilterComesBackAsPicked)
{
    const QString Frf = LoadEngineString(55213) + QStringLiteral(" (*.frf)|*.frf|");
    const struct
    {
        const char* Window;
        QString Filter;
        bool Save;
        const char* Shown;
    } Rows[] = {
        {"designer open", Frf + LoadEngineString(55215) + QStringLiteral(" (*.frd)|*.frd"), false,
         "Pagewright form (*.frf)|Pagewright dictionary (*.frd)"},
        {"designer save as",
         Frf + LoadEngineString(55481) + QStringLiteral(" (*.fr3)|*.fr3|") + LoadEngineString(55214) +
             QStringLiteral(" (*.frt)|*.frt|") + LoadEngineString(55215) + QStringLiteral(" (*.frd)|*.frd"),
         true, "Pagewright form (*.frf)|Pagewright3 form (*.fr3)|Pagewright template (*.frt)|Pagewright dictionary (*.frd)"},
        {"preview", LoadEngineString(55211) + QStringLiteral(" (*.frp)|*.frp"), true, "Report file (*.frp)"},
        {"picture editor",
         LoadEngineString(55216) + QStringLiteral(" (*.bmp *.jpg *.ico *.wmf *.emf)|*.bmp;*.jpg;*.ico;*.wmf;*.emf|") +
             LoadEngineString(55221) + QStringLiteral("|*.*"),
         false, "Picture file (*.bmp *.jpg *.ico *.wmf *.emf)|All files"},
        {"backup", QStringLiteral("Mdb Files (*.mdb)|*.MDB"), true, "Mdb Files (*.mdb)"},
    };
    for (const auto& Row : Rows) {
        const int Count = static_cast<int>(FileFilterToNameFilters(Row.Filter).size());
        for (int Index = 1; Index <= Count; ++Index) {
            SCOPED_TRACE(QStringLiteral("%1, filter %2").arg(QString::fromUtf8(Row.Window)).arg(Index).toStdString());
            TDialogUser User;
            User.Answer(Index, Path(QStringLiteral("x")));
            QFile(Path(QStringLiteral("x"))).open(QIODevice::WriteOnly);
            std::unique_ptr<TOpenDialog> Dialog(Row.Save ? new TSaveDialog : new TOpenDialog);
            Dialog->SetFilter(Row.Filter);
            Dialog->SetFilterIndex(1);
            EXPECT_TRUE(Dialog->Execute());
            EXPECT_EQ(User.Dialogs(), 1);
            EXPECT_EQ(User.Shown(), QString::fromUtf8(Row.Shown));
            EXPECT_EQ(Dialog->FilterIndex(), Index);
        }
    }
}

// A delivered template opens through File > Open and goes out in each format
// of Save as, named as typed, or as shown when only the format is picked; the
// dictionary comes back through Open's second filter.
TEST_F(RealFileDialogTest, DesignerOpensATemplateAndSavesEachFormat)
{
    const QString Bill = Path(QStringLiteral("Bill.frf"));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Frf/Bill.frf"), Bill))
        << "the build lays the templates out into bin/Frf";
    TfrReport Delivered;
    ASSERT_TRUE(Delivered.LoadFromFile(Bill));
    CurReport = &Report;
    Open();
    TemplateDir.clear();
    TModalHandlers Seam([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; });
    const QString Typed = Path(QStringLiteral("账单 v1.2"));
    const struct
    {
        const char* Command;
        int Filter;
        QString Typed;
        QString File;   // the designer's file name afterwards, or the file written
    } Steps[] = {
        {"open", 1, Bill, Bill},
        {"save as", 1, Typed, Typed + QStringLiteral(".frf")},
        {"save as", 2, Typed, Typed + QStringLiteral(".fr3")},
        {"save as", 3, Typed, Typed + QStringLiteral(".frt")},
        {"save as", 4, Typed, Typed + QStringLiteral(".frd")},
        {"open", 1, Typed + QStringLiteral(".frf"), Typed + QStringLiteral(".frf")},
        // The name shown ("账单 v1.2.frf") kept: the picked format's extension.
        {"save as", 2, QString(), Typed + QStringLiteral(".fr3")},
        {"open", 2, Typed + QStringLiteral(".frd"), Typed + QStringLiteral(".fr3")},
    };
    for (const auto& Step : Steps) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(Step.Command)).arg(Step.Filter)
                         .arg(Step.Typed).toStdString());
        TModalSeam::ClearMessages();
        TDialogUser User;
        User.Answer(Step.Filter, Step.Typed);
        const bool Opening = QByteArray(Step.Command) == "open";
        if (Opening) {
            Designer->FileBtn2Click();
            EXPECT_EQ(Designer->OpenDialog1->FilterIndex(), Step.Filter);
        } else {
            Designer->N20Click();
            EXPECT_EQ(Designer->SaveDialog1->FilterIndex(), Step.Filter);
            EXPECT_TRUE(QFile::exists(Step.File));
        }
        EXPECT_EQ(User.Dialogs(), 1);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList());
        if (Opening || Step.Filter <= 2) {
            EXPECT_EQ(Designer->FileName(), Step.File);
        }
        EXPECT_EQ(Report.Pages()->Count(), Delivered.Pages()->Count());
        EXPECT_EQ(Report.Pages()->Pages(0)->Count(), Delivered.Pages()->Pages(0)->Count());
    }
}

// The preview saves under the name typed with ".frp" added, beside a file
// whose name only differs after the last dot, and loads it again.
TEST_F(RealFileDialogTest, PreviewSavesAndLoadsThroughTheDialog)
{
    TfrReport Prepared;
    AddPage(Prepared, QStringLiteral("甲乙"));
    QFile Other(Path(QStringLiteral("报表 v1.frp")));
    ASSERT_TRUE(Other.open(QIODevice::WriteOnly));
    Other.write("other");
    Other.close();

    TModalHandlers Seam([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; });
    TfrPreviewForm Preview;
    Preview.Connect(&Prepared);
    TDialogUser User;
    User.Answer(1, Path(QStringLiteral("报表 v1.2")));
    User.Answer(1, Path(QStringLiteral("报表 v1.2.frp")));
    Preview.SaveBtnClick();
    Preview.Disconnect();
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("报表 v1.2.frp"))));
    ASSERT_TRUE(Other.open(QIODevice::ReadOnly));
    EXPECT_EQ(Other.readAll(), QByteArray("other"));

    TfrReport Loaded;
    Preview.Connect(&Loaded);
    Preview.LoadBtnClick();
    EXPECT_EQ(Preview.PageCount(), 1);
    Preview.Disconnect();
    EXPECT_EQ(User.Dialogs(), 2);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList());
}

// A save asks in the dialog before it replaces a file other than the one the
// window has open, about the file the program writes (the name typed with the
// format's extension); a No writes nothing. The print to a PDF file adds its
// extension as the other saves do. The backup's dialog replaces without a
// question (the filter test above saves over a file that exists).
TEST_F(RealFileDialogTest, SavesAskBeforeReplacingAnotherFile)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    auto NoPrinters = std::make_unique<TFakePrinters>(QList<TPrinterDescription>{});
    frPrinter()->AttachPrinter(Printer());
    Open();
    TemplateDir.clear();
    TfrReport Prepared;
    AddPage(Prepared, QStringLiteral("Page 1"));
    AddPage(Prepared, QStringLiteral("Page 2"));
    TfrPreviewForm Preview;
    Preview.Connect(&Prepared);
    Preview.SetupButtons();
    TModalHandlers Seam([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; });
    const QString Asked = QStringLiteral("%1 already exists.\nDo you want to replace it?");
    const struct
    {
        const char* Command;
        const char* Typed;       // empty: the name shown
        bool Replace;
        const char* File;        // there before, holding "other", unless New
        bool New;
        bool Question;
        const char* Written;     // what the file holds afterwards: "other", "form" or the PDF's page texts
    } Rows[] = {
        {"designer save as", "账单 v1.2", false, "账单 v1.2.frf", false, true, "other"},
        {"designer save as", "账单 v1.2", true, "账单 v1.2.frf", false, true, "form"},
        {"designer save as", "", true, "账单 v1.2.frf", false, false, "form"},
        {"preview save", "报表 v1.2", false, "报表 v1.2.frp", false, true, "other"},
        {"print to PDF", "月报 v1.2", false, "月报 v1.2.pdf", false, true, "other"},
        {"print to PDF", "月报 v1.3", true, "月报 v1.3.pdf", true, false, "Page 1|Page 2"},
    };
    for (const auto& Row : Rows) {
        const QString File = Path(QString::fromUtf8(Row.File));
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(Row.Command), File).arg(Row.Replace).toStdString());
        QFile Before(File);
        if (!Row.New) {
            ASSERT_TRUE(Before.open(QIODevice::WriteOnly));
            Before.write("other");
            Before.close();
        }
        TDialogUser User;
        const QString Typed = QString::fromUtf8(Row.Typed);
        User.Answer(1, Typed.isEmpty() ? Typed : Path(Typed), Row.Replace);
        const QByteArray Command(Row.Command);
        if (Command == "designer save as")
            Designer->N20Click();
        else if (Command == "preview save")
            Preview.SaveBtnClick();
        else
            Preview.PrintBtnClick();
        EXPECT_EQ(User.Questions(), Row.Question ? QStringList{Asked.arg(QFileInfo(File).fileName())} : QStringList());
        ASSERT_TRUE(Before.open(QIODevice::ReadOnly));
        const QByteArray Held = Before.readAll();
        Before.close();
        QString Written = Held == "other" ? QStringLiteral("other") : QStringLiteral("form");
        if (File.endsWith(QStringLiteral(".pdf")) && Held != "other") {
            QProcess P;
            P.start(QStringLiteral("pdftotext"), {File, QStringLiteral("-")});
            P.waitForFinished();
            QStringList Pages;
            for (const QString& Page : QString::fromUtf8(P.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts))
                Pages << Page.simplified();
            Written = Pages.join(u'|');
        }
        EXPECT_EQ(Written, QString::fromUtf8(Row.Written));
    }
    Preview.Disconnect();
    NoPrinters.reset();
    frPrinter()->AttachPrinter(Printer());
}

} // namespace
} // namespace designertest
