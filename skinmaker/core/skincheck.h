#pragma once

#include "platform/core/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A skin's skin.ini read as the QQ client reads it (through the Windows profile reader):
// GBK text, lines ending in CR LF or a lone LF; of two sections of one name only the first
// counts, and within it the first line of a key; names compare ASCII case-insensitively.
// Everything here reports what it found; the words are the programs' own.
namespace skinmaker::core {

// The most of a skin.ini that is read. Real files take a few kilobytes; the bound keeps an
// absurd or endless file from holding up the checker.
inline constexpr qint64 skinIniReadLimit = 4 * 1024 * 1024;

// One line of skin.ini as the profile reader splits it, values trimmed of spaces and tabs.
struct IniLine {
    enum Kind {
        Blank,
        Comment, // starts with ';'
        Section, // "[name]"; name holds it
        Entry, // "key=value"
        NoEquals, // text without '=' inside a section: the client ignores it
        BeforeSection, // text before the first section: the client ignores it
    };
    Kind kind = Blank;
    int number = 0; // from 1
    QByteArray text; // the line's bytes without its line end
    QByteArray name; // the section's or the key's name
    QByteArray value;
};

// Splits the bytes into lines at CR LF or a lone LF; a lone CR stays part of its line.
QList<IniLine> parseIni(const QByteArray &bytes);

// Names folded as the client compares them: ASCII letters to lower case, the two bytes of
// a GBK character left alone (its second byte may look like an ASCII letter).
QByteArray foldName(const QByteArray &name);

// The keys the main program writes that name a picture in the skin folder, by section
// (button1..buttont3 and folder share theirs), and the numeric keys with their ranges.
bool isPictureKey(const QByteArray &section, const QByteArray &key);
struct NumberRange {
    qint64 lowest;
    qint64 highest;
};
std::optional<NumberRange> numberRange(const QByteArray &key);
// Window sizes as Windows keeps them (16-bit signed coordinates), colour parts one byte each.
inline constexpr NumberRange sizeRange{0, 32767};
inline constexpr NumberRange colourRange{0, 255};

struct Finding {
    enum Kind {
        ShadowedSection, // a later section of a name that came before
        ShadowedKey, // a value the client never reads: an earlier line of its key, or its section, came first
        PictureMissing, // the picture named is not in the skin folder
        PictureOtherCase, // the picture is there only under another letter case
        PictureUnreadable, // there, but no plain file that may be read
        PictureUndecodable, // read, but the preview cannot decode it
        NotANumber, // a numeric key that holds no whole number
        NumberOutOfRange, // a whole number outside its key's range
        NoEquals, // a line without '=' inside a section
        BeforeSection, // text before the first section
        InvalidGbk, // bytes that form no GBK character
        ReadLimitReached, // only the first skinIniReadLimit bytes were checked
    };
    Kind kind = ShadowedSection;
    QString section;
    QString key;
    QString value; // for ShadowedKey, the value the client does not read
    QString earlierValue; // for ShadowedKey, the value it reads; empty with earlierLine 0 when none
    int line = 0;
    int earlierLine = 0; // for the shadowed findings: the line that wins
    QString path; // for pictures: where it was looked for, or where the other case lies
    NumberRange range{0, 0}; // for NumberOutOfRange
};

// Whether a picture file can be decoded as the preview decodes it; Qt Gui's, given by the caller.
using PictureDecoder = std::function<bool(const QString &nativePath)>;

struct SkinCheck {
    enum Status {
        Checked,
        FolderMissing, // no folder by that name
        NotAFolder, // a file or another thing by that name
        FolderUnreadable, // the folder cannot be listed
        IniUnreadable, // skin.ini is missing, no ordinary file or cannot be read
    };
    Status status = Checked;
    QString iniPath; // native
    QList<Finding> findings;
};

// The findings in the order of the lines they concern. folder is a native path.
SkinCheck checkSkinFolder(const QString &nativeFolder, const PictureDecoder &decodes);
// The same on bytes already read, for a skin folder at nativeFolder.
QList<Finding> checkSkinIni(const QByteArray &bytes, const QString &nativeFolder, const PictureDecoder &decodes);

// The section names of block (as written, in order, each once) that the existing bytes
// already hold, compared as the client compares them.
QStringList repeatedSections(const QByteArray &existing, const QByteArray &block);

// Tidying: one section of each name, in the order of first appearance, each key once with
// the value written last (what the user meant by writing it again), CR LF line ends, every
// byte otherwise as it was. Blank lines go; comments and lines without '=' stay in their
// section after its keys; text before the first section stays at the top.
struct TidyChange {
    enum Kind {
        SectionsMerged, // section appeared `count` times
        ValueChanged, // key now reads value instead of earlierValue
        LayoutOnly, // only blank lines or line ends change
    };
    Kind kind = SectionsMerged;
    QString section;
    QString key;
    QString earlierValue;
    QString value;
    int count = 0;
    bool earlierRead = true; // for ValueChanged: false when the client read no value before
};
struct Tidied {
    QByteArray bytes;
    QList<TidyChange> changes; // empty when only blank lines, line ends or repeats of one value go
};
Tidied tidyIni(const QByteArray &bytes);

struct TidyOutcome {
    enum Kind {
        Tidied,
        NothingToTidy, // the tidied bytes are the file's own: nothing written
        IniUnreadable, // as for SkinCheck
        TooLarge, // over skinIniReadLimit: tidying would lose the rest
        BackupFailed, // skin.ini.bak could not be written; skin.ini untouched
        WriteFailed, // skin.ini could not be replaced; it holds its old bytes
    };
    Kind kind = Tidied;
    QString iniPath;
    QString backupPath;
    QList<TidyChange> changes;
    QByteArray original; // the bytes read
    QByteArray tidied; // the bytes to write
    platform::textfile::FileError error; // for BackupFailed and WriteFailed
    bool backupWritten = false; // skin.ini.bak holds the bytes read
    bool ok() const { return kind == Tidied || kind == NothingToTidy; }
};

// What tidying would do, without writing.
TidyOutcome planTidy(const QString &nativeFolder);
// Keeps the old bytes as skin.ini.bak (replacing an older one), then replaces skin.ini whole,
// under the write rules of textfile.h: never through a link, never half, read back.
TidyOutcome tidySkinFolder(const QString &nativeFolder);

} // namespace skinmaker::core
