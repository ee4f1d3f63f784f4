// TFormMain: the main window. It opens the database on its first showing, runs
// the login and shapes itself for the logged-in role (visible tabs, the row
// filters, the stored sort settings), and holds the working-day picker, the
// collapsible left panel, the eight tabs and the report-design action.
//
// The card pages, the query lists and the settings lists live on its tabs but
// are built by their own units; this unit gives them their sheets, their sort
// boxes and the refresh entry points that RefreshAll and the login call.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class TADOQuery;
class TCardPage;
enum class TCardKind;
struct TCardSettings;
class TBitBtn;
class TButton;
class TImage;
class TOpenDialog;
class TSaveDialog;
class TSpeedButton;
class TfrDBDataSet;
class TfrReport;
class TColumnEh;
class TFont;
class TDataSource;
class TDBGridEh;

class TFormMain : public TForm
{
public:
    explicit TFormMain(QWidget* AOwner = nullptr);
    ~TFormMain() override;

    // Left panel.
    QFrame* Panel1;
    TSpeedButton* Login;
    QLabel* Label1;
    QDateEdit* DateTimePicker1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TSpeedButton* OnlineChat;
    TSpeedButton* ActionButtonSave2;
    // Collapse strip.
    QFrame* Panel2;
    TImage* Image7;
    // Page control; the sheets in tab order.
    QFrame* Panel3;
    QTabWidget* PageControl1;
    QWidget* TabSheet8; // 0 客户管理
    QWidget* TabSheet1; // 1 业务单据
    QWidget* TabSheet2; // 2 业务报表
    QWidget* TabSheet3; // 3 帐户管理
    QWidget* TabSheet7; // 4 财务单据
    QWidget* TabSheet4; // 5 财务报表
    QWidget* TabSheet5; // 6 软件设置
    QWidget* TabSheet6; // 7 数据维护
    // Stored sort and range boxes of the card pages.
    QComboBox* ComboBox6;
    QComboBox* ComboBox7;
    QComboBox* ComboBox3;
    QComboBox* ComboBox8;
    QComboBox* ComboBox10;
    QComboBox* ComboBox4;
    QComboBox* ComboBox11;
    QComboBox* ComboBox12;
    // The customer search of the customer page.
    TButton* CustomerSearch;
    // Sort boxes of the two query lists (not stored).
    QComboBox* ComboBox2;
    QComboBox* ComboBox9;
    // The query lists: documents on TabSheet2, money documents on TabSheet4,
    // each with its filter, print and export buttons and its report.
    TADOQuery* BReportADOQuery;
    TADOQuery* MReportADOQuery;
    TDataSource* DataSource2;
    TDataSource* DataSource1;
    TDBGridEh* DBGridEh2;
    TDBGridEh* DBGridEh1;
    TButton* BillReportButton;
    TButton* BillPrintButton;
    TButton* BillExcelButton;
    TButton* MoneyReportButton;
    TButton* MoneyPrintButton;
    TButton* MoneyExcelButton;
    TfrDBDataSet* frDBDataSet2;
    TfrReport* frReport2;
    TfrDBDataSet* frDBDataSet3;
    TfrReport* frReport3;
    // Settings tab: print orientation and report design.
    QGroupBox* GroupBoxPrint;
    QComboBox* ComboBox5;
    TButton* Button15;
    TSpeedButton* DesignButton;
    // Settings tab: the four choice lists (types 1 to 4) with their buttons.
    QLabel* LabelList1;
    QListWidget* ListBox1;
    TButton* Button1; // 新增, 修改, 删除 of type 1
    TButton* Button2;
    TButton* Button3;
    QLabel* LabelList2;
    QListWidget* ListBox2;
    TButton* Button4;
    TButton* Button5;
    TButton* Button6;
    QLabel* LabelList3;
    QListWidget* ListBox3;
    TButton* Button7;
    TButton* Button8;
    TButton* Button9;
    QLabel* LabelList4;
    QListWidget* ListBox4;
    TButton* Button12;
    TButton* Button13;
    TButton* Button14;
    // Settings tab: the roles' passwords and the data-edit password.
    QGroupBox* GroupBoxPower;
    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    TButton* Button10;
    QGroupBox* GroupBoxKey;
    QLineEdit* Edit2;
    TButton* Button11;
    // Maintenance tab: backup and restore of the database file.
    QGroupBox* GroupBoxData;
    QAction* ActionSave;
    QAction* ActionLoad;
    TButton* ButtonSave;
    TButton* ButtonLoad;
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialog1;
    // The report the design action opens, over ADOQueryBig.
    TADOQuery* ADOQueryBig;
    TfrDBDataSet* frDBDataSet1;
    TfrReport* frReport1;
    // Monthly reports and the sales analysis.
    TSpeedButton* BigReport;
    TSpeedButton* MoneyMonth;
    TSpeedButton* AnalysisButton;

    // Page index of each card page.
    int CustomerPage = 0;
    int BillPage = 0;
    int MoneyPage = 0;
    int AccountPage = 0;
    // The four card pages on TabSheet8, TabSheet1, TabSheet7 and TabSheet3, each
    // with its fifteen cards, paging label, no-data image and buttons.
    TCardPage* CustomerCards;
    TCardPage* BillCards;
    TCardPage* MoneyCards;
    TCardPage* AccountCards;

