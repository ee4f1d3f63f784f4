#include "app/DataMaintenance.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <filesystem>
#include <unistd.h>

namespace {

const QString MdbFilter = QStringLiteral("Mdb Files (*.mdb)|*.MDB");

QString DatabaseFile()
{
    return AppPath + QStringLiteral("Tallybridge.mdb");
}

bool SameFile(const QString& A, const QString& B)
{
    std::error_code Ec;
    return std::filesystem::equivalent(QFile::encodeName(A).constData(), QFile::encodeName(B).constData(), Ec);
}

// Copies Source into Copy and makes it durable before it may replace the
// database. Empty text, or why it failed.
QString CopyInto(const QString& Source, QTemporaryFile& Copy)
{
    QFile In(Source);
    if (!In.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取所选文件（%1）").arg(In.errorString());
    while (!In.atEnd()) {
        const QByteArray Block = In.read(1 << 20);
        if (Block.isEmpty() && In.error() != QFileDevice::NoError)
            return QStringLiteral("无法读取所选文件（%1）").arg(In.errorString());
        if (Copy.write(Block) != Block.size())
            return QStringLiteral("无法复制所选文件（%1）").arg(Copy.errorString());
    }
    if (!Copy.flush() || fsync(Copy.handle()) != 0)
        return QStringLiteral("无法复制所选文件（%1）").arg(Copy.errorString());
    Copy.close();
    return QString();
}

struct TTableColumns
{
    const char* Table;
    const char* Columns; // separated by commas
};

// The program's tables and their columns, as every statement names them.
const TTableColumns Schema[] = {
    {"Power", "PowerIndex,PowerName,PowerKey,PowerPicture,PowerRange,PowerRole"},
    {"Customer", "CustomerIndex,CustomerName,CustomerOwe,CustomerPhone,CustomerFax,CustomerContact,"
                 "CustomerHandPhone,CustomerEMail,CustomerWebsite,CustomerAddress,CustomerRemark,CustomerMan"},
    {"CustomerHide", "CustomerIndex,CustomerName,CustomerOwe,CustomerPhone,CustomerFax,CustomerContact,"
                     "CustomerHandPhone,CustomerEMail,CustomerWebsite,CustomerAddress,CustomerRemark,CustomerMan"},
    {"Contact", "ContactIndex,ContactUser,ContactRecordTime,ContactCreateTime,ContactHead,ContactContent"},
    {"Bill", "BillIndex,BillKind,BillRecordTime,BillCreateTime,BillSerial,BillUser,BillSum,BillReason,BillState,"
             "BillRemark,BillMan"},
    {"MoneyTable", "MoneyIndex,MoneyAccount,MoneyBill,MoneyRecordTime,MoneyCreateTime,MoneyUser,MoneyReason,MoneyIn,"
                   "MoneyOut,MoneySum,MoneyType,MoneyToken,MoneyRemark,MoneySerial,MoneyMan"},
    {"Account", "AccountIndex,AccountName,AccountBase,AccountMan"},
    {"Parameter", "ParameterType,ParameterValue"},
    {"Setting", "SettingIndex,SettingValue"},
    {"PrintReport", "ReportEnable,ReportGrid1,ReportGrid2,ReportGrid3,ReportGrid4,ReportGrid5,ReportGrid6,"
                    "ReportGrid7,ReportGrid8,ReportGrid9"},
    {"PrintList", "ListIndex,ListValue"},
    {"PrintBigFont", "BigFontValue"},
};

// Why the copy's tables do not have exactly our columns, or empty text. A
// table of another program passes the table check and then fails every
// statement, so that no one could log in to restore again.
QString CheckColumns(const QString& FileName)
{
    TADOConnection Connection;
    Connection.SetConnectionString(JetConnectionString(FileName, DatabasePassword));
    TADOQuery Query;
    Query.SetConnection(&Connection);
    try {
        for (const TTableColumns& T : Schema) {
            const QString Table = QString::fromLatin1(T.Table);
            Query.Close();
            Query.SQL()->Clear();
            Query.SQL()->Add(QStringLiteral("PRAGMA table_info(%1)").arg(Table));
            Query.Open();
            QStringList Found;
            for (Query.First(); !Query.Eof(); Query.Next())
                Found << Query.FieldByName(QStringLiteral("name"))->AsString();
            const QStringList Expected = QString::fromLatin1(T.Columns).split(u',');
            for (const QString& Column : Expected)
                if (!Found.contains(Column, Qt::CaseInsensitive))
                    return QStringLiteral("所选数据库的数据表 %1 缺少列 %2").arg(Table, Column);
            for (const QString& Column : Found)
                if (!Expected.contains(Column, Qt::CaseInsensitive))
                    return QStringLiteral("所选数据库的数据表 %1 多出列 %2").arg(Table, Column);
        }
    } catch (const Exception& E) {
        return QStringLiteral("无法打开所选文件（%1）").arg(E.Message());
    }
    return QString();
}

// Why a restored copy is refused, or empty text when it is one of our databases.
QString CheckCopy(const QString& FileName)
{
    QStringList Tables;
    for (const TTableColumns& T : Schema)
        Tables << QString::fromLatin1(T.Table);
    const TDbFileCheck Check = TADOConnection::CheckDatabaseFile(FileName, Tables);
    switch (Check.Fault) {
    case dfNone: return CheckColumns(FileName);
    case dfCannotOpen: return QStringLiteral("无法打开所选文件（%1）").arg(Check.Detail);
    case dfNotDatabase: return QStringLiteral("所选文件不是数据库文件");
    case dfMissingTable: return QStringLiteral("所选数据库缺少数据表 %1").arg(Check.Detail);
    case dfDamaged: return QStringLiteral("所选数据库文件已损坏（%1）").arg(Check.Detail.section(u'\n', 0, 0));
    }
    return QString();
}

// The restored file needs a fresh start: the main window closes, and the
// program ends even when it would rather stay.
void EndProgram()
{
    if (TForm* Main = Application()->MainForm())
        Main->Close();
    if (!Application()->Terminated())
        Application()->Terminate();
}

} // namespace

QString BackupFolder()
{
    return AppPath + QStringLiteral("数据库备份");
}

void BackupDatabase(TSaveDialog& Dialog)
{
    const QString Folder = BackupFolder();
    if (!QDir(Folder).exists() && !QDir().mkpath(Folder)) {
        Application()->HandleException(Exception(QStringLiteral("数据库备份目录创建失败，请检查磁盘属性是否只读")));
        return;
    }
    // A short date with "/" would make the proposed name a path.
    Dialog.SetFileName(QStringLiteral("Tallybridge业务软件") + DateToStr(Date()).replace(u'/', u'-')
                       + QStringLiteral(".mdb"));
    Dialog.SetInitialDir(Folder);
    Dialog.SetDefaultExt(QStringLiteral(".mdb"));
    Dialog.SetFilter(MdbFilter);
    if (!Dialog.Execute())
        return;
    if (SameFile(Dialog.FileName(), DatabaseFile())) {
        ShowMessage(QStringLiteral("数据库备份失败：不能覆盖正在使用的数据库文件"));
        return;
    }
    try {
        ShareDataModule->ADOConnection1->BackupTo(Dialog.FileName());
    } catch (const EBackupError& E) {
        ShowMessage(QStringLiteral("数据库备份失败，失败号为：") + QString::number(E.ErrorCode()));
        return;
    } catch (const Exception& E) {
        ShowMessage(QStringLiteral("数据库备份失败：") + E.Message());
        return;
    }
    ShowMessage(QStringLiteral("恭喜您，数据库备份成功"));
}

void RestoreDatabase(TOpenDialog& Dialog)
{
    if (AskYesNo(QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？"), QStringLiteral("恢复警告")) != mrYes)
        return;
    Dialog.SetFileName(QStringLiteral("*.mdb"));
    Dialog.SetInitialDir(BackupFolder());
    Dialog.SetDefaultExt(QStringLiteral(".mdb"));
    Dialog.SetFilter(MdbFilter);
    if (!Dialog.Execute())
        return;
    const QString Live = DatabaseFile();
    const QString Failed = QStringLiteral("数据库恢复失败：");
    if (SameFile(Dialog.FileName(), Live)) {
        ShowMessage(Failed + QStringLiteral("所选文件就是正在使用的数据库文件"));
        return;
    }
    // The copy sits beside the database, so putting it in place is one rename
    // on one disk; until then the open data are untouched.
    QTemporaryFile Copy(Live + QStringLiteral(".XXXXXX"));
    if (!Copy.open()) {
        ShowMessage(Failed + QStringLiteral("无法复制所选文件（%1）").arg(Copy.errorString()));
        return;
    }
    QString Reason = CopyInto(Dialog.FileName(), Copy);
    if (Reason.isEmpty())
        Reason = CheckCopy(Copy.fileName());
    if (!Reason.isEmpty()) {
        ShowMessage(Failed + Reason);
        return;
    }
    Copy.setPermissions(QFile(Live).permissions());
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    Connection->Close();
    std::error_code Ec;
    std::filesystem::rename(QFile::encodeName(Copy.fileName()).constData(), QFile::encodeName(Live).constData(), Ec);
    try {
        Connection->Open(); // the original after a failure, else the restored data for the shutdown
    } catch (const Exception&) {
        // The program goes on or ends without the connection; the message says why.
    }
    if (Ec) {
        ShowMessage(Failed + QString::fromLocal8Bit(Ec.message().c_str()));
        return;
    }
    Copy.setAutoRemove(false);
    ShowMessage(QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件"));
    EndProgram();
}
