// The customer search of the customer cards and the prospect list: the
// conditions each window builds, typed quotes kept as one literal, the date
// period, and the list's new, edit and delete through the record window.
#include "ProgramFixture.h"

#include "app/CardPage.h"
#include "app/Customer2Form.h"
#include "app/Customer3Form.h"
#include "app/CustomerHideForm.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOQuery.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

namespace {

QString Names(const TCardPage* Page)
{
    QStringList N;
    for (int I = 0; I < CardsPerPage; ++I)
        if (!Page->Panels[I]->isHidden())
            N << Page->Names[I]->text();
    return N.join(u',');
}

QString Names(TADOQuery* Q)
{
    QStringList N;
    for (Q->First(); !Q->Eof(); Q->Next())
        N << Q->FieldByName(QStringLiteral("CustomerName"))->AsString();
    return N.join(u',');
}

} // namespace

class CustomerSearch : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormCustomer3);
        Application()->CreateForm(FormCustomerHide);
        NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("业务管理；"));
        // 张三's customers 甲'乙 and 乙 (with a sale on 2024-03-10); 李四's 甲.
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan, CustomerPhone, CustomerRemark) Values "
                            "('甲''乙', '张三', '02161381234', '老客户'), ('乙', '张三', '13800000000', NULL), "
                            "('甲', '李四', '13812345678', '老客户')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values "
                            "('销售开单', '乙', 100, '2024-03-10 00:00:00')"));
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName, CustomerPhone, CustomerHandPhone) Values "
                            "('丙', '13800001111', NULL), ('丁''戊', '02161380000', '15900000000'), ('己', '0215555', NULL)"));
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
        FormMain->ComboBox7->setCurrentIndex(0); // ascending by number
    }

    void TearDown() override
    {
        TProgramFixture::TearDown();
        FormCustomer2 = nullptr;
        FormCustomer3 = nullptr;
        FormCustomerHide = nullptr;
    }

    // The main window's search: Act fills the dialog, then its button Press.
    void Search(const std::function<void()>& Act, TBitBtn* TFormCustomer3::*Press)
    {
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormCustomer3) {
                    Act();
                    (FormCustomer3->*Press)->Click();
                }
                return mrNone;
            },
            nullptr);
        FormMain->CustomerSearch->Click();
    }
};

TEST_F(CustomerSearch, ConditionsNarrowTheCardsOfTheSalesman)
{
    struct TCase { const char* Name; int Edit; const char* Text; const char* Condition; const char* Cards; };
    const TCase Cases[] = {
        {"none", -1, "", "", "甲'乙,乙"},
        {"name with a quote is one literal", 0, "甲'乙", " And (InStr(CustomerName,'甲''乙'))", "甲'乙"},
        {"an injection stays a literal", 0, "') Or (1=1", " And (InStr(CustomerName,''') Or (1=1'))", ""},
        {"phone 138 in the middle and at the start", 3, "138", " And (InStr(CustomerPhone,'138'))", "甲'乙,乙"},
        {"blanks are a condition", 8, " ", " And (InStr(CustomerRemark,' '))", ""},
        {"remark of another salesman's customer", 8, "老客户", " And (InStr(CustomerRemark,'老客户'))", "甲'乙"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        FormMain->CustomerPage = 1;
        Search([&] {
            for (QLineEdit* Edit : FormCustomer3->Edits)
                Edit->clear();
            if (C.Edit >= 0)
                FormCustomer3->Edits[C.Edit]->setText(QString::fromUtf8(C.Text));
        }, &TFormCustomer3::BitBtn1);
        EXPECT_EQ(FormCustomer3->SearchCondition, QString::fromUtf8(C.Condition));
        EXPECT_EQ(Names(FormMain->CustomerCards), QString::fromUtf8(C.Cards));
        EXPECT_EQ(FormMain->CustomerPage, 0);
    }
}

TEST_F(CustomerSearch, EditsAppendInTheDialogsOrderAndCancelKeepsTheCondition)
{
    Search([] {
        for (size_t I = 0; I < FormCustomer3->Edits.size(); ++I)
            FormCustomer3->Edits[I]->setText(QString::number(I + 1));
    }, &TFormCustomer3::BitBtn1);
    const char* Columns[] = {"CustomerName", "CustomerContact", "CustomerHandPhone", "CustomerPhone", "CustomerFax",
                             "CustomerEMail", "CustomerWebsite", "CustomerAddress", "CustomerRemark"};
    QString Expected;
    for (int I = 0; I < 9; ++I)
        Expected += QStringLiteral(" And (InStr(%1,'%2'))").arg(QString::fromLatin1(Columns[I])).arg(I + 1);
    EXPECT_EQ(FormCustomer3->SearchCondition, Expected);

    Search([] { FormCustomer3->Edits[0]->setText(QStringLiteral("甲")); }, &TFormCustomer3::BitBtn2);
    EXPECT_EQ(FormCustomer3->ModalResult(), mrCancel);
    EXPECT_EQ(FormCustomer3->SearchCondition, Expected);
}

TEST_F(CustomerSearch, ThePeriodKeepsCustomersWithDocumentsInIt)
{
    QStringList Enabled;
    Search([&] {
        for (QLineEdit* Edit : FormCustomer3->Edits)
            Edit->clear();
        EXPECT_EQ(FormCustomer3->DateTimePicker1->date(), QDate(2024, 3, 1));
        EXPECT_EQ(FormCustomer3->DateTimePicker2->date(), QDate(2024, 3, 31));
        for (int Click = 0; Click < 3; ++Click) {
            Enabled << QStringLiteral("%1%2").arg(FormCustomer3->DateTimePicker1->isEnabled())
                                              .arg(FormCustomer3->DateTimePicker2->isEnabled());
            FormCustomer3->CheckBox1->click();
        }
    }, &TFormCustomer3::BitBtn1);
    EXPECT_EQ(Enabled, (QStringList{QStringLiteral("00"), QStringLiteral("11"), QStringLiteral("00")}));
    EXPECT_EQ(FormCustomer3->SearchCondition, QStringLiteral(" And (BillCreateTime Between #2024-03-01# And #2024-03-31#)"));
    EXPECT_EQ(Names(FormMain->CustomerCards), QStringLiteral("乙"));

    FormMain->SetWorkingDay(EncodeDate(2024, 4, 2));
    Search([] {}, &TFormCustomer3::BitBtn1);
    EXPECT_EQ(FormCustomer3->SearchCondition, QStringLiteral(" And (BillCreateTime Between #2024-04-01# And #2024-04-30#)"));
    EXPECT_EQ(Names(FormMain->CustomerCards), QString());
}

TEST_F(CustomerSearch, ProspectListFiltersInItsOwnOrder)
{
    struct TCase { const char* Name; int Edit; const char* Text; const char* Rows; };
    const TCase Cases[] = {
        {"empty filters list every prospect", -1, "", "丙,丁'戊,己"},
        {"phone 138 at the start or in the middle", 1, "138", "丙,丁'戊"},
        {"the second edit is the phone, not the contact", 1, "159", ""},
        {"the fifth edit is the hand phone", 4, "159", "丁'戊"},
        {"a quote is one literal", 0, "丁'戊", "丁'戊"},
        {"an injection lists nothing", 0, "') Or (1=1", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                for (QLineEdit* Edit : FormCustomerHide->Edits)
                    Edit->clear();
                if (C.Edit >= 0)
                    FormCustomerHide->Edits[C.Edit]->setText(QString::fromUtf8(C.Text));
                FormCustomerHide->ActionSearch->trigger();
                EXPECT_EQ(Names(FormCustomerHide->ADOQuery1), QString::fromUtf8(C.Rows));
                FormCustomerHide->ActionClose->trigger();
                return mrNone;
            },
            nullptr);
        EXPECT_EQ(FormCustomerHide->ShowModal(), mrCancel);
    }
}

