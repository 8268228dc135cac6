#pragma once

#include "location.h"

#include "platform/core/checkedwrite.h"

#include <QList>
#include <QStringList>

// The write procedure shared by the three actions that add a block to skin.ini (generate on
// the main window, 确定 on the button options and skin information windows), without its
// notices: each step says what happened, and the windows put that into words.
namespace skinmaker::core {

// Everything that can be checked before the disk is touched, and the bytes to append
// (platform::textfile::appendPrepared writes them). Checks, in this order: the install path,
// the version, the skin name, then the checks every typed text passes (control characters,
// characters GBK cannot hold). fields are the boxes the block's values come from. The
// outcome names skin.ini Windows style, once the location gives one.
platform::textfile::PreparedText prepareBlock(const SkinLocation &location, const QStringList &block,
                                              const QList<platform::textfile::LabelledText> &fields);

} // namespace skinmaker::core
