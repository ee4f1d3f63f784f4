// A run of this very test program as the other side of a test: a second copy
// of the program on the same database, or a run that is killed half-way.
#pragma once

#include <QProcessEnvironment>
#include <QString>

// The environment such a run starts with. The run may be killed, so its own
// temporary folders (a fixture's program folder, the settings folder) are
// made in TempFolder, which the test removes.
inline QProcessEnvironment ChildRunEnvironment(const QString& TempFolder)
{
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    // A shard of this program would run the other side's test in only one shard.
    for (const char* Name : {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX", "GTEST_OUTPUT"})
        Env.remove(QString::fromLatin1(Name));
    Env.insert(QStringLiteral("TMPDIR"), TempFolder);
    return Env;
}
