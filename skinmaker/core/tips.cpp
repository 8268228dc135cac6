#include "tips.h"

#include "platform/core/settings.h"
#include "platform/core/textfile.h"

#include <cmath>

namespace skinmaker::core {

namespace {

QString section()
{
    return QStringLiteral("Options");
}

QString key()
{
    return QStringLiteral("在启动时显示提示");
}

}  // namespace

QString tipsFileName()
{
    return QStringLiteral("QQ.QQ");
}

std::optional<QStringList> readTips(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return platform::ansi::readAllLines(path, tipsByteLimit);
}

qsizetype tipNumber(float r, qsizetype count)
{
    // In double the product is exact for any count a file can hold, so r < 1 never reaches
    // count + 1 by rounding.
    return qsizetype(std::floor(double(r) * double(count) + 1.0));
}

bool tipsAtStartup()
{
    return tipsAtStartupFrom(platform::settings::read(section(), key(), QStringLiteral("1")));
}

bool tipsAtStartupFrom(const QString &stored)
{
    bool wholeNumber = false;
    const qlonglong number = stored.toLongLong(&wholeNumber);
    return !wholeNumber || number != 0;
}

bool storeTipsAtStartup(bool on)
{
    return platform::settings::write(section(), key(), on ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace skinmaker::core
