#pragma once

#include "platform/core/scopedoverride.h"

#include <QtGlobal>

#include <functional>

// The program's pseudo-random numbers: uniform in [0, 1), one generator for the whole program
// that is seeded from the clock.
namespace platform::random {

// Seeds the generator from the system clock, so each start draws differently.
void seedFromClock();

// The next number r, 0 <= r < 1, in steps of 2^-53: fine enough that a draw among millions
// of tips favours none. In single precision's steps of 2^-24, some of a million tips would
// come up a sixteenth more often than the others.
double next();

// While one exists, next() returns what it gives instead of the generator's numbers, so a test
// decides which tip is drawn.
class Override : public ScopedOverride<Override> {
public:
    explicit Override(std::function<double()> numbers);
    ~Override();

    double next() const { return m_numbers(); }

private:
    std::function<double()> m_numbers;
};

} // namespace platform::random
