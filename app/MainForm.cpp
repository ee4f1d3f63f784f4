// TFormMain: opening the database, the login and the role's shape of the
// window, the working day, the collapse strip, the size clamp and the stored
// settings.
#include "app/MainForm.h"

#include "app/AnalysisForm.h"
#include "app/Customer2Form.h"
#include "app/DataMaintenance.h"
#include "app/LoginForm.h"
#include "app/OnlineChatForm.h"
#include "app/PhoneForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFrame>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTabWidget>
#include <array>

TFormMain* FormMain = nullptr;

namespace {

const QString IniSection = QStringLiteral("Tallybridge");

// Whether a band of Report runs over the rows of Source.
bool BandsReadFrom(TfrReport* Report, QObject* Owner, const QObject* Source)
{
    for (int p = 0; p < Report->Pages()->Count(); ++p) {
        const TfrPage* Page = Report->Pages()->Pages(p);
        for (int i = 0; i < Page->Count(); ++i)
            if (auto* B = dynamic_cast<const TfrBandView*>(Page->Objects(i));
                B && FindComponentByPath(Owner, Report->Dictionary()->GetRealDataSetName(B->DataSet())) == Source)
                return true;
    }
    return false;
}

// The eight boxes whose choice is kept in the settings file, with their keys,
// defaults and the card page each one reorders.
struct TStoredCombo
{
    QString Key;
    QComboBox* TFormMain::*Combo;
    int Default;
    void (TFormMain::*Refresh)();
};

const std::array<TStoredCombo, 8>& StoredCombos()
{
    static const std::array<TStoredCombo, 8> Table{{
        {QStringLiteral("客户排序方式"), &TFormMain::ComboBox6, 0, &TFormMain::RefreshCustomers},
        {QStringLiteral("客户排序方向"), &TFormMain::ComboBox7, 1, &TFormMain::RefreshCustomers},
        {QStringLiteral("业务单据日期范围"), &TFormMain::ComboBox3, 0, &TFormMain::RefreshBills},
        {QStringLiteral("业务单据排序方式"), &TFormMain::ComboBox8, 0, &TFormMain::RefreshBills},
        {QStringLiteral("业务单据排序方向"), &TFormMain::ComboBox10, 1, &TFormMain::RefreshBills},
        {QStringLiteral("财务单据日期范围"), &TFormMain::ComboBox4, 0, &TFormMain::RefreshMoney},
        {QStringLiteral("财务单据排序方式"), &TFormMain::ComboBox11, 0, &TFormMain::RefreshMoney},
        {QStringLiteral("财务单据排序方向"), &TFormMain::ComboBox12, 1, &TFormMain::RefreshMoney},
    }};
    return Table;
}

// A picture that cannot be read shows nothing rather than stopping the window.
void LoadGlyphOrNothing(TSpeedButton* Button, const QString& FileName)
{
    try {
        Button->LoadGlyph(FileName);
    } catch (const Exception&) {
        Button->Glyph()->SetSize(0, 0);
        Button->GlyphChanged();
    }
}

void LoadPictureOrNothing(TImage* Image, const QString& FileName)
{
    try {
        Image->Picture()->LoadFromFile(FileName);
    } catch (const Exception&) {
        Image->Picture()->Clear();
    }
}

constexpr int DatabaseMissingFlags = MB_OK | MB_ICONERROR;

} // namespace

// ---------------------------------------------------------------- start

void TFormMain::FormCreate(QObject*)
{
    AppPath = ExtractFilePath(QCoreApplication::applicationFilePath());
    IniFileName = AppPath + QStringLiteral("Tallybridge.ini");
    CustomerPage = BillPage = MoneyPage = AccountPage = 0;
    LoadPictureOrNothing(Image7, AppPath + QStringLiteral("Res/LeftBar.bmp"));
}

void TFormMain::BindQueries()
{
    // The data module is created after this window; its connection is bound here.
    ADOQueryBig->SetConnection(ShareDataModule->ADOConnection1);
    MReportADOQuery->SetConnection(ShareDataModule->ADOConnection1);
    BReportADOQuery->SetConnection(ShareDataModule->ADOConnection1);
}

