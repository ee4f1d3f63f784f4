// Making a new database file from the schema script. Only the tool that
// delivers a database calls this; the program itself never creates tables.
#pragma once

#include <QString>

// Creates FileName and runs SchemaSql in one transaction. Raises EDatabaseError
// when the file already exists (it is never overwritten) or the script fails;
// a failed run leaves no file behind.
void CreateDatabaseFile(const QString& FileName, const QString& SchemaSql);
