// Receipts and payments: signs, the checks of OK with their messages and
// focus, serial numbers, edit and delete behind the data-edit password, the
// single transaction of a save and what a print prepares.
#include "AppFixture.h"
#include "PrintTestUtil.h"

#include "app/GetPayForm.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "TestText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QDateEdit>
#include <QLineEdit>
#include <functional>

class GetPay : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        CurrentUser = QStringLiteral("张三");
        Exec(QStringLiteral("Insert Into Account (AccountName) Values ('现金'), ('银行')"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ('甲'), ('乙')"));
        FormGetPay = new TFormGetPay();
    }

    void TearDown() override
    {
        delete FormGetPay;
        FormGetPay = nullptr;
        TAppFixture::TearDown();
    }

    void PrepareNew(const QString& Kind)
    {
        FormGetPay->Mode = QStringLiteral("新增");
        FormGetPay->Kind = Kind;
        FormGetPay->MoneyIndex = FormGetPay->BillIndex = FormGetPay->CustomerIndex = 0;
        FormGetPay->CustomerFixed = false;
        FormGetPay->CustomerName = QStringLiteral("甲");
        FormGetPay->Reason = FormGetPay->AmountText = FormGetPay->RemarkText = QString();
    }

    void PrepareEdit(int Index, const QString& Kind)
    {
        FormGetPay->Mode = QStringLiteral("修改");
        FormGetPay->Kind = Kind;
        FormGetPay->MoneyIndex = Index;
        FormGetPay->CustomerFixed = false;
    }

    // Shows the window; Act plays the user, prompts get the next password and
    // Yes/No boxes the answer given.
    TModalResult Run(const std::function<void()>& Act, QStringList Passwords = {}, TModalResult Answer = mrYes)
    {
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormGetPay)
                    Act();
                else if (RunProgress(Form))
                    return mrNone;
                else if (Form == FormAsk) {
                    FormAsk->Edit1->setText(Passwords.isEmpty() ? QString() : Passwords.takeFirst());
                    FormAsk->BitBtn1->Click();
                }
                return mrNone;
            },
            [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        return FormGetPay->ShowModal();
    }

    // A new row saved through the window with Amount typed in.
    TModalResult SaveNew(const QString& Kind, const QString& Amount)
    {
        PrepareNew(Kind);
        return Run([&] {
            FormGetPay->Edit2->setText(Amount);
            FormGetPay->BitBtn1->Click();
        });
    }

    int LastMoneyIndex() { return Scalar(QStringLiteral("Select Max(MoneyIndex) From MoneyTable")).toInt(); }
    int MoneyRows() { return Scalar(QStringLiteral("Select Count(*) From MoneyTable")).toInt(); }
    void SetEditPassword(const QString& Key)
    {
        Exec(QStringLiteral("Update Power Set PowerKey = '%1' Where PowerName = '修改'").arg(Key));
    }
};

TEST_F(GetPay, AmountsAreStoredWithTheSignOfTheKindAndShownWithout)
{
    struct TCase { const char* Kind; const char* Amount; double In, Out, Sum; const char* Shown; };
    const TCase Cases[] = {
        {"财务收入单", "50", 50, 0, 50, "50"},
        {"财务支出单", "50", 0, 50, -50, "50"},
        {"财务支出单", "12.1234", 0, 12.1234, -12.1234, "12.1234"},
        {"财务收入单", "0.5", 0.5, 0, 0.5, "0.5"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Kind) + " " + C.Amount);
        TModalSeam::ClearMessages();
        ASSERT_EQ(SaveNew(QString::fromUtf8(C.Kind), QString::fromUtf8(C.Amount)), mrOk);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("记录新增成功")});
        const QString Row = QStringLiteral(" From MoneyTable Where MoneyIndex = %1").arg(LastMoneyIndex());
        EXPECT_DOUBLE_EQ(Scalar("Select MoneyIn" + Row).toDouble(), C.In);
        EXPECT_DOUBLE_EQ(Scalar("Select MoneyOut" + Row).toDouble(), C.Out);
        EXPECT_DOUBLE_EQ(Scalar("Select MoneySum" + Row).toDouble(), C.Sum);
        EXPECT_EQ(Scalar("Select MoneyBill" + Row), QStringLiteral("0"));
        EXPECT_EQ(Scalar("Select MoneyMan" + Row), QStringLiteral("张三"));
        EXPECT_EQ(Scalar("Select MoneyUser" + Row), QStringLiteral("甲"));
        EXPECT_EQ(Scalar("Select AccountName From Account,MoneyTable Where AccountIndex = MoneyAccount And MoneyIndex = "
                         + QString::number(LastMoneyIndex())),
                  QStringLiteral("现金"));

        PrepareEdit(LastMoneyIndex(), QString::fromUtf8(C.Kind));
        QString Shown;
        Run([&] { Shown = FormGetPay->Edit2->text(); });
        EXPECT_EQ(Shown, QString::fromUtf8(C.Shown));
    }
}

