#pragma once

#include "picturefile.h"

#include <QFile>
#include <QFileInfo>

// The seam between picturefile.cpp and the half each system has of its own
// (picturefile_unix.cpp, picturefile_win.cpp).
namespace skinmaker::core {

enum class OpenFailure { None, Missing, NotAFile, CannotOpen };

// Opens the existing file, which info describes, for reading if it is an ordinary file the
// user may read, without ever waiting on a pipe or a device.
OpenFailure openOrdinaryFile(QFile &file, const QFileInfo &info);

} // namespace skinmaker::core
