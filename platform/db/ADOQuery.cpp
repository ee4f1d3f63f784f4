// TADOQuery: snapshot loading and write-back through the connection's engine.
#include "platform/db/ADOQuery.h"

#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

TADOQuery::TADOQuery(QObject* AOwner)
    : TDataSet(AOwner), FSQL(std::make_unique<TStringList>()), FInfo(std::make_unique<TSnapshotInfo>())
{
    // New text means a new query: the old snapshot no longer answers it.
    FSQL->OnChange = [this](TStrings*) { Close(); };
}

TADOQuery::~TADOQuery()
{
    if (FConnection)
        FConnection->UnregisterDataSet(this);
}

TADOConnection* TADOQuery::Connection() const
{
    return FConnection;
}

void TADOQuery::SetConnection(TADOConnection* Value)
{
    if (Value == FConnection)
        return;
    Close();
    if (FConnection)
        FConnection->UnregisterDataSet(this);
    FConnection = Value;
    if (FConnection)
        FConnection->RegisterDataSet(this);
}

TStrings* TADOQuery::SQL() const
{
    return FSQL.get();
}

QString TADOQuery::UpdateTable() const
{
    return Active() ? FInfo->Table : QString();
}

TADOConnection* TADOQuery::CheckConnection() const
{
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("%1: Missing Connection or ConnectionString").arg(objectName()));
    return FConnection;
}

int TADOQuery::ExecSQL()
{
    const QString Text = FSQL->Text().trimmed();
    if (Text.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: CommandText is empty").arg(objectName()));
    FRowsAffected = CheckConnection()->Engine()->Execute(Text);
    return FRowsAffected;
}

void TADOQuery::InternalOpen()
{
    const QString Text = FSQL->Text().trimmed();
    if (Text.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: CommandText is empty").arg(objectName()));
    TDbEngine* Engine = CheckConnection()->Engine();
    Engine->Select(Text, Store(), *FInfo);
    FieldDefs()->Clear();
    for (int i = 0; i < FInfo->Defs.Count(); ++i)
        FieldDefs()->Add(FInfo->Defs.Items(i));
}

void TADOQuery::InternalClose()
{
    TDataSet::InternalClose();
    *FInfo = TSnapshotInfo();
}

bool TADOQuery::InternalCanModify() const
{
    return !FInfo->Table.isEmpty() && FConnection && FConnection->Connected();
}

void TADOQuery::InternalPost(uint32_t Row, bool Inserting, const std::vector<bool>& Changed)
{
    TDbEngine* Engine = CheckConnection()->Engine();
    if (Inserting)
        Engine->InsertRow(*FInfo, Store(), Row, Changed);
    else
        Engine->UpdateRow(*FInfo, Store(), Row, Changed);
}

void TADOQuery::InternalDelete(uint32_t Row)
{
    CheckConnection()->Engine()->DeleteRow(*FInfo, Store(), Row);
}
