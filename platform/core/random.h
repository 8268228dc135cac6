#pragma once

#include <QtGlobal>

#include <functional>

// The program's pseudo-random numbers: uniform in [0, 1), single precision, one generator for
// the whole program that is seeded from the clock.
namespace platform::random {

// Seeds the generator from the system clock, so each start draws differently.
void seedFromClock();

// The next number r, 0 <= r < 1.
float next();

// While one exists, next() returns what it gives instead of the generator's numbers, so a test
// decides which tip is drawn.
class Override {
public:
    explicit Override(std::function<float()> numbers);
    ~Override();
    Override(const Override &) = delete;
    Override &operator=(const Override &) = delete;

    float next() const { return m_numbers(); }

private:
    std::function<float()> m_numbers;
    Override *m_previous = nullptr;
};

}  // namespace platform::random
