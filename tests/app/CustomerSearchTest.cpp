// The customer search of the customer cards, the prospect list and the
// telephone lookup: the conditions each builds, typed text kept as one
// literal, the period, which digits a lookup searches, the scope and the
// salesman's filter, the hand-overs to the record windows, a promoted prospect
// or a renamed customer reaching the cards, the hover frame and the pictures
// of the new windows.
#include "ProgramFixture.h"

#include "app/CardPage.h"
#include "app/Customer2Form.h"
#include "app/Customer3Form.h"
#include "app/CustomerForm.h"
#include "app/CustomerHideForm.h"
#include "app/Phone2Form.h"
#include "app/PhoneForm.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOQuery.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TestRender.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

const QString Ready = QStringLiteral("客户来电查询（可与电话连接，提供来电弹出客户功能）");
const QString NotFound = QStringLiteral("客户来电查询（找不到该号码对应的客户记录）");

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
    if (Q->Active())
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
        Application()->CreateForm(FormCustomer);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormCustomer3);
        Application()->CreateForm(FormPhone);
        Application()->CreateForm(FormPhone2);
        Application()->CreateForm(FormCustomerHide);
        NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("业务管理；"));
        // 张三's customers 甲'乙 (2) and 乙 (3, a sale on 2024-03-10); 李四's 甲 (4).
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan, CustomerPhone, CustomerHandPhone, "
                            "CustomerRemark) Values ('甲''乙', '张三', '02161381234', '01087654321', '老客户'), "
                            "('乙', '张三', '13800000000', NULL, NULL), ('甲', '李四', '13812345678', '010-87654321', '老客户')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values "
                            "('销售开单', '乙', 100, '2024-03-10 00:00:00')"));
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName, CustomerPhone, CustomerHandPhone) Values "
                            "('丙', '13800001111', '13955556666'), ('丁''戊', '02161380000', '15900000000'), "
                            "('己', '010-87654321', NULL), ('庚', '07551234567', NULL), ('辛', NULL, '13810000000')"));
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
        FormMain->ComboBox7->setCurrentIndex(0); // ascending by number
    }

    void TearDown() override
    {
        TProgramFixture::TearDown();
        FormCustomer = nullptr;
        FormCustomer2 = nullptr;
        FormCustomer3 = nullptr;
        FormPhone = nullptr;
        FormPhone2 = nullptr;
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

    // Shows the lookup for Kind; Act plays the user there, Inner answers the
    // windows opened from it and every Yes/No box says Yes.
    TModalResult Lookup(const QString& Kind, const std::function<void()>& Act,
                        const std::function<void(TForm*)>& Inner = nullptr)
    {
        FormPhone->SearchKind = Kind;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormPhone)
                    Act();
                else if (Inner)
                    Inner(Form);
                return Form == FormPhone ? mrCancel : mrNone;
            },
            [](const TMessageRequest&) { return mrYes; });
        return FormPhone->ShowModal();
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
    QString Expected;
    int N = 0;
    for (const char* Column : {"CustomerName", "CustomerContact", "CustomerHandPhone", "CustomerPhone", "CustomerFax",
                               "CustomerEMail", "CustomerWebsite", "CustomerAddress", "CustomerRemark"})
        Expected += QStringLiteral(" And (InStr(%1,'%2'))").arg(QString::fromLatin1(Column)).arg(++N);
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
        {"empty filters list every prospect", -1, "", "丙,丁'戊,己,庚,辛"},
        {"phone 138 at the start or in the middle", 1, "138", "丙,丁'戊"},
        {"the second edit is the phone, not the contact", 1, "159", ""},
        {"the fifth edit is the hand phone", 4, "159", "丁'戊"},
        {"a quote is one literal", 0, "丁'戊", "丁'戊"},
        {"an injection lists nothing", 0, "') Or (1=1", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        for (QLineEdit* Edit : FormCustomerHide->Edits)
            Edit->clear();
        if (C.Edit >= 0)
            FormCustomerHide->Edits[C.Edit]->setText(QString::fromUtf8(C.Text));
        FormCustomerHide->ActionSearch->trigger();
        EXPECT_EQ(Names(FormCustomerHide->ADOQuery1), QString::fromUtf8(C.Rows));
    }
}

