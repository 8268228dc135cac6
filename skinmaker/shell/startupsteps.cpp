#include "startupsteps.h"

namespace skinmaker::shell {

namespace {

StartUpWatch *activeWatch = nullptr;

}  // namespace

void markStartUpStep(const char *step)
{
    if (activeWatch)
        activeWatch->take(QString::fromUtf8(step));
}

StartUpWatch::StartUpWatch(std::function<void(const QString &)> onStep)
    : m_onStep(std::move(onStep))
    , m_previous(activeWatch)
{
    activeWatch = this;
}

StartUpWatch::~StartUpWatch()
{
    activeWatch = m_previous;
}

}  // namespace skinmaker::shell
