#pragma once

#include "textfile.h"

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

// What stood in the way of the per-user folder. Each part names the path and the reason; the
// programs word it (platform/words/).
struct WorkingFolderReport {
    enum FolderProblem {
        FolderReady,
        NoHome, // neither XDG_DATA_HOME nor HOME names an absolute folder
        FileInTheWay, // a file that is no folder has the folder's name
        LinkToNothing, // the folder's name is a link to where no folder is (linkTarget)
        CannotCreate, // the folder uncreated could not be made (systemMessage)
        CannotEnter, // the folder exists but cannot be entered (systemMessage)
    };
    FolderProblem folderProblem = FolderReady;
    QString folder; // the per-user folder, native separators
    QString runningIn; // with a folder problem: where the program runs instead, absolute
    QString linkTarget; // LinkToNothing
    QString uncreated; // CannotCreate: the first folder that could not be made
    QString systemMessage; // CannotCreate, CannotEnter: the system's wording

    // Once in the folder: the default qqq.qq that could not be placed, and the link to the
    // built-in tunes that could not be made (kind None when all went well).
    QString settingPath;
    textfile::FileError settingError;
    QString tunesPath;
    textfile::FileError tunesError;

    bool allReady() const
    {
        return folderProblem == FolderReady && settingError.kind == textfile::FileError::None
            && tunesError.kind == textfile::FileError::None;
    }
};

// When a command on PATH started the program, makes the per-user folder its working folder:
// creates the folder, copies the default qqq.qq from the program's own folder there unless
// the user has one, and links "music" to the program's built-in tunes (again when the link is
// missing or leads elsewhere; a real folder of the user's stays). What stands in the way is
// reported, and the program runs on: in the folder if it could be entered, else where it was
// started. All ready when all is, and when the program was started otherwise. The request is
// consumed, so the programs it starts do not repeat it.
WorkingFolderReport enterPerUserFolder();

} // namespace platform