TEST_F(GetPay, OkChecksInOrderWithMessageAndFocus)
{
    struct TCase { const char* Name; std::function<void()> Spoil; const char* Message; QWidget* Focus; };
    TFormGetPay* F = FormGetPay;
    const std::vector<TCase> Cases = {
        {"no account", [F] { F->ComboBox1->setCurrentIndex(-1); F->Edit2->clear(); }, "请选择一个帐户", F->ComboBox1},
        {"no business kind", [F] { F->ComboBox2->setCurrentIndex(-1); F->Edit2->clear(); }, "请选择帐款项目", F->ComboBox2},
        {"empty amount", [F] { F->Edit2->clear(); F->ComboBox3->setCurrentIndex(-1); }, "金额格式有误，请重新输入", F->Edit2},
        {"letter in amount", [F] { F->Edit2->setText("12a"); }, "金额格式有误，请重新输入", F->Edit2},
        {"five decimals", [F] { F->Edit2->setText("12.12345"); }, "金额内容可能有误，请重新输入", F->Edit2},
        {"two points", [F] { F->Edit2->setText("1.2.3"); }, "金额格式有误，请重新输入", F->Edit2},
        {"no category", [F] { F->ComboBox3->setCurrentIndex(-1); F->ComboBox4->setCurrentIndex(-1); },
         "请选择帐款类别", F->ComboBox3},
        {"no voucher", [F] { F->ComboBox4->setCurrentIndex(-1); F->ComboBox5->setEditText(""); },
         "请选择帐款凭证", F->ComboBox4},
        {"account renamed meanwhile", [this] { Exec("Update Account Set AccountName = '旧现金' Where AccountName = '现金'"); },
         "找不到所需要的帐户", F->Edit2},
        {"no customer", [F] { F->ComboBox5->setEditText(""); F->Edit4->setText("1A"); }, "请选择客户名称", F->ComboBox5},
        {"letter after digits", [F] { F->Edit4->setText("SK10A"); }, "单据编号格式有误，字母不能在数字后面", F->Edit4},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Exec(QStringLiteral("Update Account Set AccountName = '现金' Where AccountName = '旧现金'"));
        PrepareNew(QStringLiteral("财务收入单"));
        const int Rows = MoneyRows();
        QWidget* Focus = nullptr;
        TModalResult Result = Run([&] {
            FormGetPay->Edit2->setText(QStringLiteral("10"));
            C.Spoil();
            FormGetPay->BitBtn1->Click();
            Focus = FormGetPay->ActiveControl();
        });
        EXPECT_NE(Result, mrOk);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        EXPECT_EQ(Focus, C.Focus);
        EXPECT_EQ(MoneyRows(), Rows);
        EXPECT_EQ(Scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = 3")), QStringLiteral("SK1000"));
    }
}

TEST_F(GetPay, FixedCustomerIsPreselectedAndNotFocusedWhenMissing)
{
    PrepareNew(QStringLiteral("财务收入单"));
    FormGetPay->CustomerFixed = true;
    FormGetPay->CustomerIndex = Scalar(QStringLiteral("Select CustomerIndex From Customer Where CustomerName = '乙'")).toInt();
    FormGetPay->Reason = QStringLiteral("服务收入");
    Exec(QStringLiteral("Insert Into Bill (BillIndex, BillKind) Values (7, '销售开单')"));
    FormGetPay->BillIndex = 7;
    QString Customer, Reason;
    bool Enabled = true;
    ASSERT_EQ(Run([&] {
                  Customer = FormGetPay->ComboBox5->currentText();
                  Reason = FormGetPay->ComboBox2->currentText();
                  Enabled = FormGetPay->ComboBox5->isEnabled();
                  FormGetPay->Edit2->setText(QStringLiteral("8"));
                  FormGetPay->BitBtn1->Click();
              }),
              mrOk);
    EXPECT_EQ(Customer, QStringLiteral("乙"));
    EXPECT_EQ(Reason, QStringLiteral("服务收入"));
    EXPECT_FALSE(Enabled);
    EXPECT_EQ(Scalar(QStringLiteral("Select MoneyBill From MoneyTable Where MoneyIndex = %1").arg(LastMoneyIndex())),
              QStringLiteral("7"));

    // A fixed but empty customer is refused without moving the focus to the disabled box.
    PrepareNew(QStringLiteral("财务收入单"));
    FormGetPay->CustomerFixed = true;
    QWidget* Focus = nullptr;
    Run([&] {
        FormGetPay->Edit2->setText(QStringLiteral("8"));
        FormGetPay->BitBtn1->Click();
        Focus = FormGetPay->ActiveControl();
    });
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("请选择客户名称")});
    EXPECT_EQ(Focus, FormGetPay->Edit2);
}

