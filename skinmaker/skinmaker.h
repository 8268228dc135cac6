#pragma once

// The main program Morvane as a library: main() and the tests start it the same way.
namespace skinmaker {

// Creates the program, which shows its windows and runs the start-up steps, then returns; the
// program lives as long as the application. The caller owns the QApplication and its event loop.
void start();

// The whole program, as main() runs it: makes the application, starts, runs the event loop and
// ends the process when the loop is over, without waiting for the player's thread.
[[noreturn]] void run(int &argc, char **argv);

} // namespace skinmaker
