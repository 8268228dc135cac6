#pragma once

#include "platform/core/textfile.h"

#include <QString>

#include <optional>

// The tips of the day: the tips file QQ.QQ beside the program (GBK, CR LF, one tip a line),
// the draw of a tip, and the per-user setting that decides whether tips are shown at start.
namespace skinmaker::core {

// The tips file's name in the program's own folder.
QString tipsFileName();

// Every line of the file is a tip that can be drawn. The supplied file holds thirty tips in
// about 5 KB; a person writes thousands at most. Reading stops at 16 MiB, which no real file
// reaches, so a file of any size costs the start at most that much; a tip cut by the limit is
// left out whole.
inline constexpr qint64 tipsByteLimit = 16 * 1024 * 1024;

// Every line a tip, in file order: empty lines are tips, nothing is trimmed; a last line
// without a line end is a tip, a final line end starts none. nullopt when there is no file to
// read: the path is empty or missing, names a folder, a pipe or a device, or cannot be read.
std::optional<platform::textfile::TextLines> readTips(const QString &path);

// The 1-based number of the tip a random r (0 <= r < 1) draws from count tips:
// floor(r * count + 1). Each number from 1 to count is equally likely; 1 when count is 0.
qsizetype tipNumber(double r, qsizetype count);

// Whether tips are shown at start, as the settings store holds it; on when nothing is stored.
bool tipsAtStartup();
// "0" is off; any other whole number is on, and so is anything that is no whole number.
bool tipsAtStartupFrom(const QString &stored);
// Stores "1" or "0"; false when the store could not be written (nothing else changes then).
bool storeTipsAtStartup(bool on);

} // namespace skinmaker::core
