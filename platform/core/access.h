#pragma once

#include <QString>

namespace platform {

enum class Access { Read, Write, Enter };

// Whether the user may read or write a file, or enter a folder (look up the names in it), as
// the system answers for the program's effective user and groups: a file the user's group may
// write is writable although its owner's bit says no. An administrator, whom the system lets
// do anything, is held to the owner's permission bit as well: even root does not write into a
// file the user marked read-only, nor count on reading one marked unreadable, as with the
// read-only attribute on Windows.
bool userMay(Access access, const QString &nativePath);

} // namespace platform
