// The designer window and its inspector: rows from the selection, edits
// applied to every selected view through the one change path.
#include "DesignerTestUtil.h"

#include "report/designer/FR_Insp.h"
#include "report/engine/FR_PictureView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

using designertest::TDesignerTest;

class TInspectorLinkTest : public TDesignerTest
{
protected:
    void Select(const QString& Text)
    {
        Build(Text);
        Designer->SelectionChanged();
    }
    // The row's text, or "<none>" when the property is not listed.
    QString Row(const QString& Name) const
    {
        TfrInspForm* I = Designer->InspForm;
        for (int i = 0; i < I->GetCount(); ++i)
            if (I->GetItemName(i) == Name)
                return I->GetItemText(i);
        return QStringLiteral("<none>");
    }
    // Types into a row and presses Enter, as the user does.
    void Edit(const QString& Name, const QString& Text)
    {
        TfrInspForm* I = Designer->InspForm;
        for (int i = 0; i < I->GetCount(); ++i)
            if (I->GetItemName(i) == Name)
                I->SetItemIndex(i);
        I->Edit1->setText(Text);
        I->Edit1->setModified(true);
        QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(I->Edit1, &Enter);
    }
};

TEST_F(TInspectorLinkTest, RowsShowWhatTheSelectionHasInCommon)
{
    // Expected: "Property=Text" pairs.
    struct TCase { const char* Name; const char* Views; bool Picture; const char* Expected; } Cases[] = {
        {"nothing selected shows the page", "", false, "Type=ptReport;Name=<none>;Visible=True"},
        {"one memo", "Memo1 10,10 96x20 sel", false,
         "Name=Memo1;Left=10;Font=(Font);FrameColor=clBlack;Flags=<none>;Font.Name=<none>"},
        {"two memos alike", "Memo1 10,10 96x20 sel; Memo2 10,40 96x20 sel", false,
         "Name=<none>;Left=10;FrameColor=clBlack;Width=96"},
        {"two memos differing", "Memo1 10,10 96x20 sel; Memo2 20,40 50x20 sel", false, "Left=;Width=;Top="},
        {"memo and picture", "Memo1 10,10 96x20 sel", true, "Font=<none>;Highlight=<none>;Left=10;Visible=True"},
        {"memo and band", "Memo1 10,10 96x20 sel; Band1 band 0,40 600x40 sel", false,
         "Font=<none>;Left=;FrameColor=<none>;Visible=True"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Open();
        if (C.Picture) {
            auto P = CreateViewByType(gtPicture, QString());
            P->SetName("Picture1");
            P->SetBounds(10, 50, 40, 40);
            P->SetSelected(true);
            ++SelCount;
            Page()->Add(std::move(P));
        }
        Select(QString::fromUtf8(C.Views));
        QStringList Got;
        for (const QString& Pair : QString::fromUtf8(C.Expected).split(u';'))
            Got << Pair.section(u'=', 0, 0) + u'=' + Row(Pair.section(u'=', 0, 0));
        EXPECT_EQ(Got.join(u';'), QString::fromUtf8(C.Expected));
        Designer.reset();
        Page()->Clear();
        SelCount = 0;
    }
}

TEST_F(TInspectorLinkTest, FrameColourEditReachesEveryViewOnce)
{
    Open();
    Select("Memo1 10,10 96x20 sel; Memo2 20,40 50x20 sel");
    Designer->ClearUndoBuffer();
    Edit("FrameColor", "clRed");
    EXPECT_EQ(Records(), "2:Memo1,Memo2");
    EXPECT_EQ(Page()->Objects(0)->FrameColor(), clRed);
    EXPECT_EQ(Page()->Objects(1)->FrameColor(), clRed);
    EXPECT_EQ(Row("FrameColor"), "clRed");
}

TEST_F(TInspectorLinkTest, MillimetresShownAndStoredAsPixels)
{
    Open();
    Designer->Units = 1;
    Select("Memo1 36,18 96x20 sel");
    EXPECT_EQ(Row("Left"), "10.00");
    EXPECT_EQ(Row("Top"), "5.00");
    Edit("Left", "20");
    EXPECT_EQ(Page()->Objects(0)->Left(), 72);
    EXPECT_EQ(Row("Left"), "20.00");
}

TEST_F(TInspectorLinkTest, NudgedViewsShowInTheRowsOnceTheEventLoopRuns)
{
    Open();
    Select("Memo1 10,10 96x20 sel");
    for (int i = 0; i < 3; ++i) {
        int Key = VK_RIGHT;
        Designer->FormKeyDown(Key, TShiftState() << ssCtrl);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(Row("Left"), "13");
}

TEST_F(TInspectorLinkTest, RestrictedAndInvalidEditsAreRefused)
{
    // Row and Message, when given: the row's text and the page's value
    // afterwards (nothing selected), and the message shown.
    struct TCase {
        const char *Name, *Views, *Property, *Text, *Page, *Records, *Row = nullptr, *Message = nullptr;
        int Units = 0;
    } Cases[] = {
        {"may not move", "Memo1 10,10 96x20 sel r32", "Left", "40", "Memo1 10,10 96x20 sel", "2:Memo1"},
        {"may not size", "Memo1 10,10 96x20 sel r16", "Width", "40", "Memo1 10,10 96x20 sel", "2:Memo1"},
        {"rename to a used name", "Memo1 10,10 96x20 sel; Memo2 10,40 96x20", "Name", "Memo2",
         "Memo1 10,10 96x20 sel; Memo2 10,40 96x20", ""},
        {"rename to no identifier", "Memo1 10,10 96x20 sel", "Name", "9 lives", "Memo1 10,10 96x20 sel", ""},
        {"rename", "Memo1 10,10 96x20 sel", "Name", "合计_1", "合计_1 10,10 96x20 sel", "2:Memo1"},
        {"junk width", "Memo1 10,10 96x20 sel", "Width", "abc", "Memo1 10,10 96x20 sel", ""},
        {"frame lines beyond 16 bits", "Memo1 10,10 96x20 sel", "FrameTyp", "65536", "Memo1 10,10 96x20 sel", ""},
        {"left beyond any page", "Memo1 10,10 96x20 sel", "Left", "2147483600", "Memo1 10,10 96x20 sel", "", "10",
         "'2147483600' is not a valid value"},
        {"width whose sum with left leaves the range", "Memo1 10,10 96x20 sel; Memo2 10,40 96x20 sel", "Width",
         "99995", "Memo1 10,10 96x20 sel; Memo2 10,40 96x20 sel", "", "96", "'99995' is not a valid value"},
        {"gap beyond any page", "Memo1 10,10 96x20 sel", "GapX", "100001", "Memo1 10,10 96x20 sel", "", "2",
         "'100001' is not a valid value"},
        {"millimetres no view can take", "Memo1 36,10 96x20 sel", "Left", "1e30", "Memo1 36,10 96x20 sel", "",
         "10.00", "'1e30' is not a valid value", 1},
        {"left margin wider than the paper", "", "LeftMargin", "100000", "", "", "0",
         "The margins leave no room on the paper."},
        {"negative columns", "", "Columns", "-3", "", "", "1", "'-3' is not a valid integer value"},
        {"negative column gap", "", "ColumnGap", "-500", "", "", "0", "The columns do not fit on the page."},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QStringList Shown;
        TModalHandlers H(nullptr, [&Shown](const TMessageRequest& M) {
            Shown << M.Text;
            return mrOk;
        });
        Open();
        Designer->Units = C.Units;
        Select(QString::fromUtf8(C.Views));
        Designer->ClearUndoBuffer();
        const QString Property = QString::fromUtf8(C.Property);
        Edit(Property, QString::fromUtf8(C.Text));
        EXPECT_EQ(PageText(), QString::fromUtf8(C.Page));
        EXPECT_EQ(Records(), QString::fromUtf8(C.Records));
        if (C.Row) {
            EXPECT_EQ(Row(Property), QString::fromUtf8(C.Row));
            if (!*C.Views) {
                EXPECT_EQ(Page()->GetPropValue(Property).AsString(), QString::fromUtf8(C.Row));
            }
            EXPECT_EQ(Shown.join(u'|'), QString::fromUtf8(C.Message));
        }
        Designer.reset();
        Page()->Clear();
        SelCount = 0;
    }
}

TEST_F(TInspectorLinkTest, RenameCarriesBandLinks)
{
    Open();
    Select("Band1 band 0,0 600x40; Band2 band 0,60 600x40 sel");
    static_cast<TfrBandView*>(Page()->Objects(0))->SetChildBand("Band2");
    Designer->SelectionChanged();
    Edit("Name", "Child");
    EXPECT_EQ(static_cast<TfrBandView*>(Page()->Objects(0))->ChildBand(), "Child");
}

TEST_F(TInspectorLinkTest, PageTypeAsksBeforeEmptyingThePage)
{
    struct TCase { TModalResult Answer; TfrPageType Type; const char *Page, *Records; } Cases[] = {
        {mrNo, ptReport, "Memo1 10,10 96x20", "2:Memo1"},
        {mrYes, ptDialog, "", ""},
    };
    for (const TCase& C : Cases) {
        Open();
        while (Page()->Count() > 0)
            Page()->Delete(0);
        Page()->PageType = ptReport;
        Build("Memo1 10,10 96x20 sel");
        Designer->AddUndoAction(acEdit);
        SetViewSelected(Page()->Objects(0), false);
        SelCount = 0;
        Designer->SelectionChanged();
        QStringList Asked;
        TModalHandlers H(nullptr, [&](const TMessageRequest& M) {
            Asked << M.Caption + u'|' + M.Text;
            return C.Answer;
        });
        Edit("Type", "ptDialog");
        EXPECT_EQ(Asked.join(u';'), "Warning|This will delete all objects on this page.");
        EXPECT_EQ(Page()->PageType, C.Type);
        EXPECT_EQ(PageText(), C.Page);
        EXPECT_EQ(Records(), C.Records);
    }
}

} // namespace
