#pragma once

#include "platform/core/checkedwrite.h"
#include "platform/core/textfile.h"

#include <QString>

#include <optional>

// The music setting file qqq.qq: one line naming the tune the main program plays at start,
// kept in the working directory. The main program's music window and the setter program
// write it; the main program reads it when it starts.
namespace formats {

// The file's bare name, which opens it in the working directory.
QString musicSettingFileName();

// The first line, unchanged (see platform::textfile::readFirstLine for where it ends). nullopt
// when the file is missing, holds no byte, cannot be read or is no ordinary file.
std::optional<QString> readMusicSetting(const QString &fileName = musicSettingFileName());

// Replaces the file's content with the line and CR LF, all or nothing, after the checks every
// typed text passes (see checkedwrite.h); the outcome names the file as an absolute path of
// this system. The line is known by no caption.
platform::textfile::WriteOutcome storeMusicSetting(const QString &line,
                                                   const QString &fileName = musicSettingFileName());

// The eight built-in tunes are stored as "music\1.mid" to "music\8.mid".
inline constexpr int builtInTuneCount = 8;
QString builtInTune(int number);
// The tune a line names by exact, case-sensitive comparison; 0 when it names none.
int builtInTuneNumber(const QString &line);

} // namespace formats
