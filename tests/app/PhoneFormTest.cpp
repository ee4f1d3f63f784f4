// The telephone lookup: which digits are searched, the scope and the
// salesman's filter, what a double-click and a new prospect hand over, a
// prospect promoted from the lookup reaching the customer cards, the hover
// frame and the pictures of the four new windows.
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
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

const QString Ready = QStringLiteral("客户来电查询（可与电话连接，提供来电弹出客户功能）");
const QString NotFound = QStringLiteral("客户来电查询（找不到该号码对应的客户记录）");

QString Names(TADOQuery* Q)
{
    QStringList N;
    if (Q->Active())
        for (Q->First(); !Q->Eof(); Q->Next())
            N << Q->FieldByName(QStringLiteral("CustomerName"))->AsString();
    return N.join(u',');
}

} // namespace

class Phone : public TProgramFixture
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
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName, CustomerPhone, CustomerHandPhone) Values "
                            "('丙', NULL, '13955556666'), ('丁', '010-87654321', NULL), ('戊', '07551234567', NULL), "
                            "('己', NULL, '13810000000')"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan, CustomerPhone) Values "
                            "('甲', '张三', '01087654321'), ('乙', '李四', '010-87654321')"));
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
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

    // Shows the lookup for Kind; Act plays the user there, Inner answers the
    // windows opened from it and every Yes/No box says Yes.
    TModalResult Run(const QString& Kind, const std::function<void()>& Act,
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

TEST_F(Phone, LookupSearchesMobilesWholeAndLandlinesByEightThenSevenDigits)
{
    struct TCase { const char* Name; const char* Kind; const char* Typed; const char* Found; };
    const TCase Cases[] = {
        {"eleven digits beginning 13", "潜在客户", "13955556666", "丙"},
        {"the last eleven of a longer number", "潜在客户", "+8613955556666", "丙"},
        {"landline by its last eight", "潜在客户", "01087654321", "丁"},
        {"then by its last seven", "潜在客户", "0755-1234567", "戊"},
        {"a short number beginning 13 whole", "潜在客户", "138100", "己"},
        {"nothing found", "潜在客户", "020-99999999", ""},
        {"regular scope keeps to the salesman", "成交客户", "01087654321", "甲"},
        {"a prospect's number is no regular's", "成交客户", "13955556666", ""},
        {"typed quotes stay one literal", "成交客户", "') Or (1=1", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QString Found, Caption;
        Run(QString::fromUtf8(C.Kind), [&] {
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

TEST_F(Phone, DoubleClickOpensByScopeAndNewPresetsTheNumber)
{
    struct TCase { const char* Name; const char* Kind; const char* Typed; bool New; const char* Seen; };
    const TCase Cases[] = {
        {"regular: the customer window", "成交客户", "01087654321", false, "FormCustomer|2"},
        {"prospect: the record window", "潜在客户", "13955556666", false, "FormCustomer2|1|2|潜在客户|丙"},
        {"no row", "潜在客户", "020-99999999", false, ""},
        {"new prospect for the number", "潜在客户", "020-99999999", true, "FormCustomer2|0|潜在客户|020-99999999"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QString Seen, PresetName;
        const TModalResult Result = Run(
            QString::fromUtf8(C.Kind),
            [&] {
                FormPhone->Edit1->setText(QString::fromUtf8(C.Typed));
                FormPhone->ActionSearch->trigger();
                if (C.New)
                    FormPhone->ActionNew->trigger();
                else
                    FormPhone->DBGridEhContact->DblClick();
            },
            [&](TForm* Form) {
                Seen = Form->objectName();
                if (Form == FormCustomer) {
                    Seen += u'|' + QString::number(FormCustomer->CustomerIndex);
                    return;
                }
                Seen += QStringLiteral("|%1").arg(FormCustomer2->EditMode);
                if (FormCustomer2->EditMode)
                    Seen += QStringLiteral("|%1").arg(FormCustomer2->CustomerIndex);
                Seen += u'|' + FormCustomer2->CustomerKind;
                Seen += u'|' + (FormCustomer2->EditMode ? FormCustomer2->CustomerName->text()
                                                        : FormCustomer2->CustomerPhone->text());
                PresetName = FormCustomer2->CustomerName->text();
                FormCustomer2->BitBtn1->Click();
            });
        EXPECT_EQ(Seen, QString::fromUtf8(C.Seen));
        EXPECT_EQ(Result, mrCancel);
        if (C.New) {
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"))
                            .match(PresetName).hasMatch()) << PresetName.toStdString();
            EXPECT_EQ(Scalar(QStringLiteral("Select CustomerPhone From CustomerHide Where CustomerName = '%1'")
                                 .arg(PresetName)),
                      QStringLiteral("020-99999999"));
        }
        if (*C.Seen == 0) {
            EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("请先选中需要查看的记录")});
        }
    }
}

TEST_F(Phone, AProspectPromotedFromTheLookupShowsOnTheCards)
{
    FormMain->ComboBox7->setCurrentIndex(0); // ascending by number
    FormMain->RefreshCustomers();
    auto Cards = [] {
        QStringList N;
        for (int I = 0; I < CardsPerPage; ++I)
            if (!FormMain->CustomerCards->Panels[I]->isHidden())
                N << FormMain->CustomerCards->Names[I]->text();
        return N.join(u',');
    };
    ASSERT_EQ(Cards(), QStringLiteral("甲"));
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
    EXPECT_EQ(Cards(), QStringLiteral("甲,丙"));

    // A promotion flag left from before never refreshes a later lookup.
    Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('庚', '张三')"));
    FormCustomer2->Promoted = true;
    TModalHandlers Close([](TForm*) { return mrCancel; }, nullptr);
    FormMain->ActionButtonSave2->Click();
    EXPECT_EQ(FormPhone->ModalResult(), mrCancel);
    EXPECT_EQ(Cards(), QStringLiteral("甲,丙"));
    EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty());
}

TEST_F(Phone, HoverFramesThePictureAndTheNewWindowsRender)
{
    const QString Res = QCoreApplication::applicationDirPath() + QStringLiteral("/Res/");
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    for (const QString& File : QDir(Res).entryList(QDir::Files))
        QFile::copy(Res + File, AppPath + QStringLiteral("Res/") + File);
    QImage Hot, Cold;
    Run(QStringLiteral("潜在客户"), [&] {
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
    const QString Keep = qEnvironmentVariable("TB_KEEP_RENDER_DIR");
    if (!Keep.isEmpty()) {
        Hot.save(Keep + QStringLiteral("/phone.png"));
        Sheet.save(Keep + QStringLiteral("/phone2.png"));
        FormCustomerHide->ADOQuery1->SetConnection(ShareDataModule->ADOConnection1);
        FormCustomerHide->RefreshList();
        RenderToPng(FormCustomerHide, Keep + QStringLiteral("/customerhide.png"));
        FormCustomer3->FormShow(FormCustomer3);
        RenderToPng(FormCustomer3, Keep + QStringLiteral("/customer3.png"));
        RenderToPng(FormMain, Keep + QStringLiteral("/main-search.png"));
    }
}
