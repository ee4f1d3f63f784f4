// TFormMain: building the window's components and binding their handlers.
#include "app/MainForm.h"


#include "platform/db/ADOQuery.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* NewCombo(QWidget* Parent, const char* Name, const QStringList& Items, const QRect& Bounds)
{
    auto* Combo = new QComboBox(Parent);
    Combo->setObjectName(QString::fromLatin1(Name));
    Combo->addItems(Items);
    Combo->setGeometry(Bounds);
    return Combo;
}

TSpeedButton* NewSpeedButton(QWidget* Parent, const char* Name, const QString& Caption, const QRect& Bounds)
{
    auto* Button = new TSpeedButton(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Caption);
    Button->SetLayout(blGlyphTop);
    Button->setGeometry(Bounds);
    return Button;
}

QWidget* NewSheet(QTabWidget* Pages, const char* Name, const QString& Caption)
{
    auto* Sheet = new QWidget();
    Sheet->setObjectName(QString::fromLatin1(Name));
    Pages->addTab(Sheet, Caption);
    return Sheet;
}

const QStringList& DirectionItems()
{
    static const QStringList Items{QStringLiteral("按升序排"), QStringLiteral("按降序排")};
    return Items;
}

const QStringList& RangeItems()
{
    static const QStringList Items{QStringLiteral("当天单据"), QStringLiteral("当月单据")};
    return Items;
}

const QStringList& DocumentOrderItems()
{
    static const QStringList Items{QStringLiteral("按记录号"), QStringLiteral("按单据号"),
                                   QStringLiteral("按客户名"), QStringLiteral("按日期时间")};
    return Items;
}

// Sort and range boxes sit in one row under the fifteen cards.
constexpr int BoxTop = 452;
constexpr int BoxWidth = 96;
constexpr int BoxHeight = 22;
QRect BoxAt(int Column) { return QRect(8 + Column * (BoxWidth + 8), BoxTop, BoxWidth, BoxHeight); }

} // namespace

