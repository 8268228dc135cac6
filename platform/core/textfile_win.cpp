// Windows: the same rules as on Unix through Qt's files, without the guards only POSIX offers.
#include "textfile_system.h"

#include "ansitext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform::textfile {

WriteResult appendBytes(const QString &nativePath, const QByteArray &bytes)
{
    const QFileInfo info(nativePath);
    if (info.isSymLink())
        return failure(FileError::IsLink);
    if (info.exists() && info.isDir())
        return failure(FileError::NotAFile);
    if (info.exists() && !info.isFile())
        return failure(FileError::NotRegular);
    if (!info.absoluteDir().exists())
        return failure(FileError::FolderMissing);
    if (info.exists() && !info.isWritable())
        return failure(FileError::ReadOnly);

    const bool existed = info.exists();
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return failure(existed ? FileError::ReadOnly : FileError::WriteFailed, file.errorString());
    const qint64 start = file.size();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString error = file.errorString();
    interleaveAppend(nativePath);
    if (written && file.seek(start) && file.read(bytes.size()) == bytes)
        return {};
    if (file.size() > start + bytes.size())
        return failure(FileError::ChangedMeanwhile);
    file.close();
    if (existed)
        QFile::resize(nativePath, start);
    else
        QFile::remove(nativePath);
    return failure(written ? FileError::NotVerified : FileError::WriteFailed, error);
}

WriteResult replaceContent(const QString &nativePath, const QByteArray &bytes, Links links)
{
    const QFileInfo info(nativePath);
    if (links == Links::Refused && info.isSymLink()) {
        WriteResult link = failure(FileError::IsLink);
        link.error.linkTarget = QDir::toNativeSeparators(info.symLinkTarget());
        return link;
    }
    if (info.exists() && info.isDir())
        return failure(FileError::NotAFile);
    if (!info.absoluteDir().exists())
        return failure(FileError::FolderMissing);
    if (info.exists() && !info.isWritable())
        return failure(FileError::ReadOnly);
    QSaveFile file(nativePath);
    if (!file.open(QIODevice::WriteOnly))
        return failure(FileError::ReadOnly, file.errorString());
    file.write(bytes);
    if (!file.commit())
        return failure(FileError::WriteFailed, file.errorString());
    return {};
}

std::optional<QByteArray> readStartOfFile(const QString &nativePath, qint64 limit)
{
    QFile file(nativePath);
    if (!QFileInfo(nativePath).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(limit);
}

QString absoluteNativePath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::current().absoluteFilePath(path));
}

std::optional<QString> readFirstLine(const QString &nativePath)
{
    QFile file(nativePath);
    if (!QFileInfo(nativePath).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(firstLineLimit);
    if (bytes.isEmpty())
        return std::nullopt;
    const qsizetype end = firstLineEnd(bytes);
    return ansi::decode(end >= 0 ? bytes.left(end) : bytes);
}

std::optional<TextLines> readLines(const QString &nativePath, qint64 byteLimit)
{
    QFile file(nativePath);
    if (!QFileInfo(nativePath).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return TextLines(wholeLinesWithin(file.read(byteLimit + 1), byteLimit));
}

} // namespace platform::textfile
