#include "mediaplayer.h"

#include "backgroundplayer.h"
#include "sdlplayer.h"

#include <QCoreApplication>

namespace platform {

namespace {

constexpr std::pair<PlayerCommand, const char *> commandNames[] = {
    {PlayerCommand::Open, "open"}, {PlayerCommand::Play, "play"},   {PlayerCommand::Prev, "prev"},
    {PlayerCommand::Stop, "stop"}, {PlayerCommand::Close, "close"},
};

} // namespace

QString playerCommandName(PlayerCommand command)
{
    for (const auto &[known, name] : commandNames) {
        if (known == command)
            return QLatin1String(name);
    }
    return {};
}

std::optional<PlayerCommand> playerCommandNamed(QStringView name)
{
    for (const auto &[command, known] : commandNames) {
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return command;
    }
    return std::nullopt;
}

std::unique_ptr<MediaPlayer> makePlayer()
{
    if (const PlayerOverride *override = PlayerOverride::active())
        return override->make();
    // Loading a tune can take half a second with a large soundfont, so the sound work
    // runs on a thread of its own and the window only queues commands.
    return std::make_unique<BackgroundPlayer>(std::make_unique<SdlPlayer>(QCoreApplication::applicationName()));
}

PlayerOverride::PlayerOverride(Factory factory) : m_factory(std::move(factory))
{
}

PlayerOverride::~PlayerOverride() = default;

} // namespace platform
