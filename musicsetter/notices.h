#pragma once

#include <QString>

// The setter's words for what the code beneath its windows reports. Why the music setting was
// not stored is worded alike in both programs (platform/words/filewords.h).
namespace musicsetter {

// Why a picked file cannot be handed over: the named file or folder holds a "\\".
QString backslashInNameNotice(const QString &name);

} // namespace musicsetter
