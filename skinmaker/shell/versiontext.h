#pragma once

#include <QString>

namespace skinmaker::shell {

// A program's four-part file version. The fourth part is the one the windows call the
// revision; the third (build) is never shown.
struct ProgramVersion {
    int majorNumber = 0;
    int minorNumber = 0;
    int build = 0;
    int revision = 0;
};

// The version this program was built as.
ProgramVersion programVersion();

// "版本 " + major.minor.revision, plain decimals: the line the about and splash windows show.
QString versionText(const ProgramVersion &version);

// versionText(programVersion()).
QString programVersionText();

} // namespace skinmaker::shell
