// The administrator's settings tab: the four choice lists with their prompts
// and messages, and the passwords of the roles and of data editing.
#include "ProgramFixture.h"

#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QListWidget>

class MainFormAdmin : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton3)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
    }

    // Clicks Button; each prompt gets the next of Answers and OK, or Cancel when
    // none is left; Yes/No boxes get Answer.
    void Click(TButton* Button, QStringList Answers = {}, TModalResult Answer = mrYes)
    {
        Shown.clear();
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                Shown << FormAsk->Caption() + u'|' + FormAsk->AskPrompt + u'|' + FormAsk->Edit1->text();
                if (Answers.isEmpty())
                    return mrCancel;
                FormAsk->Edit1->setText(Answers.takeFirst());
                FormAsk->BitBtn1->Click();
                return mrNone;
            },
            [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        Button->Click();
    }

    static QString Items(const QListWidget* List)
    {
        QStringList Texts;
        for (int I = 0; I < List->count(); ++I)
            Texts << List->item(I)->text();
        return Texts.join(u',');
    }

    static QString Messages() { return TModalSeam::MessageTexts().join(u'/'); }

    QStringList Shown;
};

TEST_F(MainFormAdmin, EachTypeHasItsPromptsAndMessages)
{
    using TButtonOf = TButton* TFormMain::*;
    const struct { TButtonOf Add, Modify, Delete; QListWidget* TFormMain::*List; const char* Prompt; const char* Word;
                   const char* Existing; } Rows[] = {
        {&TFormMain::Button1, &TFormMain::Button2, &TFormMain::Button3, &TFormMain::ListBox1, "请输入种类的名称", "种类", "商品销售"},
        {&TFormMain::Button4, &TFormMain::Button5, &TFormMain::Button6, &TFormMain::ListBox2, "请输入新类别的名称", "类别", "货款"},
        {&TFormMain::Button7, &TFormMain::Button8, &TFormMain::Button9, &TFormMain::ListBox3, "请输入新凭证的名称", "凭证", "现金"},
        {&TFormMain::Button12, &TFormMain::Button13, &TFormMain::Button14, &TFormMain::ListBox4, "请输入新进度的名称", "进度", "已签约"},
    };
    for (const auto& R : Rows) {
        const QString Word = QString::fromUtf8(R.Word);
        SCOPED_TRACE(Word.toStdString());
        QListWidget* List = FormMain->*R.List;
        const QString Before = Items(List);
        const QString Taken = QStringLiteral("存在同名的") + Word + QStringLiteral("，请改名");
        Click(FormMain->*R.Add, {QString()});
        EXPECT_EQ(Shown, QStringList{QStringLiteral("参数设置|") + QString::fromUtf8(R.Prompt) + u'|'});
        EXPECT_EQ(Messages(), Word + QStringLiteral("名不能为空"));
        Click(FormMain->*R.Add, {QString::fromUtf8(R.Existing)});
        EXPECT_EQ(Messages(), Taken);
        // One text may stand in every list: "其他" is a money category already.
        Click(FormMain->*R.Add, {QStringLiteral("其他")});
        EXPECT_EQ(Messages(), Word == QStringLiteral("类别") ? Taken : QString());
        EXPECT_EQ(Items(List), Word == QStringLiteral("类别") ? Before : Before + QStringLiteral(",其他"));

        List->setCurrentRow(0);
        Click(FormMain->*R.Modify, {List->item(1)->text()});
        EXPECT_EQ(Shown, QStringList{QStringLiteral("参数设置|请输入") + Word + QStringLiteral("的名称|") + List->item(0)->text()});
        EXPECT_EQ(Messages(), Taken);

        List->setCurrentRow(-1);
        Click(FormMain->*R.Modify);
        EXPECT_EQ(Messages(), QStringLiteral("请先选中要修改的") + Word);
        Click(FormMain->*R.Delete);
        EXPECT_EQ(Messages(), QStringLiteral("请先选中要删除的") + Word);
        EXPECT_TRUE(Shown.isEmpty());
    }
}