TFormMain::TFormMain(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormMain"));
    SetCaption(QStringLiteral("Tallybridge业务管理软件"));
    SetBorderStyle(bsSingle);
    SetPosition(poDesktopCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(786, 538);

    BuildLeftPanel();
    BuildPages();

    auto* Row = new QHBoxLayout(this);
    Row->setContentsMargins(0, 0, 0, 0);
    Row->setSpacing(0);
    Row->addWidget(Panel1);
    Row->addWidget(Panel2);
    Row->addWidget(Panel3, 1);

    ADOQueryBig = new TADOQuery(this);
    ADOQueryBig->setObjectName(QStringLiteral("ADOQueryBig"));
    frDBDataSet1 = new TfrDBDataSet(this);
    frDBDataSet1->setObjectName(QStringLiteral("frDBDataSet1"));
    frDBDataSet1->SetDataSet(ADOQueryBig);
    frReport1 = new TfrReport(this);
    frReport1->SetName(QStringLiteral("frReport1"));
    frReport1->SetDataset(frDBDataSet1);
    frReport1->SetInitialZoom(pzDefault);
    frReport1->SetPreviewButtons(pbZoom | pbPrint | pbFind | pbExit);
    frReport1->SetRebuildPrinter(false);

    FImage7Hint = QStringLiteral("LeftBar");
    BindHandlers();
}

TFormMain::~TFormMain() = default;

void TFormMain::BuildLeftPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedWidth(97);
    Panel1->setAutoFillBackground(true);
    QPalette P = Panel1->palette();
    P.setColor(QPalette::Window, QColor(0xE8, 0xF0, 0xFA));
    Panel1->setPalette(P);

    Login = NewSpeedButton(Panel1, "Login", QStringLiteral("软件导航"), QRect(6, 8, 85, 84));
    Login->SetFlat(true);

    Label1 = new QLabel(QStringLiteral("当前日期"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(6, 108, 85, 16);

    DateTimePicker1 = new QDateEdit(Panel1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setGeometry(4, 128, 89, 22);

    BitBtn1 = new TBitBtn(Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(QStringLiteral("◀"));
    BitBtn1->setToolTip(QStringLiteral("前一天"));
    BitBtn1->setGeometry(4, 154, 44, 22);
    BitBtn2 = new TBitBtn(Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(QStringLiteral("▶"));
    BitBtn2->setToolTip(QStringLiteral("后一天"));
    BitBtn2->setGeometry(49, 154, 44, 22);

    OnlineChat = NewSpeedButton(Panel1, "OnlineChat", QStringLiteral("在线服务"), QRect(6, 196, 85, 30));
    ActionButtonSave2 = NewSpeedButton(Panel1, "ActionButtonSave2", QStringLiteral("来电查询"), QRect(6, 232, 85, 30));

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(16);
    Image7 = new TImage(Panel2);
    Image7->setObjectName(QStringLiteral("Image7"));
    Image7->SetCursor(crHandPoint);
    auto* Strip = new QVBoxLayout(Panel2);
    Strip->setContentsMargins(0, 0, 0, 0);
    Strip->addWidget(Image7);
}

void TFormMain::BuildPages()
{
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    PageControl1 = new QTabWidget(Panel3);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* Fill = new QVBoxLayout(Panel3);
    Fill->setContentsMargins(2, 4, 2, 2);
    Fill->addWidget(PageControl1);

    TabSheet8 = NewSheet(PageControl1, "TabSheet8", QStringLiteral("客户管理"));
    TabSheet1 = NewSheet(PageControl1, "TabSheet1", QStringLiteral("业务单据"));
    TabSheet2 = NewSheet(PageControl1, "TabSheet2", QStringLiteral("业务报表"));
    TabSheet3 = NewSheet(PageControl1, "TabSheet3", QStringLiteral("帐户管理"));
    TabSheet7 = NewSheet(PageControl1, "TabSheet7", QStringLiteral("财务单据"));
    TabSheet4 = NewSheet(PageControl1, "TabSheet4", QStringLiteral("财务报表"));
    TabSheet5 = NewSheet(PageControl1, "TabSheet5", QStringLiteral("软件设置"));
    TabSheet6 = NewSheet(PageControl1, "TabSheet6", QStringLiteral("数据维护"));

    BuildCardPageBoxes();
    BuildCardPages();
    BuildListPageBoxes();
    BuildSettingsPage();
    BuildReportButtons();
}

void TFormMain::BuildCardPageBoxes()
{
    ComboBox6 = NewCombo(TabSheet8, "ComboBox6", {QStringLiteral("按编号排"), QStringLiteral("按名称排")}, BoxAt(0));
    ComboBox7 = NewCombo(TabSheet8, "ComboBox7", DirectionItems(), BoxAt(1));
    CustomerSearch = new TButton(TabSheet8);
    CustomerSearch->setObjectName(QStringLiteral("CustomerSearch"));
    CustomerSearch->SetCaption(QStringLiteral("客户搜索"));
    CustomerSearch->setGeometry(BoxAt(2).adjusted(0, -2, 0, 2));

    ComboBox3 = NewCombo(TabSheet1, "ComboBox3", RangeItems(), BoxAt(0));
    ComboBox8 = NewCombo(TabSheet1, "ComboBox8", DocumentOrderItems(), BoxAt(1));
    ComboBox10 = NewCombo(TabSheet1, "ComboBox10", DirectionItems(), BoxAt(2));

    ComboBox4 = NewCombo(TabSheet7, "ComboBox4", RangeItems(), BoxAt(0));
    ComboBox11 = NewCombo(TabSheet7, "ComboBox11", DocumentOrderItems(), BoxAt(1));
    ComboBox12 = NewCombo(TabSheet7, "ComboBox12", DirectionItems(), BoxAt(2));
}

void TFormMain::BuildListPageBoxes()
{
    const QRect TopLeft(8, 8, BoxWidth, BoxHeight);
    ComboBox2 = NewCombo(TabSheet2, "ComboBox2",
                         {QStringLiteral("按时间排"), QStringLiteral("按客户排"), QStringLiteral("按金额排")}, TopLeft);
    ComboBox9 = NewCombo(TabSheet4, "ComboBox9",
                         {QStringLiteral("按时间排"), QStringLiteral("按帐户排"), QStringLiteral("按金额排")}, TopLeft);
    BuildListPages();
}

void TFormMain::BuildSettingsPage()
{
    GroupBoxPrint = new QGroupBox(QStringLiteral("报表打印方式设置"), TabSheet5);
    GroupBoxPrint->setObjectName(QStringLiteral("GroupBoxPrint"));
    GroupBoxPrint->setGeometry(8, 416, 300, 62);
    ComboBox5 = NewCombo(GroupBoxPrint, "ComboBox5", {QStringLiteral("纵向打印"), QStringLiteral("横向打印")},
                         QRect(14, 26, 150, BoxHeight));
    Button15 = new TButton(GroupBoxPrint);
    Button15->setObjectName(QStringLiteral("Button15"));
    Button15->SetCaption(QStringLiteral("确定"));
    Button15->setGeometry(184, 24, 90, 26);

    DesignButton = NewSpeedButton(TabSheet5, "DesignButton", QStringLiteral("单据设计"), QRect(324, 430, 110, 40));
    DesignButton->SetLayout(blGlyphLeft);
    BuildAdminPages();
}

void TFormMain::BindHandlers()
{
    OnCreate = [this](QObject* Sender) { FormCreate(Sender); };
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnResize = [this](QObject* Sender) { FormResize(Sender); };
    Login->OnClick = [this](QObject* Sender) { ActionLoginExecute(Sender); };
    OnlineChat->OnClick = [this](QObject* Sender) { ActionOlineChatExecute(Sender); };
    ActionButtonSave2->OnClick = [this](QObject* Sender) { ActionIncomingExecute(Sender); };
    CustomerSearch->OnClick = [this](QObject* Sender) { ActionCustomerSearchExecute(Sender); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2->OnClick = [this](QObject* Sender) { BitBtn2Click(Sender); };
    QObject::connect(DateTimePicker1, &QDateEdit::dateChanged, this, [this] { DateTimePicker1Change(DateTimePicker1); });
    Image7->OnClick = [this](QObject* Sender) { Image7Click(Sender); };
    Button15->OnClick = [this](QObject* Sender) { Button15Click(Sender); };
    DesignButton->OnClick = [this](QObject* Sender) { ActionDesignExecute(Sender); };
    QObject::connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] { ComboBox2Change(ComboBox2); });
    QObject::connect(ComboBox9, &QComboBox::currentIndexChanged, this, [this] { ComboBox9Change(ComboBox9); });
    BindListHandlers();

    QComboBox* const Stored[] = {ComboBox6, ComboBox7, ComboBox3, ComboBox8, ComboBox10, ComboBox4, ComboBox11, ComboBox12};
    for (int I = 0; I < 8; ++I)
        QObject::connect(Stored[I], &QComboBox::currentIndexChanged, this, [this, I] { StoredComboChange(I); });
}
