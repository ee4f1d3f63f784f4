// TFormMain: the administrator's two tabs. "软件设置" keeps the four choice
// lists of table Parameter, the passwords of the four roles and the data-edit
// password; "数据维护" backs the database file up and restores it.
#include "app/MainForm.h"

#include "app/AskForm.h"
#include "app/DataMaintenance.h"
#include "app/PublicFunction.h"
#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <array>
#include <functional>
#include <optional>

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");

// What differs between the four choice lists.
struct TParameterType
{
    QListWidget* TFormMain::*List;
    const char* Caption;     // the label over the list
    const char* Word;        // the value's name in messages
    const char* AddPrompt;
    const char* LoadError;
};

const std::array<TParameterType, 4>& ParameterTypes()
{
    static const std::array<TParameterType, 4> Table{{
        {&TFormMain::ListBox1, "业务种类", "种类", "请输入种类的名称", "读入帐款收支种类失败"},
        {&TFormMain::ListBox2, "款项类别", "类别", "请输入新类别的名称", "读入帐款类别失败"},
        {&TFormMain::ListBox3, "款项凭证", "凭证", "请输入新凭证的名称", "读入帐款类别失败"},
        {&TFormMain::ListBox4, "业务进度", "进度", "请输入新进度的名称", "读入业务进度失败"},
    }};
    return Table;
}

const TParameterType& TypeOf(int Type)
{
    return ParameterTypes()[size_t(Type - 1)];
}

QString Word(int Type)
{
    return QString::fromUtf8(TypeOf(Type).Word);
}

// The classic list box calls its double-click handler wherever it is clicked,
// also below the last item.
class TListBox : public QListWidget
{
public:
    using QListWidget::QListWidget;
    std::function<void()> OnDblClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* Event) override
    {
        QListWidget::mouseDoubleClickEvent(Event);
        if (OnDblClick)
            OnDblClick();
    }
};

TButton* NewButton(QWidget* Parent, const char* Name, const QString& Caption, const QRect& Bounds)
{
    auto* Button = new TButton(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Caption);
    Button->setGeometry(Bounds);
    return Button;
}

// Shows the prompt window with a proposed answer; empty optional on anything but OK.
std::optional<QString> Ask(const QString& Prompt, const QString& Proposed)
{
    FormAsk->AskCaption = QStringLiteral("参数设置");
    FormAsk->AskPrompt = Prompt;
    FormAsk->AskText = Proposed;
    if (FormAsk->ShowModal() != mrOk)
        return std::nullopt;
    return FormAsk->AskText;
}

QString ParameterSQL(int Type, const QString& Value)
{
    return QStringLiteral("Select * From Parameter Where (ParameterType =  %1) And (ParameterValue = %2)")
        .arg(Type)
        .arg(SqlQuoted(Value));
}

bool ConfirmChange(const QString& Key)
{
    return AskYesNo(QStringLiteral("确定要把该密码修改为 ") + Key + QStringLiteral(" 吗？"),
                    QStringLiteral("修改确认"))
        == mrYes;
}

// A failed read or save has shown its own message; a missing row is the caller's to tell.
enum class TKeySave { Saved, Missing, Failed };

// Stores Key as the password of the Power row PowerName.
TKeySave SaveKey(const QString& PowerName, const QString& Key)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Power Where PowerName = ") + SqlQuoted(PowerName), OpenError))
        return TKeySave::Failed;
    if (Q->IsEmpty())
        return TKeySave::Missing;
    const bool Saved = RunInTransaction([&] {
        Q->Edit();
        Q->FieldByName(QStringLiteral("PowerKey"))->SetAsString(Key);
        Q->Post();
    });
    return Saved ? TKeySave::Saved : TKeySave::Failed;
}

} // namespace

// ---------------------------------------------------------------- building

