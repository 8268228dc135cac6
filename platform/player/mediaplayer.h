#pragma once

#include "platform/core/scopedoverride.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

// The background-music player of the main window: a media file name and a few commands,
// carried out in the background so that the windows never wait for the sound.
namespace platform {

// Open prepares the file, Play starts or continues the tune, Prev goes back to its
// beginning, Stop halts it with the device still open, Close releases the device.
enum class PlayerCommand { Open, Play, Prev, Stop, Close };

// The command as the multimedia control spells it: "open", "play", "prev", "stop", "close".
QString playerCommandName(PlayerCommand command);
// The command a name spells, whatever its case; none for any other name.
std::optional<PlayerCommand> playerCommandNamed(QStringView name);

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // The file the next Open prepares: a Windows-style path as the music setting file
    // stores it ("music\1.mid", "D:\曲\a.mp3") or a native one.
    virtual void setFileName(const QString &name) = 0;

    // A command that cannot be carried out (no such file, no music in it, no sound device)
    // does nothing.
    virtual void command(PlayerCommand command) = 0;
};

// The system's player, unless a PlayerOverride is alive, which supplies its own.
std::unique_ptr<MediaPlayer> makePlayer();

// While one exists, makePlayer() returns what this factory makes (tests hand out
// players that record what they are told).
class PlayerOverride : public ScopedOverride<PlayerOverride> {
public:
    using Factory = std::function<std::unique_ptr<MediaPlayer>()>;

    explicit PlayerOverride(Factory factory);
    ~PlayerOverride();

    std::unique_ptr<MediaPlayer> make() const { return m_factory(); }

private:
    Factory m_factory;
};

} // namespace platform
