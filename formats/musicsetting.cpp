#include "musicsetting.h"

#include "platform/core/ansitext.h"

namespace formats {

QString musicSettingFileName()
{
    return QStringLiteral("qqq.qq");
}

std::optional<QString> readMusicSetting(const QString &fileName)
{
    return platform::textfile::readFirstLine(fileName);
}

MusicSettingOutcome storeMusicSetting(const QString &line, const QString &fileName)
{
    MusicSettingOutcome outcome;
    outcome.path = platform::textfile::absoluteNativePath(fileName);

    outcome.characters = platform::ansi::controlCharacters(line);
    if (!outcome.characters.isEmpty()) {
        outcome.kind = MusicSettingOutcome::ControlCharacters;
        return outcome;
    }
    const platform::ansi::Encoded encoded = platform::ansi::encode(line);
    if (!encoded.ok()) {
        outcome.kind = MusicSettingOutcome::UnencodableCharacters;
        outcome.characters = encoded.unencodable;
        return outcome;
    }
    const platform::textfile::WriteResult result = platform::textfile::replaceWithLine(fileName, encoded.bytes);
    if (!result.ok()) {
        outcome.kind = MusicSettingOutcome::FileFailed;
        outcome.error = result.error;
    }
    return outcome;
}

QString musicSettingNotice(const MusicSettingOutcome &outcome)
{
    const QString characters = platform::ansi::displayCharacters(outcome.characters);
    switch (outcome.kind) {
    case MusicSettingOutcome::Stored:
        return {};
    case MusicSettingOutcome::ControlCharacters:
        return QStringLiteral("音乐文件的路径中含有换行等控制字符,无法保存,请删除后再试:\n“%1”").arg(characters);
    case MusicSettingOutcome::UnencodableCharacters:
        return QStringLiteral("音乐文件的路径中含有无法保存的字符,请修改后再试:\n“%1”").arg(characters);
    case MusicSettingOutcome::FileFailed:
        return QStringLiteral("无法保存音乐设置到文件") + outcome.path + QStringLiteral("\n原因:")
            + platform::textfile::describe(outcome.error) + QStringLiteral("\n文件没有被改动,请检查后再试.");
    }
    return {};
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
