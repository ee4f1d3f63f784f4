// The view attribute, option, template, insert-fields and about dialogs,
// filled and read through the modal seam as the designer uses them.
#include "DesignerTestUtil.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/ColorDialog.h"
#include "platform/gui/Shell.h"
#include "platform/gui/TestRender.h"
#include "report/designer/FR_About.h"
#include "report/designer/FR_AttrE.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_Dopt.h"
#include "report/designer/FR_DsOpt.h"
#include "report/designer/FR_Edit.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_GEdit.h"
#include "report/designer/FR_Hilit.h"
#include "report/designer/FR_IFlds.h"
#include "report/designer/FR_Newrp.h"
#include "report/designer/FR_PageF.h"
#include "report/designer/FR_Restr.h"
#include "report/designer/FR_Templ.h"
#include "report/designer/FR_pgopt.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace designertest {
namespace {

class DialogsTest : public TDesignerTest
{
protected:
    QString Path(const QString& Name) const { return Files.filePath(Name); }
    QTemporaryDir Files;
};

// ---------------------------------------------------------------- attributes

TEST_F(DialogsTest, TagTakesTheBuilderTextAtTheCaretOnlyOnOk)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel"));
    Page()->Objects(0)->SetTag(QStringLiteral("ab"));
    for (const TModalResult Answer : {mrCancel, mrOk}) {
        TModalHandlers H(
            [&](TForm* F) {
                if (auto* E = dynamic_cast<TfrExprForm*>(F)) {
                    E->ExprMemo->setPlainText(QStringLiteral("[X]"));
                    return mrOk;
                }
                auto* A = dynamic_cast<TfrAttrEditorForm*>(F);
                A->Edit1->setCursorPosition(1);
                A->Edit1->OnButtonClick(A->Edit1);
                return Answer;
            },
            [](const TMessageRequest&) { return mrOk; });
        Designer->TagEditorHook();
        EXPECT_EQ(Page()->Objects(0)->Tag(), Answer == mrOk ? QStringLiteral("a[X]b") : QStringLiteral("ab"));
    }
}

