#include "app/OnlineChatForm.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Shell.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

TFormOnlineChat* FormOnlineChat = nullptr;

namespace {

struct TContentItem { const char* Item; const char* Text; };
const TContentItem ContentItems[] = {
    {"我想了解该软件。。。", "我想了解该软件的更多功能"},
    {"我想获得更多的。。。", "我想获得更多有关该软件的介绍"},
    {"我需要类似的软。。。", "我需要类似的软件产品，请跟我联系"},
    {"我想代理该软件。。。", "我想代理该软件，希望你们跟我联系"},
    {"自定义", ""},
};

QString Encoded(const QString& Value)
{
    // Everything but the unreserved characters is escaped, so "&", "=", "+",
    // "#", "%", blanks, line breaks and Chinese reach the page as typed.
    return QString::fromLatin1(QUrl::toPercentEncoding(Value));
}

QLabel* NewLabel(QWidget* Parent, const QString& Text, const QRect& Geometry)
{
    auto* Label = new QLabel(Text, Parent);
    Label->setGeometry(Geometry);
    return Label;
}

} // namespace

TFormOnlineChat::TFormOnlineChat(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormOnlineChat"));
    SetCaption(QStringLiteral("Tallybridge--在线服务"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(585, 361);
    BuildControls();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

QString TFormOnlineChat::MakerSite()
{
    return QStringLiteral("https://www.tallybridge.example");
}

void TFormOnlineChat::BuildControls()
{
    auto* Heading = NewLabel(this, QStringLiteral("软件使用过程中有任何问题，可通过以下的快捷途径与我们联系，我们会尽快为您解决"),
                             QRect(12, 10, 561, 18));
    Heading->setObjectName(QStringLiteral("Label1"));

    auto* Hotline = new QGroupBox(QStringLiteral("1、免费咨询热线"), this);
    Hotline->setGeometry(12, 36, 270, 90);
    auto* Number = NewLabel(Hotline, QStringLiteral("400-000-0000"), QRect(14, 30, 246, 40));
    QFont Large = Number->font();
    Large.setPixelSize(24);
    Number->setFont(Large);

    auto* Chat = new QGroupBox(QStringLiteral("2、在线即时通讯咨询"), this);
    Chat->setGeometry(12, 134, 270, 100);
    auto* Forum = new QGroupBox(QStringLiteral("3、Tallybridge软件论坛"), this);
    Forum->setGeometry(12, 242, 270, 107);
    auto* Message = new QGroupBox(QStringLiteral("4、在线提交信息"), this);
    Message->setGeometry(294, 36, 279, 313);

    struct TActionSpec { QAction* TFormOnlineChat::*Action; TSpeedButton* TFormOnlineChat::*Button;
                         const char* Name; const char* ButtonName; const char* Caption; QWidget* Parent; QRect Place; };
    const TActionSpec Actions[] = {
        {&TFormOnlineChat::ActionIM, &TFormOnlineChat::IM, "ActionIM", "IM", "在线咨询", Chat, QRect(60, 36, 150, 40)},
        {&TFormOnlineChat::ActionBBS, &TFormOnlineChat::BBS, "ActionBBS", "BBS", "Tallybridge论坛", Forum,
         QRect(60, 40, 150, 40)},
        {&TFormOnlineChat::ActionYes, &TFormOnlineChat::Login, "ActionYes", "Login", "确定", Message,
         QRect(60, 268, 80, 30)},
        {&TFormOnlineChat::ActionCancel, &TFormOnlineChat::Close, "ActionCancel", "Close", "取消", Message,
         QRect(150, 268, 80, 30)},
    };
    for (const TActionSpec& A : Actions) {
        auto* Action = new QAction(QString::fromUtf8(A.Caption), this);
        Action->setObjectName(QString::fromLatin1(A.Name));
        this->*A.Action = Action;
        auto* Button = new TSpeedButton(A.Parent);
        Button->setObjectName(QString::fromLatin1(A.ButtonName));
        Button->SetCaption(Action->text());
        Button->setGeometry(A.Place);
        Button->OnClick = [Action](QObject*) { Action->trigger(); };
        this->*A.Button = Button;
    }
    QObject::connect(ActionIM, &QAction::triggered, this, [this] { ActionIMExecute(ActionIM); });
    QObject::connect(ActionBBS, &QAction::triggered, this, [this] { ActionBBSExecute(ActionBBS); });
    QObject::connect(ActionYes, &QAction::triggered, this, [this] { ActionYesExecute(ActionYes); });
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
    BuildMessageBox(Message);
}

void TFormOnlineChat::BuildMessageBox(QWidget* Message)
{
    NewLabel(Message, QStringLiteral("联系人"), QRect(12, 28, 60, 16));
    Edit1 = new QLineEdit(Message);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(76, 24, 190, 22);
    NewLabel(Message, QStringLiteral("联系电话"), QRect(12, 60, 60, 16));
    Edit2 = new QLineEdit(Message);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(76, 56, 190, 22);
    NewLabel(Message, QStringLiteral("信息内容"), QRect(12, 92, 60, 16));
    ComboBox1 = new QComboBox(Message);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(76, 88, 190, 22);
    for (const TContentItem& Item : ContentItems)
        ComboBox1->addItem(QString::fromUtf8(Item.Item));
    QObject::connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(ComboBox1); });
    Memo1 = new TMemo(Message);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 120, 254, 138);
}

// ---------------------------------------------------------------- handlers

void TFormOnlineChat::FormShow(QObject*)
{
    ComboBox1Change(ComboBox1);
    SetActiveControl(Edit1);
}

void TFormOnlineChat::ComboBox1Change(QObject*)
{
    const int Index = ComboBox1->currentIndex();
    if (Index >= 0 && Index < int(std::size(ContentItems)))
        Memo1->setPlainText(QString::fromUtf8(ContentItems[Index].Text));
    SetActiveControl(Memo1);
}

void TFormOnlineChat::ActionIMExecute(QObject*)
{
    ShellOpen(MakerSite() + QStringLiteral("/chat"));
}

void TFormOnlineChat::ActionBBSExecute(QObject*)
{
    ShellOpen(MakerSite() + QStringLiteral("/forum"));
}

QString TFormOnlineChat::MessageAddress(const QString& Name, const QString& Phone,
                                        const QString& Content, const QString& SaleLink)
{
    return MakerSite() + QStringLiteral("/message.asp?Product=Tallybridge") + QStringLiteral("&ContactName=")
           + Encoded(Name) + QStringLiteral("&ContactPhone=") + Encoded(Phone)
           + QStringLiteral("&ContactContent=") + Encoded(Content) + QStringLiteral("&SaleLink=")
           + Encoded(SaleLink);
}

void TFormOnlineChat::ActionYesExecute(QObject*)
{
    if (Edit1->text().isEmpty()) {
        ShowMessage(QStringLiteral("联系人不能为空"));
        SetActiveControl(Edit1);
        return;
    }
    if (Edit2->text().isEmpty()) {
        ShowMessage(QStringLiteral("联系电话不能为空"));
        SetActiveControl(Edit2);
        return;
    }
    const QString SaleLink = ReadIni(QStringLiteral("Tallybridge"), QStringLiteral("SaleLink"), MakerSite(), IniFileName);
    ShellOpen(MessageAddress(Edit1->text(), Edit2->text(), Memo1->toPlainText(), SaleLink));
    SetModalResult(mrOk);
}

void TFormOnlineChat::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
