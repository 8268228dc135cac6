#pragma once

// The background-music setter as a library: main() and the tests start it the same way.
namespace musicsetter {

// The program's version, which the application reports as its own.
inline constexpr const char *version = MORVANE_SETTER_VERSION;

// Shows the setter window (minimised when the program that started us asked for it), then
// returns; the caller owns the QApplication and its event loop.
void start();

} // namespace musicsetter
