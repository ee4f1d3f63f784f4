// tallybridge-screens OUT: renders the login window, the password prompt,
// the main window and the report designer as a user meets them into
// OUT/login.png, ask.png, main.png, designer.png (the bill template with two
// objects selected) and designer-dialog.png (a dialog page). It works in a temporary program folder with a fresh database and
// the pictures drawn beside this program, and drives the windows through the
// modal seam, so it needs no display.
#include "app/AskForm.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/JetSql.h"
#include "platform/db/NewDatabase.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

void CopyFolder(const QString& From, const QString& To)
{
    QDir().mkpath(To);
    QDirIterator It(From, QDir::Files);
    while (It.hasNext()) {
        It.next();
        QFile::copy(It.filePath(), To + u'/' + It.fileName());
    }
}

QString Schema()
{
    QFile F(QStringLiteral(TB_SOURCE_DIR "/resources/schema.sql"));
    if (!F.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Cannot read %1").arg(F.fileName()));
    return QString::fromUtf8(F.readAll());
}

// A firm with a few salesmen, so that the login window shows faces and names.
void NameSalesmen(TADOConnection* Connection)
{
    const struct { int Index; const char* Name; int Face; const char* Range; } Men[] = {
        {1, "张明", 3, "业务管理；财务管理；"}, {2, "李娜", 7, "业务管理；"}, {3, "王强", 12, "业务管理；"},
        {4, "赵敏", 18, "财务管理；"}, {5, "陈杰", 25, "业务管理；"}, {6, "刘洋", 9, "业务管理；"},
        {7, "周婷", 33, "业务管理；财务管理；"},
    };
    for (const auto& M : Men)
        Connection->Execute(QStringLiteral("Update Power Set PowerName = %1, PowerPicture = 'Faces/%2.bmp', "
                                           "PowerRange = %3 Where PowerIndex = %4")
                                .arg(SqlQuoted(QString::fromUtf8(M.Name)))
                                .arg(M.Face)
                                .arg(SqlQuoted(QString::fromUtf8(M.Range)))
                                .arg(M.Index));
}

void Render(QWidget* Window, const QString& FileName)
{
    RenderToPng(Window, FileName);
    std::printf("%s\n", qPrintable(FileName));
}

// The designer as "单据设计" opens it: two objects of the bill selected, then
// a dialog page asking for the bill's date range.
void RenderDesigner(TfrDesignerForm* Designer, const QString& Out)
{
    Designer->show();
    Designer->SetCurPage(0);
    TfrPage* Page = Designer->Page;
    int Selected = 0;
    for (int i = 0; i < Page->Count() && Selected < 2; ++i)
        if (dynamic_cast<TfrMemoView*>(Page->Objects(i))) {
            SetViewSelected(Page->Objects(i), true);
            ++Selected;
        }
    Designer->PageView->ComputeSelectionBounds();
    Designer->SelectionChanged();
    Designer->RedrawPage();
    Render(Designer, Out + QStringLiteral("/designer.png"));

    CurReport->Pages()->Add();
    TfrPage* Dialog = CurReport->Pages()->Pages(CurReport->Pages()->Count() - 1);
    Dialog->PageType = ptDialog;
    Dialog->Caption = QStringLiteral("选择日期");
    Dialog->FormLeft = 200;
    Dialog->FormTop = 150;
    Dialog->FormWidth = 320;
    Dialog->FormHeight = 160;
    const struct { const char* Text; QRect Bounds; } Labels[] = {
        {"开始日期：", QRect(16, 20, 80, 20)}, {"[StartDate]", QRect(100, 20, 180, 20)},
        {"结束日期：", QRect(16, 52, 80, 20)}, {"[EndDate]", QRect(100, 52, 180, 20)}};
    for (const auto& L : Labels) {
        auto Memo = std::make_unique<TfrMemoView>();
        Memo->Memo()->Add(QString::fromUtf8(L.Text));
        Memo->SetBounds(L.Bounds.x(), L.Bounds.y(), L.Bounds.width(), L.Bounds.height());
        Memo->SetFrameTyp(L.Text[0] == '[' ? 15 : 0);
        Dialog->Add(std::move(Memo));
    }
    Designer->SetCurPage(CurReport->Pages()->Count() - 1);
    SetViewSelected(Dialog->Objects(1), true);
    Designer->PageView->ComputeSelectionBounds();
    Designer->RedrawPage();
    Render(Designer->DialogPageForm, Out + QStringLiteral("/designer-dialog.png"));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallybridge-screens OUT\n");
        return 2;
    }
    const QString Out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(Out);
    QTemporaryDir Folder;
    try {
        const QString Pictures = Application()->ExePath();
        CopyFolder(Pictures + QStringLiteral("Res"), Folder.path() + QStringLiteral("/Res"));
        CopyFolder(Pictures + QStringLiteral("Faces"), Folder.path() + QStringLiteral("/Faces"));
        CopyFolder(Pictures + QStringLiteral("Frf"), Folder.path() + QStringLiteral("/Frf"));
        frRegisterDesigner();
        const QString Database = Folder.path() + QStringLiteral("/Tallybridge.mdb");
        CreateDatabaseFile(Database, Schema());

        Application()->SetTitle(QStringLiteral("Tallybridge业务管理软件"));
        Application()->CreateForm(FormMain);
        AppPath = Folder.path() + u'/';
        IniFileName = AppPath + QStringLiteral("Tallybridge.ini");
        auto DataModule = std::make_unique<TShareDataModule>();
        ShareDataModule = DataModule.get();
        Application()->CreateForm(FormLogin);
        Application()->CreateForm(FormAsk);
        ShareDataModule->ADOConnection1->SetConnectionString(JetConnectionString(Database, DatabasePassword));
        NameSalesmen(ShareDataModule->ADOConnection1);

        // The user looks at the login window, then logs in as the general manager.
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormLogin) {
                    FormLogin->HoverPicture(FormLogin->ImageTitle);
                    Render(FormLogin, Out + QStringLiteral("/login.png"));
                    FormLogin->SpeedButton4->Click();
                    return mrNone;
                }
                if (auto* Designer = dynamic_cast<TfrDesignerForm*>(Form)) {
                    RenderDesigner(Designer, Out);
                    Designer->ExitB->Click();
                    return mrNone;
                }
                if (Form == FormAsk) {
                    FormAsk->Edit1->setText(QStringLiteral("secret"));
                    Render(FormAsk, Out + QStringLiteral("/ask.png"));
                    FormAsk->Edit1->clear();
                    FormAsk->BitBtn1->Click();
                    return mrNone;
                }
                return mrCancel;
            },
            [](const TMessageRequest& Message) {
                std::fprintf(stderr, "message: %s\n", qPrintable(Message.Describe()));
                // The designer asks to save the template it was shown on: it stays as it is.
                const auto& B = Message.Buttons;
                return std::find(B.begin(), B.end(), mrNo) != B.end() ? mrNo : mrOk;
            });
        FormMain->Show();
        Render(FormMain, Out + QStringLiteral("/main.png"));
        if (LoadReportTemplate(FormMain->frReport1, AppPath + QStringLiteral("Frf/Bill.frf")))
            FormMain->DesignButton->Click();
        Application()->DestroyForms();
        ShareDataModule = nullptr;
        frUnregisterDesigner();
    } catch (const Exception& E) {
        std::fprintf(stderr, "tallybridge-screens: %s\n", E.what());
        return 1;
    }
    return 0;
}
