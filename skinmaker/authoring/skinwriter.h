#pragma once

#include "location.h"

#include <QList>
#include <QString>
#include <QStringList>

// The write procedure shared by the three actions that add a block to skin.ini:
// generate on the main window, and 确定 on the button options and skin information windows.
namespace skinmaker::authoring {

// A box's text with the caption the user knows it by, to name it in notices.
struct LabelledText {
    QString label;
    QString text;
};

// Checks the location and the texts, shows the location notice and appends the block in
// one write. Every problem is told in a notice and stops the action with nothing written.
// True only when the block is verifiably at the end of the file.
bool appendBlock(const SkinLocation &location, const QStringList &block, const QList<LabelledText> &fields);

} // namespace skinmaker::authoring
