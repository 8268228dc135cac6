#include "skincheck.h"

#include "platform/core/ansitext.h"
#include "skinmaker/core/blocks.h"
#include "skinmaker/core/picturefile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace skinmaker::core {

namespace {

QByteArray trimmed(const QByteArray &bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (begin < end && blank(bytes.at(begin)))
        ++begin;
    while (end > begin && blank(bytes.at(end - 1)))
        --end;
    return bytes.mid(begin, end - begin);
}

QString text(const QByteArray &bytes)
{
    return platform::ansi::decode(bytes);
}

bool isButtonSection(const QByteArray &folded)
{
    if (folded == "folder")
        return true;
    return std::any_of(buttonSections.begin(), buttonSections.end(), [&folded](const ButtonSectionBoxes &boxes) {
        return folded == QString::fromUtf16(boxes.section).toLatin1();
    });
}

// Where the client's reading of a picture name leads in the folder: exactly, or under another
// letter case. Windows names separate folders with '\'.
struct PictureSearch {
    QString exact;
    QString otherCase; // empty when there is none, or when the exact name exists
};

PictureSearch searchPicture(const QString &folder, const QString &name)
{
    QString relative = name;
    relative.replace(u'\\', u'/');
    PictureSearch search{QDir::cleanPath(QDir(folder).absoluteFilePath(relative)), {}};
    if (QFileInfo::exists(search.exact) || QFileInfo(search.exact).isSymLink())
        return search;
    QString found = QDir(folder).absolutePath();
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList entries =
            QDir(found).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        const auto match = std::find_if(entries.begin(), entries.end(), [&part](const QString &entry) {
            return entry.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end())
            return search;
        found = QDir(found).filePath(*match);
    }
    if (!parts.isEmpty())
        search.otherCase = found;
    return search;
}

std::optional<Finding> checkPicture(Finding finding, const QString &folder, const PictureDecoder &decodes)
{
    const PictureSearch search = searchPicture(folder, finding.value);
    finding.path = search.exact;
    if (!search.otherCase.isEmpty()) {
        finding.kind = Finding::PictureOtherCase;
        finding.path = search.otherCase;
        return finding;
    }
    if (!QFileInfo::exists(search.exact)) {
        finding.kind = Finding::PictureMissing;
        return finding;
    }
    if (!openPictureFile(search.exact).file) {
        finding.kind = Finding::PictureUnreadable;
        return finding;
    }
    if (decodes && !decodes(search.exact)) {
        finding.kind = Finding::PictureUndecodable;
        return finding;
    }
    return std::nullopt;
}

std::optional<Finding> checkNumber(Finding finding, const NumberRange &range, const QByteArray &value)
{
    const qsizetype digitsFrom = value.startsWith('-') ? 1 : 0;
    const bool whole = value.size() > digitsFrom
        && std::all_of(value.begin() + digitsFrom, value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!whole) {
        finding.kind = Finding::NotANumber;
        return finding;
    }
    bool fits = false;
    const qint64 number = value.toLongLong(&fits);
    if (fits && number >= range.lowest && number <= range.highest)
        return std::nullopt;
    finding.kind = Finding::NumberOutOfRange;
    finding.range = range;
    return finding;
}

struct ReadIni {
    std::optional<QByteArray> bytes;
    bool cut = false;
};

ReadIni readIni(const QString &iniPath)
{
    ReadIni read{platform::textfile::readStartOfFile(iniPath, skinIniReadLimit + 1), false};
    if (read.bytes && read.bytes->size() > skinIniReadLimit) {
        // Only whole lines count: the one the limit cuts is left out.
        read.bytes->truncate(skinIniReadLimit);
        read.bytes->truncate(read.bytes->lastIndexOf('\n') + 1);
        read.cut = true;
    }
    return read;
}

QString iniPathIn(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("skin.ini"));
}

// Why the folder cannot be checked, or Checked when it can.
SkinCheck::Status folderStatus(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return SkinCheck::FolderMissing;
    if (!info.isDir())
        return SkinCheck::NotAFolder;
    return QDir(folder).isReadable() ? SkinCheck::Checked : SkinCheck::FolderUnreadable;
}

} // namespace

