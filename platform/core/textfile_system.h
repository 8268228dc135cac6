#pragma once

#include "textfile.h"

// The seam between textfile.cpp and the half each system has of its own (textfile_unix.cpp,
// textfile_win.cpp), which defines the reading and writing textfile.h declares.
namespace platform::textfile {

WriteResult failure(FileError::Kind kind, const QString &systemMessage = {});

// Cuts bytes read one past the limit after the last line end within it, so no line is read half.
QByteArray wholeLinesWithin(QByteArray bytes, qint64 byteLimit);

// Where the first line ends: the index of its CR or LF, or -1 when it has none.
qsizetype firstLineEnd(const QByteArray &bytes);

// An append calls this between its write and its read-back (see AppendInterleave).
void interleaveAppend(const QString &nativePath);

} // namespace platform::textfile
