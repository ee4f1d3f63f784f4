// Salesmen: names that must stay unique, rights, faces, the hand-over of a
// renamed salesman's data, and the login buttons after user management.
#include "ProgramFixture.h"

#include "app/User2Form.h"
#include "app/UserForm.h"
#include "platform/gui/ExtCtrls.h"

#include <QCheckBox>
#include <QRadioButton>

class Users : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        NameSalesman(1, QStringLiteral("张三"), QStringLiteral("1"), QStringLiteral("业务管理；"));
        NameSalesman(2, QStringLiteral("李四"), QString(), QStringLiteral("财务管理；"));
        NameSalesman(4, QStringLiteral("Tom"), QString(), QString());
    }

    void TearDown() override
    {
        FormUser = nullptr;
        FormUser2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Shows the user window with the row of Slot current; Act plays the user.
    // Yes/No boxes get Answer.
    void Run(int Slot, const std::function<void()>& Act, TModalResult Answer = mrYes)
    {
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(Slot));
                Act();
                return mrNone;
            },
            [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        FormUser->ShowModal();
    }

    QString Row(int Slot)
    {
        return Scalar(QStringLiteral("Select PowerName || '|' || PowerKey || '|' || PowerPicture || '|' || PowerRange "
                                     "From Power Where PowerIndex = %1")
                          .arg(Slot));
    }
};

TEST_F(Users, SaveRefusesATakenName)
{
    const struct { const char* Row; int Slot; const char* Name; const char* Messages; const char* Stored; } Rows[] = {
        {"another salesman", 2, "张三", "名字有重复，请重新操作", "李四||Faces/1.bmp|财务管理；"},
        {"a role", 2, "管理员", "名字有重复，请重新操作", "李四||Faces/1.bmp|财务管理；"},
        {"a second empty name", 2, "", "名字有重复，请重新操作", "李四||Faces/1.bmp|财务管理；"},
        {"its own name in another case", 4, "TOM", "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/业务员数据移交成功",
         "TOM||Faces/1.bmp|"},
        {"its own name", 1, "张三", "", "张三|1|Faces/1.bmp|业务管理；"},
        {"a never-used slot asks nothing", 3, "王五", "", "王五||Faces/1.bmp|"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        Run(R.Slot, [&] { FormUser->Edit1->setText(QString::fromUtf8(R.Name)); FormUser->Button1->Click(); });
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(R.Messages));
        EXPECT_EQ(Row(R.Slot), QString::fromUtf8(R.Stored));
    }
}

// Another copy gives the new name to another slot while the hand-over is
// asked: the rename stores nothing.
TEST_F(Users, ANameTakenWhileTheQuestionIsOpenIsRefused)
{
    TModalHandlers Handlers(
        [&](TForm*) -> TModalResult {
            FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(1));
            FormUser->Edit1->setText(QStringLiteral("张三丰"));
            FormUser->Button1->Click();
            return mrNone;
        },
        [&](const TMessageRequest& M) {
            if (M.Buttons.size() < 2)
                return mrOk;
            Exec(QStringLiteral("Update Power Set PowerName = '张三丰' Where PowerIndex = 3"));
            return mrYes;
        });
    FormUser->ShowModal();
    EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'),
              QStringLiteral("业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/名字有重复，请重新操作"));
    EXPECT_EQ(Row(1), QStringLiteral("张三|1|Faces/1.bmp|业务管理；"));
}

TEST_F(Users, RightsFollowTheCheckBoxes)
{
    const struct { bool Business; bool Money; const char* Range; } Rows[] = {
        {true, true, "业务管理；财务管理；"}, {true, false, "业务管理；"}, {false, true, "财务管理；"}, {false, false, ""}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Range);
        Run(1, [&] {
            FormUser->CheckBox1->setChecked(R.Business);
            FormUser->CheckBox2->setChecked(R.Money);
            FormUser->Edit2->setText(QStringLiteral("secret"));
            FormUser->Button1->Click();
        });
        EXPECT_EQ(Row(1), QStringLiteral("张三|secret|Faces/1.bmp|") + QString::fromUtf8(R.Range));
    }
}

TEST_F(Users, HandOverMovesTheFourTables)
{
    const struct { const char* Row; TModalResult Answer; const char* Owner; const char* Messages; } Rows[] = {
        {"answered No", mrNo, "张三", "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？"},
        {"answered Yes", mrYes, "张三丰", "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/业务员数据移交成功"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        NameSalesman(1, QStringLiteral("张三"), QStringLiteral("1"), QStringLiteral("业务管理；"));
        Exec(QStringLiteral("Delete From Customer Where CustomerIndex > 1"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('甲', '张三'), ('乙', '李四')"));
        Exec(QStringLiteral("Update Bill Set BillMan = '张三'"));
        Exec(QStringLiteral("Update MoneyTable Set MoneyMan = '张三'"));
        Exec(QStringLiteral("Delete From Account Where AccountIndex > 1"));
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountMan) Values ('现金', '张三'), ('银行', '财务主管')"));
        Run(1, [] { FormUser->Edit1->setText(QStringLiteral("张三丰")); FormUser->Button1->Click(); }, R.Answer);
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(R.Messages));
        const QString Owner = QString::fromUtf8(R.Owner);
        EXPECT_EQ(Scalar(QStringLiteral("Select Group_Concat(CustomerMan) From Customer Where CustomerIndex > 1")),
                  Owner + QStringLiteral(",李四"));
        EXPECT_EQ(Scalar(QStringLiteral("Select BillMan From Bill")), Owner);
        EXPECT_EQ(Scalar(QStringLiteral("Select MoneyMan From MoneyTable")), Owner);
        EXPECT_EQ(Scalar(QStringLiteral("Select Group_Concat(AccountMan) From Account Where AccountIndex > 1")),
                  Owner + QStringLiteral(",财务主管"));
    }
}

// Picture 12 chosen among the 39 reaches the stored row and the login button.
TEST_F(Users, UserManagementReloadsTheLoginButtons)
{
    WritePicture(QStringLiteral("Faces/1.bmp"), 20, Qt::red);
    WritePicture(QStringLiteral("Faces/12.bmp"), 30, Qt::green);
    QString Checked;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormLogin)
                FormLogin->ManManage->Click();
            else if (Form == FormAsk)
                FormAsk->BitBtn1->Click();
            else if (Form == FormUser2) {
                for (QRadioButton* Radio : FormUser2->RadioButtons)
                    if (Radio->isChecked())
                        Checked += Radio->text();
                FormUser2->RadioButtons[11]->setChecked(true);
                FormUser2->BitBtn1->Click();
            } else if (Form == FormUser) {
                FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(3));
                FormUser->Edit1->setText(QStringLiteral("王五"));
                FormUser->Image1->Click();
                FormUser->Button1->Click();
            }
            return Form == FormAsk || Form == FormUser2 ? mrNone : mrCancel;
        },
        nullptr);
    FormLogin->ShowModal();
    EXPECT_EQ(Checked, QStringLiteral("头像1"));
    EXPECT_EQ(Row(3), QStringLiteral("王五||Faces/12.bmp|"));
    EXPECT_EQ(FormLogin->Man[2]->Caption(), QStringLiteral("王五"));
    EXPECT_EQ(FormLogin->Man[2]->Glyph()->Width(), 30);

    // A path that is none of the 39 checks no button and is kept.
    FormUser2->FacePicture = QStringLiteral("Pictures/me.png");
    FormUser2->Show();
    FormUser2->BitBtn1->Click();
    EXPECT_EQ(FormUser2->FacePicture, QStringLiteral("Pictures/me.png"));
}
