#pragma once

#include <QString>

namespace platform {

enum class Access { Read, Write, Enter };

// Whether the user may read or write a file, or enter a folder (look up the names in it). The
// owner's permission bit must allow it as well as the system: even an administrator does not
// write into a file the user marked read-only, nor count on reading one marked unreadable, as
// with the read-only attribute on Windows, so the programs answer alike whoever runs them.
bool userMay(Access access, const QString &nativePath);

} // namespace platform