TEST_F(GetPay, SerialNumbersCountOnPerKind)
{
    struct TCase { const char* Kind; const char* Typed; const char* Proposed; const char* Stored; };
    const TCase Cases[] = {
        {"财务收入单", nullptr, "SK1001", "SK1001"},
        {"财务收入单", nullptr, "SK1002", "SK1002"},
        {"财务支出单", nullptr, "FK1001", "FK1001"},
        {"财务收入单", "SK2000", "SK1003", "SK2000"},
        {"财务收入单", nullptr, "SK2001", "SK2001"},
        {"财务收入单", "", "SK2002", "SK2001"}, // no number: the counter stays
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Kind) + " " + C.Proposed);
        PrepareNew(QString::fromUtf8(C.Kind));
        QString Proposed;
        ASSERT_EQ(Run([&] {
                      Proposed = FormGetPay->Edit4->text();
                      if (C.Typed)
                          FormGetPay->Edit4->setText(QString::fromUtf8(C.Typed));
                      FormGetPay->Edit2->setText(QStringLiteral("1"));
                      FormGetPay->BitBtn1->Click();
                  }),
                  mrOk);
        EXPECT_EQ(Proposed, QString::fromUtf8(C.Proposed));
        const int Setting = QString::fromUtf8(C.Kind) == QStringLiteral("财务收入单") ? 3 : 4;
        EXPECT_EQ(Scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = %1").arg(Setting)),
                  QString::fromUtf8(C.Stored));
    }
}

TEST_F(GetPay, AFailedSaveRollsBackTheRowAndSaysSo)
{
    PrepareNew(QStringLiteral("财务收入单"));
    const int Rows = MoneyRows();
    const TModalResult Result = Run([&] {
        FormGetPay->Edit2->setText(QStringLiteral("10"));
        // The counter cannot be written: the row must not stay behind alone.
        Exec(QStringLiteral("Drop Table Setting"));
        FormGetPay->BitBtn1->Click();
    });
    EXPECT_NE(Result, mrOk);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("数据保存失败，本次修改已全部撤销")});
    EXPECT_EQ(MoneyRows(), Rows);
    EXPECT_FALSE(ShareDataModule->ADOConnection1->InTransaction());
}