    // The day the card pages work on.
    TDateTime WorkingDay() const;
    void SetWorkingDay(TDateTime Value); // no refresh
    // "LeftBar" while the left panel is open, "RightBar" while it is closed.
    QString Image7Hint() const { return FImage7Hint; }

    // Runs the login and shapes the window for the role; false when cancelled.
    bool ApplyLogin();
    // The card pages, then both query lists with their last statements.
    void RefreshAll();
    void RefreshCustomers();
    void RefreshBills();
    void RefreshMoney();
    void RefreshAccounts();
    // Card Number (1-15) of the page "Customer", "Bill", "Money" or "Account"
    // under the mouse; 0 puts the page's cards back.
    void HighlightCard(const QString& PageWord, int Number);
    // Asks for a new account and stores it.
    void NewAccount();
    // Stores the account typed in the new-account dialog and refreshes.
    void AddNewAccount(const QString& Name, double Base);
    // A card was clicked: hands its record to the record's window.
    void CardClick(TCardPage* Sender, int Number);
    // An empty BaseSQL reruns the list's last statement.
    void RunMoneyReport(const QString& BaseSQL);
    void RunBillReport(const QString& BaseSQL);
    // The base statement each list last ran with.
    QString MoneyReportSQL() const { return LastMoneyReportSQL; }
    QString BillReportSQL() const { return LastBillReportSQL; }
    // The statement of the document list's rows: the last base statement with
    // the row filter and without row 1, grouped, in Order. The analysis reads
    // the same rows in its own order.
    QString BillListStatement(const QString& Order) const;
    // The administrator's settings tab: the four choice lists and both password boxes.
    void LoadParameterLists();
    void LoadParameterList1();
    void LoadParameterList2();
    void LoadParameterList3();
    void LoadParameterList4();
    // Type 1 to 4: asks for a value and stores, renames or deletes it.
    void AddParameter(int Type);
    void ModifyParameter(int Type);
    void DeleteParameter(int Type);
    void ShowRolePasswords();
    // Reads the eight stored sort and range settings into their boxes.
    void ReadComboSettings();

    // Handlers.
    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void FormResize(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn2Click(QObject* Sender);
    void DateTimePicker1Change(QObject* Sender);
    void Image7Click(QObject* Sender);
    void Button15Click(QObject* Sender);
    void ComboBox2Change(QObject* Sender);
    void ComboBox9Change(QObject* Sender);
    void ActionBillReportExecute(QObject* Sender);
    void ActionMoneyReportExecute(QObject* Sender);
    void ActionPrintBillReportExecute(QObject* Sender);
    void ActionPrintMoneyReportExecute(QObject* Sender);
    void ActionBExecelExecute(QObject* Sender);
    void ActionMExcelExecute(QObject* Sender);
    void DBGridEh1DblClick(QObject* Sender);
    void DBGridEh2DblClick(QObject* Sender);
    void DBGridEh1GetCellParams(TColumnEh* Column, TFont* AFont);
    void DBGridEh2GetCellParams(TColumnEh* Column, TFont* AFont);
    void DBGridEh1TitleClick(TColumnEh* Column);
    void DBGridEh2TitleClick(TColumnEh* Column);
    void ActionLoginExecute(QObject* Sender);
    void ActionOlineChatExecute(QObject* Sender);
    void ActionIncomingExecute(QObject* Sender);
    void ActionCustomerSearchExecute(QObject* Sender);
    void ActionDesignExecute(QObject* Sender);
    void ActionAnalysisExecute(QObject* Sender);
    void ActionCustomerReportExecute(QObject* Sender);
    void ActionAccountReportExecute(QObject* Sender);
    void NewCustomerClick(QObject* Sender);
    void NewBillClick(QObject* Sender);
    void NewMoneyClick(QObject* Sender);
    void ComboBox1Change(QObject* Sender);
    void Button10Click(QObject* Sender);
    void Button11Click(QObject* Sender);
    void ActionSaveExecute(QObject* Sender);
    void ActionLoadExecute(QObject* Sender);

private:
    void BuildLeftPanel();
    void BuildPages();
    void BuildCardPageBoxes();
    void BuildCardPages();
    TCardSettings CardSettings(TCardKind Kind) const;
    void BuildListPageBoxes();
    void BuildListPages();
    void BindListHandlers();
    void PrintList(TADOQuery* Query, TfrReport* Report, const QString& Name);
    void BuildSettingsPage();
    void BuildAdminPages();
    void BuildMaintenancePage();
    void BuildReportButtons();
    void LoadParameterList(int Type);
    void BindHandlers();
    void BindQueries();
    void StoredComboChange(int Index);
    void ShowTabs(bool Business, bool Money, bool Admin, int Active);
    void SetLoginButton(const QString& Caption, const QString& Picture);

    QString FImage7Hint;
    QString LastMoneyReportSQL;
    QString LastBillReportSQL;
    bool FLoadingSettings = false;
};

extern TFormMain* FormMain;
