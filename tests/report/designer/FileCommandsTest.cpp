#include "DesignerTestUtil.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/FontDialog.h"
#include "report/designer/FR_Insp.h"
#include "report/designer/FR_Templ.h"
#include "report/designer/FR_pgopt.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace designertest {
namespace {

class FileCommandsTest : public TDesignerTest
{
protected:
    // Page p gets a memo "M<p>"; "p>q" puts on page p a subreport showing page q.
    void MakePages(int Count, const QStringList& Links = {})
    {
        while (Report.Pages()->Count() < Count)
            Report.Pages()->Add();
        for (int p = 0; p < Count; ++p) {
            auto M = CreateViewByType(gtMemo, QString());
            M->SetName(QStringLiteral("M%1").arg(p));
            Report.Pages()->Pages(p)->Add(std::move(M));
        }
        for (const QString& L : Links) {
            auto S = CreateViewByType(gtSubReport, QString());
            S->SetName(QStringLiteral("S") + L.left(1) + L.right(1));
            static_cast<TfrSubReportView*>(S.get())->SetSubPage(L.right(1).toInt());
            Report.Pages()->Pages(L.left(1).toInt())->Add(std::move(S));
        }
    }

    // "S02>M2" for each subreport: the memo on the page it shows.
    QString Links() const
    {
        QStringList L;
        for (int p = 0; p < Report.Pages()->Count(); ++p)
            for (int i = 0; i < Report.Pages()->Pages(p)->Count(); ++i)
                if (auto* S = dynamic_cast<TfrSubReportView*>(Report.Pages()->Pages(p)->Objects(i)))
                    L << S->Name() + u'>'
                             + (S->SubPage() < Report.Pages()->Count()
                                    ? Report.Pages()->Pages(S->SubPage())->Objects(0)->Name()
                                    : QStringLiteral("?"));
        return L.join(u' ');
    }

    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    QTemporaryDir Dir;
};

TEST_F(FileCommandsTest, RemovingPageTwoOfFourDropsItsSubreportsAndRenumbersLaterOnes)
{
    MakePages(4, {QStringLiteral("0>1"), QStringLiteral("0>2"), QStringLiteral("0>3")});
    Open();
    Designer->SetCurPage(1);
    TModalHandlers H(nullptr, [](const TMessageRequest&) { return mrYes; });
    Designer->PgB2Click();
    EXPECT_EQ(Report.Pages()->Count(), 3);
    EXPECT_EQ(Links(), QStringLiteral("S02>M2 S03>M3"));
    EXPECT_EQ(Designer->Tab1->count(), 3);
    EXPECT_EQ(Designer->Tab1->tabText(1), QStringLiteral("S02"));
    // Choosing a tab shows its page.
    Designer->Tab1->SetTabIndex(2);
    EXPECT_EQ(Designer->CurPageIndex(), 2);
}

TEST_F(FileCommandsTest, DraggingTabOneOntoThreeKeepsWhatSubreportsShow)
{
    MakePages(3, {QStringLiteral("1>0"), QStringLiteral("2>1"), QStringLiteral("0>2")});
    Open();
    const QString Before = Links();
    const QRect Target = Designer->Tab1->tabRect(2);
    Designer->Tab1DragDrop(Target.center().x(), Target.center().y());
    EXPECT_EQ(Report.Pages()->Pages(2)->Objects(0)->Name(), QStringLiteral("M0"));
    EXPECT_EQ(Designer->CurPageIndex(), 2);
    QStringList B = Before.split(u' '), A = Links().split(u' ');
    B.sort();
    A.sort();
    EXPECT_EQ(A, B);
}

TEST_F(FileCommandsTest, CancelledNewPageIsRemovedAgain)
{
    Open();
    TModalHandlers H([](TForm*) { return mrCancel; }, nullptr);
    Designer->PgB1Click();
    EXPECT_EQ(Report.Pages()->Count(), 1);
    EXPECT_EQ(Designer->Tab1->count(), 1);
}

struct TSaveRow
{
    const char* Name;
    int Filter;
    bool InTemplateDir;
    const char* Typed, *File;
    bool NameFollows, Modified;
    bool SaveAsks;   // whether Save afterwards asks for a file name
};

class SaveAsTest : public FileCommandsTest, public ::testing::WithParamInterface<TSaveRow>
{
};

TEST_P(SaveAsTest, FilterDecidesFileNameAndState)
{
    const TSaveRow& Row = GetParam();
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20"));
    Designer->SetModified(true);
    QDir(Dir.path()).mkdir(QStringLiteral("tpl"));
    TemplateDir = Row.InTemplateDir ? Path(QStringLiteral("tpl")) : QString();
    int Asked = 0;
    TModalHandlers H([](TForm*) { return mrOk; }, nullptr, [&](const TFileRequest& R) {
        R.FilterIndex = Row.Filter;
        return Asked++ == 0 ? Path(QString::fromLatin1(Row.Typed)) : QString();
    });
    Designer->N20Click();
    TemplateDir.clear();
    EXPECT_TRUE(QFile::exists(Path(QString::fromLatin1(Row.File))));
    EXPECT_EQ(Designer->FileName(), Row.NameFollows ? Path(QString::fromLatin1(Row.File)) : LoadEngineString(55209));
    EXPECT_EQ(Designer->GetModified(), Row.Modified);
    Designer->FileBtn3Click();
    EXPECT_EQ(Asked == 2, Row.SaveAsks);
}

const TSaveRow SaveRows[] = {
    {"Form", 1, false, "a", "a.frf", true, false, false},
    // The designer cannot open its XML form: Save asks for a form file.
    {"Xml", 2, false, "a.frf", "a.frf.fr3", true, true, true},
    {"TemplateGoesToTemplateDir", 3, true, "a.frf", "tpl/a.frf.frt", false, false, true},
    {"TemplateBesideWithoutDir", 3, false, "b", "b.frt", false, false, true},
    {"DictionaryKeepsState", 4, false, "a", "a.frd", false, true, true},
};
INSTANTIATE_TEST_SUITE_P(Designer, SaveAsTest, ::testing::ValuesIn(SaveRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct TOpenRow
{
    const char* Name;
    std::function<QString(const QString& Dir)> MakeFile;   // the path the user picks
};

class OpenFailureTest : public FileCommandsTest, public ::testing::WithParamInterface<TOpenRow>
{
};

TEST_P(OpenFailureTest, KeepsTheReportNameAndState)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20; Memo2 10,40 96x20"));
    Designer->SetFileName(Path(QStringLiteral("kept.frf")));
    Designer->SetModified(true);
    const QString Picked = GetParam().MakeFile(Dir.path());
    CurReport = &Report;
    frPasswordQuery = [](QString& P) {
        P = QStringLiteral("wrong");
        return true;
    };
    TModalHandlers H(nullptr, [](const TMessageRequest&) { return mrNo; },
                     [&](const TFileRequest&) { return Picked; });
    Designer->FileBtn2Click();
    frPasswordQuery = nullptr;
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 10,10 96x20; Memo2 10,40 96x20"));
    EXPECT_EQ(Designer->FileName(), Path(QStringLiteral("kept.frf")));
    EXPECT_TRUE(Designer->GetModified());
    ASSERT_FALSE(TModalSeam::Messages().empty());
    EXPECT_TRUE(TModalSeam::Messages().back().Text.contains(Picked)) << TModalSeam::Messages().back().Describe().toStdString();
}

const TOpenRow OpenRows[] = {
    {"Missing", [](const QString& D) { return D + QStringLiteral("/none.frf"); }},
    {"Damaged",
     [](const QString& D) {
         QFile F(D + QStringLiteral("/bad.frf"));
         F.open(QIODevice::WriteOnly);
         F.write("\x19junk that is no report form");
         return F.fileName();
     }},
    {"WrongPassword",
     [](const QString& D) {
         TfrReport Other;
         Other.Pages()->Add();
         Other.ReportPasswordProtected = true;
         Other.ReportPassword = QStringLiteral("right");
         Other.SaveToFile(D + QStringLiteral("/locked.frf"));
         return D + QStringLiteral("/locked.frf");
     }},
};
INSTANTIATE_TEST_SUITE_P(Designer, OpenFailureTest, ::testing::ValuesIn(OpenRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// A report read with an add-in view left out, through the designer's Open or
// by the program before its print and 单据设计, is never saved over its file.
TEST_F(FileCommandsTest, UnpluggedAddInReportOpensWholeAndIsNotSavedOverWithoutSaveAs)
{
    // A memo stored as an add-in names a class no application registered.
    const QString Name = Path(QStringLiteral("addin.frf"));
    {
        TfrReport Other;
        Other.Pages()->Add();
        for (const char* View : {"Memo1", "Stamp1"}) {
            auto V = CreateViewByType(gtMemo, QString());
            V->SetName(QString::fromLatin1(View));
            V->SetBounds(10, 10, 96, 20);
            Other.Pages()->Pages(0)->Add(std::move(V));
        }
        Other.Pages()->Pages(0)->Objects(1)->SetObjectType(gtAddIn);
        Other.ReportName = QStringLiteral("Kept");
        Other.ReportPasswordProtected = true;
        Other.ReportPassword = QStringLiteral("right");
        Other.SaveToFile(Name);
    }
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QByteArray Before = F.readAll();
    F.close();
    Report.SetShowProgress(false);
    for (bool ByProgram : {true, false}) {
        SCOPED_TRACE(ByProgram ? "read by the program" : "opened in the designer");
        CurReport = &Report;
        TModalSeam::ClearMessages();
        int Asked = 0, SaveAs = 0;
        frPasswordQuery = [&](QString& P) {
            ++Asked;
            P = QStringLiteral("right");
            return true;
        };
        QString Picked = Name;
        TModalHandlers H(nullptr, [](const TMessageRequest&) { return mrOk; }, [&](const TFileRequest& R) {
            SaveAs += R.Save;
            return R.Save ? QString() : Picked;
        });
        if (ByProgram) {
            // A print prepares twice (PrepareReport, then ShowReport) before the
            // designer opens on the same report.
            ASSERT_TRUE(Report.LoadFromFile(Name));
            ASSERT_TRUE(Report.PrepareReport());
            ASSERT_TRUE(Report.PrepareReport());
            Open();
        } else {
            Open();
            Designer->FileBtn2Click();
        }
        frPasswordQuery = nullptr;
        EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(Asked).arg(Report.ReportName, Report.ReportPassword)
                      .arg(Report.ReportPasswordProtected),
                  QStringLiteral("1 Kept right 1"));
        EXPECT_EQ(PageText(), QStringLiteral("Memo1 10,10 96x20"));
        EXPECT_TRUE(TModalSeam::MessageTexts().join(u' ').contains(QStringLiteral("non-plugged")));
        Designer->SetModified(true);
        Designer->FileBtn3Click();
        EXPECT_EQ(SaveAs, 1);
        EXPECT_TRUE(Designer->GetModified());
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        EXPECT_EQ(F.readAll(), Before);
        F.close();

        // A failed Open puts the report back with its mark: the next session
        // of the designer on it saves through Save as too.
        Picked = Path(QStringLiteral("bad.frf"));
        QFile Bad(Picked);
        ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
        Bad.write("\x19junk that is no report form");
        Bad.close();
        Designer->FileBtn2Click();
        EXPECT_TRUE(Report.ViewsSkipped());
        Designer.reset();
        Open();
        Designer->SetModified(true);
        Designer->FileBtn3Click();
        EXPECT_EQ(SaveAs, 2);
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        EXPECT_EQ(F.readAll(), Before);
        F.close();
        Designer.reset();
        frDesigner = nullptr;
    }
}

TEST_F(FileCommandsTest, FailedSaveKeepsOldBytesAndTheWindowOpen)
{
    Open();
    const QString Name = Path(QStringLiteral("r.frf"));
    Report.SaveToFile(Name);
    CurReport = &Report;
    QFile F(Name);
    F.open(QIODevice::ReadOnly);
    const QByteArray Old = F.readAll();
    F.close();
    Designer->SetFileName(Name);
    Designer->SetModified(true);
    Report.ReportComment = QString(70000, u'x');   // too long for the form's record
    TModalHandlers H(nullptr, [](const TMessageRequest&) { return mrYes; });
    EXPECT_FALSE(Designer->FormCloseQuery());
    EXPECT_TRUE(Designer->GetModified());
    F.open(QIODevice::ReadOnly);
    EXPECT_EQ(F.readAll(), Old);
    EXPECT_TRUE(TModalSeam::Messages().back().Text.contains(Name));
}

TEST_F(FileCommandsTest, ReportSavedInEveryFormatReopensAndPreviews)
{
    Report.SetShowProgress(false);
    Open();
    Build(QStringLiteral("Band1 band 0,40 600x40; Memo1 10,44 96x20"));
    int Filter = 1;
    QStringList Shown;
    TModalHandlers H(
        [&](TForm* F) {
            Shown << QString::fromLatin1(typeid(*F).name());
            return mrOk;
        },
        [](const TMessageRequest&) { return mrNo; },
        [&](const TFileRequest& R) {
            R.FilterIndex = Filter;
            return Path(R.Save ? QStringLiteral("r") : QStringLiteral("r.frf"));
        });
    for (Filter = 4; Filter >= 1; --Filter)
        Designer->N20Click();
    for (const char* Ext : {"frf", "fr3", "frt", "frd"})
        EXPECT_TRUE(QFile::exists(Path(QStringLiteral("r.") + QString::fromLatin1(Ext)))) << Ext;
    Designer->FileBtn1Click();
    EXPECT_EQ(Page()->Count(), 0);
    Filter = 1;
    Designer->FileBtn2Click();
    EXPECT_TRUE(Page()->FindObject(QStringLiteral("Band1")));
    EXPECT_TRUE(PageText().endsWith(QStringLiteral("Memo1 10,44 96x20")));
    EXPECT_EQ(Designer->FileName(), Path(QStringLiteral("r.frf")));
    Shown.clear();
    Designer->FileBtn4Click();
    EXPECT_TRUE(Shown.join(u' ').contains(QStringLiteral("TfrPreviewForm"))) << Shown.join(u' ').toStdString();
}

// The preview's Save and the designer's Save as add the format's extension to
// the name typed, and leave a file whose name differs after the last dot alone.
TEST_F(FileCommandsTest, SavedNameIsTheTypedNameWithTheFormatsExtension)
{
    const struct
    {
        const char* Typed;
        const char* Written;   // by the preview, then by Save as in its four formats
    } Rows[] = {
        {"报表 v1.2", "报表 v1.2.frp|报表 v1.2.frf|报表 v1.2.fr3|报表 v1.2.frt|报表 v1.2.frd"},
        {"报表.FRF", "报表.FRF.frp|报表.FRF|报表.FRF.fr3|报表.FRF.frt|报表.FRF.frd"},
        {"报表.frp", "报表.frp|报表.frp.frf|报表.frp.fr3|报表.frp.frt|报表.frp.frd"},
        {"v1.0/报表", "v1.0/报表.frp|v1.0/报表.frf|v1.0/报表.fr3|v1.0/报表.frt|v1.0/报表.frd"},
        {"报表.", "报表.frp|报表.frf|报表.fr3|报表.frt|报表.frd"},
    };
    QDir(Dir.path()).mkdir(QStringLiteral("v1.0"));
    const char* const Kept[] = {"报表 v1.frp", "报表 v1.frf", "报表 v1.fr3", "报表 v1.frt", "报表 v1.frd"};
    for (const char* Name : Kept) {
        QFile F(Path(QString::fromUtf8(Name)));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("kept");
    }
    TfrReport Prepared;
    TfrPage Paper(9, 2100, 2970, frNoBin, poPortrait);
    Prepared.EMFPages()->Insert(0, &Paper);
    TfrPreviewForm Preview;
    Open();
    TemplateDir.clear();
    QString Typed;
    int Filter = 1;
    TModalHandlers H([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; },
                     [&](const TFileRequest& R) {
                         R.FilterIndex = Filter;
                         return Path(Typed);
                     });
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Typed);
        Typed = QString::fromUtf8(Row.Typed);
        Preview.Connect(&Prepared);
        Preview.SaveBtnClick();
        Preview.Disconnect();
        for (Filter = 1; Filter <= 4; ++Filter)
            Designer->N20Click();
        for (const QString& Written : QString::fromUtf8(Row.Written).split(u'|'))
            EXPECT_TRUE(QFile::exists(Path(Written))) << Written.toStdString();
    }
    for (const char* Name : Kept) {
        QFile F(Path(QString::fromUtf8(Name)));
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        EXPECT_EQ(F.readAll(), QByteArray("kept")) << Name;
    }
}

TEST_F(FileCommandsTest, NoPreviewAfterAFailedPreparation)
{
    Report.Pages()->Pages(0)->PageType = ptDialog;
    Report.SetShowProgress(false);
    Open();
    QStringList Shown;
    TModalHandlers H([&](TForm* F) {
        Shown << QString::fromLatin1(typeid(*F).name());
        return mrCancel;   // the dialog page is cancelled
    }, nullptr);
    Designer->FileBtn4Click();
    EXPECT_FALSE(Shown.join(u' ').contains(QStringLiteral("TfrPreviewForm")));
    EXPECT_EQ(Designer->Page, Page());
}

// Open and Save as start in the folder of the open template, or in the
// program's templates while the report has no file.
TEST_F(FileCommandsTest, OpenAndSaveAsStartWhereTheTemplatesAre)
{
    Open();
    QStringList Started;
    TModalHandlers H(nullptr, nullptr, [&](const TFileRequest& R) {
        Started << R.InitialDir;
        return QString();
    });
    for (const QString& Name : {LoadEngineString(55209), Path(QStringLiteral("子目录/Bill.frf"))}) {
        Designer->SetFileName(Name);
        Designer->FileBtn2Click();
        Designer->N20Click();
    }
    const QString Frf = QCoreApplication::applicationDirPath() + QStringLiteral("/Frf");
    EXPECT_EQ(Started, (QStringList{Frf, Frf, Path(QStringLiteral("子目录")), Path(QStringLiteral("子目录"))}));
}

// While the preview's preparation, a page edit from the preview or a load
// frees the report's pages and views, the inspector beside them shows none of
// them, however often it repaints; then it shows the page the designer is on.
TEST_F(FileCommandsTest, InspectorHoldsNoFreedObjectWhilePagesAreReplaced)
{
    Report.SetShowProgress(false);
    Open();
    Build(QStringLiteral("Band1 band 0,40 600x40 bt0; Memo1 10,44 96x20 sel text=甲"));
    Designer->FillInspector();
    Designer->InspForm->show();
    // Name in the object box, whether rows are listed, the box's text; painted first.
    const auto Shown = [](TfrInspForm* I) {
        I->CB1()->grab();
        return I->ObjectName + (I->GetCount() > 0 ? QStringLiteral("|rows|") : QStringLiteral("|none|")) +
               I->CB1()->currentText();
    };
    ASSERT_EQ(Shown(Designer->InspForm), QStringLiteral("Memo1|rows|Memo1"));
    QStringList Seen;
    TModalHandlers H(
        [&](TForm* F) {
            if (auto* Preview = dynamic_cast<TfrPreviewForm*>(F)) {
                Seen << QStringLiteral("preview ") + Shown(Designer->InspForm);
                Preview->EditPageClick();
            } else if (auto* Nested = dynamic_cast<TfrDesignerForm*>(F)) {
                Seen << QStringLiteral("page edit ") + Shown(Designer->InspForm) + u' ' + Shown(Nested->InspForm);
            }
            return mrOk;
        },
        [&](const TMessageRequest&) {
            Seen << QStringLiteral("load ") + Shown(Designer->InspForm);
            return mrOk;
        },
        [&](const TFileRequest&) {
            QFile F(Path(QStringLiteral("newer.frf")));
            F.open(QIODevice::WriteOnly);
            F.write("\x63 a form of a later version");
            return F.fileName();
        });
    Designer->SetModified(true);
    Designer->FileBtn4Click();
    // The page edit from the preview leaves the template's own changes unsaved.
    EXPECT_TRUE(Designer->GetModified());
    Seen << QStringLiteral("after ") + Shown(Designer->InspForm);
    Designer->SetModified(false);
    Designer->FileBtn2Click();
    EXPECT_EQ(Seen.join(QStringLiteral("; ")),
              QStringLiteral("preview |none|; page edit |none| Page1|rows|Page1; after Page1|rows|Page1; load |none|; "
                             "load Page1|rows|Page1"));
}

struct TPageOptionsRow
{
    const char* Name;
    std::function<void(TfrPgoptForm*)> Act;
    const char* Page;   // "orientation margins gap columns"
};

class PageOptionsTest : public FileCommandsTest, public ::testing::WithParamInterface<TPageOptionsRow>
{
};

TEST_P(PageOptionsTest, ReadsEveryBoxBeforeStoring)
{
    Page()->LeftMargin = 18;
    Open();
    QString Shown;
    TModalHandlers H(
        [&](TForm* F) {
            auto* P = dynamic_cast<TfrPgoptForm*>(F);
            Shown = P->E3->text();
            GetParam().Act(P);
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->PgB3Click();
    EXPECT_EQ(Shown, QStringLiteral("5"));
    TfrPage* P = Page();
    EXPECT_EQ(QStringLiteral("%1 %2,%3,%4,%5 %6 %7").arg(P->Orientation).arg(P->LeftMargin).arg(P->TopMargin)
                  .arg(P->RightMargin).arg(P->BottomMargin).arg(P->ColumnGap).arg(P->Columns),
              QString::fromLatin1(GetParam().Page));
}

const TPageOptionsRow PageOptionsRows[] = {
    {"CommaOrPoint", [](TfrPgoptForm* F) { F->E3->setText("5,5"); F->E4->setText("5.5"); }, "0 20,20,0,0 0 1"},
    {"JunkMarginZeroesAllButAppliesTheRest",
     [](TfrPgoptForm* F) { F->E4->setText("x"); F->RB2->setChecked(true); F->Edit1->setText("2"); }, "1 0,0,0,0 0 2"},
    {"NegativeMarginZeroesAll", [](TfrPgoptForm* F) { F->E7->setText("-1"); }, "0 0,0,0,0 0 1"},
    {"BadColumnsStoreNothing",
     [](TfrPgoptForm* F) { F->RB2->setChecked(true); F->E3->setText("9"); F->Edit1->setText("1.5"); }, "0 18,0,0,0 0 1"},
    {"ColumnsAbove255StoreNothing", [](TfrPgoptForm* F) { F->Edit1->setText("256"); }, "0 18,0,0,0 0 1"},
};
INSTANTIATE_TEST_SUITE_P(Designer, PageOptionsTest, ::testing::ValuesIn(PageOptionsRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
} // namespace designertest
