// The fields window: lists from the report's datasets, the remembered
// dataset, DBField, and a field dropped on the design page.
#include "DesignerTestUtil.h"

#include "platform/db/MemDataSet.h"
#include "report/designer/FR_InsFields.h"

#include <QPointer>

namespace {

TMemDataSet* DataSet(QObject* Owner, const QString& Name, const QStringList& Fields)
{
    auto* D = new TMemDataSet(Owner);
    D->setObjectName(Name);
    for (const QString& F : Fields)
        D->FieldDefs()->Add(F, ftString, 20);
    D->Open();
    return D;
}

class TFieldsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TRegIniFile::SetStorageFolder(Settings.path());
        Report = new TfrReport(&Form);
        CurReport = Report;
    }
    void TearDown() override
    {
        for (const QPointer<TfrInsFieldsForm>& F : Windows)
            delete F.data();
        CurReport = nullptr;
        TRegIniFile::SetStorageFolder(QString());
    }
    // Opens the window and reads both lists: "Datasets: chosen | fields".
    QString Lists()
    {
        auto* F = new TfrInsFieldsForm;
        Windows << F;
        F->show();
        QStringList Fields;
        for (int i = 0; i < F->FieldsLB->count(); ++i)
            Fields << F->FieldsLB->item(i)->text();
        const QString Chosen = F->DatasetsLB->currentItem() ? F->DatasetsLB->currentItem()->text() : QString();
        return QString::number(F->DatasetsLB->count()) + u':' + Chosen + u'|' + Fields.join(u',');
    }

    QTemporaryDir Settings;
    QList<QPointer<TfrInsFieldsForm>> Windows;
    QObject Form;
    TfrReport* Report = nullptr;
};

TEST_F(TFieldsWindowTest, RemembersTheChosenDataset)
{
    EXPECT_EQ(Lists(), "0:|");
    DataSet(&Form, "Customers", {"Name", "City"});
    auto* Orders = DataSet(&Form, "Orders", {"Amount"});
    EXPECT_EQ(Lists(), "2:Customers|Name,City");
    frInsFieldsForm->DatasetsLB->setCurrentRow(1);
    frInsFieldsForm->hide();
    EXPECT_EQ(frInsFieldsForm, nullptr);
    EXPECT_EQ(Lists(), "2:Orders|Amount");
    delete frInsFieldsForm;
    delete Orders;
    EXPECT_EQ(Lists(), "1:Customers|Name,City");
}

TEST_F(TFieldsWindowTest, DBFieldNamesTheChosenField)
{
    DataSet(&Form, "Customers", {"Name", "City"});
    Lists();
    TfrInsFieldsForm* F = frInsFieldsForm;
    F->ComputeDBField();
    EXPECT_EQ(F->DBField, "");
    F->FieldsLB->setCurrentRow(0);
    F->ComputeDBField();
    EXPECT_EQ(F->DBField, "Customers.\"Name\"");
    // The splitter leaves each list 16 pixels.
    F->MoveSplitter(-500);
    EXPECT_EQ(F->DatasetsLB->height(), 16);
    F->MoveSplitter(1000);
    EXPECT_EQ(F->FieldsLB->height(), 16);
}

using TFieldDropTest = designertest::TDesignerTest;

TEST_F(TFieldDropTest, DroppedFieldBecomesAMemoAtTheSnappedPoint)
{
    Open();
    auto* F = new TfrInsFieldsForm(Designer.get());
    F->DatasetsLB->addItem("Customers");
    F->DatasetsLB->setCurrentRow(0);
    F->FieldsLB->addItem("Name");
    bool Accept = true;
    Designer->PageView->DragOver(Designer->PageView, 37, 41, dsDragMove, Accept);
    EXPECT_FALSE(Accept) << "only the fields window's lists are taken";
    for (const char* Chosen : {"", "Name"}) {
        SCOPED_TRACE(Chosen);
        F->FieldsLB->setCurrentRow(*Chosen ? 0 : -1);
        F->ComputeDBField();
        Designer->PageView->DragOver(F->FieldsLB, 37, 41, dsDragMove, Accept);
        EXPECT_TRUE(Accept);
        Designer->PageView->DragDrop(F->FieldsLB, 37, 41);
    }
    ASSERT_EQ(Page()->Count(), 1);
    EXPECT_EQ(Page()->Objects(0)->Memo()->Text().trimmed(), "[Customers.\"Name\"]");
    EXPECT_EQ(QPoint(Page()->Objects(0)->Left(), Page()->Objects(0)->Top()), QPoint(32, 36));
    delete F;
    EXPECT_EQ(frInsFieldsForm, nullptr);
}

} // namespace
