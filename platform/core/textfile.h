#pragma once

#include "platform/core/scopedoverride.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Reading and writing the programs' small text files (skin.ini, qqq.qq, QQ.QQ) so that a
// failure never leaves a file half written and never blocks on something that is no file.
// Paths are file names of the running system (see winpath.h for the Windows-style ones).
namespace platform::textfile {

struct FileError {
    enum Kind {
        None,
        FolderMissing, // the folder that should hold the file does not exist
        FolderUnreachable, // the folder exists but may not be entered
        NameTooLong, // a name in the path is longer than the system allows
        ReadOnly, // the file refuses writing
        FolderReadOnly, // there is no file yet, and its folder takes no new one
        Unreadable, // the file may not be read, so a write could not be checked
        NotAFile, // the name is taken by a folder
        NotRegular, // the name is a device, a pipe or a socket
        IsLink, // a symbolic link where the file itself was expected
        LinkBroken, // a link to a name where nothing is
        LinkLoop, // a link that, through other links, leads back to itself
        LinkToNonFile, // a link to a folder, a device, a pipe or a socket
        FolderRemoved, // the working folder was deleted while the program ran
        DiskFull, // no room left on the disk
        TooLarge, // the file would pass the size the system allows
        WriteFailed, // opening or writing failed for another reason
        NotVerified, // the bytes were written but did not read back the same
        ChangedMeanwhile, // another program changed the file while we wrote; left as it is
    };
    Kind kind = None;
    QString systemMessage; // the system's own wording of the failure, when there was one
    QString linkTarget; // when the name is a link: where it points
};

struct WriteResult {
    FileError error;
    bool ok() const { return error.kind == FileError::None; }
};

// Appends the bytes in a single write. A symbolic link in the file's place is refused, also
// one swapped in just before the write. On failure the file is cut back to its previous
// length, or removed if the write created it; bytes another program appended meanwhile are
// never cut. Success means our bytes were read back from where they landed.
WriteResult appendBytes(const QString &nativePath, const QByteArray &bytes);

// What replaceContent does with a symbolic link in the file's place.
enum class Links {
    ToOrdinaryFiles, // written through when it leads to an ordinary file, else refused
    Refused, // always refused, also one swapped in just before the write (skin.ini's rule)
};

// Replaces the whole content, all or nothing: either the new bytes are in the file, or it
// holds what it held before. By default a link to an ordinary file is written through and
// stays a link (dotfile managers keep settings so); any other link (to nothing, to itself, to
// a folder or a device) is refused. The file keeps its permissions. The new content is written to a
// hidden file beside it and swapped in; such files left behind by a program that was killed
// meanwhile are removed. Where no new file can be made beside it, it is rewritten in place
// and its old bytes are put back if anything fails.
WriteResult replaceContent(const QString &nativePath, const QByteArray &bytes, Links links = Links::ToOrdinaryFiles);

// replaceContent with one line and its CR LF.
WriteResult replaceWithLine(const QString &nativePath, const QByteArray &encodedLine);

// The first line, up to CR LF, a lone CR or a lone LF (a file edited on Linux ends its lines
// in LF); a file without a line end yields all of it. At most firstLineLimit bytes are read.
// nullopt when the file is missing, is no ordinary file, cannot be read or holds no byte.
inline constexpr qint64 firstLineLimit = 64 * 1024;
std::optional<QString> readFirstLine(const QString &nativePath);

// At most limit bytes from the start of an ordinary file. Never waits on a pipe or a device:
// nullopt for those, and when the file is missing or cannot be read.
std::optional<QByteArray> readStartOfFile(const QString &nativePath, qint64 limit);

// All lines, split at CR LF, lone CR or lone LF. A last line without line end counts; a final
// line end does not start another, empty line. At most byteLimit bytes are read; a line cut
// by that limit is left out. nullopt when missing, no ordinary file or unreadable.
std::optional<QStringList> readAllLines(const QString &nativePath, qint64 byteLimit);

// The same lines kept as the file's bytes and where some of them start, for a file that may
// hold millions of lines: it costs little more than its size, and only a line asked for is
// decoded.
class TextLines {
public:
    TextLines() = default; // no lines
    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // The line with this index, 0 <= index < size().
    QString at(qsizetype index) const;
    // All of them, in order.
    QStringList toList() const;

private:
    friend std::optional<TextLines> readLines(const QString &nativePath, qint64 byteLimit);
    explicit TextLines(QByteArray bytes);

    // Where every landmarkStep-th line starts: finding a line passes over fewer line ends than
    // that, and a file of bare line ends costs an eighth more instead of eight times its size.
    static constexpr qsizetype landmarkStep = 64;
    QByteArray m_bytes;
    QList<qsizetype> m_landmarks;
    qsizetype m_count = 0;
};

// readAllLines as TextLines.
std::optional<TextLines> readLines(const QString &nativePath, qint64 byteLimit);

// While one exists, it runs in every append between the write and the read-back, as another
// program writing to the same file at that moment would. Tests use it.
class AppendInterleave : public ScopedOverride<AppendInterleave> {
public:
    explicit AppendInterleave(std::function<void(const QString &nativePath)> action);
    ~AppendInterleave();

    void run(const QString &nativePath) const { m_action(nativePath); }

private:
    std::function<void(const QString &)> m_action;
};

// The absolute, native form of a path, for the notices: a relative one is taken from the
// working folder, also when that folder has been deleted meanwhile.
QString absoluteNativePath(const QString &path);

} // namespace platform::textfile
