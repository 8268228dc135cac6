#pragma once

#include "skinmaker/core/location.h"
#include "skinmaker/core/skinwrite.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;

// The window side of the write procedure shared by the three actions that add a block to
// skin.ini: the notices around the write.
namespace skinmaker::authoring {

// The location as the main window shows it at this moment; the program hands it to the
// writing windows, so they need nothing from the shell above them.
using LocationSource = std::function<core::SkinLocation()>;

// Checks the location and the boxes' texts, shows the location notice and appends the block
// in one write. Every problem is told in a notice and stops the action with nothing written.
// True only when the block is verifiably at the end of the file. boxes are the boxes the
// block's values come from; notices name them by their captions. When the file already held
// sections of the block's names, warning (if given) receives the line that says so.
bool appendBlock(const core::SkinLocation &location, const QStringList &block, const QList<QLineEdit *> &boxes,
                 QString *warning = nullptr);

} // namespace skinmaker::authoring
