// The steps of the administrator's data maintenance: backing the database file
// up into the backup folder and restoring it from a backup. No widgets: the
// maintenance page's actions call these with its dialogs. Both work on the
// shared connection and the program folder of the session.
#pragma once

#include <QString>

class TOpenDialog;
class TSaveDialog;

// The folder backups go to and come from: AppPath + "数据库备份".
QString BackupFolder();

// Asks for a file in the backup folder (made when missing) and writes a copy
// of the open database there while it stays open. A failure leaves an earlier
// file of that name as it was; the open database's own file is refused.
void BackupDatabase(TSaveDialog& Dialog);

// After the warning and the choice of a file, checks a copy of it and only
// then writes it into the open database, waiting for another copy of the
// program that is writing, so the data are never damaged. A bad file, or a
// database another program kept, is refused and the work goes on; a good one
// ends the program, which must start again on the restored data.
void RestoreDatabase(TOpenDialog& Dialog);
