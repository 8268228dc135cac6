#pragma once

#include "platform/core/textfile.h"

#include <QList>
#include <QString>

#include <optional>

// The music setting file qqq.qq: one line naming the tune the main program plays at start,
// kept in the working directory. The main program's music window and the setter program
// write it; the main program reads it when it starts.
namespace formats {

// The file's bare name, which opens it in the working directory.
QString musicSettingFileName();

// The first line, unchanged (see platform::ansi::readFirstLine for where it ends). nullopt
// when the file is missing, holds no byte, cannot be read or is no ordinary file.
std::optional<QString> readMusicSetting(const QString &fileName = musicSettingFileName());

struct MusicSettingOutcome {
    enum Kind {
        Stored,
        ControlCharacters,      // a line break would split the name; the reader takes one line
        UnencodableCharacters,  // GBK cannot hold them, so the name could not be read back
        FileFailed,             // the file could not be written; it holds what it held before
    };
    Kind kind = Stored;
    QList<char32_t> characters;        // for ControlCharacters and UnencodableCharacters
    platform::ansi::FileError error;  // for FileFailed
    QString path;                      // the file, as an absolute path of this system
    bool ok() const { return kind == Stored; }
};

// Replaces the file's content with the line and CR LF, all or nothing.
MusicSettingOutcome storeMusicSetting(const QString &line, const QString &fileName = musicSettingFileName());

// What the user is told when storing failed; empty on success.
QString musicSettingNotice(const MusicSettingOutcome &outcome);

// The eight built-in tunes are stored as "music\1.mid" to "music\8.mid".
inline constexpr int builtInTuneCount = 8;
QString builtInTune(int number);
// The tune a line names by exact, case-sensitive comparison; 0 when it names none.
int builtInTuneNumber(const QString &line);

} // namespace formats
