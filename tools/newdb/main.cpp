// tallybridge-newdb PATH: delivers a new, empty Tallybridge database. Refuses
// to touch an existing file.
#include "SchemaSql.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/SysUtils.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallybridge-newdb PATH\n");
        return 2;
    }
    const QString Path = QString::fromLocal8Bit(argv[1]);
    try {
        CreateDatabaseFile(Path, QString::fromUtf8(reinterpret_cast<const char*>(SchemaSqlBytes)));
    } catch (const Exception& E) {
        std::fprintf(stderr, "tallybridge-newdb: %s\n", E.what());
        return 1;
    }
    return 0;
}