QList<IniLine> parseIni(const QByteArray &bytes)
{
    QList<IniLine> lines;
    bool inSection = false;
    qsizetype start = 0;
    int number = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        IniLine line;
        line.number = ++number;
        line.text = bytes.mid(start, end - start);
        if (line.text.endsWith('\r'))
            line.text.chop(1);
        start = end + 1;

        const QByteArray content = trimmed(line.text);
        const qsizetype close = content.lastIndexOf(']');
        const qsizetype equals = content.indexOf('=');
        if (content.isEmpty()) {
            line.kind = IniLine::Blank;
        } else if (content.startsWith(';')) {
            line.kind = IniLine::Comment;
        } else if (content.startsWith('[') && close > 0) {
            line.kind = IniLine::Section;
            line.name = trimmed(content.mid(1, close - 1));
            inSection = true;
        } else if (!inSection) {
            line.kind = IniLine::BeforeSection;
        } else if (equals < 0) {
            line.kind = IniLine::NoEquals;
        } else {
            line.kind = IniLine::Entry;
            line.name = trimmed(content.left(equals));
            line.value = trimmed(content.mid(equals + 1));
        }
        lines << line;
    }
    return lines;
}

QByteArray foldName(const QByteArray &name)
{
    QByteArray folded = name;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded.at(i));
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < folded.size())
            ++i; // a GBK lead byte and the byte it leads
        else if (byte >= 'A' && byte <= 'Z')
            folded[i] = char(byte - 'A' + 'a');
    }
    return folded;
}

bool isPictureKey(const QByteArray &section, const QByteArray &key)
{
    const QByteArray foldedSection = foldName(section);
    const QByteArray foldedKey = foldName(key);
    if (foldedSection == "main")
        return foldedKey == "tile";
    if (foldedSection == "menu")
        return foldedKey == "logo";
    if (foldedSection == "skininfo")
        return foldedKey == "previewimage";
    return isButtonSection(foldedSection)
        && (foldedKey == "stretch" || foldedKey == "light_stretch" || foldedKey == "down_stretch");
}

std::optional<NumberRange> numberRange(const QByteArray &key)
{
    const QByteArray folded = foldName(key);
    if (folded == "minwidth" || folded == "minheight" || folded == "maxwidth")
        return sizeRange;
    if (folded.startsWith("color_"))
        return colourRange;
    return std::nullopt;
}

QList<Finding> checkSkinIni(const QByteArray &bytes, const QString &nativeFolder, const PictureDecoder &decodes)
{
    QList<Finding> findings;
    // The first section of each name, and the first line of each key within it.
    QHash<QByteArray, int> firstSections;
    QHash<QByteArray, QHash<QByteArray, IniLine>> readKeys;
    QByteArray section;
    bool shadowed = false;

    for (const IniLine &line : parseIni(bytes)) {
        Finding finding;
        finding.line = line.number;
        finding.section = text(section);
        if (text(line.text).contains(QChar::ReplacementCharacter)) {
            Finding invalid = finding;
            invalid.kind = Finding::InvalidGbk;
            invalid.value = text(line.text);
            findings << invalid;
        }
        switch (line.kind) {
        case IniLine::Blank:
        case IniLine::Comment:
            break;
        case IniLine::BeforeSection:
        case IniLine::NoEquals:
            finding.kind = line.kind == IniLine::NoEquals ? Finding::NoEquals : Finding::BeforeSection;
            finding.value = text(trimmed(line.text));
            findings << finding;
            break;
        case IniLine::Section: {
            section = line.name;
            const auto first = firstSections.constFind(foldName(section));
            shadowed = first != firstSections.cend();
            if (shadowed) {
                finding.kind = Finding::ShadowedSection;
                finding.section = text(section);
                finding.earlierLine = *first;
                findings << finding;
            } else {
                firstSections.insert(foldName(section), line.number);
            }
            break;
        }
        case IniLine::Entry: {
            QHash<QByteArray, IniLine> &keys = readKeys[foldName(section)];
            finding.key = text(line.name);
            finding.value = text(line.value);
            const auto earlier = keys.constFind(foldName(line.name));
            if (shadowed || earlier != keys.cend()) {
                finding.kind = Finding::ShadowedKey;
                if (earlier != keys.cend()) {
                    // The same value again changes nothing the client reads.
                    if (earlier->value == line.value)
                        break;
                    finding.earlierValue = text(earlier->value);
                    finding.earlierLine = earlier->number;
                }
                findings << finding;
                break;
            }
            keys.insert(foldName(line.name), line);
            if (line.value.isEmpty())
                break; // an empty box: the client keeps its default
            std::optional<Finding> problem;
            if (isPictureKey(section, line.name))
                problem = checkPicture(finding, nativeFolder, decodes);
            else if (const std::optional<NumberRange> range = numberRange(line.name))
                problem = checkNumber(finding, *range, line.value);
            if (problem)
                findings << *problem;
            break;
        }
        }
    }
    return findings;
}

