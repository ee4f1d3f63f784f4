// A fresh database made from the delivered schema, for the benchmarks that
// fill one with generated rows.
#pragma once

#include "platform/db/NewDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

inline void CreateDeliveredDatabase(const QString& Path)
{
    QFile Schema(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../resources/schema.sql")));
    if (!Schema.open(QIODevice::ReadOnly))
        std::abort();
    CreateDatabaseFile(Path, QString::fromUtf8(Schema.readAll()));
}