void TFormMain::BuildAdminPages()
{
    // Lists of types 1 to 4, side by side, each with its three buttons.
    TButton** const Buttons[4][3] = {{&Button1, &Button2, &Button3},
                                     {&Button4, &Button5, &Button6},
                                     {&Button7, &Button8, &Button9},
                                     {&Button12, &Button13, &Button14}};
    const char* const ButtonNames[4][3] = {{"Button1", "Button2", "Button3"},
                                           {"Button4", "Button5", "Button6"},
                                           {"Button7", "Button8", "Button9"},
                                           {"Button12", "Button13", "Button14"}};
    QLabel** const Labels[4] = {&LabelList1, &LabelList2, &LabelList3, &LabelList4};
    const QString Captions[3] = {QStringLiteral("新增"), QStringLiteral("修改"), QStringLiteral("删除")};
    for (int T = 1; T <= 4; ++T) {
        const int Left = 8 + (T - 1) * 164;
        auto* Label = new QLabel(QString::fromUtf8(TypeOf(T).Caption), TabSheet5);
        Label->setObjectName(QStringLiteral("LabelList%1").arg(T));
        Label->setGeometry(Left, 8, 150, 18);
        *Labels[T - 1] = Label;
        auto* List = new TListBox(TabSheet5);
        List->setObjectName(QStringLiteral("ListBox%1").arg(T));
        List->setGeometry(Left, 28, 150, 206);
        List->OnDblClick = [this, T] { ModifyParameter(T); };
        this->*TypeOf(T).List = List;
        for (int B = 0; B < 3; ++B) {
            TButton* Button = NewButton(TabSheet5, ButtonNames[T - 1][B], Captions[B], QRect(Left + B * 52, 240, 46, 24));
            *Buttons[T - 1][B] = Button;
        }
        (*Buttons[T - 1][0])->OnClick = [this, T](QObject*) { AddParameter(T); };
        (*Buttons[T - 1][1])->OnClick = [this, T](QObject*) { ModifyParameter(T); };
        (*Buttons[T - 1][2])->OnClick = [this, T](QObject*) { DeleteParameter(T); };
    }

    GroupBoxPower = new QGroupBox(QStringLiteral("用户权限管理"), TabSheet5);
    GroupBoxPower->setObjectName(QStringLiteral("GroupBoxPower"));
    GroupBoxPower->setGeometry(8, 280, 314, 110);
    auto* RoleLabel = new QLabel(QStringLiteral("用户："), GroupBoxPower);
    RoleLabel->setGeometry(14, 26, 48, 22);
    ComboBox1 = new QComboBox(GroupBoxPower);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("管理员"), QStringLiteral("财务主管"), QStringLiteral("财务总监"),
                         QStringLiteral("总经理")});
    ComboBox1->setGeometry(64, 26, 150, 22);
    auto* KeyLabel = new QLabel(QStringLiteral("密码："), GroupBoxPower);
    KeyLabel->setGeometry(14, 58, 48, 22);
    Edit1 = new QLineEdit(GroupBoxPower);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(64, 58, 150, 22);
    Button10 = NewButton(GroupBoxPower, "Button10", QStringLiteral("确定"), QRect(224, 57, 80, 24));

    GroupBoxKey = new QGroupBox(QStringLiteral("资料修改密码"), TabSheet5);
    GroupBoxKey->setObjectName(QStringLiteral("GroupBoxKey"));
    GroupBoxKey->setGeometry(336, 280, 314, 110);
    auto* EditKeyLabel = new QLabel(QStringLiteral("密码："), GroupBoxKey);
    EditKeyLabel->setGeometry(14, 58, 48, 22);
    Edit2 = new QLineEdit(GroupBoxKey);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(64, 58, 150, 22);
    Button11 = NewButton(GroupBoxKey, "Button11", QStringLiteral("确定"), QRect(224, 57, 80, 24));

    QObject::connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(ComboBox1); });
    Button10->OnClick = [this](QObject* Sender) { Button10Click(Sender); };
    Button11->OnClick = [this](QObject* Sender) { Button11Click(Sender); };

    BuildMaintenancePage();
}