TEST_F(GetPay, EditAsksThePasswordAndKeepsDocumentAndRecordDate)
{
    Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyBill, MoneyRecordTime, MoneyCreateTime, MoneyUser, "
                        "MoneyReason, MoneyIn, MoneyOut, MoneySum, MoneyType, MoneyToken, MoneySerial, MoneyMan) Values "
                        "(2, 5, '2024-01-02 00:00:00', '2024-01-03 00:00:00', '甲', '商品采购', 0, 30, -30, '货款', "
                        "'现金', 'FK7', '李四')"));
    const int Index = LastMoneyIndex();
    SetEditPassword(QStringLiteral("pw"));
    const QString Row = QStringLiteral(" From MoneyTable Where MoneyIndex = %1").arg(Index);

    struct TCase { const char* Name; QStringList Passwords; TModalResult Result; const char* Message; double Sum; };
    const TCase Cases[] = {
        {"wrong password", {"x"}, mrCancel, "密码错误，请重新操作", -30},
        {"right password", {"pw"}, mrOk, "记录修改成功", -45},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        PrepareEdit(Index, QStringLiteral("财务支出单"));
        QString Serial, Man, Account;
        QDate Day;
        EXPECT_EQ(Run(
                      [&] {
                          Serial = FormGetPay->Edit4->text();
                          Man = FormGetPay->Edit5->text();
                          Account = FormGetPay->ComboBox1->currentText();
                          Day = FormGetPay->DateTimePicker1->date();
                          FormGetPay->Edit2->setText(QStringLiteral("45"));
                          FormGetPay->BitBtn1->Click();
                      },
                      C.Passwords),
                  C.Result);
        EXPECT_EQ(Serial, QStringLiteral("FK7"));
        EXPECT_EQ(Man, QStringLiteral("李四"));
        EXPECT_EQ(Account, QStringLiteral("现金"));
        EXPECT_EQ(Day, QDate(2024, 1, 3));
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(C.Message)});
        EXPECT_DOUBLE_EQ(Scalar("Select MoneySum" + Row).toDouble(), C.Sum);
        EXPECT_EQ(Scalar("Select MoneyBill" + Row), QStringLiteral("5"));
        EXPECT_EQ(Scalar("Select MoneyRecordTime" + Row), QStringLiteral("2024-01-02"));
        EXPECT_EQ(Scalar("Select MoneyMan" + Row), QStringLiteral("李四"));
    }
    EXPECT_EQ(Scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = 4")), QStringLiteral("FK1000"));
}

TEST_F(GetPay, AnUnreadableRowClosesTheWindowBeforeAnythingIsSaved)
{
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("20")), mrOk);
    const int Shown = LastMoneyIndex();
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("70")), mrOk);
    const int Target = LastMoneyIndex();
    SetEditPassword(QString());
    struct TCase { const char* Name; int Index; const char* Spoil; QStringList Messages; };
    const TCase Cases[] = {
        {"no row", 999, nullptr, {QStringLiteral("找不到要修改的记录")}},
        // A column of the same name makes the joined statement ambiguous.
        {"failed statement", Target, "Alter Table Account Add Column MoneyIndex Integer",
         {QStringLiteral("帐款读入失败"), QStringLiteral("找不到要修改的记录")}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        // The boxes hold another record when the window opens on this one.
        PrepareEdit(Shown, QStringLiteral("财务收入单"));
        Run([] {});
        if (C.Spoil)
            Exec(QString::fromUtf8(C.Spoil));
        PrepareEdit(C.Index, QStringLiteral("财务收入单"));
        bool Opened = false;
        EXPECT_EQ(Run([&] {
                      Opened = true;
                      FormGetPay->BitBtn1->Click();
                  }),
                  mrCancel);
        EXPECT_FALSE(Opened);
        EXPECT_EQ(TModalSeam::MessageTexts(), C.Messages);
        EXPECT_EQ(Scalar(QStringLiteral("Select MoneySum From MoneyTable Where MoneyIndex = %1").arg(Target)),
                  QStringLiteral("70"));
    }
}

TEST_F(GetPay, DeleteIsConfirmedBehindThePassword)
{
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("20")), mrOk);
    const int Index = LastMoneyIndex();
    SetEditPassword(QStringLiteral("pw"));
    struct TCase { const char* Name; QStringList Passwords; TModalResult Answer; TModalResult Result; bool Kept; };
    const TCase Cases[] = {
        {"wrong password", {"no"}, mrYes, mrCancel, true},
        {"answered No", {"pw"}, mrNo, mrCancel, true},
        {"answered Yes", {"pw"}, mrYes, mrOk, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        PrepareEdit(Index, QStringLiteral("财务收入单"));
        EXPECT_EQ(Run([&] { FormGetPay->BitBtn3->Click(); }, C.Passwords, C.Answer), C.Result);
        EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From MoneyTable Where MoneyIndex = %1").arg(Index)) == "1", C.Kept);
        if (C.Passwords.first() == QStringLiteral("pw")) {
            EXPECT_EQ(TModalSeam::Messages().back().Describe(),
                      QStringLiteral("删除警告|确实要删除该记录吗？|warning|Yes,No"));
        }
    }
}

