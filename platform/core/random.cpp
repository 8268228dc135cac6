#include "random.h"

#include <QRandomGenerator>

#include <chrono>

namespace platform::random {

namespace {

QRandomGenerator &generator()
{
    static QRandomGenerator instance;
    return instance;
}

Override *activeOverride = nullptr;

}  // namespace

void seedFromClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(quint32(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

float next()
{
    if (activeOverride)
        return activeOverride->next();
    // 24 random bits fill a float's mantissa exactly: every value lies on the same grid and the
    // largest is 1 - 2^-24. Rounding a double to float instead could give 1 itself.
    return float(generator().generate() >> 8) * 0x1p-24f;
}

Override::Override(std::function<float()> numbers) : m_numbers(std::move(numbers)), m_previous(activeOverride)
{
    activeOverride = this;
}

Override::~Override()
{
    activeOverride = m_previous;
}

}  // namespace platform::random