SkinCheck checkSkinFolder(const QString &nativeFolder, const PictureDecoder &decodes)
{
    SkinCheck check;
    check.iniPath = iniPathIn(nativeFolder);
    check.status = folderStatus(nativeFolder);
    if (check.status != SkinCheck::Checked)
        return check;
    const ReadIni read = readIni(check.iniPath);
    if (!read.bytes) {
        check.status = SkinCheck::IniUnreadable;
        return check;
    }
    check.findings = checkSkinIni(*read.bytes, nativeFolder, decodes);
    if (read.cut) {
        Finding cut;
        cut.kind = Finding::ReadLimitReached;
        cut.path = check.iniPath;
        check.findings << cut;
    }
    return check;
}

QStringList repeatedSections(const QByteArray &existing, const QByteArray &block)
{
    QSet<QByteArray> present;
    for (const IniLine &line : parseIni(existing)) {
        if (line.kind == IniLine::Section)
            present.insert(foldName(line.name));
    }
    QStringList repeated;
    QSet<QByteArray> named;
    for (const IniLine &line : parseIni(block)) {
        const QByteArray folded = foldName(line.name);
        if (line.kind == IniLine::Section && present.contains(folded) && !named.contains(folded)) {
            named.insert(folded);
            repeated << text(line.name);
        }
    }
    return repeated;
}

Tidied tidyIni(const QByteArray &bytes)
{
    struct Key {
        QByteArray lastLine;
        QByteArray readValue; // what the client read before: the first in the first section
        bool read = false;
        QByteArray lastValue;
        QByteArray name;
    };
    struct Section {
        QByteArray header;
        QByteArray name;
        int count = 0;
        QList<QByteArray> keyOrder;
        QHash<QByteArray, Key> keys;
        QList<QByteArray> otherLines;
    };
    QList<QByteArray> preamble;
    QList<Section> sections;
    QHash<QByteArray, qsizetype> sectionIndex;
    qsizetype current = -1;

    for (const IniLine &line : parseIni(bytes)) {
        switch (line.kind) {
        case IniLine::Blank:
            break;
        case IniLine::BeforeSection:
            preamble << line.text;
            break;
        case IniLine::Comment:
            (current < 0 ? preamble : sections[current].otherLines) << line.text;
            break;
        case IniLine::NoEquals:
            sections[current].otherLines << line.text;
            break;
        case IniLine::Section: {
            const QByteArray folded = foldName(line.name);
            if (!sectionIndex.contains(folded)) {
                sectionIndex.insert(folded, sections.size());
                sections << Section{line.text, line.name, 0, {}, {}, {}};
            }
            current = sectionIndex.value(folded);
            ++sections[current].count;
            break;
        }
        case IniLine::Entry: {
            Section &owner = sections[current];
            const QByteArray folded = foldName(line.name);
            if (!owner.keys.contains(folded)) {
                owner.keyOrder << folded;
                // Read by the client only when it stands in the first section of the name.
                owner.keys.insert(folded, Key{{}, line.value, owner.count == 1, {}, line.name});
            }
            Key &key = owner.keys[folded];
            key.lastLine = line.text;
            key.lastValue = line.value;
            break;
        }
        }
    }

    Tidied tidied;
    QList<QByteArray> out = preamble;
    for (const Section &owner : sections) {
        out << owner.header;
        if (owner.count > 1) {
            TidyChange merged;
            merged.kind = TidyChange::SectionsMerged;
            merged.section = text(owner.name);
            merged.count = owner.count;
            tidied.changes << merged;
        }
        for (const QByteArray &folded : owner.keyOrder) {
            const Key &key = owner.keys.value(folded);
            out << key.lastLine;
            if (!key.read || key.readValue != key.lastValue) {
                TidyChange changed;
                changed.kind = TidyChange::ValueChanged;
                changed.section = text(owner.name);
                changed.key = text(key.name);
                changed.earlierValue = text(key.readValue);
                changed.value = text(key.lastValue);
                changed.earlierRead = key.read;
                tidied.changes << changed;
            }
        }
        out << owner.otherLines;
    }
    for (const QByteArray &line : out)
        tidied.bytes += line + platform::ansi::lineEnd;
    return tidied;
}

