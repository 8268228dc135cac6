#include "settings.h"

#include "textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace platform::settings {

// The store is the INI file QSettings keeps, <config>/<name>/<name>.conf, in its format, so a
// store written before stays valid. It is read and written here because QSettings opens it
// blocking (a pipe in its place holds the window for ever), waits on a lock file beside it,
// reads it whole and replaces whatever a link leads to, a device included.
namespace {

QString storeFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + storeName() + u'/'
        + storeName() + QStringLiteral(".conf");
}

bool isPlain(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-'
        || c == u'.';
}

// A key or section name as QSettings writes it: "%U5728" for 在, "%20" for a blank.
QByteArray escapedName(const QString &name)
{
    QByteArray escaped;
    for (const QChar c : name) {
        const char16_t unit = c.unicode();
        if (unit == u'/')
            escaped += '\\';
        else if (isPlain(unit))
            escaped += char(unit);
        else if (unit <= 0xFF)
            escaped += '%' + QByteArray::number(unit, 16).toUpper().rightJustified(2, '0');
        else
            escaped += "%U" + QByteArray::number(unit, 16).toUpper().rightJustified(4, '0');
    }
    return escaped;
}

// A name as QSettings reads it: escapes, and plain bytes as UTF-8.
QString unescapedName(QByteArray bytes)
{
    bytes = bytes.trimmed();
    QString name;
    QByteArray plain;
    const auto flush = [&] {
        name += QString::fromUtf8(plain);
        plain.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        const int digits = c != '%' ? 0 : (i + 1 < bytes.size() && bytes.at(i + 1) == 'U') ? 4 : 2;
        bool isNumber = false;
        const uint unit = digits ? bytes.mid(i + 1 + (digits == 4), digits).toUInt(&isNumber, 16) : 0;
        if (digits && isNumber && i + digits + (digits == 4) < bytes.size()) {
            flush();
            name += QChar(char16_t(unit));
            i += digits + (digits == 4);
        } else if (c == '\\') {
            flush();
            name += u'/';
        } else {
            plain += c;
        }
    }
    flush();
    return name;
}

// A value as QSettings writes a string: bare when that cannot be misread, else quoted.
QByteArray escapedValue(const QString &value)
{
    if (!value.isEmpty() && std::all_of(value.cbegin(), value.cend(), [](QChar c) { return isPlain(c.unicode()); }))
        return value.toLatin1();
    QByteArray quoted = value.toUtf8();
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + '"';
}

QString unescapedValue(QByteArray bytes)
{
    bytes = bytes.trimmed();
    if (bytes.size() >= 2 && bytes.startsWith('"') && bytes.endsWith('"'))
        bytes = bytes.mid(1, bytes.size() - 2).replace("\\\"", "\"").replace("\\\\", "\\");
    return QString::fromUtf8(bytes);
}

// The store's lines as they are, each with its own line end, and where the entry stands.
struct Store {
    QList<QByteArray> lines;
    qsizetype entryLine = -1; // the last line that sets the entry (QSettings takes the last)
    qsizetype sectionEnd = -1; // after the last line of the entry's section
    QString value;
};

Store parse(const QByteArray &bytes, const QString &section, const QString &key)
{
    Store store;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        store.lines << bytes.mid(start, next - start);
        start = next;
    }
    bool inSection = false;
    for (qsizetype i = 0; i < store.lines.size(); ++i) {
        const QByteArray line = store.lines.at(i).trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            inSection = unescapedName(line.mid(1, line.size() - 2)) == section;
            if (inSection)
                store.sectionEnd = i + 1;
            continue;
        }
        if (!inSection || line.isEmpty())
            continue;
        store.sectionEnd = i + 1;
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && unescapedName(line.left(equals)) == key) {
            store.entryLine = i;
            store.value = unescapedValue(line.mid(equals + 1));
        }
    }
    return store;
}

// The store as far as it can be used: nullopt when there is none to read at the name, or what
// is there is no store of ours. Lines the byte limit cuts are left out.
std::optional<QByteArray> readStore(const QString &file)
{
    std::optional<QByteArray> bytes = textfile::readStartOfFile(file, storeByteLimit + 1);
    if (bytes && bytes->size() > storeByteLimit)
        bytes->truncate(bytes->lastIndexOf('\n', storeByteLimit - 1) + 1);
    return bytes;
}

} // namespace

QString read(const QString &section, const QString &key, const QString &fallback)
{
    const std::optional<QByteArray> bytes = readStore(storeFile());
    if (!bytes)
        return fallback;
    const Store store = parse(*bytes, section, key);
    return store.entryLine >= 0 ? store.value : fallback;
}

bool write(const QString &section, const QString &key, const QString &value)
{
    const QString file = storeFile();
    const QFileInfo there(file);
    std::optional<QByteArray> bytes = textfile::readStartOfFile(file, storeByteLimit + 1);
    if (!bytes) {
        // Only a missing store is made anew; whatever else stands there is left alone.
        if (there.exists() || there.isSymLink())
            return false;
        bytes.emplace();
    }
    if (bytes->size() > storeByteLimit)
        return false; // its tail could not be kept

    Store store = parse(*bytes, section, key);
    if (store.entryLine >= 0 && store.value == value)
        return true; // the tips box writes its value at every start; most often it is there
    const QByteArray line = escapedName(key) + '=' + escapedValue(value) + '\n';
    if (store.entryLine >= 0) {
        store.lines[store.entryLine] = line;
    } else if (store.sectionEnd >= 0) {
        store.lines.insert(store.sectionEnd, line);
    } else {
        if (!store.lines.isEmpty() && !store.lines.last().endsWith('\n'))
            store.lines.last() += '\n';
        if (!store.lines.isEmpty())
            store.lines << "\n";
        store.lines << '[' + escapedName(section) + "]\n" << line;
    }
    if (store.sectionEnd >= 0 && store.entryLine < 0 && !store.lines.at(store.sectionEnd - 1).endsWith('\n'))
        store.lines[store.sectionEnd - 1] += '\n';

    QDir().mkpath(there.path());
    return textfile::replaceContent(file, store.lines.join()).ok();
}

} // namespace platform::settings
