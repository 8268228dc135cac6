#pragma once

#include "mediaplayer.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {

// Hands everything it is told, in order, to another player running on a thread of its
// own, and returns at once. The thread starts with the first call; destroying this
// player drops what is still queued, destroys the other player on that thread (which
// closes its device) and waits for the thread to end.
class BackgroundPlayer final : public MediaPlayer {
public:
    explicit BackgroundPlayer(std::unique_ptr<MediaPlayer> player);
    ~BackgroundPlayer() override;
    BackgroundPlayer(const BackgroundPlayer &) = delete;
    BackgroundPlayer &operator=(const BackgroundPlayer &) = delete;

    void setFileName(const QString &name) override;
    void command(PlayerCommand command) override;

private:
    // A file name, or else a command.
    struct Request {
        std::optional<QString> fileName;
        PlayerCommand command = PlayerCommand::Open;
    };

    void enqueue(Request request);
    void run();

    std::unique_ptr<MediaPlayer> m_player; // used on the player's thread only
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Request> m_queue;
    bool m_finishing = false;
    std::thread m_thread;
};

} // namespace platform
