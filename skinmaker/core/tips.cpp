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

} // namespace

QString tipsFileName()
{
    return QStringLiteral("QQ.QQ");
}

std::optional<platform::textfile::TextLines> readTips(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return platform::textfile::readLines(path, tipsByteLimit);
}

qsizetype tipNumber(double r, qsizetype count)
{
    // For r < 1, r * count rounds to below count for any count a file can hold; adding 1
    // before flooring could round the sum up to count + 1 when r is the largest below 1.
    return qsizetype(std::floor(r * double(count))) + 1;
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

} // namespace skinmaker::core
