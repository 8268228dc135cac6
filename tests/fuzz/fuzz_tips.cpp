// The tips of the day as the main program reads QQ.QQ at start, whatever the file holds: the
// line rules under the tips' own byte cap, and a draw that always names one of the tips read.
#include "fuzzinput.h"

#include "skinmaker/core/tips.h"

#include <cstring>

using skinmaker::core::tipsByteLimit;

namespace {

// A random number as the draw gets it, 0 <= r < 1. Input bits that make such a float are
// taken as they are, so the largest float below 1 is reached; any others are scaled down.
float drawFrom(uint32_t bits)
{
    float r = 0;
    std::memcpy(&r, &bits, sizeof r);
    if (r >= 0.0f && r < 1.0f)
        return r;
    return float(bits >> 8) / float(1 << 24);
}

void requireDrawWithin(float r, qsizetype count)
{
    const qsizetype number = skinmaker::core::tipNumber(r, count);
    fuzz::require(number >= 1 && number <= qMax<qsizetype>(count, 1), "the draw names one of the tips");
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
    const float r = drawFrom(uint32_t(input.takeInt()));
    // Any count of tips a file within the cap can hold: one a byte, and one more at its end.
    const qsizetype anyCount = qsizetype(uint32_t(input.takeInt()) % uint32_t(tipsByteLimit + 2));
    // The rest of the input repeated, to reach past the cap with a short input.
    const int repeats = 1 + input.takeByte();
    const QByteArray content = input.restRepeated(repeats, tipsByteLimit + 16 * 1024);
    const QString file = fuzz::writeScratchFile(skinmaker::core::tipsFileName(), content);

    const std::optional<QStringList> tips = skinmaker::core::readTips(file);
    fuzz::require(tips.has_value(), "an ordinary tips file can be read");
    fuzz::requireLinesWithinCap(*tips, content, tipsByteLimit);
    requireDrawWithin(r, tips->size());
    requireDrawWithin(r, anyCount);
    return 0;
}