TEST_F(CustomerSearch, ProspectListHandsRowsToTheRecordWindowAndDeletes)
{
    // Each row acts on the first listed prospect, or on none when Select is off.
    struct TCase { const char* Name; bool Select; QAction* TFormCustomerHide::*Action; TModalResult Answer;
                   const char* Message; const char* Rows; };
    const TCase Cases[] = {
        {"edit without a row", false, &TFormCustomerHide::ActionEdit, mrYes, "请先选中需要查看的记录", "丙,丁'戊,己,庚,辛"},
        {"delete without a row", false, &TFormCustomerHide::ActionDelete, mrYes, "请先选中需要删除的记录", "丙,丁'戊,己,庚,辛"},
        {"edit renames", true, &TFormCustomerHide::ActionEdit, mrYes, "客户资料修改成功", "壬,丁'戊,己,庚,辛"},
        {"new", true, &TFormCustomerHide::ActionNew, mrYes, "客户　癸　新增成功", "壬,丁'戊,己,庚,辛,癸"},
        {"delete answered No", true, &TFormCustomerHide::ActionDelete, mrNo, "确实要删除该记录吗？", "壬,丁'戊,己,庚,辛,癸"},
        {"delete answered Yes", true, &TFormCustomerHide::ActionDelete, mrYes, "确实要删除该记录吗？", "丁'戊,己,庚,辛,癸"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormCustomer2) {
                    EXPECT_EQ(FormCustomer2->CustomerKind, QStringLiteral("潜在客户"));
                    FormCustomer2->CustomerName->setText(FormCustomer2->EditMode ? QStringLiteral("壬") : QStringLiteral("癸"));
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
    }
}

TEST_F(CustomerSearch, LookupSearchesMobilesWholeAndLandlinesByEightThenSevenDigits)
{
    struct TCase { const char* Name; const char* Kind; const char* Typed; const char* Found; };
    const TCase Cases[] = {
        {"eleven digits beginning 13", "潜在客户", "13955556666", "丙"},
        {"the last eleven of a longer number", "潜在客户", "+8613955556666", "丙"},
        {"landline by its last eight", "潜在客户", "01087654321", "己"},
        {"then by its last seven", "潜在客户", "0755-1234567", "庚"},
        {"a short number beginning 13 whole", "潜在客户", "138100", "辛"},
        {"nothing found", "潜在客户", "020-99999999", ""},
        {"regular scope keeps to the salesman", "成交客户", "01087654321", "甲'乙"},
        {"a prospect's number is no regular's", "成交客户", "13955556666", ""},
        {"typed quotes stay one literal", "成交客户", "') Or (1=1", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QString Found, Caption;
        Lookup(QString::fromUtf8(C.Kind), [&] {
            FormPhone->Edit1->setText(QString::fromUtf8(C.Typed));
            FormPhone->ActionSearch->trigger();
            Found = Names(FormPhone->ADOQuery1);
            Caption = FormPhone->Caption();
        });
        EXPECT_EQ(Found, QString::fromUtf8(C.Found));
        EXPECT_EQ(Caption, *C.Found ? Ready : NotFound);
        EXPECT_EQ(FormPhone->ComboBox1->currentIndex(), QString::fromUtf8(C.Kind) == QStringLiteral("成交客户"));
    }
    EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty());
}

TEST_F(CustomerSearch, DoubleClickOpensByScopeAndNewPresetsTheNumber)
{
    // Seen: the window opened, its mode, index and kind, and the name and phone it shows.
    // Then: what the user does between the search and the double-click.
    enum TThen { Nothing, SwitchScope, ReopenFromIncomingCall };
    struct TCase { const char* Name; const char* Kind; const char* Typed; bool New; const char* Seen; TThen Then = Nothing; };
    const TCase Cases[] = {
        {"regular: the customer window", "成交客户", "01087654321", false, "FormCustomer|2"},
        {"prospect: the record window", "潜在客户", "13955556666", false, "FormCustomer2|1|2|潜在客户|丙|13800001111"},
        {"no row", "潜在客户", "020-99999999", false, ""},
        {"new prospect for the number", "潜在客户", "020-99999999", true, "FormCustomer2|0|0|潜在客户|*|020-99999999"},
        {"prospects found, scope switched to regulars", "潜在客户", "13955556666", false, "", SwitchScope},
        {"regulars found, reopened for prospects", "成交客户", "01087654321", false, "", ReopenFromIncomingCall},
    };
    const QRegularExpression Moment(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QString Seen;
        FormCustomer2->CustomerIndex = 0;
        const auto Opened = [&](TForm* Form) {
            if (Form == FormCustomer) {
                Seen = QStringLiteral("FormCustomer|%1").arg(FormCustomer->CustomerIndex);
                return;
            }
            const QString Name = FormCustomer2->CustomerName->text();
            Seen = QStringLiteral("FormCustomer2|%1|%2|%3|%4|%5")
                       .arg(FormCustomer2->EditMode).arg(FormCustomer2->CustomerIndex)
                       .arg(FormCustomer2->CustomerKind, Moment.match(Name).hasMatch() ? QStringLiteral("*") : Name,
                            FormCustomer2->CustomerPhone->text());
            FormCustomer2->BitBtn1->Click();
        };
        TModalResult Result = Lookup(
            QString::fromUtf8(C.Kind),
            [&] {
                FormPhone->Edit1->setText(QString::fromUtf8(C.Typed));
                FormPhone->ActionSearch->trigger();
                if (C.Then == SwitchScope) {
                    QKeyEvent Down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                    QCoreApplication::sendEvent(FormPhone->ComboBox1, &Down);
                }
                if (C.New)
                    FormPhone->ActionNew->trigger();
                else if (C.Then != ReopenFromIncomingCall)
                    FormPhone->DBGridEhContact->DblClick();
            },
            Opened);
        if (C.Then == ReopenFromIncomingCall) {
            TModalHandlers Handlers(
                [&](TForm* Form) -> TModalResult {
                    if (Form != FormPhone) {
                        Opened(Form);
                        return mrNone;
                    }
                    FormPhone->DBGridEhContact->DblClick();
                    return mrCancel;
                },
                [](const TMessageRequest&) { return mrYes; });
            FormMain->ActionButtonSave2->Click();
            Result = FormPhone->ModalResult();
        }
        EXPECT_EQ(Seen, QString::fromUtf8(C.Seen));
        // The lookup closes once the new prospect is stored.
        EXPECT_EQ(Result, mrCancel);
        EXPECT_EQ(TModalSeam::MessageTexts().contains(QStringLiteral("请先选中需要查看的记录")), !*C.Seen);
    }
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From CustomerHide Where CustomerPhone = '020-99999999'")),
              QStringLiteral("1"));
}

