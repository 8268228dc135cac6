// skin.ini as the checker reads it and as 整理 rewrites it, whatever the file holds: checking
// never fails, tidying twice gives what tidying once gave and changes nothing more, and a tidied
// file holds no section or key that the client would read from an earlier line instead.
#include "fuzzinput.h"

#include "skinmaker/core/skincheck.h"

using namespace skinmaker::core;

namespace {

bool shadows(const QList<Finding> &findings)
{
    for (const Finding &finding : findings) {
        if (finding.kind == Finding::ShadowedSection || finding.kind == Finding::ShadowedKey)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const int repeats = 1 + input.takeByte() % 8;
    const QByteArray bytes = input.restRepeated(repeats, 64 * 1024);
    // No folder: every picture is missing, and nothing is decoded.
    const auto decodesNothing = [](const QString &) { return false; };
    const QString folder = QStringLiteral("/nonexistent-skin-folder");

    checkSkinIni(bytes, folder, decodesNothing);
    const Tidied once = tidyIni(bytes);
    const Tidied twice = tidyIni(once.bytes);
    fuzz::require(twice.bytes == once.bytes, "tidying a tidied file gives the same bytes");
    fuzz::require(twice.changes.isEmpty(), "a tidied file has nothing left to tidy");
    fuzz::require(!shadows(checkSkinIni(once.bytes, folder, decodesNothing)),
                  "a tidied file shadows no section and no key");
    return 0;
}
