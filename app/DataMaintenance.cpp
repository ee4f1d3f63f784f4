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
#include <filesystem>

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

// Why a file offered for a restore was refused, or empty text when it was one
// of our databases.
QString RefusalText(const TDbFileCheck& Check)
{
    switch (Check.Fault) {
    case dfNone: return QString();
    case dfCannotOpen: return QStringLiteral("无法打开所选文件（%1）").arg(Check.Detail);
    case dfNotDatabase: return QStringLiteral("所选文件不是数据库文件");
    case dfMissingTable: return QStringLiteral("所选数据库缺少数据表 %1").arg(Check.Detail);
    case dfMissingColumn: return QStringLiteral("所选数据库的数据表 %1 缺少列 %2").arg(Check.Detail, Check.Column);
    case dfExtraColumn: return QStringLiteral("所选数据库的数据表 %1 多出列 %2").arg(Check.Detail, Check.Column);
    case dfDamaged: return QStringLiteral("所选数据库文件已损坏（%1）").arg(Check.Detail.section(u'\n', 0, 0));
    case dfExtraTrigger: return QStringLiteral("所选数据库多出触发器 %1").arg(Check.Detail);
    case dfExtraView: return QStringLiteral("所选数据库多出视图 %1").arg(Check.Detail);
    case dfBadValue: return QStringLiteral("所选数据库的数据表 %1 中有本程序不能保存的数据（%2）").arg(Check.Detail, Check.Column);
    case dfNoRoom: return QStringLiteral("所选数据库的数据表 %1 的编号已用完").arg(Check.Detail);
    case dfInUse: return QStringLiteral("所选文件正被另一个程序写入，当前数据未作改变，请稍后再试");
    }
    return QString();
}

// A backup's or restore's write that failed: the system's error number where
// the system refused it, else the engine's words.
QString WriteFailure(const QString& Work, const EBackupError& E)
{
    return E.ErrorCode() != 0 ? Work + QStringLiteral("失败，失败号为：") + QString::number(E.ErrorCode())
                              : Work + QStringLiteral("失败：") + E.Message();
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
        ShowMessage(WriteFailure(QStringLiteral("数据库备份"), E));
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
    // Written into the open database, so that no other copy of the program
    // writing at the time is cut off, every copy reads the restored data, and
    // no index another copy was handed is handed out again.
    const QString Schema = QString::fromUtf8(reinterpret_cast<const char*>(SchemaSqlBytes));
    TDbFileCheck Check;
    try {
        Check = ShareDataModule->ADOConnection1->RestoreFrom(Dialog.FileName(), Schema);
    } catch (const EBackupError& E) {
        ShowMessage(E.Busy() ? Failed + QStringLiteral("另一个程序正在写入数据库，当前数据未作改变，请稍后再试")
                             : WriteFailure(QStringLiteral("数据库恢复"), E));
        return;
    } catch (const Exception& E) {
        ShowMessage(Failed + E.Message());
        return;
    }
    if (Check.Fault != dfNone) {
        ShowMessage(Failed + RefusalText(Check));
        return;
    }
    // Text of another encoding was converted on the way in; the user is told.
    ShowMessage(QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件")
                + (Check.Encoding.isEmpty()
                       ? QString()
                       : QStringLiteral("\n所选数据库的文字编码为 %1，已转换为 UTF-8").arg(Check.Encoding)));
    EndProgram();
}
