#include "ansitext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform::ansi {

namespace {

constexpr char codePage[] = "GBK";

// A first line longer than this is no line any of our files holds; stop reading there.
constexpr qint64 firstLineLimit = 64 * 1024;

QString unencodableCharacters(const QString &text)
{
    QString found;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        QStringEncoder single(codePage);
        const QByteArray encoded = single.encode(character);  // converts only when taken
        Q_UNUSED(encoded);
        if (single.hasError() && !found.contains(character))
            found += character;
        i += length;
    }
    return found;
}

bool isReadOnly(const QFileInfo &info)
{
    // Honour the owner's write bit like the read-only attribute elsewhere: even an
    // administrator does not write into a file the user marked read-only.
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}

WriteResult failure(FileError::Kind kind, const QString &systemMessage = {})
{
    return WriteResult{FileError{kind, systemMessage}};
}

// Checks that keep us from creating or touching something the user did not mean.
std::optional<WriteResult> refuseUnwritable(const QFileInfo &info)
{
    if (info.exists() && !info.isFile())
        return failure(FileError::NotAFile);
    if (!info.absoluteDir().exists())
        return failure(FileError::FolderMissing);
    if (info.exists() && isReadOnly(info))
        return failure(FileError::ReadOnly);
    return std::nullopt;
}

bool tailMatches(const QString &nativePath, qint64 offset, const QByteArray &bytes)
{
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() != offset + bytes.size())
        return false;
    return file.seek(offset) && file.read(bytes.size()) == bytes;
}

} // namespace

Encoded encode(const QString &text)
{
    QStringEncoder encoder(codePage);
    Encoded result;
    result.bytes = encoder.encode(text);
    if (encoder.hasError())
        result.unencodable = unencodableCharacters(text);
    return result;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}

Encoded encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String(lineEnd);
    return encode(text);
}

WriteResult appendBytes(const QString &nativePath, const QByteArray &bytes)
{
    const QFileInfo info(nativePath);
    if (auto refused = refuseUnwritable(info))
        return *refused;

    const bool existed = info.exists();
    QFile file(nativePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const bool folderWritable = QFileInfo(info.absolutePath()).isWritable();
        return failure(existed || !folderWritable ? FileError::ReadOnly : FileError::WriteFailed,
                       file.errorString());
    }

    const qint64 previousLength = file.size();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString writeError = file.errorString();
    file.close();
    const bool complete = written && file.error() == QFileDevice::NoError;

    if (complete && tailMatches(nativePath, previousLength, bytes))
        return {};

    // Leave the file as it was before this write.
    if (existed)
        QFile::resize(nativePath, previousLength);
    else
        QFile::remove(nativePath);
    return failure(complete ? FileError::NotVerified : FileError::WriteFailed, writeError);
}

WriteResult replaceWithLine(const QString &nativePath, const QByteArray &encodedLine)
{
    const QFileInfo info(nativePath);
    if (auto refused = refuseUnwritable(info))
        return *refused;

    // Write a new file and swap it in, so a failure never leaves the old one half replaced.
    QSaveFile file(nativePath);
    if (!file.open(QIODevice::WriteOnly))
        return failure(FileError::ReadOnly, file.errorString());
    file.write(encodedLine);
    file.write(lineEnd, 2);
    if (!file.commit())
        return failure(FileError::WriteFailed, file.errorString());
    return {};
}

std::optional<QString> readFirstLine(const QString &nativePath)
{
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    QByteArray line;
    while (line.size() < firstLineLimit) {
        const QByteArray chunk = file.read(4096);
        if (chunk.isEmpty())
            break;
        const qsizetype cr = chunk.indexOf('\r');
        if (cr >= 0) {
            line += chunk.left(cr);
            return decode(line);
        }
        line += chunk;
    }
    if (line.isEmpty() && file.size() == 0)
        return std::nullopt;
    return decode(line.left(firstLineLimit));
}

std::optional<QStringList> readAllLines(const QString &nativePath)
{
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = decode(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QString describe(const FileError &error)
{
    switch (error.kind) {
    case FileError::None:
        return {};
    case FileError::FolderMissing:
        return QStringLiteral("文件夹不存在");
    case FileError::ReadOnly:
        return QStringLiteral("文件是只读的,或没有写入的权限");
    case FileError::NotAFile:
        return QStringLiteral("同名的文件夹已经存在,无法作为文件写入");
    case FileError::WriteFailed:
        return QStringLiteral("写入失败(%1)").arg(error.systemMessage);
    case FileError::NotVerified:
        return QStringLiteral("写入后读回的内容与写入的不一致");
    }
    return {};
}

} // namespace platform::ansi