TEST_F(CustomerSearch, AProspectPromotedFromTheLookupShowsOnTheCards)
{
    auto Cards = [] { return Names(FormMain->CustomerCards); };
    ASSERT_EQ(Cards(), QStringLiteral("甲'乙,乙"));
    QString AfterPromotion;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormPhone) {
                FormPhone->Edit1->setText(QStringLiteral("13955556666"));
                FormPhone->ActionSearch->trigger();
                FormPhone->DBGridEhContact->DblClick();
                AfterPromotion = FormPhone->Caption();
                FormPhone->ActionClose->trigger();
            } else if (Form == FormCustomer2) {
                FormCustomer2->BitBtn4->Click();
            }
            return mrNone;
        },
        [](const TMessageRequest&) { return mrYes; });
    FormMain->ActionButtonSave2->Click();
    // The lookup ran again and the prospect is gone from its table.
    EXPECT_EQ(AfterPromotion, NotFound);
    EXPECT_EQ(Cards(), QStringLiteral("甲'乙,乙,丙"));

    // A promotion flag left from before never refreshes a later lookup.
    Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('子', '张三')"));
    FormCustomer2->Promoted = true;
    TModalHandlers Close([](TForm*) { return mrCancel; }, nullptr);
    FormMain->ActionButtonSave2->Click();
    EXPECT_EQ(FormPhone->ModalResult(), mrCancel);
    EXPECT_EQ(Cards(), QStringLiteral("甲'乙,乙,丙"));
    EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty());

    // A customer renamed through the lookup's customer window shows its new name on the cards.
    Lookup(QStringLiteral("成交客户"), [] {
        FormPhone->Edit1->setText(QStringLiteral("01087654321"));
        FormPhone->ActionSearch->trigger();
        FormPhone->DBGridEhContact->DblClick();
    }, [](TForm* Form) {
        if (Form == FormCustomer) {
            FormCustomer->Button5->Click();
        } else if (Form == FormCustomer2) {
            FormCustomer2->CustomerName->setText(QStringLiteral("甲丙"));
            FormCustomer2->BitBtn1->Click();
        }
    });
    EXPECT_EQ(Cards(), QStringLiteral("甲丙,乙,丙,子"));
}