void TFormMain::FormShow(QObject*)
{
    // What a killed backup or restore left (a whole copy of the database)
    // goes now, not at the next backup or restore.
    TADOConnection::RemoveLeftovers(AppPath);
    TADOConnection::RemoveLeftovers(BackupFolder());
    const QString Path = AppPath + QStringLiteral("Tallybridge.mdb");
    if (!FileExists(Path)) {
        Application()->MessageBox(QStringLiteral("数据库文件找不到，请联系软件供应商"), QString(), DatabaseMissingFlags);
        Application()->Terminate();
        return;
    }
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    try {
        Connection->SetConnectionString(JetConnectionString(Path, DatabasePassword));
        Connection->SetConnected(true);
    } catch (const Exception&) {
        // A file that is there but cannot be opened (damaged, not a database)
        // ends the program as a missing one does, instead of failing later.
        Application()->MessageBox(QStringLiteral("数据库打开失败"), QString(), DatabaseMissingFlags);
        Application()->Terminate();
        return;
    }
    BindQueries();
    SetWorkingDay(Date());
    if (!ApplyLogin())
        Close();
}

// ---------------------------------------------------------------- login

void TFormMain::ShowTabs(bool Business, bool Money, bool Admin, int Active)
{
    const bool Visible[8] = {Business, Business, Business, Money, Money, Money, Admin, Admin};
    for (int I = 0; I < 8; ++I)
        PageControl1->setTabVisible(I, Visible[I]);
    if (Visible[Active])
        PageControl1->setCurrentIndex(Active);
    // With no tab left the page control shows no sheet at all.
    for (int I = 0; I < 8; ++I)
        if (!Visible[I])
            PageControl1->widget(I)->setVisible(false);
}

void TFormMain::SetLoginButton(const QString& Caption, const QString& Picture)
{
    Login->SetCaption(Caption);
    LoadGlyphOrNothing(Login, Picture);
}

bool TFormMain::ApplyLogin()
{
    if (FormLogin->ShowModal() != mrOk)
        return false;
    if (CurrentRole == QStringLiteral("管理员")) {
        ShowTabs(false, false, true, 6);
        // A salesman's filters must not outlive his session.
        CustomerFilter = AccountFilter = BillFilter = MoneyFilter = QString();
        LoadParameterLists();
        ShowRolePasswords();
        SetLoginButton(QStringLiteral("管理员"), AppPath + QStringLiteral("Res/BlueFish.bmp"));
        return true;
    }
    if (CurrentRole != QStringLiteral("业务员")) {
        ShowTabs(true, true, false, 0);
        CustomerFilter = AccountFilter = BillFilter = MoneyFilter = QString();
        ReadComboSettings();
        RefreshAll();
        const QString Fish = CurrentRole == QStringLiteral("财务主管")   ? QStringLiteral("Res/YellowFish.bmp")
                             : CurrentRole == QStringLiteral("财务总监") ? QStringLiteral("Res/OrangeFish.bmp")
                                                                         : QStringLiteral("Res/GreenFish.bmp");
        SetLoginButton(CurrentRole, AppPath + Fish);
        return true;
    }
    const bool Business = CurrentRange.contains(QStringLiteral("业务管理"));
    const bool Money = CurrentRange.contains(QStringLiteral("财务管理"));
    ShowTabs(Business, Money, false, Business ? 0 : 3);
    // The name is quoted as text, so that a name holding a quote cannot break
    // or widen the lists it restricts.
    const QString User = SqlQuoted(CurrentUser);
    CustomerFilter = QStringLiteral(" And (CustomerMan = %1)").arg(User);
    AccountFilter = QStringLiteral(" And (AccountMan = '财务主管' Or AccountMan = %1)").arg(User);
    BillFilter = QStringLiteral(" And (BillMan = %1)").arg(User);
    MoneyFilter = QStringLiteral(" And (MoneyMan = %1)").arg(User);
    ReadComboSettings();
    RefreshAll();
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (OpenSQL(Q, QStringLiteral("Select * From Power Where PowerName = ") + User, QStringLiteral("数据库打开失败"))
        && !Q->IsEmpty()) {
        SetLoginButton(Q->FieldByName(QStringLiteral("PowerName"))->AsString(),
                       AppPath + Q->FieldByName(QStringLiteral("PowerPicture"))->AsString());
    }
    return true;
}

void TFormMain::ActionLoginExecute(QObject*)
{
    // A cancelled re-login keeps the user who is logged in.
    ApplyLogin();
}

// ---------------------------------------------------------------- settings

void TFormMain::ReadComboSettings()
{
    for (const TStoredCombo& S : StoredCombos()) {
        QComboBox* Combo = this->*S.Combo;
        bool Ok = false;
        int Index = ReadIni(IniSection, S.Key, QString::number(S.Default), IniFileName).trimmed().toInt(&Ok);
        // The program writes only item numbers; anything else is taken as never written.
        if (!Ok || Index < 0 || Index >= Combo->count())
            Index = S.Default;
        const QSignalBlocker Quiet(Combo);
        Combo->setCurrentIndex(Index);
    }
}

