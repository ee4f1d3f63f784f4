// Whole database files: our temporary files and what killed runs left of
// them, the copy of a file offered for a restore, and a backup through
// SQLite's online backup.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/db/SqliteFiles_p.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Our temporary files are hidden, ".tallybridge~" + sixteen random letters
// and digits + "~" + eight hex digits of a hash of those + ".tmp", with
// SQLite's files of that name beside them: no one names a file so, so such a
// name proves the file ours. The run that made one holds a lock on it while it
// lives; without the lock it was left by a run that was killed.
const char* const SqliteCompanions[] = {"-journal", "-wal", "-shm"};

QByteArray TempCheck(const QByteArray& Random)
{
    return QCryptographicHash::hash("Tallybridge temporary file " + Random, QCryptographicHash::Sha256).toHex().left(8);
}

QByteArray TempName(const QByteArray& Random)
{
    return ".tallybridge~" + Random + '~' + TempCheck(Random) + ".tmp";
}

QByteArray RandomLetters()
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray Random(16, '0');
    for (char& C : Random)
        C = Letters[QRandomGenerator::system()->bounded(int(sizeof Letters - 1))];
    return Random;
}

void RemoveWithCompanions(const QByteArray& Name)
{
    unlink(Name.constData());
    for (const char* Suffix : SqliteCompanions)
        unlink((Name + Suffix).constData());
}

bool SameFile(const struct stat& A, const struct stat& B)
{
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}

// Copies the regular file From into the open file To. Empty text, or why
// From could not be read (NotFile: it is no regular file); raises
// EBackupError when To cannot be written.
QString CopyFileInto(const QByteArray& From, int To, bool& NotFile)
{
    // Not blocking: a pipe is refused, not waited on.
    const int Fd = open(From.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0)
        return SystemError(errno);
    struct stat St{};
    NotFile = fstat(Fd, &St) != 0 || !S_ISREG(St.st_mode);
    QString Problem;
    std::vector<char> Block(1 << 20);
    while (!NotFile && Problem.isEmpty()) {
        const ssize_t N = read(Fd, Block.data(), Block.size());
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            if (N < 0)
                Problem = SystemError(errno);
            break;
        }
        for (ssize_t Done = 0; Done < N;) {
            const ssize_t W = write(To, Block.data() + Done, size_t(N - Done));
            if (W < 0 && errno == EINTR)
                continue;
            if (W <= 0) {
                const int Error = W < 0 ? errno : ENOSPC;
                close(Fd);
                throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                       .arg(QFile::decodeName(From), SystemError(Error)),
                                   Error);
            }
            Done += W;
        }
    }
    close(Fd);
    return Problem;
}

// Writes every page of Source into Dest in one transaction of Dest; SQLite's
// result code. Dest's busy timeout applies to its locks.
int CopyPages(sqlite3* Source, sqlite3* Dest)
{
    sqlite3_backup* Backup = sqlite3_backup_init(Dest, "main", Source, "main");
    if (!Backup)
        return sqlite3_errcode(Dest);
    const int Step = sqlite3_backup_step(Backup, -1);
    const int Finish = sqlite3_backup_finish(Backup);
    return Step == SQLITE_DONE ? Finish : Step;
}

// Copies Source into the empty file Dest; raises EBackupError.
void CopyPagesInto(sqlite3* Source, const QByteArray& Dest, const QString& FileName)
{
    sqlite3* Db = nullptr;
    int Rc = sqlite3_open_v2(Dest.constData(), &Db, SQLITE_OPEN_READWRITE, nullptr);
    // A copy that fails is thrown away whole, so it needs no journal; each
    // write then goes to the file itself, whose errno SQLite keeps.
    if (Rc == SQLITE_OK)
        Rc = sqlite3_exec(Db, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    if (Rc == SQLITE_OK)
        Rc = CopyPages(Source, Db);
    QString Message;
    int Errno = 0;
    if (Rc != SQLITE_OK) {
        Message = EngineWords(Db, Rc);
        Errno = Db ? SystemErrno(Db, Rc) : 0;
    }
    const int CloseRc = sqlite3_close_v2(Db);
    if (Rc == SQLITE_OK && CloseRc != SQLITE_OK) {
        Rc = CloseRc;
        Message = QString::fromUtf8(sqlite3_errstr(Rc));
    }
    if (Rc != SQLITE_OK)
        throw EBackupError(QStringLiteral("Cannot back up to '%1': %2").arg(FileName, Message), Errno);
}

} // namespace

