#pragma once

#include <QString>

// The per-user settings store. Each program keeps its entries under its own name: the
// program's file name without extension (Morvane for the main program).
//
// Neither reading nor writing ever waits on anything a person would notice. A store that
// cannot be used (no ordinary file, unreadable, larger than any store of ours) reads as
// holding nothing and is not written; a link to an ordinary file is written through.
namespace platform::settings {

// The name the program's entries are kept under.
QString storeName();

// The store holds a few short entries; a file past this size is no store of ours, and only
// this much of it is ever read.
inline constexpr qint64 storeByteLimit = 64 * 1024;

QString read(const QString &section, const QString &key, const QString &fallback);
// False when the store could not be written. A value the entry already holds is not written
// again.
bool write(const QString &section, const QString &key, const QString &value);

} // namespace platform::settings
