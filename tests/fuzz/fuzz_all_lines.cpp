// A GBK text file read line by line under any byte cap: no line holds a line end, a final
// CR LF starts no empty line, a line the cap cuts is left out and nothing past the cap is used.
#include "fuzzinput.h"

#include "platform/core/textfile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const qint64 cap = input.takeWord();
    // The rest of the input repeated, to reach past the reader's 16 KiB chunks and the cap;
    // what lies further cannot matter.
    const int repeats = 1 + input.takeByte();
    const QByteArray content = input.restRepeated(repeats, cap + 16 * 1024);
    const QString file = fuzz::writeScratchFile(QStringLiteral("lines.txt"), content);

    const std::optional<QStringList> lines = platform::textfile::readAllLines(file, cap);
    fuzz::require(lines.has_value(), "an ordinary file can be read");
    fuzz::requireLinesWithinCap(*lines, content, cap);
    return 0;
}
