#include "app/SaveChecks.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/rtl/Classes.h"

#include <QComboBox>
#include <optional>

namespace {

// Numbers and dates in full, so that two values never read alike by rounding.
QString ValueText(const TField* F)
{
    if (F->IsNull())
        return QStringLiteral("<null>");
    switch (F->DataType()) {
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return QString::number(F->AsFloat(), 'g', 17);
    case ftDate:
    case ftTime:
    case ftDateTime:
        return QString::number(F->AsDateTime(), 'g', 17);
    default:
        return F->AsString();
    }
}

// The first column of SQL's first row, or nothing; a failing statement raises.
std::optional<QString> FirstValue(const QString& SQL)
{
    TADOQuery Q;
    Q.SetConnection(ShareDataModule->ADOConnection1);
    Q.SQL()->Add(SQL);
    Q.Open();
    if (Q.IsEmpty())
        return std::nullopt;
    return Q.Fields(0)->AsString();
}

} // namespace

TRowImage TRowImage::Of(const TDataSet* Row, const QString& Prefix, const QStringList& Except)
{
    TRowImage Image;
    if (!Row->Active() || Row->IsEmpty())
        return Image;
    for (int I = 0; I < Row->FieldCount(); ++I) {
        const TField* F = Row->Fields(I);
        if (F->FieldName().startsWith(Prefix) && !Except.contains(F->FieldName()))
            Image.FColumns.append({F->FieldName(), ValueText(F)});
    }
    Image.FRead = true;
    return Image;
}

bool TRowImage::Matches(const TDataSet* Row) const
{
    if (!FRead || !Row->Active() || Row->IsEmpty())
        return false;
    for (const auto& [Name, Value] : FColumns) {
        const TField* F = Row->FindField(Name);
        if (!F || ValueText(F) != Value)
            return false;
    }
    return true;
}

TStoredRow TStoredRow::Of(const TDataSet* Row, const QString& Prefix)
{
    // The owner by the name as stored, and the owner's name by index later.
    static const struct
    {
        const char* Column;
        const char* ByName;
        const char* NameOf;
    } Owners[] = {
        {"User", "Select CustomerIndex From Customer Where CustomerName = %1",
         "Select CustomerName From Customer Where CustomerIndex = %1"},
        {"Man", "Select PowerIndex From Power Where (PowerRole = '业务员') And (PowerName = %1)",
         "Select PowerName From Power Where PowerIndex = %1"},
    };
    TStoredRow Stored;
    QStringList Names;
    for (const auto& O : Owners)
        Names << Prefix + QString::fromLatin1(O.Column);
    Stored.FOther = TRowImage::Of(Row, Prefix, Names);
    if (!Stored.FOther.Read())
        return Stored;
    for (const auto& O : Owners) {
        const TField* F = Row->FindField(Prefix + QString::fromLatin1(O.Column));
        if (!F)
            continue;
        TName Name{F->FieldName(), ValueText(F), QString()};
        if (!F->IsNull() && !F->AsString().isEmpty())
            if (const std::optional<QString> Owner = FirstValue(QString::fromUtf8(O.ByName).arg(SqlQuoted(F->AsString()))))
                Name.Owner = QString::fromUtf8(O.NameOf).arg(*Owner);
        Stored.FNames.append(Name);
    }
    return Stored;
}

bool TStoredRow::Matches(const TDataSet* Row) const
{
    if (!FOther.Matches(Row))
        return false;
    for (const TName& Name : FNames) {
        const TField* F = Row->FindField(Name.Column);
        if (!F)
            return false;
        if (ValueText(F) == Name.Value)
            continue;
        if (Name.Owner.isEmpty() || F->IsNull() || FirstValue(Name.Owner) != F->AsString())
            return false;
    }
    return true;
}

void OpenSameRow(TADOQuery* Query, const QString& SQL, const TRowImage& Image, const QString& Gone)
{
    OpenOrRaise(Query, SQL);
    if (Query->IsEmpty())
        throw ESaveRefused(Gone);
    if (!Image.Matches(Query))
        throw ESaveRefused(RecordChanged);
}

TCustomerChoice TCustomerChoice::Listed(const QComboBox* Box)
{
    TCustomerChoice Choice;
    for (int I = 0; I < Box->count(); ++I)
        Choice.Offered << Box->itemText(I);
    return Choice;
}

void CheckCustomerName(const QString& Name, const TCustomerChoice& Choice)
{
    if (Choice.Index != 0 && Name == Choice.Name) {
        if (FirstValue(QStringLiteral("Select CustomerName From Customer Where CustomerIndex = %1").arg(Choice.Index))
            != Name)
            throw ESaveRefused(CustomerChanged);
        return;
    }
    if (Choice.Offered.contains(Name)
        && !FirstValue(QStringLiteral("Select CustomerIndex From Customer Where CustomerName = ") + SqlQuoted(Name)))
        throw ESaveRefused(CustomerChanged);
}

void CheckLogin()
{
    if (CurrentRole != QStringLiteral("业务员"))
        return;
    // By the slot he logged in with: another copy may have renamed him and
    // given his old name to another slot.
    const std::optional<QString> Name = FirstValue(
        QStringLiteral("Select PowerName From Power Where (PowerRole = '业务员') And (PowerIndex = %1)").arg(CurrentSlot));
    // The session's name is compared as it stands, letter case too.
    if (Name != CurrentUser)
        throw ESaveRefused(SalesmanRenamed);
}
