// The customer record window: the checks of OK with message and focus per
// table, opening balances, presets, delete, the rename ripple in one
// transaction and promotion of a prospect.
#include "AppFixture.h"

#include "app/Customer2Form.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace {

inline void PrintTo(const QString& S, std::ostream* Out) { *Out << '"' << S.toStdString() << '"'; }

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
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                Act();
                return mrNone;
            },
            [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        return FormCustomer2->ShowModal();
    }

    QString Focused() const
    {
        return FormCustomer2->ActiveControl() ? FormCustomer2->ActiveControl()->objectName() : QString();
    }

    QString Names(const QString& Table)
    {
        return Scalar(QStringLiteral("Select Group_Concat(CustomerName, '|') From (Select CustomerName From %1 "
                                     "Where CustomerIndex > 1 Order By CustomerIndex)").arg(Table));
    }
};

TEST_F(Customer2, OkChecksNamesAndBalancesPerTable)
{
    struct TCase { const char* Row; QString Kind; int Index; const char* Name; const char* Owe;
                   const char* Message; const char* Focus; TModalResult Result; const char* Stored; };
    const TCase Cases[] = {
        {"empty name", Regular, 0, "", "1", "客户名不得为空", "CustomerName", mrCancel, nullptr},
        {"bad balance", Regular, 0, "丁", "12元", "金额格式有误，请重新输入", "CustomerOwe", mrCancel, nullptr},
        {"regular name taken", Regular, 0, "甲公司", "", "该客户名已经存在，请重新操作", "CustomerName", mrCancel, nullptr},
        {"taken in another case", Regular, 0, "ACME", "", "该客户名已经存在，请重新操作", "CustomerName", mrCancel, nullptr},
        {"prospect name taken", Prospect, 0, "丙", "", "该客户名已经存在，请重新操作", "CustomerName", mrCancel, nullptr},
        {"prospect may share a regular name", Prospect, 0, "甲公司", "", "客户　甲公司　新增成功", nullptr, mrOk, "0"},
        {"empty balance stores 0", Regular, 0, "丁", "", "客户　丁　新增成功", nullptr, mrOk, "0"},
        {"negative balance", Regular, 0, "丁", "-12.5", "客户　丁　新增成功", nullptr, mrOk, "-12.5"},
        {"rename onto another row", Regular, 3, "甲公司", "", "该客户名已经存在，请重新操作", "CustomerName", mrCancel, nullptr},
        {"case of the own name", Regular, 3, "ACME", "7", "客户资料修改成功", nullptr, mrOk, "7"},
        {"unchanged name", Prospect, 2, "丙", "5", "客户资料修改成功", nullptr, mrOk, "5"},
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
        EXPECT_EQ(Result, C.Result);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        if (C.Focus) {
            EXPECT_EQ(Focused(), QString::fromLatin1(C.Focus));
        }
        const QString Table = C.Kind == Regular ? QStringLiteral("Customer") : QStringLiteral("CustomerHide");
        const QString Rows = Scalar(QStringLiteral("Select Count(*) From %1 Where CustomerName = %2 And CustomerIndex > 1")
                                        .arg(Table, SqlQuoted(Name)));
        if (!C.Stored) {
            EXPECT_EQ(Names(QStringLiteral("Customer")), QStringLiteral("甲公司|Acme"));
            EXPECT_EQ(Names(QStringLiteral("CustomerHide")), QStringLiteral("丙|乙公司"));
            continue;
        }
        EXPECT_EQ(Rows, QStringLiteral("1"));
        EXPECT_EQ(Scalar(QStringLiteral("Select CustomerOwe From %1 Where CustomerName = %2").arg(Table, SqlQuoted(Name))),
                  QString::fromUtf8(C.Stored));
        const QString Man = C.Index == 0 ? QStringLiteral("张三") : Scalar(QStringLiteral("Select CustomerMan From %1 "
                                                                         "Where CustomerIndex = %2").arg(Table).arg(C.Index));
        EXPECT_EQ(Scalar(QStringLiteral("Select CustomerMan From %1 Where CustomerName = %2").arg(Table, SqlQuoted(Name))),
                  Man);
    }
}

TEST_F(Customer2, ShowsPresetsOnceAndRowsWithTheirButtons)
{
    Exec(QStringLiteral("Update CustomerHide Set CustomerPhone = '010-1', CustomerRemark = '老客户' Where CustomerIndex = 2"));
    struct TCase { const char* Row; QString Kind; int Index; QString Preset; const char* Shown; bool Delete, Promote; };
    const TCase Cases[] = {
        {"lookup presets", Prospect, 0, QStringLiteral("2024-05-01 10:00"), "2024-05-01 10:00||13812345678|", false, false},
        {"next new row is empty", Prospect, 0, QString(), "|||", false, false},
        {"prospect row", Prospect, 2, QString(), "丙|5|010-1|老客户", true, true},
        {"regular row", Regular, 2, QString(), "甲公司|0||", true, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        if (!C.Preset.isEmpty()) {
            FormCustomer2->PresetName = C.Preset;
            FormCustomer2->PresetPhone = QStringLiteral("13812345678");
        }
        QString Shown;
        bool Delete = false, Promote = false;
        Run(C.Kind, C.Index, [&] {
            TFormCustomer2* F = FormCustomer2;
            Shown = F->CustomerName->text() + u'|' + F->CustomerOwe->text() + u'|' + F->CustomerPhone->text() + u'|'
                    + F->CustomerRemark->toPlainText();
            Delete = F->BitBtn3->isVisible();
            Promote = F->BitBtn4->isVisible();
            EXPECT_EQ(Focused(), QStringLiteral("CustomerName"));
        });
        EXPECT_EQ(Shown, QString::fromUtf8(C.Shown));
        EXPECT_EQ(Delete, C.Delete);
        EXPECT_EQ(Promote, C.Promote);
    }
    TModalSeam::ClearMessages();
    EXPECT_EQ(Run(Regular, 99, [] {}), mrCancel);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("找不到要修改的记录")});
}

