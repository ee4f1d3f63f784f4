// The customer record window: the checks of OK with message and focus per
// table, opening balances, presets, delete, the rename ripple in one
// transaction and promotion of a prospect.
#include "AppFixture.h"

#include "app/Customer2Form.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TestRender.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace {

const QString Regular = QStringLiteral("正式客户");
const QString Prospect = QStringLiteral("潜在客户");

} // namespace

class Customer2 : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        CurrentUser = QStringLiteral("张三");
        // Regular 2 甲公司, 3 Acme; prospects 2 丙, 3 乙公司.
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('甲公司', '李四'), ('Acme', '李四')"));
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName, CustomerOwe) Values ('丙', 5), ('乙公司', 0)"));
        FormCustomer2 = new TFormCustomer2();
    }

    void TearDown() override
    {
        delete FormCustomer2;
        FormCustomer2 = nullptr;
        TAppFixture::TearDown();
    }

    // A fresh database for the next row of a table.
    void Reset()
    {
        TearDown();
        QFile::remove(AppPath + QStringLiteral("Tallybridge.mdb"));
        SetUp();
    }

    // Shows the window for Kind (Index 0: a new row); Act plays the user and
    // every Yes/No box gets Answer.
    TModalResult Run(const QString& Kind, int Index, const std::function<void()>& Act, TModalResult Answer = mrYes)
    {
        FormCustomer2->CustomerKind = Kind;
        FormCustomer2->EditMode = Index == 0 ? 0 : 1;
        FormCustomer2->CustomerIndex = Index;
        TModalHandlers Handlers([&](TForm*) { Act(); return mrNone; },
                                [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        return FormCustomer2->ShowModal();
    }

    // Both tables' names, regulars first.
    QString Names()
    {
        QString Text;
        for (const char* Table : {"Customer", "CustomerHide"})
            Text += Scalar(QStringLiteral("Select Group_Concat(CustomerName, ',') From (Select CustomerName From %1 "
                                          "Where CustomerIndex > 1 Order By CustomerIndex)").arg(QString::fromLatin1(Table)))
                    + u'|';
        return Text;
    }
};

TEST_F(Customer2, OkChecksNamesAndBalancesPerTable)
{
    struct TCase { const char* Row; QString Kind; int Index; const char* Name; const char* Owe;
                   const char* Message; const char* Focus; const char* Stored; };
    const TCase Cases[] = {
        {"empty name", Regular, 0, "", "1", "客户名不得为空", "CustomerName", nullptr},
        {"bad balance", Regular, 0, "丁", "12元", "金额格式有误，请重新输入", "CustomerOwe", nullptr},
        {"regular name taken", Regular, 0, "甲公司", "", "该客户名已经存在，请重新操作", "CustomerName", nullptr},
        {"taken in another case", Regular, 0, "ACME", "", "该客户名已经存在，请重新操作", "CustomerName", nullptr},
        {"prospect name taken", Prospect, 0, "丙", "", "该客户名已经存在，请重新操作", "CustomerName", nullptr},
        {"rename onto another row", Regular, 3, "甲公司", "", "该客户名已经存在，请重新操作", "CustomerName", nullptr},
        {"prospect may share a regular name", Prospect, 0, "甲公司", "", "客户　甲公司　新增成功", nullptr, "0.0|张三"},
        {"empty balance stores 0", Regular, 0, "丁", "", "客户　丁　新增成功", nullptr, "0.0|张三"},
        {"negative balance", Regular, 0, "丁", "-12.5", "客户　丁　新增成功", nullptr, "-12.5|张三"},
        {"case of the own name", Regular, 3, "ACME", "7", "客户资料修改成功", nullptr, "7.0|李四"},
        {"unchanged name", Prospect, 2, "丙", "5", "客户资料修改成功", nullptr, "5.0|"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Reset();
        const QString Name = QString::fromUtf8(C.Name);
        const TModalResult Result = Run(C.Kind, C.Index, [&] {
            FormCustomer2->CustomerName->setText(Name);
            FormCustomer2->CustomerOwe->setText(QString::fromUtf8(C.Owe));
            FormCustomer2->BitBtn1->Click();
        });
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        EXPECT_EQ(Result, C.Stored ? mrOk : mrCancel);
        if (!C.Stored) {
            EXPECT_EQ(FormCustomer2->ActiveControl()->objectName(), QString::fromLatin1(C.Focus));
            EXPECT_EQ(Names(), QStringLiteral("甲公司,Acme|丙,乙公司|"));
            continue;
        }
        const QString Table = C.Kind == Regular ? QStringLiteral("Customer") : QStringLiteral("CustomerHide");
        EXPECT_EQ(Scalar(QStringLiteral("Select Group_Concat(CustomerOwe || '|' || CustomerMan) From %1 Where "
                                        "CustomerName = %2 And CustomerIndex > 1").arg(Table, SqlQuoted(Name))),
                  QString::fromUtf8(C.Stored));
    }
}

// Presets, the buttons of each kind, the red or blue badge, and a row that is gone;
// TB_CUSTOMER2_PNG names a file to keep the picture of the regular row in.
TEST_F(Customer2, ShowsPresetsOnceAndRowsWithTheirButtonsAndBadge)
{
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    for (const char* File : {"RedCustomer64.ico", "BlueCustomer64.ico"})
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Res/") + QString::fromLatin1(File),
                    AppPath + QStringLiteral("Res/") + QString::fromLatin1(File));
    Exec(QStringLiteral("Update CustomerHide Set CustomerPhone = '010-1', CustomerRemark = '老客户' Where CustomerIndex = 2"));
    Exec(QStringLiteral("Update Customer Set CustomerOwe = 1200.5, CustomerPhone = '0571-88886666', CustomerContact = "
                        "'王建国', CustomerAddress = '杭州市西湖区文三路 90 号' Where CustomerIndex = 2"));
    struct TCase { const char* Row; QString Kind; int Index; QString Preset; const char* Shown; const char* Badge; };
    const TCase Cases[] = {
        {"lookup presets", Prospect, 0, QStringLiteral("2024-05-01 10:00"), "2024-05-01 10:00||13812345678||00", "blue"},
        {"next new row is empty", Prospect, 0, QString(), "||||00", "blue"},
        {"prospect row", Prospect, 2, QString(), "丙|5|010-1|老客户|11", "blue"},
        {"regular row", Regular, 2, QString(), "甲公司|1200.5|0571-88886666||10", "red"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        if (!C.Preset.isEmpty()) {
            FormCustomer2->PresetName = C.Preset;
            FormCustomer2->PresetPhone = QStringLiteral("13812345678");
        }
        QString Shown;
        QImage Shot;
        Run(C.Kind, C.Index, [&] {
            TFormCustomer2* F = FormCustomer2;
            Shown = QStringList{F->CustomerName->text(), F->CustomerOwe->text(), F->CustomerPhone->text(),
                                F->CustomerRemark->toPlainText(), QString::number(F->BitBtn3->isVisible())
                                    + QString::number(F->BitBtn4->isVisible())}.join(u'|');
            EXPECT_EQ(F->ActiveControl(), F->CustomerName);
            Shot = RenderWidget(F);
        });
        EXPECT_EQ(Shown, QString::fromUtf8(C.Shown));
        const QRect Badge(FormCustomer2->Image1->mapTo(FormCustomer2, QPoint(0, 0)), FormCustomer2->Image1->size());
        int Red = 0, Blue = 0;
        for (int Y = Badge.top(); Y <= Badge.bottom(); ++Y)
            for (int X = Badge.left(); X <= Badge.right(); ++X) {
                const QColor P = Shot.pixelColor(X, Y);
                Red += P.red() > 150 && P.green() < 110 && P.blue() < 110;
                Blue += P.blue() > 150 && P.red() < 110;
            }
        EXPECT_EQ(Red > 200 && Blue < 20 ? "red" : Blue > 200 && Red < 20 ? "blue" : "none", std::string(C.Badge));
        if (const QByteArray Keep = qgetenv("TB_CUSTOMER2_PNG"); C.Kind == Regular && !Keep.isEmpty())
            Shot.save(QString::fromLocal8Bit(Keep));
    }
    TModalSeam::ClearMessages();
    EXPECT_EQ(Run(Regular, 99, [] {}), mrCancel);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("找不到要修改的记录")});
}