TEST_F(MainFormAdmin, RenameKeepsDocumentsAndSkipsItself)
{
    Exec(QStringLiteral("Insert Into Parameter (ParameterType, ParameterValue) Values (1, 'Retail')"));
    Exec(QStringLiteral("Insert Into Bill (BillReason) Values ('Retail')"));
    FormMain->LoadParameterList1();
    const QString Fixed = QStringLiteral("商品销售,商品采购,服务收入,其他业务,");
    for (const char* Answer : {"Retail", "RETAIL", "零售"}) {
        SCOPED_TRACE(Answer);
        Click(FormMain->Button2, {QString::fromUtf8(Answer)});
        EXPECT_EQ(Messages(), QString());
        EXPECT_EQ(Items(FormMain->ListBox1), Fixed + QString::fromUtf8(Answer));
    }
    Click(FormMain->Button3, {}, mrYes);
    EXPECT_EQ(Items(FormMain->ListBox1), Fixed.chopped(1));
    EXPECT_EQ(Scalar(QStringLiteral("Select BillReason From Bill Where BillIndex > 1")), QStringLiteral("Retail"));
}

TEST_F(MainFormAdmin, PasswordsAreConfirmedAndStored)
{
    // Role empty: the data-edit password.
    const struct { const char* Row; const char* Role; const char* Key; TModalResult Answer; const char* Messages;
                   const char* Stored; } Rows[] = {
        {"a role's", "总经理", "boss", mrYes, "确定要把该密码修改为 boss 吗？/用户密码修改成功", "boss"},
        {"answered No", "总经理", "other", mrNo, "确定要把该密码修改为 other 吗？", "boss"},
        {"an empty one", "总经理", "", mrYes, "确定要把该密码修改为  吗？/用户密码修改成功", ""},
        {"data editing", "", "edit", mrYes, "确定要把该密码修改为 edit 吗？/密码修改成功", "edit"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        const QString Role = QString::fromUtf8(R.Role);
        const bool EditKey = Role.isEmpty();
        FormMain->ComboBox1->setCurrentText(EditKey ? QStringLiteral("管理员") : Role);
        (EditKey ? FormMain->Edit2 : FormMain->Edit1)->setText(QString::fromUtf8(R.Key));
        Click(EditKey ? FormMain->Button11 : FormMain->Button10, {}, R.Answer);
        EXPECT_EQ(Messages(), QString::fromUtf8(R.Messages));
        EXPECT_EQ(TModalSeam::Messages().front().Caption, QStringLiteral("修改确认"));
        EXPECT_EQ(Scalar(QStringLiteral("Select PowerKey From Power Where PowerName = '%1'")
                             .arg(EditKey ? QStringLiteral("修改") : Role)),
                  QString::fromUtf8(R.Stored));
    }
    Exec(QStringLiteral("Update Power Set PowerKey = 'fin' Where PowerName = '财务主管'"));
    FormMain->ComboBox1->setCurrentText(QStringLiteral("财务主管"));
    EXPECT_EQ(FormMain->Edit1->text(), QStringLiteral("fin"));
}

TEST_F(MainFormAdmin, MissingRowsAreReported)
{
    Exec(QStringLiteral("Delete From Power Where PowerName = '财务总监' Or PowerName = '修改'"));
    Exec(QStringLiteral("Delete From Parameter Where ParameterValue = '承兑汇票'"));
    FormMain->Edit2->setText(QStringLiteral("kept"));
    FormMain->ComboBox1->setCurrentText(QStringLiteral("财务总监"));
    EXPECT_EQ(FormMain->Edit2->text(), QStringLiteral("kept"));
    Click(FormMain->Button11);
    EXPECT_EQ(Messages(), QStringLiteral("确定要把该密码修改为 kept 吗？/该密码已被删除"));
    Click(FormMain->Button10);
    EXPECT_EQ(Messages().section(u'/', 1), QStringLiteral("该用户密码已被删除"));
    Click(FormMain->Button8, {QStringLiteral("汇票")});
    EXPECT_EQ(Messages(), QStringLiteral("该参数已经被删除"));
    Click(FormMain->Button9);
    EXPECT_EQ(Messages(), QStringLiteral("该记录已不存在"));
}
