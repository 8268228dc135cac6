#pragma once

#include <QString>

// The per-user settings store. Each program keeps its entries under its own name: the
// program's file name without extension (Morvane for the main program).
namespace platform::settings {

QString read(const QString &section, const QString &key, const QString &fallback);
// False when the store could not be written. A value the entry already holds is not written
// again.
bool write(const QString &section, const QString &key, const QString &value);

} // namespace platform::settings
