#include "mediaplayer.h"

#include "backgroundplayer.h"
#include "sdlplayer.h"

#include <QCoreApplication>

namespace platform {

namespace {

PlayerOverride *activeOverride = nullptr;

} // namespace

std::unique_ptr<MediaPlayer> makePlayer()
{
    if (activeOverride)
        return activeOverride->make();
    // Loading a tune can take half a second with a large soundfont, so the sound work
    // runs on a thread of its own and the window only queues commands.
    return std::make_unique<BackgroundPlayer>(std::make_unique<SdlPlayer>(QCoreApplication::applicationName()));
}

PlayerOverride::PlayerOverride(Factory factory)
    : m_factory(std::move(factory))
    , m_previous(activeOverride)
{
    activeOverride = this;
}

PlayerOverride::~PlayerOverride()
{
    activeOverride = m_previous;
}

} // namespace platform