TTempFile::TTempFile(const QByteArray& Folder)
{
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        const QByteArray Name = Folder + '/' + TempName(RandomLetters());
        // The usual permissions: a backup is put in place as it is.
        const int Fd = open(Name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (Fd < 0 && errno == EEXIST)
            continue;
        if (Fd < 0) {
            FError = errno;
            return;
        }
        while (flock(Fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // Another run may have found it unlocked and removed it meanwhile.
        struct stat Mine{}, Named{};
        if (fstat(Fd, &Mine) == 0 && lstat(Name.constData(), &Named) == 0 && SameFile(Mine, Named)) {
            FFd = Fd;
            FName = Name;
            return;
        }
        close(Fd);
    }
    FError = EEXIST;
}

TTempFile::~TTempFile()
{
    // A write that failed half-way may leave SQLite's journal behind.
    if (!FName.isEmpty())
        RemoveWithCompanions(FName);
    if (FFd >= 0)
        close(FFd);
}

void RemoveLeftovers(const QByteArray& Folder)
{
    static const QRegularExpression Ours(
        QStringLiteral("^(\\.tallybridge~([a-z0-9]{16})~([0-9a-f]{8})\\.tmp)(-journal|-wal|-shm)?$"));
    const QDir Dir(QFile::decodeName(Folder));
    QSet<QString> Mains;
    for (const QString& Entry :
         Dir.entryList({QStringLiteral(".tallybridge~*")}, QDir::Files | QDir::System | QDir::Hidden)) {
        const QRegularExpressionMatch M = Ours.match(Entry);
        if (M.hasMatch() && TempCheck(M.captured(2).toLatin1()) == M.captured(3).toLatin1())
            Mains.insert(M.captured(1));
    }
    for (const QString& Main : Mains) {
        const QByteArray Name = QFile::encodeName(Dir.filePath(Main));
        const int Fd = open(Name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat St{};
        // Without the file its companions are orphans; with it, the lock says
        // whether its run still lives.
        const bool Gone = Fd < 0 ? errno == ENOENT
                                 : fstat(Fd, &St) == 0 && S_ISREG(St.st_mode) && flock(Fd, LOCK_EX | LOCK_NB) == 0;
        if (Gone)
            RemoveWithCompanions(Name);
        if (Fd >= 0)
            close(Fd);
    }
}

void RemoveSqliteLeftovers(const QString& Folder)
{
    RemoveLeftovers(QFile::encodeName(Folder));
}

QByteArray FolderOf(const QByteArray& File)
{
    return QFile::encodeName(QFileInfo(QFile::decodeName(File)).absolutePath());
}

bool SameFolder(const QByteArray& A, const QByteArray& B)
{
    std::error_code Ec;
    return std::filesystem::equivalent(A.constData(), B.constData(), Ec);
}

int SystemErrno(sqlite3* Db, int Rc)
{
    const int Code = Rc & 0xff;
    // A number the file kept from an earlier failure says nothing of a
    // statement the engine itself refused.
    if (Code != SQLITE_IOERR && Code != SQLITE_CANTOPEN && Code != SQLITE_FULL)
        return 0;
    int Errno = 0;
    sqlite3_file_control(Db, "main", SQLITE_FCNTL_LAST_ERRNO, &Errno);
    // A failure of the journal's or of opening: the engine's last number.
    if (Errno == 0 && Code != SQLITE_FULL)
        Errno = sqlite3_system_errno(Db);
    // SQLite keeps no number for a disk that takes nothing more.
    if (Errno == 0 && Code == SQLITE_FULL)
        Errno = ENOSPC;
    return Errno;
}

QString SystemError(int Error)
{
    return QString::fromLocal8Bit(std::strerror(Error));
}

TDbFileCheck CopySource(const QByteArray& Source, const TTempFile& Temp)
{
    for (const char* Suffix : {"", "-journal", "-wal"}) {
        const QByteArray From = Source + Suffix;
        int To = Temp.Handle();
        if (*Suffix) {
            if (access(From.constData(), F_OK) != 0)
                continue;
            To = open((Temp.Name() + Suffix).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (To < 0) {
                const int Error = errno;
                throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                       .arg(QFile::decodeName(From), SystemError(Error)),
                                   Error);
            }
        }
        bool NotFile = false;
        QString Problem;
        try {
            Problem = CopyFileInto(From, To, NotFile);
        } catch (...) {
            if (*Suffix)
                close(To);
            throw;
        }
        if (*Suffix)
            close(To);
        if (NotFile)
            return {dfNotDatabase, QStringLiteral("'%1' is not a regular file").arg(QFile::decodeName(From)), {}, {}};
        if (!Problem.isEmpty())
            return {dfCannotOpen, Problem, {}, {}};
    }
    return {};
}

void BackupSqlite(sqlite3* Source, const QString& FileName)
{
    const QByteArray Target = QFile::encodeName(FileName);
    const QByteArray Live = sqlite3_db_filename(Source, "main");
    std::error_code Ec;
    if (std::filesystem::equivalent(Live.constData(), Target.constData(), Ec))
        throw EBackupError(QStringLiteral("'%1' is the open database itself").arg(FileName), 0);
    const QByteArray Folder = FolderOf(Target);
    RemoveLeftovers(FolderOf(Live));
    if (!SameFolder(Folder, FolderOf(Live)))
        RemoveLeftovers(Folder);
    TTempFile Temp(Folder);
    if (Temp.Name().isEmpty())
        throw EBackupError(QStringLiteral("Cannot create a file beside '%1': %2").arg(FileName, SystemError(Temp.Error())),
                           Temp.Error());
    CopyPagesInto(Source, Temp.Name(), FileName);
    if (std::rename(Temp.Name().constData(), Target.constData()) != 0) {
        const int Error = errno;
        throw EBackupError(QStringLiteral("Cannot replace '%1': %2").arg(FileName, SystemError(Error)), Error);
    }
    Temp.Release();
}
