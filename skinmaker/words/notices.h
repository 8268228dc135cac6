#pragma once

#include "skinmaker/core/picturefile.h"

#include "platform/core/checkedwrite.h"

#include <QString>

// The main program's words for what its core reports, in one place.
namespace skinmaker::words {

// What the user is told when a write to skin.ini stops; empty when the block was written.
QString writeNotice(const platform::textfile::WriteOutcome &outcome);

// Names the file a ready block is about to be appended to.
QString aboutToWriteNotice(const QString &skinIniPath);

// Why the background picture at this Windows-style path is not previewed.
QString previewFailureNotice(const QString &picturePath, const core::PictureProblem &problem);

// Why a folder picked for the install path cannot be taken: the named folder holds a "\\".
QString backslashInFolderNameNotice(const QString &name);

} // namespace skinmaker::words
