// The program: every window is created once, in a fixed order, and lives until
// the program ends. The main window comes first so that it is the main form,
// but it is shown only when the loop starts, so its first showing (database,
// login) finds the data module and every other window in place.
#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/AnalysisForm.h"
#include "app/AskForm.h"
#include "app/Bill2Form.h"
#include "app/BillForm.h"
#include "app/BillReportForm.h"
#include "app/BuySellForm.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/Customer3Form.h"
#include "app/CustomerForm.h"
#include "app/CustomerHideForm.h"
#include "app/GetPayForm.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "app/MoneyReportForm.h"
#include "app/OnlineChatForm.h"
#include "app/Phone2Form.h"
#include "app/PhoneForm.h"
#include "app/ProgressForm.h"
#include "app/ShareDM.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/GuiApplication.h"
#include "report/designer/FR_Desgn.h"
#include "report/engine/FR_Passw.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

int main(int argc, char** argv)
{
    TGuiApplication App(argc, argv);
    // The file dialogs and other standard texts of Qt speak the program's language.
    QTranslator QtTexts;
    if (QtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&QtTexts);
    Application()->SetTitle(QStringLiteral("Tallybridge业务管理软件"));
    frInstallPasswordForm();

    Application()->CreateForm(FormMain);
    auto DataModule = std::make_unique<TShareDataModule>();
    ShareDataModule = DataModule.get();
    Application()->CreateForm(FormLogin);
    Application()->CreateForm(FormBill);
    Application()->CreateForm(FormBuySell);
    Application()->CreateForm(FormGetPay);
    Application()->CreateForm(FormAsk);
    Application()->CreateForm(FormAccount);
    Application()->CreateForm(FormMoneyReport);
    Application()->CreateForm(FormBill2);
    Application()->CreateForm(FormCustomer);
    Application()->CreateForm(FormCustomer2);
    Application()->CreateForm(FormProgress);
    Application()->CreateForm(FormOnlineChat);
    Application()->CreateForm(FormUser);
    Application()->CreateForm(FormUser2);
    Application()->CreateForm(FormBillReport);
    Application()->CreateForm(FormAnalysis);
    Application()->CreateForm(FormAccount2);
    Application()->CreateForm(FormCustomer3);
    Application()->CreateForm(FormContact);
    Application()->CreateForm(FormPhone);
    Application()->CreateForm(FormPhone2);
    Application()->CreateForm(FormCustomerHide);

    // Static libraries drop self-registering units: the designer registers here.
    frRegisterDesigner();
    Application()->Run();
    frUnregisterDesigner();

    Application()->DestroyForms();
    ShareDataModule = nullptr;
    return 0;
}
