// The program's start-up in a temporary folder: the main window, the data
// module and the login window created in the program's order over a fresh
// database, with a scripted user at the login window.
#pragma once

#include "AppFixture.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Application.h"
#include "TestText.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <ostream>

class TProgramFixture : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        const QString Folder = AppPath;
        Application()->CreateForm(FormMain);
        // FormCreate points the session at the test program's folder; the test's own wins.
        AppPath = Folder;
        IniFileName = AppPath + QStringLiteral("Tallybridge.ini");
        Application()->CreateForm(FormLogin);
    }

    void TearDown() override
    {
        Application()->DestroyForms();
        FormMain = nullptr;
        FormLogin = nullptr;
        Application()->ResetTerminated();
        TAppFixture::TearDown();
    }

    // A user at the login window: runs Steps in order until the window has a
    // result, and types the next of Passwords into every prompt.
    TModalSeam::TFormHandler User(std::vector<std::function<void()>> Steps, QStringList Passwords = {})
    {
        // The seam may copy the handler; the answers still to give are shared.
        auto Answers = std::make_shared<QStringList>(std::move(Passwords));
        return [this, Steps, Answers](TForm* Form) -> TModalResult {
            if (Form == FormLogin) {
                ++LoginShows;
                for (const auto& Step : Steps) {
                    Step();
                    if (FormLogin->ModalResult() != mrNone)
                        break;
                }
                return mrNone;
            }
            if (Form == FormAsk) {
                Prompts << FormAsk->Caption() + u'|' + FormAsk->AskPrompt
                               + (FormAsk->Edit1->echoMode() == QLineEdit::Password ? QStringLiteral("|#") : QString());
                FormAsk->Edit1->setText(Answers->isEmpty() ? QString() : Answers->takeFirst());
                FormAsk->BitBtn1->Click();
                return mrNone;
            }
            return mrCancel;
        };
    }

    // Presses a button of the login window.
    static std::function<void()> Press(TSpeedButton* Button)
    {
        return [Button] { Button->Click(); };
    }

    void NameSalesman(int Index, const QString& Name, const QString& Key, const QString& Range,
                      const QString& Picture = QStringLiteral("Faces/1.bmp"))
    {
        Exec(QStringLiteral("Update Power Set PowerName = %1, PowerKey = %2, PowerRange = %3, PowerPicture = %4 "
                            "Where PowerIndex = %5")
                 .arg(SqlQuoted(Name), SqlQuoted(Key), SqlQuoted(Range), SqlQuoted(Picture))
                 .arg(Index));
    }

    // The books the save tests start from: salesman 张三 (slot 1) at work, his
    // account 现金, the customers 甲 (his) and 乙, 李四's sale XS0500 of 100 to
    // 甲, the payment FK0500 of 20 to 乙, and XS1000 the last sales number.
    void StoreSaleBooks()
    {
        CurrentUser = QStringLiteral("张三");
        NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("业务管理；"));
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountMan) Values ('现金', '张三')"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('甲', '张三'), ('乙', '')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillSum, BillSerial, BillUser, BillReason, BillState, BillMan) "
                            "Values ('销售开单', 100, 'XS0500', '甲', '商品销售', '已签约', '李四')"));
        Exec(QStringLiteral("Update Setting Set SettingValue = 'XS1000' Where SettingIndex = 1"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyUser, MoneyReason, MoneyOut, MoneySum, MoneyType, "
                            "MoneyToken, MoneySerial) Values (2, '乙', '商品采购', 20, -20, '货款', '现金', 'FK0500')"));
    }

    // A one-colour picture at a path under the program folder.
    void WritePicture(const QString& RelativePath, int Size, QColor Colour)
    {
        const QString Path = AppPath + RelativePath;
        QDir().mkpath(QFileInfo(Path).path());
        QImage Image(Size, Size, QImage::Format_RGB32);
        Image.fill(Colour);
        ASSERT_TRUE(Image.save(Path, "BMP"));
    }

    int LoginShows = 0;
    QStringList Prompts;
};
