#pragma once

// The help program as a library: main() and the tests start it the same way.
namespace help {

// The program's version, shown nowhere but carried by the executable.
inline constexpr const char *version = MORVANE_HELP_VERSION;

// Shows the help window (minimised when the program that started us asked for it), then
// returns; the caller owns the QApplication and its event loop.
void start();

} // namespace help
