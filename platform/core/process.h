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

} // namespace platform
