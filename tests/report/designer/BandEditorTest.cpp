// The band editors: a data band's source, a cross band's sources per band,
// a group's condition, and the band types a page can still take.
#include "EditorTestUtil.h"

#include "report/designer/FR_BTyp.h"
#include "report/designer/FR_BndEd.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_GrpEd.h"
#include "report/designer/FR_VBnd.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_SubReportView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace editortest {
namespace {

class BandEditorTest : public TEditorTest
{
protected:
    void SetUp() override
    {
        TEditorTest::SetUp();
        Dict()->BandDataSourceAliases.SetVariable("frDBDataSet1", "Lines");
        Dict()->BandDataSourceAliases.SetVariable("frDBDataSet2", "");
        Designer->SetCurPage(0);
    }
    TfrBandView* AddBand(const QString& Name, int Type, const QString& Source = QString())
    {
        auto V = CreateViewByType(gtBand, QString());
        auto* B = static_cast<TfrBandView*>(V.get());
        B->SetName(Name);
        B->SetBandType(Type);
        B->SetFormatStr(Source);
        Report->Pages()->Pages(0)->Add(std::move(V));
        return B;
    }
    // Runs the editor; a refused OK is followed by Cancel.
    template <class TEditor>
    QString Edit(TfrBandView* Band, std::function<void(TEditor*)> Act, QString* Shown = nullptr)
    {
        int Round = 0;
        On<TEditor>([&](TEditor* F) {
            if (Round++ > 0)
                return mrCancel;
            if (Shown)
                *Shown = Describe(F);
            Act(F);
            return mrOk;
        });
        const auto Modal = Answer();
        TEditor Form;
        Form.ShowEditor(Band);
        return Band->FormatStr();
    }
    static QString Describe(TfrBandEditorForm* F)
    {
        return Items(F->LB1) + ">" + frSelectedText(F->LB1) + (F->Edit1->isEnabled() ? ":" + F->Edit1->text() : "");
    }
    static QString Describe(TfrGroupEditorForm* F) { return F->Edit1->text(); }
    static QString Describe(TfrVBandEditorForm* F)
    {
        QStringList R;
        for (int r = 0; r < F->LB1->count(); ++r) {
            F->LB1->setCurrentRow(r);
            R << F->LB1->item(r)->text() + "=" + F->CB1->currentText() +
                     (F->Edit1->isEnabled() ? ":" + F->Edit1->text() : "");
        }
        F->LB1->setCurrentRow(0);
        return R.join(u'|');
    }
};

struct TSourceRow
{
    const char* Name;
    const char* Start;
    const char* Shown;
    int Row;            // -1: as shown
    const char* Count;  // typed into Edit1 when not empty
    const char* Stored;
    const char* Messages;
};

class SourceTest : public BandEditorTest, public ::testing::WithParamInterface<TSourceRow>
{
};

TEST_P(SourceTest, DataBandSource)
{
    const TSourceRow& R = GetParam();
    TfrBandView* Band = AddBand("MasterData1", btMasterData, R.Start);
    Band->SetSelected(true);   // the designer opens the editor on the selected band
    SelCount = 1;
    QString Shown;
    const QString Stored = Edit<TfrBandEditorForm>(Band, [&](TfrBandEditorForm* F) {
        if (R.Row >= 0)
            F->LB1->setCurrentRow(R.Row);
        if (*R.Count)
            F->Edit1->setText(R.Count);
    }, &Shown);
    EXPECT_EQ(Shown, R.Shown);
    EXPECT_EQ(Stored, R.Stored);
    EXPECT_EQ(Messages.join(u'|'), R.Messages);
    EXPECT_EQ(Designer->UndoBuffer().Count(), Stored == R.Start && *R.Messages ? 0 : 1) << "one record per OK";
    SelCount = 0;
}

const char* const CountMessage = "Record count must be a whole number from 1 to 2147483647";

INSTANTIATE_TEST_SUITE_P(
    Bands, SourceTest,
    ::testing::Values(
        TSourceRow{"Twelve", "12", "[None]|Virtual Dataset|Lines|frDBDataSet2>Virtual Dataset:12", -1, "", "12", ""},
        TSourceRow{"Alias", "frDBDataSet1", "[None]|Virtual Dataset|Lines|frDBDataSet2>Lines", -1, "", "frDBDataSet1", ""},
        TSourceRow{"Vanished", "frGone", "[None]|Virtual Dataset|Lines|frDBDataSet2>[None]", -1, "", "[None]", ""},
        TSourceRow{"None", "frDBDataSet2", "[None]|Virtual Dataset|Lines|frDBDataSet2>frDBDataSet2", 0, "", "[None]", ""},
        TSourceRow{"Zero", "frDBDataSet2", "[None]|Virtual Dataset|Lines|frDBDataSet2>frDBDataSet2", 1, "0",
                   "frDBDataSet2", CountMessage},
        TSourceRow{"LeadingZero", "", "[None]|Virtual Dataset|Lines|frDBDataSet2>[None]", 1, "05", "5", ""},
        TSourceRow{"Letters", "", "[None]|Virtual Dataset|Lines|frDBDataSet2>[None]", 1, "12abc", "", CountMessage},
        TSourceRow{"TooMany", "", "[None]|Virtual Dataset|Lines|frDBDataSet2>[None]", 1, "2147483648", "",
                   CountMessage}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(BandEditorTest, CrossBandSourcesPerBand)
{
    AddBand("Title1", btReportTitle);
    AddBand("MasterData1", btMasterData);
    AddBand("Data1", btDetailData);
    TfrBandView* Cross = AddBand("Cross1", btCrossData, "frDBDataSet1");
    QString Shown;
    // A single value stands for every band and becomes pairs.
    EXPECT_EQ(Edit<TfrVBandEditorForm>(Cross, [](TfrVBandEditorForm*) {}, &Shown),
              "MasterData1=frDBDataSet1;Data1=frDBDataSet1;");
    EXPECT_EQ(Shown, "MasterData1: Master data=Lines|Data1: Detail data=Lines");

    // Whole names: Data1 does not take MasterData1's value.
    Cross->SetFormatStr("MasterData1=frDBDataSet1;Data1=7;");
    EXPECT_EQ(Edit<TfrVBandEditorForm>(Cross, [](TfrVBandEditorForm* F) {
                  F->LB1->setCurrentRow(1);
                  F->Edit1->setText("05");
              }, &Shown),
              "MasterData1=frDBDataSet1;Data1=5;");
    EXPECT_EQ(Shown, "MasterData1: Master data=Lines|Data1: Detail data=Virtual Dataset:7");

    EXPECT_EQ(Edit<TfrVBandEditorForm>(Cross, [](TfrVBandEditorForm* F) {
                  F->LB1->setCurrentRow(0);
                  F->CB1->setCurrentIndex(1);
                  F->Edit1->setText("12abc");
              }),
              "MasterData1=frDBDataSet1;Data1=5;");
    EXPECT_EQ(Messages.join(u'|'), CountMessage);
}

TEST_F(BandEditorTest, CrossBandWithoutOtherBandsIsNotEdited)
{
    AddBand("Title1", btReportTitle);
    TfrBandView* Cross = AddBand("Cross1", btCrossData, "x");
    bool Shown = false;
    On<TfrVBandEditorForm>([&](TfrVBandEditorForm*) {
        Shown = true;
        return mrOk;
    });
    const auto Modal = Answer();
    TfrVBandEditorForm Form;
    EXPECT_EQ(Form.ShowEditor(Cross), mrCancel);
    EXPECT_FALSE(Shown);
    EXPECT_EQ(Cross->FormatStr(), "x");
}

TEST_F(BandEditorTest, GroupConditionThroughTheExpressionBuilder)
{
    TfrBandView* Group = AddBand("GroupHeader1", btGroupHeader, "[Old]");
    On<TfrExprForm>([](TfrExprForm* F) {
        F->ExprMemo->setPlainText("Query1.\"Name\"");
        return mrOk;
    });
    QString Before;
    EXPECT_EQ(Edit<TfrGroupEditorForm>(Group, [&](TfrGroupEditorForm* F) {
                  Before = F->Edit1->text();
                  F->frSpeedButton1Click();
              }),
              "[Query1.\"Name\"]");
    EXPECT_EQ(Before, "[Old]");
}

TEST_F(BandEditorTest, BandDialogsRender)
{
    TfrBandView* Band = AddBand("MasterData1", btMasterData, "12");
    Edit<TfrBandEditorForm>(Band, [](TfrBandEditorForm* F) {
        // Row 1 carries the data-source icon in its 18-pixel box.
        const QImage I = RenderWidget(F);
        const QRect R = F->LB1->visualItemRect(F->LB1->item(2));
        const QPoint Icon = F->LB1->viewport()->mapTo(F, R.topLeft() + QPoint(8, R.height() / 2));
        EXPECT_NE(I.pixel(Icon) & 0xFFFFFF, 0xFFFFFFu);
        Keep(F, "band-data-source.png");
    });
    AddBand("Data1", btDetailData);
    TfrBandView* Cross = AddBand("Cross1", btCrossData, "MasterData1=frDBDataSet1;Data1=3;");
    Edit<TfrVBandEditorForm>(Cross, [](TfrVBandEditorForm* F) { Keep(F, "band-cross-sources.png"); });
    TfrBandView* Group = AddBand("GroupHeader1", btGroupHeader, "[Query1.\"Name\"]");
    Edit<TfrGroupEditorForm>(Group, [](TfrGroupEditorForm* F) { Keep(F, "band-group.png"); });
}

struct TTypesRow
{
    const char* Name;
    std::vector<int> Bands;
    bool Subreport;
    std::vector<int> Disabled;
    int Chosen;
};

class BandTypesTest : public BandEditorTest, public ::testing::WithParamInterface<TTypesRow>
{
};

TEST_P(BandTypesTest, OffersWhatThePageCanTake)
{
    for (int Type : GetParam().Bands)
        AddBand(QStringLiteral("Band%1").arg(Type), Type);
    TfrBandTypesForm Form;
    Form.IsSubreport = GetParam().Subreport;
    Form.FormShow();
    std::vector<int> Disabled;
    for (int t = 0; t < btNone; ++t)
        if (!Form.TypeButton(t)->isEnabled())
            Disabled.push_back(t);
    EXPECT_EQ(Disabled, GetParam().Disabled);
    EXPECT_EQ(Form.SelectedTyp, GetParam().Chosen);
    EXPECT_TRUE(Form.TypeButton(GetParam().Chosen)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, BandTypesTest,
    ::testing::Values(TTypesRow{"Empty", {}, false, {}, 0},
                      TTypesRow{"PageHeader", {2}, false, {2}, 0},
                      TTypesRow{"FourTaken", {0, 1, 2, 3, 19}, false, {0, 1, 2, 3, 19}, 4},
                      TTypesRow{"Subreport", {13}, true, {0, 1, 2, 3, 13, 14, 15, 16, 17}, 4}),
    [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
} // namespace editortest
