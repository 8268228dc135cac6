#include "musicsetting.h"

namespace formats {

QString musicSettingFileName()
{
    return QStringLiteral("qqq.qq");
}

std::optional<QString> readMusicSetting(const QString &fileName)
{
    return platform::textfile::readFirstLine(fileName);
}

platform::textfile::WriteOutcome storeMusicSetting(const QString &line, const QString &fileName)
{
    namespace textfile = platform::textfile;
    const textfile::PreparedText prepared =
        textfile::prepareLines(textfile::absoluteNativePath(fileName), fileName, {line}, {{{}, line}});
    return textfile::replaceWithPrepared(prepared);
}

QString builtInTune(int number)
{
    return QStringLiteral("music\\%1.mid").arg(number);
}

int builtInTuneNumber(const QString &line)
{
    for (int number = 1; number <= builtInTuneCount; ++number) {
        if (line == builtInTune(number))
            return number;
    }
    return 0;
}

} // namespace formats
