// "Insert DB fields": memos for the chosen fields in either layout, with
// headers and bands, scaled into the page when a row is too wide.
#include "DesignerTestUtil.h"

#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "report/designer/FR_IFlds.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>

namespace designertest {
namespace {

struct TInsertCase
{
    const char* Name;
    bool Vertical, Headers, Bands;
    QStringList Fields;   // chosen in the list
    const char* Expected; // the page afterwards
};

class InsertFieldsTest : public TDesignerTest, public ::testing::WithParamInterface<TInsertCase>
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        Module.setObjectName(QStringLiteral("DM"));
        frRegisterGlobalComponent(&Module);
        auto* Q = new TMemDataSet(&Module);
        Q->setObjectName(QStringLiteral("Q"));
        Q->FieldDefs()->Add(QStringLiteral("Name"), ftString, 20);
        Q->FieldDefs()->Add(QStringLiteral("City"), ftString, 20);
        Q->FieldDefs()->Add(QStringLiteral("Notes"), ftString, 400);
        Q->FieldDefs()->Add(QStringLiteral("Memo"), ftString, 20);
        Q->Open();
        Q->FieldByName(QStringLiteral("Name"))->SetDisplayLabel(QStringLiteral("Customer"));
        Q->FieldByName(QStringLiteral("Name"))->SetDisplayWidth(12);
        Q->FieldByName(QStringLiteral("Memo"))->SetDisplayWidth(100);
        auto* A = new TfrDBDataSet(&Module);
        A->setObjectName(QStringLiteral("frQ"));
        A->SetDataSet(Q);
    }
    void TearDown() override
    {
        frUnregisterGlobalComponent(&Module);
        TDesignerTest::TearDown();
    }

    // Every view: name, bounds, text or band type and data source.
    QString Views() const
    {
        QStringList L;
        for (int i = 0; i < Page()->Count(); ++i) {
            const TfrView* V = Page()->Objects(i);
            QString S = QStringLiteral("%1,%2 %3x%4 ").arg(V->Left()).arg(V->Top()).arg(V->Width()).arg(V->Height());
            if (auto* B = dynamic_cast<const TfrBandView*>(V))
                S += QStringLiteral("band%1:%2").arg(B->BandType()).arg(B->DataSet());
            else
                S += V->Memo()->Text().trimmed()
                     + (static_cast<const TfrMemoView*>(V)->Font()->Style().Contains(fsBold) ? QStringLiteral(" b")
                                                                                            : QString());
            L << S;
        }
        return L.join(QStringLiteral("; "));
    }

    QObject Module;
};

TEST_P(InsertFieldsTest, PlacesMemosAndBands)
{
    const TInsertCase& C = GetParam();
    Open();
    TModalHandlers H(
        [&C](TForm* Form) {
            auto* F = static_cast<TfrInsertFieldsForm*>(Form);
            EXPECT_EQ(F->DatasetCB->currentText(), QStringLiteral("DM.Q"));
            F->VertRB->setChecked(C.Vertical);
            F->HeaderCB->setChecked(C.Headers);
            F->BandCB->setChecked(C.Bands);
            for (int i = 0; i < F->FieldsL->count(); ++i)
                F->FieldsL->item(i)->setSelected(C.Fields.contains(F->FieldsL->item(i)->text()));
            return mrOk;
        },
        nullptr);
    Designer->InsertFieldsClick();
    EXPECT_EQ(Views().toStdString(), C.Expected);
    // New memos take the templates' own font name, which Liberation Sans serves.
    for (int i = 0; i < Page()->Count(); ++i) {
        if (auto* M = dynamic_cast<const TfrMemoView*>(Page()->Objects(i))) {
            EXPECT_EQ(M->Font()->Name().toStdString(), "Arial") << M->Name().toStdString();
        }
    }
}

const TInsertCase InsertCases[] = {
    {"HorizontalWithAll", false, true, true, {"Name", "City"},
     "0,18 758x20 band2:; 0,90 758x20 band5:DM.frQ; 18,18 76x20 Customer b; 18,90 84x20 [DM.Q.\"Name\"]; "
     "106,18 36x20 City b; 106,90 140x20 [DM.Q.\"City\"]"},
    {"VerticalWithHeaders", true, true, true, {"Name", "Notes"},
     "0,18 758x44 band5:DM.frQ; 18,18 76x20 Customer b; 102,18 84x20 [DM.Q.\"Name\"]; 18,42 48x20 Notes b; "
     "74,42 40x20 [DM.Q.\"Notes\"]"},
    {"NoHeadersNoBands", false, false, false, {"City"}, "18,18 140x20 [DM.Q.\"City\"]"},
    {"WideRowScaledIntoThePage", false, true, false, {"Name", "Memo"},
     "18,18 76x20 Customer b; 18,90 77x20 [DM.Q.\"Name\"]; 99,18 52x20 Memo b; 99,90 641x20 [DM.Q.\"Memo\"]"},
    {"NothingChosen", false, true, true, {}, ""},
};
INSTANTIATE_TEST_SUITE_P(Designer, InsertFieldsTest, ::testing::ValuesIn(InsertCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
} // namespace designertest
