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