TidyOutcome planTidy(const QString &nativeFolder)
{
    TidyOutcome outcome;
    outcome.iniPath = iniPathIn(nativeFolder);
    outcome.backupPath = outcome.iniPath + QStringLiteral(".bak");
    const ReadIni read = readIni(outcome.iniPath);
    if (!read.bytes) {
        outcome.kind = TidyOutcome::IniUnreadable;
        return outcome;
    }
    if (read.cut) {
        outcome.kind = TidyOutcome::TooLarge;
        return outcome;
    }
    const Tidied tidied = tidyIni(*read.bytes);
    outcome.changes = tidied.changes;
    outcome.original = *read.bytes;
    outcome.tidied = tidied.bytes;
    if (tidied.bytes == *read.bytes)
        outcome.kind = TidyOutcome::NothingToTidy;
    else if (outcome.changes.isEmpty())
        outcome.changes << TidyChange{TidyChange::LayoutOnly, {}, {}, {}, {}, 0, true};
    return outcome;
}

TidyOutcome tidySkinFolder(const QString &nativeFolder)
{
    TidyOutcome outcome = planTidy(nativeFolder);
    if (outcome.kind != TidyOutcome::Tidied)
        return outcome;
    // Never through a link: the file elsewhere is not this skin's to rewrite. A linked skin.ini
    // is refused before the backup is written, so nothing changes; the writes below refuse a
    // link that appears meanwhile.
    using platform::textfile::Links;
    if (const QFileInfo ini(outcome.iniPath); ini.isSymLink()) {
        outcome.kind = TidyOutcome::WriteFailed;
        outcome.error.kind = platform::textfile::FileError::IsLink;
        outcome.error.linkTarget = ini.symLinkTarget();
        return outcome;
    }
    if (const platform::textfile::WriteResult backup =
            platform::textfile::replaceContent(outcome.backupPath, outcome.original, Links::Refused);
        !backup.ok()) {
        outcome.kind = TidyOutcome::BackupFailed;
        outcome.error = backup.error;
        return outcome;
    }
    outcome.backupWritten = true;
    // Between reading and now another program may have written: tidy only what was read.
    const ReadIni again = readIni(outcome.iniPath);
    if (!again.bytes || *again.bytes != outcome.original) {
        outcome.kind = TidyOutcome::WriteFailed;
        outcome.error.kind = platform::textfile::FileError::ChangedMeanwhile;
        return outcome;
    }
    if (const platform::textfile::WriteResult written =
            platform::textfile::replaceContent(outcome.iniPath, outcome.tidied, Links::Refused);
        !written.ok()) {
        outcome.kind = TidyOutcome::WriteFailed;
        outcome.error = written.error;
    }
    return outcome;
}

} // namespace skinmaker::core