TEST_F(CustomerSearch, HoverFramesThePictureAndTheNewWindowsRender)
{
    const QString Res = QCoreApplication::applicationDirPath() + QStringLiteral("/Res/");
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    for (const QString& File : QDir(Res).entryList(QDir::Files))
        QFile::copy(Res + File, AppPath + QStringLiteral("Res/") + File);
    QImage Hot, Cold;
    Lookup(QStringLiteral("潜在客户"), [&] {
        FormPhone->Edit1->setText(QStringLiteral("010-87654321"));
        FormPhone->ActionSearch->trigger();
        FormPhone->Image1MouseMove(FormPhone->Image1);
        Hot = RenderWidget(FormPhone);
        FormPhone->FormMouseMove(FormPhone);
        Cold = RenderWidget(FormPhone);
    });
    const QPoint Frame = FormPhone->Shape1->geometry().topLeft() + QPoint(4, 40);
    EXPECT_EQ(Hot.pixel(Frame) & 0xFFFFFF, 0xA6CAF0u);
    EXPECT_EQ(Cold.pixel(Frame) & 0xFFFFFF, 0xFFFFFFu);
    // The blue telephone sits inside the frame.
    EXPECT_NE(Hot.pixel(FormPhone->Image1->geometry().center()) & 0xFFFFFF, 0xA6CAF0u);

    QImage Sheet = RenderWidget(FormPhone2);
    EXPECT_EQ(Sheet.pixel(FormPhone2->Image1->geometry().topLeft() + QPoint(2, 2)) & 0xFFFFFF, 0xFFFFFFu);
    // TB_KEEP_RENDER_DIR=docs/images keeps the pictures of the four windows.
    const QString Keep = qEnvironmentVariable("TB_KEEP_RENDER_DIR");
    if (!Keep.isEmpty()) {
        Hot.save(Keep + QStringLiteral("/phone.png"));
        Sheet.save(Keep + QStringLiteral("/phone2.png"));
        FormCustomerHide->RefreshList();
        RenderToPng(FormCustomerHide, Keep + QStringLiteral("/customerhide.png"));
        FormCustomer3->FormShow(FormCustomer3);
        RenderToPng(FormCustomer3, Keep + QStringLiteral("/customer3.png"));
    }
}
