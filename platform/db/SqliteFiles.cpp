// Whole database files: our temporary files and what killed runs left of
// them, the copy of a file offered for a restore, and a backup through
// SQLite's online backup.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/db/SqliteFiles_p.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <algorithm>
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

// Copies the open file From, from its start, into the open file To. Empty
// text, or why From could not be read; raises EBackupError when To cannot be
// written.
QString CopyFileInto(int From, const QByteArray& Name, int To)
{
    std::vector<char> Block(1 << 20);
    for (off_t At = 0;;) {
        const ssize_t N = pread(From, Block.data(), Block.size(), At);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return SystemError(errno);
        if (N == 0)
            return QString();
        At += N;
        for (ssize_t Done = 0; Done < N;) {
            const ssize_t W = write(To, Block.data() + Done, size_t(N - Done));
            if (W < 0 && errno == EINTR)
                continue;
            if (W <= 0) {
                const int Error = W < 0 ? errno : ENOSPC;
                throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                       .arg(QFile::decodeName(Name), SystemError(Error)),
                                   Error);
            }
            Done += W;
        }
    }
}

// The locks SQLite's unix files take on a database: a reader holds the
// shared range for reading while it reads; a writer takes the reserved byte
// while it writes its journal, and the pending byte and the shared range for
// writing before it writes the file itself. In write-ahead logging the
// writer and the checkpoint each hold one byte of the "-shm" file.
constexpr off_t PendingByte = 0x40000000;
constexpr off_t ReservedByte = PendingByte + 1;
constexpr off_t SharedFirst = PendingByte + 2;
constexpr off_t SharedSize = 510;
constexpr off_t LogWriterByte = 120; // the checkpoint's follows it

// A lock of the open file description, not of the process: SQLite closing
// its own descriptor of the file cannot drop it, and it meets SQLite's locks
// in this process as in any other. 1: taken, 0: another holds a lock in the
// way, -1: errno tells.
int TakeLock(int Fd, short Type, off_t Start, off_t Length)
{
    struct flock L{};
    L.l_type = Type;
    L.l_whence = SEEK_SET;
    L.l_start = Start;
    L.l_len = Length;
    if (fcntl(Fd, F_OFD_SETLK, &L) == 0)
        return 1;
    return errno == EAGAIN || errno == EACCES ? 0 : -1;
}

// Whether another holds the byte At of Fd's file in any way.
bool HeldByAnother(int Fd, off_t At)
{
    struct flock L{};
    L.l_type = F_WRLCK;
    L.l_whence = SEEK_SET;
    L.l_start = At;
    L.l_len = 1;
    return fcntl(Fd, F_OFD_GETLK, &L) == 0 && L.l_type != F_UNLCK;
}