TEST_F(GetPay, AmountInCapitalsFollowsTheTwoDecimalFigure)
{
    struct TCase { double Amount; const char* Capitals; };
    const TCase Cases[] = {
        {50, "伍拾\u3000零元\u3000零角\u3000零分\u3000"},
        {12.35, "壹拾\u3000贰元\u3000叁角\u3000伍分\u3000"},
        {9999999.99, nullptr},
        {10000000, ""},
        {9999999.996, ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Amount);
        const QString Capitals = TFormGetPay::AmountInCapitals(C.Amount);
        if (C.Capitals)
            EXPECT_EQ(Capitals, QString::fromUtf8(C.Capitals));
        else
            EXPECT_FALSE(Capitals.isEmpty());
    }
}

TEST_F(GetPay, PrintPreparesTheStoredRowAndAnswersMoneyCN)
{
    ASSERT_EQ(SaveNew(QStringLiteral("财务支出单"), QStringLiteral("12.5")), mrOk);
    const int Index = LastMoneyIndex();
    PrepareEdit(Index, QStringLiteral("财务支出单"));
    bool PrintShown = false;
    Run([&] {
        PrintShown = !FormGetPay->PrintButton->isHidden();
        // An unsaved change on screen is not what the report prints.
        FormGetPay->Edit2->setText(QStringLiteral("99"));
        FormGetPay->PrintButton->Click();
    });
    EXPECT_TRUE(PrintShown);
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    ASSERT_TRUE(Q->Active());
    EXPECT_EQ(Q->SQL()->Text().trimmed(),
              QStringLiteral("Select ABS(MoneySum) As MSum,* From MoneyTable Where MoneyIndex = %1").arg(Index));
    EXPECT_DOUBLE_EQ(Q->FieldByName(QStringLiteral("MSum"))->AsFloat(), 12.5);
    EXPECT_EQ(FormGetPay->frDBDataSet1->DataSet(), Q);
    EXPECT_EQ(FormGetPay->frReport1->Dataset(), FormGetPay->frDBDataSet1);
    EXPECT_EQ(FormGetPay->CapitalAmount, TFormGetPay::AmountInCapitals(12.5));

    Variant Value(QStringLiteral("untouched"));
    FormGetPay->frReport1->OnGetValue(QStringLiteral("MoneyCN"), Value);
    EXPECT_EQ(VarToStr(Value), FormGetPay->CapitalAmount);
    Variant Other(QStringLiteral("untouched"));
    FormGetPay->frReport1->OnGetValue(QStringLiteral("Other"), Other);
    EXPECT_EQ(VarToStr(Other), QStringLiteral("untouched"));
}

TEST_F(GetPay, TenMillionOrMoreIsNotPrinted)
{
    Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyIn, MoneySum) Values (2, 10000000, 10000000)"));
    PrepareEdit(LastMoneyIndex(), QStringLiteral("财务收入单"));
    Run([&] { FormGetPay->PrintButton->Click(); });
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("金额达到一千万元，无法打印大写金额")});
    EXPECT_TRUE(FormGetPay->CapitalAmount.isEmpty());
}

TEST_F(GetPay, PictureFollowsModeAndKindAndTheWindowRenders)
{
    const QString Res = QCoreApplication::applicationDirPath() + QStringLiteral("/Res/");
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    struct TCase { const char* Mode; const char* Kind; const char* File; };
    const TCase Cases[] = {
        {"新增", "财务收入单", "NewGet.bmp"},
        {"修改", "财务收入单", "EditGet.bmp"},
        {"新增", "财务支出单", "NewPay.bmp"},
        {"修改", "财务支出单", "EditPay.bmp"},
    };
    for (const TCase& C : Cases)
        QFile::copy(Res + C.File, AppPath + QStringLiteral("Res/") + C.File);
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("5")), mrOk);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.File);
        const QImage Expected = QPixmap(AppPath + QStringLiteral("Res/") + C.File).toImage();
        if (Expected.isNull())
            GTEST_SKIP() << "the program's pictures are not drawn in this build";
        PrepareNew(QString::fromUtf8(C.Kind));
        if (QString::fromUtf8(C.Mode) == QStringLiteral("修改"))
            PrepareEdit(LastMoneyIndex(), QString::fromUtf8(C.Kind));
        QImage Shown;
        Run([&] {
            Shown = FormGetPay->Image1->pixmap().toImage();
            RenderToPng(FormGetPay, AppPath + QStringLiteral("GetPay.png"));
        });
        EXPECT_EQ(Shown, Expected);
        EXPECT_FALSE(QImage(AppPath + QStringLiteral("GetPay.png")).isNull());
        if (qEnvironmentVariableIsSet("TB_KEEP_RENDER"))
            QFile::copy(AppPath + QStringLiteral("GetPay.png"), qEnvironmentVariable("TB_KEEP_RENDER") + C.File + ".png");
    }
}

