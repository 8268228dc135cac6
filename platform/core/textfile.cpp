#include "textfile_system.h"

#include "ansitext.h"

namespace platform::textfile {

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
        all << ansi::decode(m_bytes.sliced(start, line.end - start));
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
    return ansi::decode(m_bytes.sliced(start, lineFrom(m_bytes, start).end - start));
}

AppendInterleave::AppendInterleave(std::function<void(const QString &)> action) : m_action(std::move(action))
{
}

AppendInterleave::~AppendInterleave() = default;

WriteResult replaceWithLine(const QString &nativePath, const QByteArray &encodedLine)
{
    return replaceContent(nativePath, encodedLine + ansi::lineEnd);
}

} // namespace platform::textfile
