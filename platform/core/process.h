#pragma once

// What every program sets up about its own process before anything else.
namespace platform {

// A write past the user's file-size limit (ulimit -f) ends the process by default, half-way
// through a block and before any rollback can run. With the signal ignored such a write fails
// with an error instead, which the file helpers undo and report.
void failWritesPastFileSizeLimit();

} // namespace platform