TEST_F(GetPay, ReceiptAndPaymentPrintOnTheirTemplate)
{
    InstallTemplates(AppPath);
    struct TRow { const char* Kind; const char* Amount; const char* Expected; };
    const TRow Rows[] = {
        {"财务收入单", "12.5", "收款收据|单据编号：SK1001|"},
        {"财务支出单", "3000", "付款凭证|单据编号：FK1001|"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Kind);
        ASSERT_EQ(SaveNew(QString::fromUtf8(Row.Kind), QString::fromLatin1(Row.Amount)), mrOk);
        PrepareEdit(LastMoneyIndex(), QString::fromUtf8(Row.Kind));
        QString Text;
        FormGetPay->frReport1->OnEndDoc = [&] { Text = PreparedText(FormGetPay->frReport1); };
        Run([&] { FormGetPay->PrintButton->Click(); });
        EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty()) << TModalSeam::MessageTexts().join(u' ').toStdString();
        EXPECT_TRUE(Text.startsWith(QString::fromUtf8(Row.Expected))) << Text.toStdString();
        EXPECT_TRUE(Text.contains(u'|' + FormGetPay->CapitalAmount.trimmed() + u'|')) << Text.toStdString();
        EXPECT_TRUE(Text.contains(QStringLiteral("￥") + FormatFloat(QStringLiteral("0.00"), QString::fromLatin1(Row.Amount).toDouble())));
    }
}

TEST_F(GetPay, PrintShowsThePreviewWhichPrintsAPdfWithTheCapitals)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    InstallTemplates(AppPath);
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("1234.5")), mrOk);
    PrepareEdit(LastMoneyIndex(), QStringLiteral("财务收入单"));
    const QString Pdf = AppPath + QStringLiteral("receipt.pdf");
    bool Previewed = false;
    {
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormGetPay)
                    FormGetPay->PrintButton->Click();
                else if (PrintPreviewToPdf(Form, Pdf))
                    Previewed = true;
                else
                    RunProgress(Form);
                return Form == FormGetPay ? mrCancel : mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        FormGetPay->ShowModal();
    }
    ASSERT_TRUE(Previewed);
    const QString Text = PdfText(Pdf);
    EXPECT_TRUE(Text.contains(QStringLiteral("收款收据"))) << Text.toStdString();
    EXPECT_TRUE(Text.contains(QStringLiteral("1234.50"))) << Text.toStdString();
    // The capitals are spaced with ideographic blanks, which the PDF lays out as gaps.
    const QString Capitals = QString(FormGetPay->CapitalAmount).remove(QChar(0x3000)).remove(u' ');
    EXPECT_TRUE(Text.contains(Capitals)) << Capitals.toStdString() << " in " << Text.toStdString();
}

TEST_F(GetPay, AMissingTemplateIsNamedAndNothingIsPrepared)
{
    ASSERT_EQ(SaveNew(QStringLiteral("财务收入单"), QStringLiteral("5")), mrOk);
    PrepareEdit(LastMoneyIndex(), QStringLiteral("财务收入单"));
    bool Began = false;
    FormGetPay->frReport1->OnBeginDoc = [&] { Began = true; };
    Run([&] { FormGetPay->PrintButton->Click(); });
    EXPECT_EQ(TModalSeam::MessageTexts(),
              QStringList{QStringLiteral("找不到报表模板\n") + AppPath + QStringLiteral("Frf/Money.frf")});
    EXPECT_FALSE(Began);
}
