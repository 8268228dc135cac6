#pragma once

#include "platform/core/checkedwrite.h"
#include "platform/core/textfile.h"
#include "platform/core/workingfolder.h"

#include <QString>

// The programs' words for what the platform's core reports, shared by every program so that
// a file's trouble reads the same wherever it comes up.
namespace platform::words {

// Why a file could not be read or written, for the line after "原因:".
QString fileErrorReason(const textfile::FileError &error);

// Why nothing is written through a link: "<what>是一个链接,指向<target>,…".
QString linkRefusal(const QString &what, const QString &target);

// For the notices that name a drive path ("C:\\..."): a line saying where on this system it
// was looked for. Empty for any other path, used as typed.
QString whereOnThisSystemLine(const QString &windowsPath);

// When the path's drive has no folder in the Wine prefix: says so and what to do instead.
// Empty when the drive is there or the path names no drive.
QString missingWineDriveReason(const QString &windowsPath);

// What stood in the way of the per-user working folder; empty when all is ready.
QString workingFolderNotice(const WorkingFolderReport &report);

// Why the music setting qqq.qq was not stored; empty when it was.
QString musicSettingNotice(const textfile::WriteOutcome &outcome);

} // namespace platform::words
