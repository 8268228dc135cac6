#pragma once

// What every program sets up about its own process before anything else.
namespace platform {

// A write past the user's file-size limit (ulimit -f) ends the process by default, half-way
// through a block and before any rollback can run. With the signal ignored such a write fails
// with an error instead, which the file helpers undo and report.
void failWritesPastFileSizeLimit();

// Qt says "XDG_RUNTIME_DIR not set" in the terminal whenever the session gives the program no
// runtime folder (after su, over ssh, in a container), and goes on with one of its own: nothing
// for the user to act on. From the call on, that notice goes to the debug log
// (QT_LOGGING_RULES="morvane.process.debug=true"); every other message stays as it was. Call
// before the application object is made, which is when Qt says it.
void keepQtSetUpNoticesOffTheTerminal();

// Ends the process at once with this exit code, after writing out what the standard streams
// hold, without waiting for any other thread and without the teardown of the objects still
// alive. For the end of a program whose event loop is over: every file it writes is written
// and closed within the action that writes it, so nothing is left unfinished.
[[noreturn]] void endProcessNow(int exitCode);

} // namespace platform
