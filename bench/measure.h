#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

// What the in-process benchmarks share: a clock, the median and one name=value line each.
namespace bench {

inline double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

inline double worst(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.cbegin(), values.cend());
}

inline void print(const char *name, double value)
{
    std::printf("%s=%.4f\n", name, value);
}

// name_median_ms, name_min_ms and name_max_ms: the figure and how far the runs spread.
inline void printSummary(const char *name, const QList<double> &values)
{
    std::printf("%s_median_ms=%.4f\n%s_min_ms=%.4f\n%s_max_ms=%.4f\n", name, median(values), name,
                values.isEmpty() ? 0 : *std::min_element(values.cbegin(), values.cend()), name, worst(values));
}

inline void print(const char *name, const QString &value)
{
    std::printf("%s=%s\n", name, value.toUtf8().constData());
}

} // namespace bench
