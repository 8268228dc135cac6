#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

uint8_t Input::takeByte()
{
    if (m_size == 0)
        return 0;
    const uint8_t byte = *m_data;
    ++m_data;
    --m_size;
    return byte;
}

uint16_t Input::takeWord()
{
    const uint16_t low = takeByte();
    return uint16_t(low | takeByte() << 8);
}

int32_t Input::takeInt()
{
    const uint32_t low = takeWord();
    return int32_t(low | uint32_t(takeWord()) << 16);
}

QByteArray Input::rest() const
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(m_data), qsizetype(m_size));
}

QByteArray Input::restRepeated(int times, qsizetype limit) const
{
    const QByteArray once = rest();
    if (once.isEmpty())
        return {};
    // Only as many copies as the limit can hold are made.
    const qsizetype needed = (limit + once.size() - 1) / once.size();
    return once.repeated(qMin<qsizetype>(times, needed)).left(limit);
}

QString Input::restAsText() const
{
    QString text(qsizetype(m_size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(m_data[2 * i] | m_data[2 * i + 1] << 8));
    return text;
}

namespace {

QTemporaryDir *scratch = nullptr;

} // namespace

void isolate()
{
    // Qt's warnings about broken input would fill the log thousands of times a second; a fatal
    // message still ends the run, and libFuzzer keeps the input.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    });
    // Lives until the process ends: libFuzzer never returns from its loop.
    scratch = new QTemporaryDir;
    require(scratch->isValid(), "a temporary folder can be made");
    const QString base = scratch->path();
    for (const char *folder : {"home", "config", "data", "cache", "wine"})
        QDir(base).mkpath(QLatin1String(folder));
    qputenv("HOME", QFile::encodeName(base + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + QStringLiteral("/cache")));
    qputenv("WINEPREFIX", QFile::encodeName(base + QStringLiteral("/wine")));
}

QString scratchFolder()
{
    require(scratch != nullptr, "isolate() ran first");
    return scratch->path();
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchFolder() + u'/' + name;
    // Plain stdio: fast, and nothing of the code under test takes part in writing the file.
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    require(file != nullptr, "the scratch file can be opened");
    const size_t written = bytes.isEmpty() ? 0 : std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    require(std::fclose(file) == 0 && written == size_t(bytes.size()), "the scratch file can be written");
    return path;
}

void require(bool holds, const char *invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "\n*** invariant broken: %s\n", invariant);
    std::abort();
}

namespace {

size_t allocationLimit = 0;

} // namespace

void refuseAllocationsOver(size_t limit)
{
    allocationLimit = limit;
    __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void *, size_t size) {
            if (size > allocationLimit) {
                std::fprintf(stderr, "\n*** invariant broken: an allocation of %zu bytes passes the limit of %zu\n",
                             size, allocationLimit);
                std::abort();
            }
        },
        [](const volatile void *) {});
}

namespace {

bool isLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

// Lines the bytes hold when split at CR LF, lone CR and lone LF: each line end closes one,
// and a last line without its end counts too.
qsizetype lineCount(const QByteArray &bytes)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!isLineEnd(bytes.at(i)))
            continue;
        ++count;
        if (bytes.at(i) == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
    }
    return count + (!bytes.isEmpty() && !isLineEnd(bytes.back()) ? 1 : 0);
}

} // namespace

void requireLinesWithinCap(const QStringList &lines, const QByteArray &content, qint64 cap)
{
    qint64 decodedUnits = 0;
    for (const QString &line : lines) {
        require(!line.contains(u'\r') && !line.contains(u'\n'), "no line holds CR or LF");
        decodedUnits += line.size();
    }
    // Every line but perhaps the last was followed by at least one byte of line end, and no
    // byte decodes to more than one UTF-16 unit: more than this means bytes past the cap.
    const qint64 bytesUsed = decodedUnits + qMax<qint64>(0, lines.size() - 1);
    require(bytesUsed <= qMin<qint64>(cap, content.size()), "nothing past the cap is read");

    // What the reader may use: all of a file within the cap, else the lines that end inside it.
    QByteArray inside = content;
    if (content.size() > cap) {
        inside.truncate(cap);
        inside.truncate(qMax(inside.lastIndexOf('\r'), inside.lastIndexOf('\n')) + 1);
    }
    require(lines.size() == lineCount(inside),
            "one line per line end, a final CR LF starting no empty line, a cut line left out");
}

} // namespace fuzz
