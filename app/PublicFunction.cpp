#include "app/PublicFunction.h"

#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/ModalSeam.h"

#include "platform/db/ADOQuery.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/GbkText.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"

#include <QAction>
#include <QComboBox>
#include <cfenv>
#include <cmath>

namespace {

// The settings calls work on fixed buffers: 256 bytes for names, 1024 for values.
constexpr qsizetype MaxNameBytes = 255;
constexpr qsizetype MaxValueBytes = 1023;

const QString SqlErrorText = QStringLiteral("SQL命令执行出错");

} // namespace

namespace {

// The classic buffers hold 255 bytes of a name; a longer one would name another
// key than the caller meant, so it is refused rather than cut.
bool NamesFit(const QString& Section, const QString& Key)
{
    return GbkLength(Section) <= MaxNameBytes && GbkLength(Key) <= MaxNameBytes;
}

} // namespace

QString ReadIni(const QString& Section, const QString& Key, const QString& Default,
                const QString& FileName)
{
    const QString ShortDefault = GbkLeft(Default, MaxNameBytes);
    if (!NamesFit(Section, Key))
        return ShortDefault;
    return GbkLeft(GetPrivateProfileString(Section, Key, ShortDefault, FileName), MaxValueBytes);
}

bool WriteIni(const QString& Section, const QString& Key, const QString& Value, const QString& FileName)
{
    return NamesFit(Section, Key)
        && WritePrivateProfileString(Section, Key, GbkLeft(Value, MaxValueBytes), FileName);
}

void ShowMessage(const QString& Text)
{
    Application()->MessageBox(Text, Application()->Title(), MB_OK);
}

namespace {
QStringList* OpenSQLLog = nullptr;
}

void SetOpenSQLLog(QStringList* Log)
{
    OpenSQLLog = Log;
}

bool OpenSQL(TADOQuery* Query, const QString& SQL, const QString& ErrorText)
{
    if (OpenSQLLog)
        OpenSQLLog->append(SQL);
    try {
        Query->Close();
        Query->SQL()->Clear();
        Query->SQL()->Add(SQL);
        Query->Open();
        return true;
    } catch (const std::exception&) {
        // The caller stops its own work on false; the query must not stay half-open.
        try {
            Query->Close();
        } catch (const std::exception&) {
        }
        ShowMessage(ErrorText);
        return false;
    }
}

int ExecSQL(TADOQuery* Query, const QString& SQL)
{
    try {
        Query->Close();
        Query->SQL()->Clear();
        Query->SQL()->Add(SQL);
        return Query->ExecSQL();
    } catch (const std::exception&) {
        ShowMessage(SqlErrorText);
        return 0;
    }
}

bool IsAllDigits(const QString& Text)
{
    if (Text.isEmpty())
        return false;
    for (QChar C : Text)
        if (C < u'0' || C > u'9')
            return false;
    return true;
}

bool IsNumeric(const QString& Text)
{
    if (Text.isEmpty())
        return false;
    for (QChar C : Text)
        if ((C < u'0' || C > u'9') && C != u'.')
            return false;
    return true;
}

double StrToFloatZero(const QString& Text)
{
    // "1.2.3" passes IsNumeric; it must read as 0, not raise in the middle of a save.
    double Value = 0;
    if (!IsNumeric(Text) || !TryStrToFloat(Text, Value))
        return 0;
    return Value;
}

QString AmountError(const QString& Text)
{
    const QString NotANumber = QStringLiteral("金额格式有误，请重新输入");
    if (!IsNumeric(Text))
        return NotANumber;
    const qsizetype Point = Text.indexOf(u'.');
    if (Point >= 0 && Text.size() - Point - 1 > 4)
        return QStringLiteral("金额内容可能有误，请重新输入");
    // Two points pass the character checks but are no number: nothing is stored.
    double Value = 0;
    if (!TryStrToFloat(Text, Value))
        return NotANumber;
    // The lists sum amounts as whole ten-thousandths in 64 bits; a stored amount
    // at or above that range (a card number pasted, say) would break every list
    // it appears in. Compared as stored: a text just below the bound that is
    // stored as the bound itself cannot be summed either.
    if (Value >= 922337203685477.5807)
        return QStringLiteral("金额内容可能有误，请重新输入");
    return QString();
}

QString RoundStr(double Value)
{
    // The product is formed in extended precision and rounded to even, as the
    // floating-point unit does it; beyond 64 bits there is nothing left to round.
    const long double Scaled = static_cast<long double>(Value) * 10000.0L;
    if (!std::isfinite(Value) || std::fabs(Scaled) >= 9.2e18L)
        return FloatToStr(Value);
    const int SavedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long long Units = std::llrintl(Scaled);
    std::fesetround(SavedMode);
    return FloatToStr(static_cast<double>(static_cast<long double>(Units) / 10000.0L));
}