TEST_F(DialogsTest, MemoEditorsObjectTagEditsTheViewInTheEditor)
{
    Open();
    Designer->SyntaxHighlight = true;
    Build(QStringLiteral("Memo1 10,10 96x20; Memo2 10,40 96x20 sel"));
    TModalHandlers H(
        [&](TForm* F) {
            if (auto* E = dynamic_cast<TfrEditorForm*>(F)) {
                E->EditTagClick();
                return mrCancel;
            }
            static_cast<TfrAttrEditorForm*>(F)->Edit1->setText(QStringLiteral("T"));
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->ShowMemoEditor(Page()->Objects(0));
    EXPECT_EQ(Page()->Objects(0)->Tag() + u'|' + Page()->Objects(1)->Tag(), QStringLiteral("T|"));
}

class PictureEditorTest : public DialogsTest
{
protected:
    TfrPictureView& View()
    {
        if (!FView)
            FView = std::make_unique<TfrPictureView>();
        return *FView;
    }
    // The paint box as drawn now.
    static QImage Shot(TfrGEditorForm& F)
    {
        F.PB1->resize(300, 178);
        F.PB1->Invalidate();
        return F.PB1->grab().toImage();
    }
    QString Saved(const QString& Name, const QSize& Size, const char* Format)
    {
        QImage I(Size, QImage::Format_RGB32);
        I.fill(Qt::red);
        I.save(Path(Name), Format);
        return Path(Name);
    }
    std::unique_ptr<TfrPictureView> FView;
};

TEST_F(PictureEditorTest, LoadsBitmapsAndJpegsRefusesOtherFilesAndKeepsTheViewOnCancel)
{
    QFile Junk(Path(QStringLiteral("junk.bmp")));
    ASSERT_TRUE(Junk.open(QIODevice::WriteOnly));
    Junk.write("not a picture");
    Junk.close();
    struct TRow
    {
        QString File;
        TModalResult Answer;
        uint8_t Kind;     // of the view's picture afterwards
        int Messages;
    };
    const TRow Rows[] = {
        {Saved(QStringLiteral("a.bmp"), {4, 4}, "BMP"), mrOk, gkBitmap, 0},
        {Saved(QStringLiteral("a.jpg"), {4, 4}, "JPG"), mrOk, gkJpeg, 0},
        {Saved(QStringLiteral("b.bmp"), {4, 4}, "BMP"), mrCancel, gkNone, 0},
        {Junk.fileName(), mrOk, gkNone, 1},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.File.toStdString());
        FView.reset();
        TModalHandlers H(
            [&](TForm* F) {
                static_cast<TfrGEditorForm*>(F)->BitBtn1Click();
                return Row.Answer;
            },
            [](const TMessageRequest&) { return mrOk; }, [&](const TFileRequest&) { return Row.File; });
        TfrGEditorForm F;
        EXPECT_EQ(F.ShowEditor(&View()), Row.Answer);
        EXPECT_EQ(View().Picture()->Kind(), Row.Kind);
        EXPECT_EQ(TModalSeam::Messages().size(), static_cast<size_t>(Row.Messages));
    }
}

TEST_F(PictureEditorTest, ClearAndPasteOnlyAPicture)
{
    View().Picture()->LoadFromFile(Saved(QStringLiteral("a.bmp"), {4, 4}, "BMP"));
    TfrGEditorForm F;
    F.Image1()->Assign(*View().Picture());
    Clipboard()->SetAsText(QStringLiteral("text"));
    int Key = 'V';
    F.FormKeyDown(Key, TShiftState{ssCtrl});
    EXPECT_EQ(F.Image1()->Kind(), gkBitmap);
    F.Button4Click();
    EXPECT_TRUE(F.Image1()->Empty());
    QImage Blue(6, 3, QImage::Format_RGB32);
    Blue.fill(Qt::blue);
    Clipboard()->SetAsPicture(Blue);
    Key = VK_INSERT;
    F.FormKeyDown(Key, TShiftState{ssShift});
    EXPECT_EQ(F.Image1()->Image().size(), QSize(6, 3));
    EXPECT_EQ(F.Image1()->Image().pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(PictureEditorTest, PaintCentresWhatFitsStretchesWhatDoesNotAndSaysNone)
{
    TfrGEditorForm F;
    const QColor Window = ColorToQColor(clWindow);
    F.Image1()->LoadFromFile(Saved(QStringLiteral("small.bmp"), {10, 10}, "BMP"));
    QImage S = Shot(F);
    EXPECT_EQ(S.pixelColor(145, 84), QColor(Qt::red));
    EXPECT_EQ(S.pixelColor(154, 93), QColor(Qt::red));
    EXPECT_EQ(S.pixelColor(144, 89), Window);
    EXPECT_EQ(S.pixelColor(155, 94), Window);
    EXPECT_EQ(S.pixelColor(0, 0), Window);
    F.Image1()->LoadFromFile(Saved(QStringLiteral("wide.bmp"), {400, 10}, "BMP"));
    S = Shot(F);
    EXPECT_EQ(S.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(S.pixelColor(299, 177), QColor(Qt::red));
    F.Button4Click();
    S = Shot(F);
    int Ink = 0, InkOff = 0;
    for (int y = 0; y < S.height(); ++y)
        for (int x = 0; x < S.width(); ++x)
            if (S.pixelColor(x, y) != Window)
                ++(y >= 100 && y < 100 + 20 ? Ink : InkOff);
    EXPECT_GT(Ink, 10);
    EXPECT_EQ(InkOff, 0);
}

TEST_F(DialogsTest, HighlightTakesColoursAndConditionFromItsDialogs)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel"));
    static_cast<TfrMemoView*>(Page()->Objects(0))->SetHighlight({0, 0, 0x1FFFFFFF});
    TModalHandlers H(
        [&](TForm* F) {
            if (auto* C = dynamic_cast<TColorDialog*>(F)) {
                C->Picker()->setCurrentColor(QColor(0x11, 0x22, 0x33));
                return mrOk;
            }
            if (auto* E = dynamic_cast<TfrExprForm*>(F)) {
                EXPECT_EQ(E->Text(), QString());
                E->ExprMemo->setPlainText(QStringLiteral("[A] > 1"));
                return mrOk;
            }
            auto* Hl = dynamic_cast<TfrHilightForm*>(F);
            EXPECT_FALSE(Hl->SpeedButton2->isEnabled());
            Hl->Edit1->OnButtonClick(Hl->Edit1);
            Hl->SpeedButton1Click();
            Hl->RB2->setChecked(true);
            EXPECT_TRUE(Hl->SpeedButton2->isEnabled());
            Hl->SpeedButton2Click();
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->HlB1Click();
    auto* M = static_cast<TfrMemoView*>(Page()->Objects(0));
    EXPECT_EQ(M->HighlightCondition(), QStringLiteral("[A] > 1"));
    EXPECT_EQ(M->Highlight().FontColor, 0x332211u);
    EXPECT_EQ(M->Highlight().FillColor, 0x332211u);
}

// ---------------------------------------------------------------- page options

// "orientation paper width x height margins gap columns" of the page.
QString PageState(const TfrPage* P)
{
    return QStringLiteral("%1 %2 %3x%4 %5,%6,%7,%8 %9 %10")
        .arg(P->Orientation).arg(P->Size).arg(P->Width).arg(P->Height).arg(P->LeftMargin).arg(P->TopMargin)
        .arg(P->RightMargin).arg(P->BottomMargin).arg(P->ColumnGap).arg(P->Columns);
}

class PageOptionsRefusalTest : public DialogsTest,
                               public ::testing::WithParamInterface<std::tuple<const char*, int, const char*>>
{
};

// Each refusal: its message, and the page exactly as it was.
TEST_P(PageOptionsRefusalTest, SaysWhyAndStoresNothing)
{
    const auto& [Entries, Message, Name] = GetParam();
    Open();
    const QString Before = PageState(Page());
    TModalHandlers H(
        [&](TForm* F) {
            auto* P = static_cast<TfrPgoptForm*>(F);
            QLineEdit* Boxes[] = {P->E1, P->E2, P->E3, P->E4, P->E5, P->E6, P->E7, P->Edit1};
            for (const QString& Entry : QString::fromLatin1(Entries).split(u' ')) {
                if (Entry == u"custom")
                    P->ComB1->setCurrentIndex(P->PaperCodes.indexOf(frCustomPaper));
                else
                    Boxes[Entry.left(1).toInt()]->setText(Entry.mid(2));
            }
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->PgB3Click();
    EXPECT_EQ(PageState(Page()), Before);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{LoadEngineString(Message)}) << Name;
}

INSTANTIATE_TEST_SUITE_P(
    Designer, PageOptionsRefusalTest,
    ::testing::Values(std::make_tuple("custom 0=x 1=100", 55680, "NotANumber"),
                      std::make_tuple("custom 0=1200.1 1=100", 55681, "TooWide"),
                      std::make_tuple("custom 0=100 1=0,5", 55681, "TooLow"),
                      std::make_tuple("custom 0=1e300 1=100", 55681, "Huge"),
                      std::make_tuple("2=106 4=106", 55682, "NoRoomAcross"),
                      std::make_tuple("3=1e300", 55682, "HugeMargin"),
                      std::make_tuple("7=255 6=3", 55683, "NarrowColumns")));

TEST_F(DialogsTest, PageOptionsShowCustomSizesAndOkWithoutEditsKeepsEveryValue)
{
    Page()->ChangePaper(frCustomPaper, 10005, 12000, 0, poPortrait);
    Page()->TopMargin = 3601;
    Page()->LeftMargin = 37;
    Page()->ColumnGap = 18;
    Page()->Columns = 2;
    Open();
    const QString Before = PageState(Page());
    QStringList Shown;
    TModalHandlers H(
        [&](TForm* F) {
            auto* P = static_cast<TfrPgoptForm*>(F);
            Shown << P->E1->text() << P->E2->text() << P->E4->text() << P->E7->text()
                  << QString::number(P->E1->isEnabled());
            P->SB2Click();
            P->SB2Click();
            P->SB2Click();
            Shown << P->Edit1->text();
            P->SB1Click();
            P->SB1Click();
            P->ComB1->setCurrentIndex(0);
            Shown << QString::number(P->E1->isEnabled());
            P->ComB1->setCurrentIndex(P->PaperCodes.indexOf(frCustomPaper));
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->PgB3Click();
    EXPECT_EQ(Shown.join(u'|'), QStringLiteral("1000.5|1200|1000.3|5|1|0|0"));
    EXPECT_EQ(PageState(Page()), Before);
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

TEST_F(DialogsTest, PageOptionsShowOtherPapersWithoutSize)
{
    Open();
    TModalHandlers H(
        [&](TForm* F) {
            auto* P = static_cast<TfrPgoptForm*>(F);
            EXPECT_EQ(P->E1->text() + P->E2->text(), QString());
            EXPECT_FALSE(P->E1->isEnabled());
            EXPECT_TRUE(P->imgPortrait->isVisibleTo(P));
            EXPECT_FALSE(P->imgLandScape->isVisibleTo(P));
            return mrCancel;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->PgB3Click();
}

// ---------------------------------------------------------------- designer options

TEST_F(DialogsTest, DesignerOptionsWriteEditorFontsOnlyOnOkAndRefuseBadSizes)
{
    Open();
    TRegIniFile Ini(frRegRootKey);
    const QString Section = TfrDesOptionsForm::RegSection();
    for (const TModalResult Answer : {mrCancel, mrOk}) {
        int Round = 0;
        TModalHandlers H(
            [&](TForm* F) {
                auto* D = static_cast<TfrDesOptionsForm*>(F);
                if (Round++ == 0) {
                    EXPECT_FALSE(D->TextFontNameCB->isEnabled());
                    D->ERB2->setChecked(true);
                    EXPECT_TRUE(D->TextFontNameCB->isEnabled());
                    D->ScriptFontSizeCB->setEditText(QStringLiteral("14"));
                    EXPECT_EQ(D->SampleScriptPanel->font().pointSize(), 14);
                    D->TextFontSizeCB->setEditText(QStringLiteral("1000"));
                    EXPECT_EQ(D->SampleTextPanel->font().pointSize(), 10);
                    D->SetModalResult(Answer);
                    return Answer;
                }
                D->TextFontSizeCB->setEditText(QStringLiteral("12"));
                return mrOk;
            },
            [](const TMessageRequest&) { return mrOk; });
        Designer->N14Click();
        if (Answer == mrCancel) {
            EXPECT_FALSE(Ini.ValueExists(Section, QStringLiteral("UseDefaultFont")));
            continue;
        }
        EXPECT_EQ(Round, 2);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{LoadEngineString(55680)});
        EXPECT_FALSE(Ini.ReadBool(Section, QStringLiteral("UseDefaultFont"), true));
        EXPECT_EQ(Ini.ReadString(Section, QStringLiteral("TextFontSize"), QString()), QStringLiteral("12"));
        EXPECT_EQ(Ini.ReadString(Section, QStringLiteral("ScriptFontSize"), QString()), QStringLiteral("14"));
    }
}

// ---------------------------------------------------------------- templates

TEST_F(DialogsTest, TemplatesListEveryFrtFileInAnyCaseAndAnswerTheRealName)
{
    TemplateDir = Files.path();
    TStringList Comment;
    Comment.Add(QStringLiteral("first"));
    Report.SaveTemplate(Path(QStringLiteral("a.frt")), &Comment, nullptr);
    QFile::copy(Path(QStringLiteral("a.frt")), Path(QStringLiteral("B.FRT")));
    QFile::copy(Path(QStringLiteral("a.frt")), Path(QStringLiteral(".h.frt")));
    QDir(Files.path()).mkdir(QStringLiteral("x.frt"));
    QFile Damaged(Path(QStringLiteral("d.frt")));
    ASSERT_TRUE(Damaged.open(QIODevice::WriteOnly));
    Damaged.write("\x01");
    Damaged.close();
    QStringList Items;
    QString Description;
    TfrTemplForm F;
    TModalHandlers H(
        [&](TForm*) {
            EXPECT_FALSE(F.Button1->isEnabled());
            for (int i = 0; i < F.LB1->count(); ++i)
                Items << F.LB1->item(i)->text();
            F.LB1->setCurrentItem(F.LB1->findItems(QStringLiteral("d"), Qt::MatchExactly).value(0));
            F.LB1->setCurrentItem(F.LB1->findItems(QStringLiteral("B"), Qt::MatchExactly).value(0));
            Description = F.Memo1->toPlainText();
            if (!qEnvironmentVariableIsEmpty("TB_RENDER_DIR"))
                RenderToPng(&F, qEnvironmentVariable("TB_RENDER_DIR") + QStringLiteral("/new-report.png"));
            return F.Button1->isEnabled() ? mrOk : mrCancel;
        },
        [](const TMessageRequest&) { return mrOk; });
    EXPECT_EQ(F.ShowModal(), mrOk);
    TemplateDir.clear();
    EXPECT_EQ(Items.join(u' '), QStringLiteral(".h B a d"));
    EXPECT_EQ(Description, QStringLiteral("first"));
    EXPECT_EQ(F.TemplName(), Path(QStringLiteral("B.FRT")));
    EXPECT_EQ(TfrTemplForm::TemplateFolder(), QCoreApplication::applicationDirPath() + u'/');
}

// ---------------------------------------------------------------- insert fields, about, page form

TEST_F(DialogsTest, InsertFieldsWithAnEmptyDictionaryOffersNothing)
{
    TfrInsertFieldsForm F;
    TModalHandlers H(
        [&](TForm*) {
            EXPECT_EQ(F.DatasetCB->count() + F.FieldsL->count(), 0);
            EXPECT_TRUE(F.HorzRB->isChecked() && F.HeaderCB->isChecked() && F.BandCB->isChecked());
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    F.ShowModal();
    EXPECT_EQ(F.DataSet, nullptr);
}

TEST_F(DialogsTest, AboutLinksOpenByKindThroughTheShell)
{
    QStringList Opened;
    const TShellHandler Saved = SetShellHandler([&](const QString& Target) {
        Opened << Target;
        return true;
    });
    TfrAboutForm F;
    for (QLabel* L : F.Links)
        F.lbUrlClick(L);
    F.lbUrlClick(F.Image1);
    SetShellHandler(Saved);
    ASSERT_EQ(Opened.size(), 5);
    EXPECT_TRUE(Opened[0].startsWith(QStringLiteral("https://")));
    EXPECT_EQ(Opened[2], QStringLiteral("mailto:") + F.Links[2]->text());
    EXPECT_TRUE(Opened[4].startsWith(QStringLiteral("https://")));
    const QPoint At = F.Links[0]->pos();
    F.lbUrlMouseDown(F.Links[0]);
    EXPECT_EQ(F.Links[0]->pos(), At + QPoint(1, 1));
    F.lbUrlMouseUp();
    EXPECT_EQ(F.Links[0]->pos(), At);
    F.lbUrlMouseMove(F.Links[1]);
    EXPECT_TRUE(F.Links[1]->font().underline());
    F.FormMouseMove();
    EXPECT_FALSE(F.Links[1]->font().underline());
}

TEST_F(DialogsTest, DialogPageFormReportsMovesAsResizes)
{
    QWidget Designer;
    TfrPageForm F(&Designer);
    F.show();
    int Calls = 0;
    F.OnResize = [&](QObject* Sender) {
        EXPECT_EQ(Sender, nullptr);
        ++Calls;
    };
    F.move(F.pos() + QPoint(30, 20));
    EXPECT_GE(Calls, 1);
}

// ---------------------------------------------------------------- every dialog

// Each dialog at its designed client size; TB_RENDER_DIR keeps the pictures.
TEST_F(DialogsTest, EveryDialogHasItsClientSize)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel"));
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR");
    QStringList Sizes;
    const auto Take = [&](TForm* F, const QString& Name) {
        Sizes << QStringLiteral("%1 %2x%3").arg(Name).arg(F->ClientWidth()).arg(F->ClientHeight());
        if (!Dir.isEmpty())
            RenderToPng(F, Dir + u'/' + Name + QStringLiteral(".png"));
    };
    TModalHandlers H(
        [&](TForm* F) {
            if (auto* P = dynamic_cast<TfrPgoptForm*>(F)) {
                Take(F, QStringLiteral("page-options"));
                P->PageControl1->setCurrentIndex(1);
                Take(F, QStringLiteral("page-options-margins"));
                P->PageControl1->setCurrentIndex(2);
                Take(F, QStringLiteral("page-options-columns"));
            } else if (auto* D = dynamic_cast<TfrDocOptForm*>(F)) {
                Take(F, QStringLiteral("report-options"));
                D->Prop->setCurrentIndex(1);
                Take(F, QStringLiteral("report-options-document"));
            } else if (auto* O = dynamic_cast<TfrDesOptionsForm*>(F)) {
                Take(F, QStringLiteral("designer-options"));
                O->PageControl1->setCurrentIndex(1);
                Take(F, QStringLiteral("designer-options-editor"));
            } else if (dynamic_cast<TfrHilightForm*>(F)) {
                Take(F, QStringLiteral("highlight"));
            } else if (dynamic_cast<TfrRestrictionsForm*>(F)) {
                Take(F, QStringLiteral("restrictions"));
            } else if (dynamic_cast<TfrAttrEditorForm*>(F)) {
                Take(F, QStringLiteral("object-tag"));
            } else if (dynamic_cast<TfrAboutForm*>(F)) {
                Take(F, QStringLiteral("about"));
            }
            return mrCancel;
        },
        [](const TMessageRequest&) { return mrOk; });
    Designer->HlB1Click();
    Designer->RestrictionsEditorHook();
    Designer->TagEditorHook();
    Designer->PgB3Click();
    Designer->N8Click();
    Designer->N14Click();
    Designer->N34Click();
    TfrGEditorForm G;
    QImage Logo(120, 80, QImage::Format_RGB32);
    Logo.fill(QColor(0x9C, 0xC3, 0xE6));
    Clipboard()->SetAsPicture(Logo);
    int Key = 'V';
    G.FormKeyDown(Key, TShiftState{ssCtrl});
    Take(&G, QStringLiteral("picture-editor"));
    TfrTemplNewForm N;
    Take(&N, QStringLiteral("template-new"));
    TfrInsertFieldsForm I;
    Take(&I, QStringLiteral("insert-fields"));
    EXPECT_EQ(Sizes.join(u'|'),
              QStringLiteral("highlight 229x253|restrictions 237x224|object-tag 285x89|"
                             "page-options 381x189|page-options-margins 381x189|page-options-columns 381x189|report-options 361x289|"
                             "report-options-document 361x289|designer-options 353x411|"
                             "designer-options-editor 353x411|about 262x283|picture-editor 336x282|template-new 219x292|"
                             "insert-fields 334x215"));
}

} // namespace
} // namespace designertest
