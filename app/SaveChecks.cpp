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

TRowImage TRowImage::Of(const TDataSet* Row, const QString& Prefix)
{
    TRowImage Image;
    if (!Row->Active() || Row->IsEmpty())
        return Image;
    for (int I = 0; I < Row->FieldCount(); ++I) {
        const TField* F = Row->Fields(I);
        if (F->FieldName().startsWith(Prefix))
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
    const std::optional<QString> Name = FirstValue(
        QStringLiteral("Select PowerName From Power Where (PowerRole = '业务员') And (PowerName = %1)")
            .arg(SqlQuoted(CurrentUser)));
    // The name column ignores letter case; the session's name is compared as it stands.
    if (Name != CurrentUser)
        throw ESaveRefused(SalesmanRenamed);
}
