#include "textfile_system.h"

#include "ansitext.h"

#include <QDir>

namespace platform::ansi {

namespace {

// The line starting at start: where it ends, before CR LF, a lone CR or a lone LF, and where
// the next one starts. GBK's second bytes are never CR or LF, so bytes split as text does.
struct LineSpan {
    qsizetype end;
    qsizetype next;
};
LineSpan lineFrom(const QByteArray &bytes, qsizetype start)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype end = start;
    while (end < size && data[end] != '\r' && data[end] != '\n')
        ++end;
    if (end == size)
        return {end, end};
    return {end, end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1)};
}

} // namespace

WriteResult failure(FileError::Kind kind, const QString &systemMessage)
{
    return WriteResult{FileError{kind, systemMessage, {}}};
}

QByteArray wholeLinesWithin(QByteArray bytes, qint64 byteLimit)
{
    if (bytes.size() > byteLimit) {
        bytes.truncate(byteLimit);
        bytes.truncate(qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    }
    return bytes;
}

qsizetype firstLineEnd(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\r' || bytes.at(i) == '\n')
            return i;
    }
    return -1;
}

void interleaveAppend(const QString &nativePath)
{
    if (const AppendInterleave *interleave = AppendInterleave::active())
        interleave->run(nativePath);
}

std::optional<QStringList> readAllLines(const QString &nativePath, qint64 byteLimit)
{
    const std::optional<TextLines> lines = readLines(nativePath, byteLimit);
    if (!lines)
        return std::nullopt;
    return lines->toList();
}

TextLines::TextLines(QByteArray bytes) : m_bytes(std::move(bytes))
{
    m_bytes.squeeze();
    for (qsizetype start = 0; start < m_bytes.size(); start = lineFrom(m_bytes, start).next) {
        if (m_count % landmarkStep == 0)
            m_landmarks << start;
        ++m_count;
    }
}

QStringList TextLines::toList() const
{
    QStringList all;
    all.reserve(m_count);
    for (qsizetype start = 0; start < m_bytes.size();) {
        const LineSpan line = lineFrom(m_bytes, start);
        all << decode(m_bytes.sliced(start, line.end - start));
        start = line.next;
    }
    return all;
}

QString TextLines::at(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_count);
    qsizetype start = m_landmarks.at(index / landmarkStep);
    for (qsizetype skipped = 0; skipped < index % landmarkStep; ++skipped)
        start = lineFrom(m_bytes, start).next;
    return decode(m_bytes.sliced(start, lineFrom(m_bytes, start).end - start));
}

AppendInterleave::AppendInterleave(std::function<void(const QString &)> action) : m_action(std::move(action))
{
}

AppendInterleave::~AppendInterleave() = default;

WriteResult replaceWithLine(const QString &nativePath, const QByteArray &encodedLine)
{
    return replaceContent(nativePath, encodedLine + lineEnd);
}

namespace {

QString reason(const FileError &error)
{
    switch (error.kind) {
    case FileError::None:
        return {};
    case FileError::FolderMissing:
        return QStringLiteral("文件夹不存在");
    case FileError::FolderUnreachable:
        return QStringLiteral("无法进入文件所在的文件夹,没有访问它的权限");
    case FileError::NameTooLong:
        return QStringLiteral("文件夹或文件的名称太长,系统不允许");
    case FileError::ReadOnly:
        return QStringLiteral("文件是只读的,或没有写入的权限");
    case FileError::FolderReadOnly:
        // Said of the folder: the file the notice names does not exist yet.
        return QStringLiteral("文件还不存在,而它所在的文件夹是只读的,或没有在其中新建文件的权限");
    case FileError::Unreadable:
        return QStringLiteral("文件不允许读取,写入后无法核对内容");
    case FileError::NotAFile:
        return QStringLiteral("同名的文件夹已经存在,无法作为文件写入");
    case FileError::NotRegular:
        return QStringLiteral("这不是一个普通的文件(而是设备或管道等),无法写入");
    case FileError::IsLink:
        return QStringLiteral("这个文件是一个链接,指向%1,为了不改动别处的文件,不会通过它写入")
            .arg(QDir::toNativeSeparators(error.linkTarget));
    case FileError::DiskFull:
        return QStringLiteral("磁盘已满(%1)").arg(error.systemMessage);
    case FileError::TooLarge:
        return QStringLiteral("文件超过了系统允许的大小(%1)").arg(error.systemMessage);
    case FileError::WriteFailed:
        return QStringLiteral("写入失败(%1)").arg(error.systemMessage);
    case FileError::NotVerified:
        return QStringLiteral("写入后读回的内容与写入的不一致");
    case FileError::ChangedMeanwhile:
        return QStringLiteral("写入时有其他程序同时改动了这个文件,为了不删除它写入的内容,文件保持现状");
    case FileError::LinkBroken:
        return QStringLiteral("这个文件是一个链接,指向%1,而那里没有文件,为了不在别处新建文件,不会通过它写入")
            .arg(error.linkTarget);
    case FileError::LinkLoop:
        return QStringLiteral("这个文件是一个链接,指向%1,它经过的链接最后又指回了自己,找不到真正的文件")
            .arg(error.linkTarget);
    case FileError::LinkToNonFile:
        return QStringLiteral("这个文件是一个链接,指向%1,那里不是一个普通的文件(而是文件夹、设备或管道等),无法写入")
            .arg(error.linkTarget);
    case FileError::FolderRemoved:
        return QStringLiteral("文件所在的文件夹已经不存在了,它在程序运行时被删除了");
    }
    return {};
}

bool isAboutTheLink(FileError::Kind kind)
{
    return kind == FileError::IsLink || kind == FileError::LinkBroken || kind == FileError::LinkLoop
        || kind == FileError::LinkToNonFile;
}

}  // namespace

QString describe(const FileError &error)
{
    if (error.linkTarget.isEmpty() || isAboutTheLink(error.kind))
        return reason(error);
    return reason(error) + QStringLiteral("(这个文件是一个链接,指向%1)").arg(error.linkTarget);
}

} // namespace platform::ansi
