#pragma once

#include "location.h"

#include "platform/core/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The write procedure shared by the three actions that add a block to skin.ini (generate on
// the main window, 确定 on the button options and skin information windows), without its
// notices: each step says what happened, and the windows put that into words.
namespace skinmaker::core {

// A box's text with the caption the user knows it by, to name it when it cannot be written.
struct LabelledText {
    QString label;
    QString text;
};

// The characters of one box that cannot be written, each once, in the order they occur.
struct FieldProblem {
    QString label;
    QList<char32_t> characters;
};

struct WriteOutcome {
    enum Kind {
        Written,                // the block is verifiably at the end of the file
        NoInstallPath,          // the install path is empty
        NoVersion,              // neither QQ version is chosen, so there is no path
        UnusableSkinName,       // the skin name cannot name a folder
        ControlCharacters,      // a box holds a line break or another control character
        UnencodableCharacters,  // a box holds characters GBK cannot hold
        FileFailed,             // the file could not be written; nothing of the block stays
    };
    Kind kind = Written;
    QString path;                      // skin.ini, Windows style, once the location gives one
    // For ControlCharacters and UnencodableCharacters; for UnusableSkinName, the characters of
    // the name that cannot be seen, if it has any.
    QList<FieldProblem> fields;
    platform::ansi::FileError error;  // for FileFailed
    bool ok() const { return kind == Written; }
};

// Everything that can be checked before the disk is touched, and the bytes to write.
struct PreparedBlock {
    WriteOutcome outcome;  // Written: ready to write
    QByteArray bytes;
    bool ready() const { return outcome.ok(); }
};

// Checks, in this order: the install path, the version, the skin name, control characters,
// characters GBK cannot hold. fields are the boxes the block's values come from.
PreparedBlock prepareBlock(const SkinLocation &location, const QStringList &block, const QList<LabelledText> &fields);

// Appends a ready block to the file at its path in one write.
WriteOutcome appendPrepared(const PreparedBlock &prepared);

} // namespace skinmaker::core
