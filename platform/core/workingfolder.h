#pragma once

#include <QString>

// The working folder of the installed commands. The programs keep the music setting qqq.qq in
// their working folder and name the built-in tunes relative to it ("music\1.mid"), so the
// commands on PATH run every program in one writable folder per user, and nothing is ever
// written beside the installed programs.
namespace platform {

// The commands on PATH set this variable to 1 for the program they start.
inline constexpr char perUserFolderVariable[] = "MORVANE_PER_USER_FOLDER";

// $XDG_DATA_HOME/Morvane, or ~/.local/share/Morvane where XDG_DATA_HOME is unset, empty or
// relative, as desktops treat it. Empty when there is no home folder either.
QString perUserFolder();

// When a command on PATH started the program, makes the per-user folder its working folder:
// creates the folder, copies the default qqq.qq from the program's own folder there unless
// the user has one, and links "music" to the program's built-in tunes (again when the link is
// missing or leads elsewhere; a real folder of the user's stays). What stands in the way comes
// back as a notice naming the path and the reason, and the program runs on: in the folder if
// it could be entered, else where it was started. Empty when all is ready, and when the
// program was started otherwise. The request is consumed, so the programs it starts do not
// repeat it.
QString enterPerUserFolder();

}  // namespace platform