TEST_F(Customer2, DeleteAnsweredNoEndsWithNoAndKeepsTheRow)
{
    Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum) Values ('销售开单', '甲公司', 10)"));
    for (const TModalResult Answer : {mrNo, mrYes}) {
        EXPECT_EQ(Run(Regular, 2, [] { FormCustomer2->BitBtn3->Click(); }, Answer), Answer == mrYes ? mrOk : mrNo);
        EXPECT_EQ(Names(), Answer == mrYes ? QStringLiteral("Acme|丙,乙公司|") : QStringLiteral("甲公司,Acme|丙,乙公司|"));
    }
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Bill Where BillUser = '甲公司'")), QStringLiteral("1"));
}

TEST_F(Customer2, RenameRipplesIntoDocumentsOfRegularCustomersOnlyAndAllOrNothing)
{
    // "Bill|Money|Customer|Prospect" named after the rename of 甲公司.
    struct TCase { const char* Row; QString Kind; bool Fail; const char* Message; const char* After; };
    const TCase Cases[] = {
        {"regular", Regular, false, "客户资料修改成功", "新名,乙公司|新名|新名|甲公司"},
        {"prospect", Prospect, false, "客户资料修改成功", "甲公司,乙公司|甲公司|甲公司|新名"},
        {"failure mid-ripple", Regular, true, "数据保存失败，本次修改已全部撤销", "甲公司,乙公司|甲公司|甲公司|甲公司"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Reset();
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName) Values ('甲公司')"));
        Exec(QStringLiteral("Insert Into Bill (BillUser) Values ('甲公司'), ('乙公司')"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser) Values ('甲公司')"));
        if (C.Fail)
            Exec(QStringLiteral("Create Trigger Refuse Before Update On MoneyTable Begin Select Raise(Abort, 'x'); End"));
        Run(C.Kind, C.Kind == Regular ? 2 : 4, [&] {
            FormCustomer2->CustomerName->setText(QStringLiteral("新名"));
            FormCustomer2->BitBtn1->Click();
        });
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        EXPECT_EQ(Scalar(QStringLiteral("Select Group_Concat(BillUser) From Bill Where BillIndex > 1")) + u'|'
                      + Scalar(QStringLiteral("Select MoneyUser From MoneyTable Where MoneyIndex = 2")) + u'|'
                      + Scalar(QStringLiteral("Select CustomerName From Customer Where CustomerIndex = 2")) + u'|'
                      + Scalar(QStringLiteral("Select CustomerName From CustomerHide Where CustomerIndex = 4")),
                  QString::fromUtf8(C.After));
    }
}

TEST_F(Customer2, PromotionMovesTheProspectInOneStep)
{
    struct TCase { const char* Row; const char* Name; TModalResult Answer; bool Fail; const char* Message;
                   const char* Names; };
    const TCase Cases[] = {
        {"promoted", "丙", mrYes, false, "客户　丙　转正成功", "甲公司,Acme,丙|乙公司|"},
        {"answered No", "丙", mrNo, false, "确实要把该客户转为正式客户吗？", "甲公司,Acme|丙,乙公司|"},
        {"regular name taken", "甲公司", mrYes, false, "正式客户中，该客户名已经存在，请重新操作", "甲公司,Acme|丙,乙公司|"},
        {"removal fails", "丙", mrYes, true, "数据保存失败，本次修改已全部撤销", "甲公司,Acme|丙,乙公司|"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Reset();
        if (C.Fail)
            Exec(QStringLiteral("Create Trigger Refuse Before Delete On CustomerHide Begin Select Raise(Abort, 'x'); End"));
        const TModalResult Result = Run(Prospect, 2, [&] {
            FormCustomer2->CustomerName->setText(QString::fromUtf8(C.Name));
            FormCustomer2->BitBtn4->Click();
        }, C.Answer);
        const bool Promoted = C.Answer == mrYes && !C.Fail && C.Name == std::string("丙");
        EXPECT_EQ(TModalSeam::MessageTexts().last(), QString::fromUtf8(C.Message));
        EXPECT_EQ(Result, Promoted ? mrOk : mrCancel);
        EXPECT_EQ(FormCustomer2->Promoted, Promoted);
        EXPECT_EQ(Names(), QString::fromUtf8(C.Names));
    }
    // The regular row carries the prospect's details and the promoting user.
    Reset();
    Run(Prospect, 2, [] { FormCustomer2->BitBtn4->Click(); });
    EXPECT_EQ(Scalar(QStringLiteral("Select CustomerOwe || CustomerMan From Customer Where CustomerName = '丙'")),
              QStringLiteral("5.0张三"));
}