void TFormMain::StoredComboChange(int Index)
{
    const TStoredCombo& S = StoredCombos()[Index];
    WriteIni(IniSection, S.Key, QString::number((this->*S.Combo)->currentIndex()), IniFileName);
    (this->*S.Refresh)();
}

void TFormMain::Button15Click(QObject*)
{
    const QString Kind = ComboBox5->currentText();
    WriteIni(IniSection, QStringLiteral("PrintType"), Kind, IniFileName);
    ShowMessage(QStringLiteral("打印方式设置为：") + Kind);
}

void TFormMain::ActionDesignExecute(QObject*)
{
    // The templates edited here print from rows this window has only once a
    // monthly report ran: before that ADOQueryBig has no statement, and a
    // preview of a template over it says there is nothing to preview
    // instead of failing on the empty query.
    frReport1->OnBeginDoc = [this] {
        if (!ADOQueryBig->SQL()->Text().trimmed().isEmpty() || !BandsReadFrom(frReport1, this, frDBDataSet1))
            return;
        ShowMessage(QStringLiteral("没有可供预览的数据"));
        frReport1->SetTerminated(true);
    };
    const QScopeGuard Restore([this] { frReport1->OnBeginDoc = nullptr; });
    frReport1->DesignReport();
}

// ---------------------------------------------------------------- working day

TDateTime TFormMain::WorkingDay() const
{
    return QDateToDateTime(DateTimePicker1->date());
}

void TFormMain::SetWorkingDay(TDateTime Value)
{
    const QSignalBlocker Quiet(DateTimePicker1);
    DateTimePicker1->setDate(DateTimeToQDate(Value));
}

void TFormMain::BitBtn1Click(QObject*)
{
    SetWorkingDay(WorkingDay() - 1);
    RefreshAll();
}

void TFormMain::BitBtn2Click(QObject*)
{
    SetWorkingDay(WorkingDay() + 1);
    RefreshAll();
}

void TFormMain::DateTimePicker1Change(QObject*)
{
    RefreshAll();
}

// ---------------------------------------------------------------- frame

void TFormMain::Image7Click(QObject*)
{
    if (FImage7Hint != QStringLiteral("LeftBar")) {
        Panel1->setFixedWidth(97);
        LoadPictureOrNothing(Image7, AppPath + QStringLiteral("Res/LeftBar.bmp"));
        FImage7Hint = QStringLiteral("LeftBar");
    } else {
        Panel1->setFixedWidth(0);
        LoadPictureOrNothing(Image7, AppPath + QStringLiteral("Res/RightBar.bmp"));
        FImage7Hint = QStringLiteral("RightBar");
    }
}

void TFormMain::FormResize(QObject*)
{
    // A maximised or stretched window goes back to its working size.
    if (Height() > 600)
        SetBounds(75, 90, 884, 571);
}

// ---------------------------------------------------------------- other windows

void TFormMain::ActionOlineChatExecute(QObject*)
{
    if (FormOnlineChat)
        FormOnlineChat->ShowModal();
}

void TFormMain::ActionAnalysisExecute(QObject*)
{
    if (CurrentRole == QStringLiteral("业务员")) {
        ShowMessage(QStringLiteral("请以财务主管，财务总监，或总经理身份登录软件，查看经营报表"));
        return;
    }
    if (!BReportADOQuery->Active()) {
        ShowMessage(QStringLiteral("请先“查找单据”，生成数据报表，再进行图形分析"));
        return;
    }
    if (FormAnalysis)
        FormAnalysis->ShowModal();
}

void TFormMain::ActionIncomingExecute(QObject*)
{
    if (!FormPhone || !FormCustomer2)
        return;
    // Cleared here, not by the record window, so a promotion in any record
    // window opened from the lookup reaches this refresh.
    FormCustomer2->Promoted = false;
    FormPhone->SearchKind = QStringLiteral("潜在客户");
    FormPhone->ShowModal();
    if (FormCustomer2->Promoted)
        RefreshCustomers();
}

// ---------------------------------------------------------------- refresh

void TFormMain::RefreshAll()
{
    RefreshCustomers();
    RefreshBills();
    RefreshMoney();
    RefreshAccounts();
    RunMoneyReport(QString());
    RunBillReport(QString());
}