void TFormMain::BuildMaintenancePage()
{
    GroupBoxData = new QGroupBox(QStringLiteral("帐套数据操作"), TabSheet6);
    GroupBoxData->setObjectName(QStringLiteral("GroupBoxData"));
    GroupBoxData->setGeometry(8, 8, 420, 130);
    auto* Note = new QLabel(QStringLiteral("备份文件默认保存在程序目录下的“数据库备份”文件夹中。\n"
                                           "恢复数据库将覆盖当前全部数据，恢复后需重新启动软件。"),
                            GroupBoxData);
    Note->setGeometry(16, 24, 390, 40);
    ActionSave = new QAction(QStringLiteral("数据备份"), this);
    ActionSave->setObjectName(QStringLiteral("ActionSave"));
    ActionLoad = new QAction(QStringLiteral("数据恢复"), this);
    ActionLoad->setObjectName(QStringLiteral("ActionLoad"));
    ButtonSave = NewButton(GroupBoxData, "ButtonSave", ActionSave->text(), QRect(16, 80, 110, 32));
    ButtonLoad = NewButton(GroupBoxData, "ButtonLoad", ActionLoad->text(), QRect(142, 80, 110, 32));
    ButtonSave->OnClick = [this](QObject*) { ActionSave->trigger(); };
    ButtonLoad->OnClick = [this](QObject*) { ActionLoad->trigger(); };
    QObject::connect(ActionSave, &QAction::triggered, this, [this] { ActionSaveExecute(ActionSave); });
    QObject::connect(ActionLoad, &QAction::triggered, this, [this] { ActionLoadExecute(ActionLoad); });
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
}

// ---------------------------------------------------------------- choice lists

void TFormMain::LoadParameterLists()
{
    LoadParameterList1();
    LoadParameterList2();
    LoadParameterList3();
    LoadParameterList4();
}

void TFormMain::LoadParameterList1() { LoadParameterList(1); }
void TFormMain::LoadParameterList2() { LoadParameterList(2); }
void TFormMain::LoadParameterList3() { LoadParameterList(3); }
void TFormMain::LoadParameterList4() { LoadParameterList(4); }

void TFormMain::LoadParameterList(int Type)
{
    QListWidget* List = this->*TypeOf(Type).List;
    List->clear();
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Parameter Where ParameterType =  %1").arg(Type),
                 QString::fromUtf8(TypeOf(Type).LoadError)))
        return;
    for (Q->First(); !Q->Eof(); Q->Next())
        List->addItem(Q->FieldByName(QStringLiteral("ParameterValue"))->AsString());
    if (List->count() > 0)
        List->setCurrentRow(List->count() - 1);
}

void TFormMain::AddParameter(int Type)
{
    const std::optional<QString> Value = Ask(QString::fromUtf8(TypeOf(Type).AddPrompt), QString());
    if (!Value)
        return;
    if (Value->isEmpty()) {
        ShowMessage(Word(Type) + QStringLiteral("名不能为空"));
        return;
    }
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    // Checked where it is stored, so that another copy of the program cannot
    // store the same value in between.
    bool Taken = false;
    const bool Saved = RunInTransaction([&] {
        OpenOrRaise(Q, ParameterSQL(Type, *Value));
        Taken = !Q->IsEmpty();
        if (Taken)
            return;
        Q->Append();
        Q->FieldByName(QStringLiteral("ParameterType"))->SetAsInteger(Type);
        Q->FieldByName(QStringLiteral("ParameterValue"))->SetAsString(*Value);
        Q->Post();
    });
    if (!Saved)
        return;
    if (Taken)
        ShowMessage(QStringLiteral("存在同名的") + Word(Type) + QStringLiteral("，请改名"));
    else
        LoadParameterList(Type);
}