QString JetConnectionString(const QString& Path, const QString& Password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path
        + QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") + Password;
}

QString DigitToCapital(const QString& Digit)
{
    static const QString Capitals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    if (Digit.size() == 1 && Digit[0] >= u'0' && Digit[0] <= u'9')
        return QString(Capitals[Digit[0].unicode() - u'0']);
    return QStringLiteral("拾");
}

QString AmountToCapital(const QString& Digits)
{
    static const QString Units = QStringLiteral("分角元拾佰仟万拾佰");
    const QChar IdeographicSpace(0x3000);
    QString Rest = Digits;
    QString Result;
    for (QChar Unit : Units) {
        if (Rest.isEmpty())
            break;
        Result = DigitToCapital(Rest.right(1)) + Unit + IdeographicSpace + Result;
        Rest.chop(1);
    }
    return Result;
}

void LoadCombo(QComboBox* Combo, TADOQuery* Query, const QString& SQL, bool AddAll, const QString& FieldName,
               const QString& DataField)
{
    Combo->clear();
    if (AddAll)
        Combo->addItem(QStringLiteral("所有"));
    if (OpenSQL(Query, SQL, QStringLiteral("LoadCombo失败")) && Query->RecordCount() > 0) {
        Query->First();
        while (!Query->Eof()) {
            Combo->addItem(Query->FieldByName(FieldName)->AsString(),
                           DataField.isEmpty() ? QVariant() : QVariant(Query->FieldByName(DataField)->AsInteger()));
            Query->Next();
        }
    }
    Combo->setCurrentIndex(0);
}

void SelectComboText(QComboBox* Combo, const QString& Text)
{
    for (int I = 0; I < Combo->count(); ++I)
        if (Combo->itemText(I) == Text)
            Combo->setCurrentIndex(I);
}

QString InStrCondition(const QString& Column, const QString& Text)
{
    return QStringLiteral(" And (InStr(") + Column + u',' + SqlQuoted(Text) + QStringLiteral("))");
}

QAction* NewActionButton(QWidget* Owner, const char* Name, const char* Caption, const QRect& Bounds, bool Flat)
{
    auto* Action = new QAction(QString::fromUtf8(Caption), Owner);
    Action->setObjectName(QString::fromLatin1(Name));
    auto* Button = new TSpeedButton(Owner);
    Button->setObjectName(QStringLiteral("Button") + QString::fromLatin1(Name).mid(6));
    Button->SetCaption(Action->text());
    Button->SetFlat(Flat);
    Button->setGeometry(Bounds);
    Button->OnClick = [Action](QObject*) { Action->trigger(); };
    return Action;
}

bool ConfirmDelete()
{
    TMessageRequest Ask;
    Ask.Caption = QStringLiteral("删除警告");
    Ask.Text = QStringLiteral("确实要删除该记录吗？");
    Ask.Icon = miWarning;
    Ask.Buttons = {mrYes, mrNo};
    Ask.DefaultButton = mrNo;
    return TModalSeam::Ask(Ask) == mrYes;
}

bool DeleteRecord(const QString& SQL, const QString& OpenError, const TRowImage& Image)
{
    const QString Gone = QStringLiteral("找不到要删除的记录");
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, SQL, OpenError))
        return false;
    if (Q->IsEmpty()) {
        ShowMessage(Gone);
        return false;
    }
    // Read again once confirmed: the question may have waited while another
    // copy of the program changed or removed the row.
    return ConfirmDelete() && RunInTransaction([&] {
        OpenSameRow(Q, SQL, Image, Gone);
        Q->Delete();
    });
}

void OpenOrRaise(TADOQuery* Query, const QString& SQL)
{
    Query->Close();
    Query->SQL()->Clear();
    Query->SQL()->Add(SQL);
    Query->Open();
}

bool RunInTransaction(const std::function<void()>& Work, TWriter Writer)
{
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    QString Message;
    try {
        Connection->BeginTrans();
        if (Writer == TWriter::Session)
            CheckLogin();
        Work();
        Connection->CommitTrans();
        return true;
    } catch (const ESaveRefused& E) {
        Message = E.Message();
    } catch (const std::exception&) {
        Message = QStringLiteral("数据保存失败，本次修改已全部撤销");
    }
    try {
        if (Connection->InTransaction())
            Connection->RollbackTrans();
        ShareDataModule->ADOQueryTemp->Close();
    } catch (const std::exception&) {
    }
    ShowMessage(Message);
    return false;
}

bool LoadReportTemplate(TfrReport* Report, const QString& FileName)
{
    if (Report->LoadFromFile(FileName))
        return true;
    ShowMessage(QStringLiteral("找不到报表模板") + u'\n' + FileName);
    return false;
}
