#include "backgroundplayer.h"

namespace platform {

BackgroundPlayer::BackgroundPlayer(std::unique_ptr<MediaPlayer> player) : m_player(std::move(player))
{
}

BackgroundPlayer::~BackgroundPlayer()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_queue.clear();
        m_finishing = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void BackgroundPlayer::setFileName(const QString &name)
{
    enqueue({name});
}

void BackgroundPlayer::command(PlayerCommand command)
{
    enqueue({std::nullopt, command});
}

void BackgroundPlayer::enqueue(Request request)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(request));
    }
    // A program that never plays never starts the thread.
    if (!m_thread.joinable())
        m_thread = std::thread(&BackgroundPlayer::run, this);
    m_wake.notify_one();
}

void BackgroundPlayer::run()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_finishing || !m_queue.empty(); });
            if (m_finishing)
                break;
            request = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (request.fileName)
            m_player->setFileName(*request.fileName);
        else
            m_player->command(request.command);
    }
    // The device is closed on the thread that opened it.
    m_player.reset();
}

} // namespace platform
