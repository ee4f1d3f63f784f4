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
// SQLite's result code when another connection held the database past the wait.
constexpr int SqliteBusy = 5;

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
    // Written into the open database, so that no other copy of the program
    // writing at the time is cut off and every copy reads the restored data.
    const QString Schema = QString::fromUtf8(reinterpret_cast<const char*>(SchemaSqlBytes));
    TDbFileCheck Check;
    try {
        Check = ShareDataModule->ADOConnection1->RestoreFrom(Dialog.FileName(), Schema);
    } catch (const EBackupError& E) {
        ShowMessage(Failed + (E.ErrorCode() == SqliteBusy
                                  ? QStringLiteral("另一个程序正在写入数据库，当前数据未作改变，请稍后再试")
                                  : E.Message()));
        return;
    } catch (const Exception& E) {
        ShowMessage(Failed + E.Message());
        return;
    }
    if (Check.Fault != dfNone) {
        ShowMessage(Failed + RefusalText(Check));
        return;
    }
    ShowMessage(QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件"));
    EndProgram();
}
