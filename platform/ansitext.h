#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Text files in the system's ANSI code page: GBK, CR LF line ends, no byte-order mark.
// Every file the programs share (skin.ini, qqq.qq, QQ.QQ) has this form.
namespace platform::ansi {

inline constexpr char lineEnd[] = "\r\n";

struct Encoded {
    QByteArray bytes;
    // The characters GBK cannot hold, each once, in the order they first occur.
    QString unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};

Encoded encode(const QString &text);
QString decode(const QByteArray &bytes);

// Every line followed by CR LF, encoded as one piece.
Encoded encodeLines(const QStringList &lines);

struct FileError {
    enum Kind {
        None,
        FolderMissing,  // the folder that should hold the file does not exist
        ReadOnly,       // the file or its folder refuses writing
        NotAFile,       // the name is taken by a folder or something else
        WriteFailed,    // opening or writing failed for another reason
        NotVerified,    // the bytes were written but did not read back the same
    };
    Kind kind = None;
    QString systemMessage;  // the system's own wording, for the curious
};

struct WriteResult {
    FileError error;
    bool ok() const { return error.kind == FileError::None; }
};

// Appends already encoded bytes in a single write. On any failure the file is cut back
// to its previous length (or removed if the write created it), so no half block is left.
// Success means the bytes were read back from the end of the file.
WriteResult appendBytes(const QString &nativePath, const QByteArray &bytes);

// Replaces the whole file with one line and its CR LF.
WriteResult replaceWithLine(const QString &nativePath, const QByteArray &encodedLine);

// The first line: the text up to the first CR (a file without CR yields all of it, up to
// a sanity limit). nullopt when the file is missing, unreadable or holds no byte at all.
std::optional<QString> readFirstLine(const QString &nativePath);

// All lines, split at CR LF, lone CR or lone LF. A last line without line end counts;
// a final line end does not start another, empty line. nullopt when missing or unreadable.
std::optional<QStringList> readAllLines(const QString &nativePath);

// A short Chinese explanation of a failed write, for the notices.
QString describe(const FileError &error);

} // namespace platform::ansi
