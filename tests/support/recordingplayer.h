#pragma once

#include "platform/player/mediaplayer.h"

#include <QStringList>

namespace testsupport {

// Stands in for the real player and notes what the main window tells it: "name:" and the
// file name, or the command.
class RecordingPlayer : public platform::MediaPlayer {
public:
    explicit RecordingPlayer(QStringList &calls) : m_calls(calls) {}
    void setFileName(const QString &name) override { m_calls << QStringLiteral("name:") + name; }
    void command(platform::PlayerCommand command) override { m_calls << platform::playerCommandName(command); }

private:
    QStringList &m_calls;
};

} // namespace testsupport