TEST_F(CustomerSearch, ProspectListHandsRowsToTheRecordWindowAndDeletes)
{
    struct TCase { const char* Name; bool Select; QAction* TFormCustomerHide::*Action; TModalResult Answer;
                   const char* Message; const char* Rows; };
    const TCase Cases[] = {
        {"edit without a row", false, &TFormCustomerHide::ActionEdit, mrYes, "请先选中需要查看的记录", "丙,丁'戊,己"},
        {"delete without a row", false, &TFormCustomerHide::ActionDelete, mrYes, "请先选中需要删除的记录", "丙,丁'戊,己"},
        {"edit renames", true, &TFormCustomerHide::ActionEdit, mrYes, "客户资料修改成功", "庚,丁'戊,己"},
        {"new", true, &TFormCustomerHide::ActionNew, mrYes, "客户　辛　新增成功", "庚,丁'戊,己,辛"},
        {"delete answered No", true, &TFormCustomerHide::ActionDelete, mrNo, "确实要删除该记录吗？", "庚,丁'戊,己,辛"},
        {"delete answered Yes", true, &TFormCustomerHide::ActionDelete, mrYes, "确实要删除该记录吗？", "丁'戊,己,辛"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QString Kind;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormCustomer2) {
                    Kind = FormCustomer2->CustomerKind + u'|' + QString::number(FormCustomer2->EditMode);
                    FormCustomer2->CustomerName->setText(FormCustomer2->EditMode ? QStringLiteral("庚") : QStringLiteral("辛"));
                    FormCustomer2->BitBtn1->Click();
                    return mrNone;
                }
                FormCustomerHide->Edits[0]->setText(C.Select ? QString() : QStringLiteral("无此人"));
                FormCustomerHide->ActionSearch->trigger();
                (FormCustomerHide->*C.Action)->trigger();
                FormCustomerHide->Edits[0]->clear();
                FormCustomerHide->ActionSearch->trigger();
                EXPECT_EQ(Names(FormCustomerHide->ADOQuery1), QString::fromUtf8(C.Rows));
                return mrCancel;
            },
            [&](const TMessageRequest&) { return C.Answer; });
        FormCustomerHide->ShowModal();
        EXPECT_EQ(TModalSeam::MessageTexts().value(0), QString::fromUtf8(C.Message));
        if (C.Action != &TFormCustomerHide::ActionDelete && C.Select) {
            EXPECT_EQ(Kind, QStringLiteral("潜在客户|%1").arg(C.Action == &TFormCustomerHide::ActionEdit));
        }
    }
}