class TFd
{
public:
    explicit TFd(int Fd) : FFd(Fd) {}
    ~TFd()
    {
        if (FFd >= 0)
            close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int operator*() const { return FFd; }

private:
    int FFd;
};

enum class TTaken { Copied, Busy, Failed };

// A journal SQLite would play back before reading the file: there, not
// emptied, and no writer holding the file (its own journal is no part of
// what is committed). Read while the file is held for reading, so no one can
// play it back or begin another meanwhile.
bool HotJournal(int Db, const QByteArray& Journal)
{
    const TFd Fd(open(Journal.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    char First = 0;
    struct stat St{};
    return *Fd >= 0 && fstat(*Fd, &St) == 0 && S_ISREG(St.st_mode) && pread(*Fd, &First, 1, 0) == 1 && First != 0
        && fstat(Db, &St) == 0 && St.st_size > 0 && !HeldByAnother(Db, ReservedByte);
}

// Copies Companion of Source, if it is there, beside Temp.
TTaken CopyCompanion(const QByteArray& Source, const TTempFile& Temp, const char* Companion, QString& Problem)
{
    const QByteArray From = Source + Companion;
    const TFd Fd(open(From.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat St{};
    if (*Fd < 0 || fstat(*Fd, &St) != 0 || !S_ISREG(St.st_mode))
        return TTaken::Copied;
    const TFd To(open((Temp.Name() + Companion).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (*To < 0) {
        const int Error = errno;
        throw EBackupError(
            QStringLiteral("Cannot copy '%1' beside the database: %2").arg(QFile::decodeName(From), SystemError(Error)),
            Error);
    }
    Problem = CopyFileInto(*Fd, From, *To);
    return Problem.isEmpty() ? TTaken::Copied : TTaken::Failed;
}

// Copies the database Db (the open file Source) into Temp while holding it
// as SQLite's readers do, so that no commit falls into the copy: with the
// journal SQLite would play back, or in write-ahead logging with its log,
// then held against its writer and its checkpoints too. A log beside a file
// whose header does not say write-ahead logging is no part of it.
TTaken CopyHeld(int Db, const QByteArray& Source, const TTempFile& Temp, QString& Problem)
{
    const auto Refused = [&](int Got) {
        Problem = SystemError(errno);
        return Got == 0 ? TTaken::Busy : TTaken::Failed;
    };
    int Got = TakeLock(Db, F_RDLCK, PendingByte, 1);
    if (Got <= 0)
        return Refused(Got);
    Got = TakeLock(Db, F_RDLCK, SharedFirst, SharedSize);
    if (Got <= 0)
        return Refused(Got);
    TakeLock(Db, F_UNLCK, PendingByte, 1);
    char Header[20] = {};
    const bool Logging = pread(Db, Header, sizeof Header, 0) == sizeof Header
        && std::memcmp(Header, "SQLite format 3", 16) == 0 && Header[19] == 2;
    const QByteArray Shm = Source + "-shm";
    const TFd Log(Logging ? open(Shm.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1);
    // Without its "-shm" no one uses the log; one who begins meanwhile makes it.
    const bool Unused = Logging && *Log < 0 && errno == ENOENT;
    if (Logging && !Unused && (*Log < 0 || (Got = TakeLock(*Log, F_RDLCK, LogWriterByte, 2)) <= 0))
        return Refused(*Log < 0 ? -1 : Got);
    Problem = CopyFileInto(Db, Source, Temp.Handle());
    if (!Problem.isEmpty())
        return TTaken::Failed;
    TTaken Taken = TTaken::Copied;
    if (HotJournal(Db, Source + "-journal"))
        Taken = CopyCompanion(Source, Temp, "-journal", Problem);
    else if (Logging)
        Taken = CopyCompanion(Source, Temp, "-wal", Problem);
    if (Taken == TTaken::Copied && Unused && access(Shm.constData(), F_OK) == 0)
        return TTaken::Busy;
    return Taken;
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
    // Not blocking: a pipe is refused, not waited on.
    const TFd Db(open(Source.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (*Db < 0)
        return {dfCannotOpen, SystemError(errno), {}, {}};
    struct stat St{};
    if (fstat(*Db, &St) != 0 || !S_ISREG(St.st_mode))
        return {dfNotDatabase, QStringLiteral("'%1' is not a regular file").arg(QFile::decodeName(Source)), {}, {}};
    // As long as the program waits for another copy's write.
    const QDeadlineTimer Wait(3000);
    for (int Pause = 1;; Pause = std::min(Pause * 2, 50)) {
        QString Problem;
        const TTaken Taken = CopyHeld(*Db, Source, Temp, Problem);
        // The "-shm" file's locks went with its descriptor.
        TakeLock(*Db, F_UNLCK, 0, 0);
        if (Taken == TTaken::Copied)
            return {};
        if (Taken == TTaken::Failed)
            return {dfCannotOpen, Problem, {}, {}};
        if (Wait.hasExpired())
            return {dfInUse, QFile::decodeName(Source), {}, {}};
        for (const char* Companion : {"-journal", "-wal"})
            unlink((Temp.Name() + Companion).constData());
        if (ftruncate(Temp.Handle(), 0) != 0) {
            const int Error = errno;
            throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                   .arg(QFile::decodeName(Source), SystemError(Error)),
                               Error);
        }
        lseek(Temp.Handle(), 0, SEEK_SET);
        QThread::msleep(Pause);
    }
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