TEST_F(Customer2, DeleteAnsweredNoEndsWithNoAndKeepsTheRow)
{
    Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum) Values ('销售开单', '甲公司', 10)"));
    for (const TModalResult Answer : {mrNo, mrYes}) {
        const TModalResult Result = Run(Regular, 2, [] { FormCustomer2->BitBtn3->Click(); }, Answer);
        EXPECT_EQ(Result, Answer == mrYes ? mrOk : mrNo);
        EXPECT_EQ(Names(QStringLiteral("Customer")), Answer == mrYes ? QStringLiteral("Acme") : QStringLiteral("甲公司|Acme"));
    }
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Bill Where BillUser = '甲公司'")), QStringLiteral("1"));
}

TEST_F(Customer2, RenameRipplesIntoDocumentsOfRegularCustomersOnlyAndAllOrNothing)
{
    struct TCase { const char* Row; QString Kind; const char* NewName; const char* Trigger; const char* Bill; const char* Money;
                   const char* Message; };
    const TCase Cases[] = {
        {"regular", Regular, "甲有限公司", nullptr, "甲有限公司", "甲有限公司", "客户资料修改成功"},
        {"prospect", Prospect, "甲有限公司", nullptr, "甲公司", "甲公司", "客户资料修改成功"},
        {"failure mid-ripple", Regular, "甲有限公司", "MoneyTable", "甲公司", "甲公司", "数据保存失败，本次修改已全部撤销"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Reset();
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName) Values ('甲公司')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum) Values ('销售开单', '甲公司', 10), "
                            "('销售开单', '乙公司', 10)"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser, MoneySum) Values ('甲公司', 4)"));
        if (C.Trigger)
            Exec(QStringLiteral("Create Trigger Refuse Before Update On %1 Begin Select Raise(Abort, 'refused'); End")
                     .arg(QString::fromLatin1(C.Trigger)));
        const int Index = C.Kind == Regular ? 2 : 4;
        Run(C.Kind, Index, [&] {
            FormCustomer2->CustomerName->setText(QString::fromUtf8(C.NewName));
            FormCustomer2->BitBtn1->Click();
        });
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        EXPECT_EQ(Scalar(QStringLiteral("Select BillUser From Bill Where BillIndex = 2")), QString::fromUtf8(C.Bill));
        EXPECT_EQ(Scalar(QStringLiteral("Select BillUser From Bill Where BillIndex = 3")), QStringLiteral("乙公司"));
        EXPECT_EQ(Scalar(QStringLiteral("Select MoneyUser From MoneyTable Where MoneyIndex = 2")), QString::fromUtf8(C.Money));
        const bool Stored = !C.Trigger;
        const QString Table = C.Kind == Regular ? QStringLiteral("Customer") : QStringLiteral("CustomerHide");
        EXPECT_EQ(Scalar(QStringLiteral("Select CustomerName From %1 Where CustomerIndex = %2").arg(Table).arg(Index)),
                  Stored ? QString::fromUtf8(C.NewName) : QStringLiteral("甲公司"));
    }
}

TEST_F(Customer2, PromotionMovesTheProspectInOneStep)
{
    struct TCase { const char* Row; int Index; const char* Name; TModalResult Answer; const char* Trigger;
                   const char* Message; const char* Regulars; const char* Prospects; bool Promoted; };
    const TCase Cases[] = {
        {"promoted", 2, "丙", mrYes, nullptr, "客户　丙　转正成功", "甲公司|Acme|丙", "乙公司", true},
        {"answered No", 2, "丙", mrNo, nullptr, "确实要把该客户转为正式客户吗？", "甲公司|Acme", "丙|乙公司", false},
        {"regular name taken", 2, "甲公司", mrYes, nullptr, "正式客户中，该客户名已经存在，请重新操作", "甲公司|Acme",
         "丙|乙公司", false},
        {"removal fails", 2, "丙", mrYes, "Delete", "数据保存失败，本次修改已全部撤销", "甲公司|Acme", "丙|乙公司", false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Reset();
        if (C.Trigger)
            Exec(QStringLiteral("Create Trigger Refuse Before Delete On CustomerHide Begin Select Raise(Abort, 'x'); End"));
        const TModalResult Result = Run(Prospect, C.Index, [&] {
            FormCustomer2->CustomerName->setText(QString::fromUtf8(C.Name));
            FormCustomer2->BitBtn4->Click();
        }, C.Answer);
        EXPECT_EQ(TModalSeam::MessageTexts().last(), QString::fromUtf8(C.Message));
        EXPECT_EQ(Result, C.Promoted ? mrOk : mrCancel);
        EXPECT_EQ(FormCustomer2->Promoted, C.Promoted);
        EXPECT_EQ(Names(QStringLiteral("Customer")), QString::fromUtf8(C.Regulars));
        EXPECT_EQ(Names(QStringLiteral("CustomerHide")), QString::fromUtf8(C.Prospects));
        if (C.Promoted) {
            // The regular row carries the prospect's details and the promoting user.
            EXPECT_EQ(Scalar(QStringLiteral("Select CustomerOwe From Customer Where CustomerName = '丙'")), QStringLiteral("5"));
            EXPECT_EQ(Scalar(QStringLiteral("Select CustomerMan From Customer Where CustomerName = '丙'")), QStringLiteral("张三"));
        }
    }
}
