#pragma once

// The main program Morvane as a library: main() and the tests start it the same way.
namespace skinmaker {

// Creates the windows and runs the start-up steps, then returns; the caller owns the
// QApplication and its event loop.
void start();

} // namespace skinmaker
