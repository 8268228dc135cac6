#pragma once

#include "textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The one procedure by which the programs write what the user typed into a GBK text file
// (a block of skin.ini, the line of qqq.qq): check every text, then write in one go. Each
// step reports what happened; the programs put that into words.
namespace platform::textfile {

// A text with the caption the user knows it by, to name it when it cannot be written; a
// text the user knows by no caption has none.
struct LabelledText {
    QString label;
    QString text;
};

// The characters of one text that cannot be written, each once, in the order they occur.
struct FieldProblem {
    QString label;
    QList<char32_t> characters;
};

struct WriteOutcome {
    enum Kind {
        Written, // the text is verifiably in the file
        NoInstallPath, // skin.ini: the install path is empty
        NoVersion, // skin.ini: neither QQ version is chosen, so there is no path
        UnusableSkinName, // skin.ini: the skin name cannot name a folder
        ControlCharacters, // a text holds a line break or another control character
        UnencodableCharacters, // a text holds characters GBK cannot hold
        FileFailed, // the file could not be written; it holds what it held before
    };
    Kind kind = Written;
    QString path; // the file as the notices name it, once known
    // For ControlCharacters and UnencodableCharacters; for UnusableSkinName, the characters of
    // the name that cannot be seen, if it has any.
    QList<FieldProblem> fields;
    FileError error; // for FileFailed
    bool ok() const { return kind == Written; }
};

// What passed every check, ready to write: the encoded lines and where they go.
struct PreparedText {
    WriteOutcome outcome; // Written: ready to write
    QString nativePath;
    QByteArray bytes;
    bool ready() const { return outcome.ok(); }
};

// A refusal before the texts are looked at.
PreparedText refused(WriteOutcome::Kind kind, const QString &path = {});

// Checks, in this order: control characters in any text (a line break would end its line
// early), then characters GBK cannot hold. lines are what is written, each followed by CR LF;
// fields are the texts they hold, named when they cannot be written. path names the file in
// the notices, nativePath opens it.
PreparedText prepareLines(const QString &path, const QString &nativePath, const QStringList &lines,
                          const QList<LabelledText> &fields);

// Appends ready bytes in one write (see appendBytes).
WriteOutcome appendPrepared(const PreparedText &prepared);

// Replaces the file's content with ready bytes, all or nothing (see replaceContent).
WriteOutcome replaceWithPrepared(const PreparedText &prepared);

} // namespace platform::textfile
