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

} // namespace

void seedFromClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(quint32(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

double next()
{
    if (const Override *override = Override::active())
        return override->next();
    // 53 random bits fill a double's mantissa exactly: every value lies on the same grid and
    // the largest is 1 - 2^-53.
    return double(generator().generate64() >> 11) * 0x1p-53;
}

Override::Override(std::function<double()> numbers) : m_numbers(std::move(numbers))
{
}

Override::~Override() = default;

} // namespace platform::random
