#include "app/ShareDM.h"

#include "app/AskForm.h"
#include "app/PublicFunction.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "report/engine/FR_Utils.h"

#include <QLineEdit>
#include <limits>

TShareDataModule* ShareDataModule = nullptr;

QString AppPath;
QString IniFileName;
QString CurrentRole;
QString CurrentUser;
QString CurrentRange;
int CurrentSlot = 0;
QString CustomerFilter;
QString AccountFilter;
QString BillFilter;
QString MoneyFilter;

namespace {

TADOQuery* NewQuery(QObject* Owner, TADOConnection* Connection, const char* Name)
{
    auto* Query = new TADOQuery(Owner);
    Query->setObjectName(QString::fromLatin1(Name));
    Query->SetConnection(Connection);
    return Query;
}

qsizetype FirstNonZeroDigit(const QString& Text)
{
    for (qsizetype I = 0; I < Text.size(); ++I)
        if (Text[I] >= u'1' && Text[I] <= u'9')
            return I;
    return -1;
}

} // namespace

TShareDataModule::TShareDataModule(QObject* AOwner) : QObject(AOwner)
{
    setObjectName(QStringLiteral("ShareDataModule"));
    ADOConnection1 = new TADOConnection(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOConnection1->SetLoginPrompt(false);
    ADOQueryTemp = NewQuery(this, ADOConnection1, "ADOQueryTemp");
    ADOQueryTemp2 = NewQuery(this, ADOConnection1, "ADOQueryTemp2");
    ADOQueryTemp3 = NewQuery(this, ADOConnection1, "ADOQueryTemp3");
    // Report templates name its queries as "ShareDataModule.ADOQueryTemp".
    frRegisterGlobalComponent(this);
}

bool TShareDataModule::CheckEditPassword(const QString& Caption, const QString& Prompt, const QString& Default)
{
    const QString SQL = QStringLiteral("Select * From Power Where PowerName = '修改'");
    const QString OpenError = QStringLiteral("数据库打开失败");
    if (!OpenSQL(ADOQueryTemp, SQL, OpenError))
        return false;
    if (!ADOQueryTemp->IsEmpty() && ADOQueryTemp->FieldByName(QStringLiteral("PowerKey"))->AsString().isEmpty())
        return true;

    FormAsk->AskCaption = Caption;
    FormAsk->AskPrompt = Prompt;
    FormAsk->AskText = Default;
    SetPasswordChar(FormAsk->Edit1, u'#');
    bool Allowed = false;
    if (FormAsk->ShowModal() == mrOk && OpenSQL(ADOQueryTemp, SQL, OpenError)) {
        if (ADOQueryTemp->IsEmpty())
            ShowMessage(QStringLiteral("数据库出错，资料修改密码被删除"));
        else if (FormAsk->AskText == ADOQueryTemp->FieldByName(QStringLiteral("PowerKey"))->AsString())
            Allowed = true;
        else
            ShowMessage(QStringLiteral("密码错误，请重新操作"));
    }
    SetPasswordChar(FormAsk->Edit1, QChar());
    return Allowed;
}

QString TShareDataModule::NextSerial(const QString& Serial) const
{
    const qsizetype First = FirstNonZeroDigit(Serial);
    if (First < 0)
        return QString();
    const QString Digits = Serial.mid(First);
    bool Ok = false;
    const qlonglong Number = Digits.toLongLong(&Ok);
    // A number that does not fit (or is not all digits) proposes nothing rather than a wrong number.
    if (!Ok || !IsAllDigits(Digits) || Number == std::numeric_limits<qlonglong>::max())
        return QString();
    return Serial.left(First) + QString::number(Number + 1);
}

bool TShareDataModule::SerialFormatOK(const QString& Serial) const
{
    const qsizetype First = FirstNonZeroDigit(Serial);
    return First < 0 || IsAllDigits(Serial.mid(First));
}

QString TShareDataModule::ClaimSerial(TADOQuery* Query, int SettingIndex, const QString& Serial,
                                      TSerialProposal& Proposal, bool Renumber)
{
    OpenOrRaise(Query, QStringLiteral("Select * From Setting Where SettingIndex = %1").arg(SettingIndex));
    if (Query->IsEmpty())
        return Serial;
    TField* Counter = Query->FieldByName(QStringLiteral("SettingValue"));
    const QString Stored = Counter->AsString();
    QString Claimed = Serial;
    // An empty number would leave the counter nothing to count on from.
    bool Count = !Claimed.isEmpty();
    if (!Proposal.Serial.isEmpty() && Serial == Proposal.Serial && Stored != Proposal.Counter) {
        if (!Renumber)
            Count = false;
        else if (const QString Next = NextSerial(Stored); !Next.isEmpty())
            Claimed = Next;
    }
    if (Count) {
        Query->Edit();
        Counter->SetAsString(Claimed);
        Query->Post();
    }
    Proposal = {Count ? Claimed : Stored, Claimed};
    return Claimed;
}

void TShareDataModule::TellStoredSerial(const QString& Shown, const QString& Stored) const
{
    if (Stored != Shown)
        ShowMessage(QStringLiteral("单据编号已被其他单据使用，本单据编号改为：") + Stored);
}
