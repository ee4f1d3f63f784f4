#include "app/DataMaintenance.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "SchemaSql.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Forms.h"
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

// Why a restored copy is refused, or empty text when it is one of our databases.
QString CheckCopy(const QString& FileName)
{
    const QString Schema = QString::fromUtf8(reinterpret_cast<const char*>(SchemaSqlBytes));
    const TDbFileCheck Check = TADOConnection::CheckDatabaseFile(FileName, Schema);
    switch (Check.Fault) {
    case dfNone: return QString();
    case dfCannotOpen: return QStringLiteral("无法打开所选文件（%1）").arg(Check.Detail);
    case dfNotDatabase: return QStringLiteral("所选文件不是数据库文件");
    case dfMissingTable: return QStringLiteral("所选数据库缺少数据表 %1").arg(Check.Detail);
    case dfMissingColumn: return QStringLiteral("所选数据库的数据表 %1 缺少列 %2").arg(Check.Detail, Check.Column);
    case dfExtraColumn: return QStringLiteral("所选数据库的数据表 %1 多出列 %2").arg(Check.Detail, Check.Column);
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
