// tallybridge-newdb PATH: delivers a new, empty Tallybridge database. Refuses
// to touch an existing file.
#include "SchemaSql.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/SysUtils.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintUsage(std::FILE* To)
{
    std::fputs("usage: tallybridge-newdb PATH\n"
               "Makes a new Tallybridge database at PATH from the delivered schema; an existing file is never\n"
               "overwritten. A PATH that begins with \"-\" is written \"./-...\".\n",
               To);
}

} // namespace

int main(int argc, char** argv)
{
    // "--help" and every other option: no database is named so.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        PrintUsage(stderr);
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
