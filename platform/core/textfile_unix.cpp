#include "textfile_system.h"

#include "access.h"
#include "ansitext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::textfile {

namespace {

QString systemMessage(int error)
{
    return qt_error_string(error);
}

FileError::Kind kindOfWriteError(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EFBIG:
        return FileError::TooLarge;
    default:
        return FileError::WriteFailed;
    }
}

WriteResult writeFailure(int error)
{
    return failure(kindOfWriteError(error), systemMessage(error));
}

// Closes a descriptor however the function that opened it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and tells whether the system reported a late write error.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What stands in the way of a new file in this folder, if anything.
std::optional<WriteResult> refuseFolder(const QString &nativePath)
{
    // The folder as the path names it: "." for a bare name, which still answers once the
    // working folder has been deleted, when no absolute path leads there any more.
    const QString folderPath = QFileInfo(nativePath).path();
    const QByteArray folder = QFile::encodeName(folderPath);
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0) {
        if (errno == EACCES)
            return failure(FileError::FolderUnreachable, systemMessage(errno));
        if (errno == ENAMETOOLONG)
            return failure(FileError::NameTooLong, systemMessage(errno));
        return failure(FileError::FolderMissing);
    }
    if (!S_ISDIR(info.st_mode))
        return failure(FileError::FolderMissing);
    if (info.st_nlink == 0)
        return failure(FileError::FolderRemoved);
    if (!userMay(Access::Enter, folderPath))
        return failure(FileError::FolderUnreachable);
    if (!userMay(Access::Write, folderPath))
        return failure(FileError::FolderReadOnly);
    if (QFileInfo(nativePath).fileName().toUtf8().size() > NAME_MAX)
        return failure(FileError::NameTooLong);
    return std::nullopt;
}

// What stands in the way of writing into an existing name, if anything.
std::optional<WriteResult> refuseExisting(const QString &path, const struct stat &info)
{
    if (S_ISLNK(info.st_mode)) {
        WriteResult link = failure(FileError::IsLink);
        link.error.linkTarget = QFileInfo(path).symLinkTarget();
        return link;
    }
    if (S_ISDIR(info.st_mode))
        return failure(FileError::NotAFile);
    if (!S_ISREG(info.st_mode))
        return failure(FileError::NotRegular);
    // A write is read back to check it, so a file that may not be read is refused too.
    if (!userMay(Access::Write, path))
        return failure(FileError::ReadOnly);
    if (!userMay(Access::Read, path))
        return failure(FileError::Unreadable);
    return std::nullopt;
}

// What stands in the way of writing the name: what is there already, or, for a new file, its
// folder. Tells the caller whether the name existed and what lstat found there.
std::optional<WriteResult> refuseWriting(const QString &path, struct stat &info, bool &existed)
{
    existed = ::lstat(QFile::encodeName(path).constData(), &info) == 0;
    return existed ? refuseExisting(path, info) : refuseFolder(path);
}

WriteResult openFailure(int error)
{
    switch (error) {
    case ELOOP:
        return failure(FileError::IsLink);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return failure(FileError::ReadOnly, systemMessage(error));
    case ENXIO:
    case ENODEV:
        return failure(FileError::NotRegular);
    case EISDIR:
        return failure(FileError::NotAFile);
    case ENOENT:
    case ENOTDIR:
        return failure(FileError::FolderMissing);
    case ENAMETOOLONG:
        return failure(FileError::NameTooLong, systemMessage(error));
    default:
        return writeFailure(error);
    }
}

// Writes everything, retrying short writes; returns the bytes written and sets error on failure.
qint64 writeAll(int fd, const char *data, qint64 size, int &error)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return done;
        }
        done += n;
    }
    return done;
}

