// The music setting file qqq.qq as the main program reads it at start, whatever it holds: one
// line, no line end in it, decoded from exactly the bytes before the first CR or LF, and
// never from bytes past the reader's limit.
#include "fuzzinput.h"

#include "formats/musicsetting.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"

using platform::textfile::firstLineLimit;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    // The rest of the input repeated, to reach past the reader's 16 KiB chunks and its 64 KiB
    // limit; what lies further cannot matter.
    const int repeats = 1 + input.takeByte();
    const QByteArray content = input.restRepeated(repeats, firstLineLimit + 16 * 1024);
    const QString file = fuzz::writeScratchFile(QStringLiteral("qqq.qq"), content);

    const std::optional<QString> line = formats::readMusicSetting(file);
    fuzz::require(line.has_value() == !content.isEmpty(), "a file with bytes has a first line, an empty one none");
    if (!line)
        return 0;
    fuzz::require(!line->contains(u'\r') && !line->contains(u'\n'), "the line holds no CR or LF");
    // No byte decodes to more than one UTF-16 unit, so a longer line was read past the limit.
    fuzz::require(line->size() <= firstLineLimit, "the line is no longer than the byte limit");

    qsizetype end = 0;
    while (end < content.size() && end < firstLineLimit && content.at(end) != '\r' && content.at(end) != '\n')
        ++end;
    fuzz::require(*line == platform::ansi::decode(content.left(end)),
                  "the line is the bytes before the first line end, within the limit");
    return 0;
}