void TFormMain::ModifyParameter(int Type)
{
    QListWidget* List = this->*TypeOf(Type).List;
    if (List->currentRow() < 0) {
        ShowMessage(QStringLiteral("请先选中要修改的") + Word(Type));
        List->setFocus();
        return;
    }
    const QString Old = List->currentItem()->text();
    const std::optional<QString> Value = Ask(QStringLiteral("请输入") + Word(Type) + QStringLiteral("的名称"), Old);
    if (!Value)
        return;
    if (Value->isEmpty()) {
        ShowMessage(Word(Type) + QStringLiteral("名不能为空"));
        return;
    }
    if (*Value == Old)
        return;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    // Checked where it is stored, so that another copy of the program cannot
    // take the value in between. The value being renamed never counts as its
    // own duplicate, so a change of letter case alone goes through.
    bool Taken = false, Gone = false;
    const bool Saved = RunInTransaction([&] {
        OpenOrRaise(Q, ParameterSQL(Type, *Value) + QStringLiteral(" And (ParameterValue <> %1)").arg(SqlQuoted(Old)));
        Taken = !Q->IsEmpty();
        if (Taken)
            return;
        OpenOrRaise(Q, ParameterSQL(Type, Old));
        Gone = Q->IsEmpty();
        if (Gone)
            return;
        Q->Edit();
        Q->FieldByName(QStringLiteral("ParameterValue"))->SetAsString(*Value);
        Q->Post();
    });
    if (!Saved)
        return;
    if (Taken)
        ShowMessage(QStringLiteral("存在同名的") + Word(Type) + QStringLiteral("，请改名"));
    else if (Gone)
        ShowMessage(QStringLiteral("该参数已经被删除"));
    else
        LoadParameterList(Type);
}

void TFormMain::DeleteParameter(int Type)
{
    QListWidget* List = this->*TypeOf(Type).List;
    if (List->currentRow() < 0) {
        ShowMessage(QStringLiteral("请先选中要删除的") + Word(Type));
        List->setFocus();
        return;
    }
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString SQL = ParameterSQL(Type, List->currentItem()->text());
    const QString Gone = QStringLiteral("该记录已不存在");
    if (!OpenSQL(Q, SQL, QStringLiteral("读入帐款参数失败")))
        return;
    if (Q->IsEmpty()) {
        ShowMessage(Gone);
        return;
    }
    if (AskYesNo(QStringLiteral("确实要删除该参数吗？"), QStringLiteral("删除警告")) != mrYes)
        return;
    // Found again by its value once confirmed: the table's row ids are used
    // again, so the row read before the question may since be another value
    // another copy of the program stored.
    if (RunInTransaction([&] {
            OpenOrRaise(Q, SQL);
            if (Q->IsEmpty())
                throw ESaveRefused(Gone);
            Q->Delete();
        }))
        LoadParameterList(Type);
}

// ---------------------------------------------------------------- passwords

void TFormMain::ShowRolePasswords()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (OpenSQL(Q, QStringLiteral("Select * From Power Where PowerName = ") + SqlQuoted(ComboBox1->currentText()),
                OpenError)
        && !Q->IsEmpty())
        Edit1->setText(Q->FieldByName(QStringLiteral("PowerKey"))->AsString());
    if (OpenSQL(Q, QStringLiteral("Select * From Power Where PowerName = '修改'"), OpenError) && !Q->IsEmpty())
        Edit2->setText(Q->FieldByName(QStringLiteral("PowerKey"))->AsString());
}

void TFormMain::ComboBox1Change(QObject*)
{
    ShowRolePasswords();
}

void TFormMain::Button10Click(QObject*)
{
    const QString Key = Edit1->text();
    if (!ConfirmChange(Key))
        return;
    const TKeySave Result = SaveKey(ComboBox1->currentText(), Key);
    if (Result == TKeySave::Missing)
        ShowMessage(QStringLiteral("该用户密码已被删除"));
    if (Result != TKeySave::Saved)
        return;
    ShowMessage(QStringLiteral("用户密码修改成功"));
    ShowRolePasswords();
}

void TFormMain::Button11Click(QObject*)
{
    const QString Key = Edit2->text();
    if (!ConfirmChange(Key))
        return;
    const TKeySave Result = SaveKey(QStringLiteral("修改"), Key);
    if (Result == TKeySave::Missing)
        ShowMessage(QStringLiteral("该密码已被删除"));
    if (Result != TKeySave::Saved)
        return;
    ShowMessage(QStringLiteral("密码修改成功"));
    ShowRolePasswords();
}

// ---------------------------------------------------------------- maintenance

void TFormMain::ActionSaveExecute(QObject*)
{
    BackupDatabase(*SaveDialog1);
}

void TFormMain::ActionLoadExecute(QObject*)
{
    RestoreDatabase(*OpenDialog1);
}