bool writeAllAt(int fd, const QByteArray &bytes, off_t offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray readAt(int fd, qint64 size, off_t offset)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

// Opens an ordinary file for reading; a pipe or device is refused without waiting on it, and
// without being opened where it can be seen first (opening some devices acts on them).
int openForReading(const QString &nativePath)
{
    const QByteArray name = QFile::encodeName(nativePath);
    struct stat before {};
    if (::stat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode))
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads up to limit bytes from the start, or only until the first line is complete;
// nullopt when the file cannot be opened or read.
enum class Reading { Whole, FirstLine };
std::optional<QByteArray> readStart(const QString &nativePath, qint64 limit, Reading reading)
{
    const Descriptor file(openForReading(nativePath));
    if (!file.valid())
        return std::nullopt;
    QByteArray bytes;
    // Room for all of it at once: growing step by step would copy a large file several times.
    if (struct stat info{}; ::fstat(file.get(), &info) == 0)
        bytes.reserve(qsizetype(qMin<qint64>(limit, info.st_size)));
    char chunk[16 * 1024];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(file.get(), chunk, size_t(qMin<qint64>(sizeof chunk, limit - bytes.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(chunk, n);
        if (reading == Reading::FirstLine && firstLineEnd(QByteArray::fromRawData(chunk, n)) >= 0)
            break; // the rest of the file does not matter
    }
    return bytes;
}

// Removes our half-written or unverified bytes again, unless someone appended after them.
FileError::Kind rollBackAppend(int fd, const QByteArray &name, bool created, off_t ourStart, off_t ourEnd)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return FileError::None;
    if (now.st_size > ourEnd)
        return FileError::ChangedMeanwhile;
    if (created && ourStart == 0) {
        // Only the file we made: a file someone put there meanwhile stays.
        struct stat there {};
        if (::lstat(name.constData(), &there) == 0 && sameFile(there, now))
            ::unlink(name.constData());
        return FileError::None;
    }
    if (::ftruncate(fd, ourStart) != 0)
        return FileError::ChangedMeanwhile;
    return FileError::None;
}

} // namespace

WriteResult appendBytes(const QString &nativePath, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(nativePath);
    struct stat before {};
    bool existed = false;
    if (auto refused = refuseWriting(nativePath, before, existed))
        return *refused;

    // O_NOFOLLOW: a link swapped in after the checks is not followed either. O_NONBLOCK: a
    // pipe swapped in does not hang the program; it has no effect on an ordinary file.
    int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    if (!existed)
        flags |= O_CREAT | O_EXCL;
    Descriptor file(::open(name.constData(), flags, 0666));
    if (!file.valid())
        return openFailure(errno);
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return failure(FileError::NotRegular);

    int error = 0;
    const qint64 written = writeAll(file.get(), bytes.constData(), bytes.size(), error);
    // With O_APPEND the offset after the write marks where our bytes end, wherever others wrote.
    const off_t ourEnd = written > 0 ? ::lseek(file.get(), 0, SEEK_CUR) : opened.st_size;
    const off_t ourStart = ourEnd - off_t(written);

    interleaveAppend(nativePath);

    if (written == bytes.size()) {
        const Descriptor reader(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat read {};
        const bool sameInode = reader.valid() && ::fstat(reader.get(), &read) == 0 && sameFile(read, opened);
        if (sameInode && readAt(reader.get(), bytes.size(), ourStart) == bytes) {
            if (file.close())
                return {};
            error = errno;
        }
    }

    if (written > 0 || !existed) {
        const FileError::Kind rollBack = rollBackAppend(file.get(), name, !existed, ourStart, ourEnd);
        if (rollBack != FileError::None)
            return failure(rollBack);
    }
    if (error != 0)
        return writeFailure(error);
    return failure(FileError::NotVerified);
}

namespace {

// Where a replacement through the name lands: the name itself when it is no link, else the
// ordinary file its chain of links leads to. A link that leads nowhere, round in a circle or
// to anything but an ordinary file is refused, naming where it points.
std::optional<WriteResult> followLinks(const QString &nativePath, QString &end)
{
    end = nativePath;
    if (!QFileInfo(nativePath).isSymLink())
        return std::nullopt;
    const auto refused = [](FileError::Kind kind, const QString &target, int error = 0) {
        WriteResult result = failure(kind, error ? systemMessage(error) : QString());
        result.error.linkTarget = QDir::toNativeSeparators(target);
        return result;
    };
    const QString firstTarget = QFileInfo(nativePath).symLinkTarget();
    // The system itself gives up after 40 links in a row.
    for (int depth = 0; QFileInfo(end).isSymLink(); ++depth) {
        if (depth == 40)
            return refused(FileError::LinkLoop, firstTarget);
        end = QFileInfo(end).symLinkTarget();
    }
    struct stat info {};
    if (::stat(QFile::encodeName(end).constData(), &info) != 0) {
        if (errno == EACCES)
            return refused(FileError::FolderUnreachable, end, errno);
        if (errno == ELOOP)
            return refused(FileError::LinkLoop, firstTarget);
        return refused(FileError::LinkBroken, end);
    }
    if (!S_ISREG(info.st_mode))
        return refused(FileError::LinkToNonFile, end);
    return std::nullopt;
}

// Whether a name is one of the hidden files replaceBySwap writes beside the file: "." and the
// file's name, ".", and the six letters or digits mkostemp puts in.
bool isSwapFileOf(const char *entry, const QByteArray &fileName)
{
    const QByteArray name(entry);
    const QByteArray prefix = '.' + fileName + '.';
    if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
        return false;
    return std::all_of(name.cbegin() + prefix.size(), name.cend(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// Removes the hidden files of ours that a replacement left beside the file when it was killed
// half-way. A replacement locks its hidden file while it writes, and the system lets go of the
// lock when the program ends, however it ends: a file that can be locked is left over, one that
// cannot is being written right now and stays.
void removeLeftoverSwapFiles(const QString &folderPath, const QString &fileName)
{
    DIR *folder = ::opendir(QFile::encodeName(folderPath).constData());
    if (!folder)
        return;
    const QByteArray name = QFile::encodeName(fileName);
    while (const dirent *entry = ::readdir(folder)) {
        if (!isSwapFileOf(entry->d_name, name))
            continue;
        const Descriptor leftover(
            ::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (leftover.valid() && ::fstat(leftover.get(), &info) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid() && ::flock(leftover.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

// A new hidden file beside the file, locked as ours (see removeLeftoverSwapFiles); pattern
// then holds its name. -1 when none can be made there.
int makeSwapFile(QByteArray &pattern)
{
    const QByteArray unfilled = pattern;
    // Another program clearing leftovers may take the file between its making and its lock:
    // then it is gone or going, and another is made.
    for (int attempt = 0; attempt < 3; ++attempt) {
        pattern = unfilled;
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat info {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    return -1;
}

// Writes a new file beside the old one and swaps it in, so the name always holds one or the
// other. nullopt when no new file can be made there (the caller then writes in place).
std::optional<WriteResult> replaceBySwap(const QString &path, const QByteArray &bytes, const struct stat *old)
{
    const QFileInfo info(path);
    removeLeftoverSwapFiles(info.path(), info.fileName());
    QByteArray pattern =
        QFile::encodeName(info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    Descriptor file(makeSwapFile(pattern));
    if (!file.valid())
        return std::nullopt;
    const auto discard = [&pattern](int error) {
        ::unlink(pattern.constData());
        return writeFailure(error);
    };

    if (old) {
        // Keep the old file's group and permissions; its owner is us (see replaceContent).
        if (::fchown(file.get(), uid_t(-1), old->st_gid) != 0) {
            // Not a member of that group: the file takes ours, as any file we create would.
        }
        if (::fchmod(file.get(), old->st_mode & 07777) != 0)
            return discard(errno);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(file.get(), 0666 & ~mask) != 0)
            return discard(errno);
    }

    int error = 0;
    if (writeAll(file.get(), bytes.constData(), bytes.size(), error) != bytes.size())
        return discard(error);
    if (::fsync(file.get()) != 0 || !file.close())
        return discard(errno);
    if (::rename(pattern.constData(), QFile::encodeName(path).constData()) != 0)
        return discard(errno);
    return WriteResult{};
}

// Rewrites the file where it is. Only the bytes the new content covers are overwritten before
// it is checked, so putting those back restores the old file; the tail goes last.
WriteResult replaceInPlace(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    Descriptor file(::open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return openFailure(errno);
    struct stat old {};
    if (::fstat(file.get(), &old) != 0 || !S_ISREG(old.st_mode))
        return failure(FileError::NotRegular);

    const QByteArray covered = readAt(file.get(), qMin<qint64>(old.st_size, bytes.size()), 0);
    const auto restore = [&](WriteResult result) {
        writeAllAt(file.get(), covered, 0);
        if (::ftruncate(file.get(), old.st_size) != 0) {
            // Nothing more can be done; the covered bytes are back in any case.
        }
        return result;
    };

    if (covered.size() != qMin<qint64>(old.st_size, bytes.size()))
        return failure(FileError::Unreadable);
    if (!writeAllAt(file.get(), bytes, 0))
        return restore(writeFailure(errno));
    if (readAt(file.get(), bytes.size(), 0) != bytes)
        return restore(failure(FileError::NotVerified));
    if (::ftruncate(file.get(), off_t(bytes.size())) != 0)
        return restore(writeFailure(errno));
    if (::fsync(file.get()) != 0)
        return restore(writeFailure(errno));
    return {};
}

} // namespace

WriteResult replaceContent(const QString &nativePath, const QByteArray &bytes, Links links)
{
    // Where links are refused, refuseWriting below names the link; the swap renames over the
    // name itself, so a link put there meanwhile is replaced, never written through.
    QString path = nativePath;
    if (links == Links::ToOrdinaryFiles) {
        if (auto refused = followLinks(nativePath, path))
            return *refused;
    }
    // A failure at the file a link leads to says so, or the user would look at the link.
    const auto told = [&](WriteResult result) {
        if (path != nativePath)
            result.error.linkTarget = QDir::toNativeSeparators(path);
        return result;
    };
    struct stat old {};
    bool existed = false;
    if (auto refused = refuseWriting(path, old, existed))
        return told(*refused);

    // Swapping in a new file would hand someone else's file to us, or split a file that has
    // several names; those are rewritten in place.
    const bool swappable = !existed || (old.st_uid == ::geteuid() && old.st_nlink == 1);
    if (swappable) {
        if (auto swapped = replaceBySwap(path, bytes, existed ? &old : nullptr))
            return told(*swapped);
        if (!existed)
            return failure(FileError::FolderReadOnly);
    }
    return told(replaceInPlace(path, bytes));
}

std::optional<QByteArray> readStartOfFile(const QString &nativePath, qint64 limit)
{
    return readStart(nativePath, limit, Reading::Whole);
}

QString absoluteNativePath(const QString &path)
{
    if (!QDir::isRelativePath(path))
        return QDir::toNativeSeparators(path);
    QString folder;
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer)) {
        folder = QFile::decodeName(buffer);
    } else {
        // Once the working folder is deleted only Linux still names it, with a mark after it.
        const ssize_t length = ::readlink("/proc/self/cwd", buffer, sizeof buffer - 1);
        folder = length > 0 ? QFile::decodeName(QByteArray(buffer, length)) : QStringLiteral(".");
        const QString mark = QStringLiteral(" (deleted)");
        if (folder.endsWith(mark))
            folder.chop(mark.size());
    }
    return QDir::toNativeSeparators(QDir::cleanPath(folder + u'/' + path));
}

std::optional<QString> readFirstLine(const QString &nativePath)
{
    const std::optional<QByteArray> bytes = readStart(nativePath, firstLineLimit, Reading::FirstLine);
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    const qsizetype end = firstLineEnd(*bytes);
    return ansi::decode(end >= 0 ? bytes->left(end) : *bytes);
}

std::optional<TextLines> readLines(const QString &nativePath, qint64 byteLimit)
{
    // One byte more than the limit tells whether the file went on past it.
    std::optional<QByteArray> bytes = readStart(nativePath, byteLimit + 1, Reading::Whole);
    if (!bytes)
        return std::nullopt;
    return TextLines(wholeLinesWithin(std::move(*bytes), byteLimit));
}

} // namespace platform::textfile
