#pragma once

#include <QString>

#include <functional>
#include <memory>

// The background-music player of the main window: a media file name and a few command
// strings, carried out in the background so that the windows never wait for the sound.
namespace platform {

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // The file the next "open" prepares: a Windows-style path as the music setting file
    // stores it ("music\1.mid", "D:\曲\a.mp3") or a native one.
    virtual void setFileName(const QString &name) = 0;

    // "open" prepares the file, "play" starts or continues the tune, "prev" goes back to
    // its beginning, "stop" halts it with the device still open, "close" releases the
    // device. Case does not matter. Anything else, and any command that cannot be carried
    // out (no such file, no music in it, no sound device), does nothing.
    virtual void command(const QString &command) = 0;
};

// The system's player, unless a PlayerOverride is alive, which supplies its own.
std::unique_ptr<MediaPlayer> makePlayer();

// While one exists, makePlayer() returns what this factory makes (tests hand out
// players that record what they are told).
class PlayerOverride {
public:
    using Factory = std::function<std::unique_ptr<MediaPlayer>()>;

    explicit PlayerOverride(Factory factory);
    ~PlayerOverride();
    PlayerOverride(const PlayerOverride &) = delete;
    PlayerOverride &operator=(const PlayerOverride &) = delete;

    std::unique_ptr<MediaPlayer> make() const { return m_factory(); }

private:
    Factory m_factory;
    PlayerOverride *m_previous = nullptr;
};

} // namespace platform
