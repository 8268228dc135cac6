// The tips of the day as the main program reads QQ.QQ at start, whatever the file holds: the
// line rules, a tip looked up by its number equal to the line read in order, and a draw that
// always names one of the tips read. Files here stay far below the tips' 16 MiB cap;
// all_lines drives the same reader past caps of every size.
#include "fuzzinput.h"

#include "skinmaker/core/tips.h"

#include <cstring>

using skinmaker::core::tipsByteLimit;

namespace {

// A random number as the draw gets it, 0 <= r < 1. Input bits that make such a double are
// taken as they are, so the largest double below 1 is reached; any others are scaled down.
double drawFrom(uint64_t bits)
{
    double r = 0;
    std::memcpy(&r, &bits, sizeof r);
    if (r >= 0.0 && r < 1.0)
        return r;
    return double(bits >> 11) * 0x1p-53;
}

void requireDrawWithin(double r, qsizetype count)
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
    const uint64_t high = uint32_t(input.takeInt());
    const double r = drawFrom(high << 32 | uint32_t(input.takeInt()));
    // Any count of tips a file within the cap can hold: one a byte.
    const qsizetype anyCount = qsizetype(uint32_t(input.takeInt()) % uint32_t(tipsByteLimit + 1));
    // The rest of the input repeated, so a short input makes a file of many lines; up to a
    // quarter of a mebibyte, which holds thousands of lines and keeps the runs quick.
    const int repeats = 1 + input.takeByte();
    const QByteArray content = input.restRepeated(repeats, 256 * 1024);
    const QString file = fuzz::writeScratchFile(skinmaker::core::tipsFileName(), content);

    const std::optional<platform::textfile::TextLines> tips = skinmaker::core::readTips(file);
    fuzz::require(tips.has_value(), "an ordinary tips file can be read");
    const QStringList lines = tips->toList();
    fuzz::requireLinesWithinCap(lines, content, tipsByteLimit);
    // A tip looked up by its number is the one reading in order comes to; some sixty numbers
    // spread over the file, as each lookup reads on from the nearest landmark.
    const qsizetype step = 1 + tips->size() / 64;
    for (qsizetype i = tips->size() - 1; i >= 0; i -= step)
        fuzz::require(tips->at(i) == lines.at(i), "a tip looked up by its number is the line read in order");
    requireDrawWithin(r, tips->size());
    requireDrawWithin(r, anyCount);
    return 0;
}
