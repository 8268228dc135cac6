#include "startupsteps.h"

namespace skinmaker::shell {

void markStartUpStep(const char *step)
{
    if (const StartUpWatch *watch = StartUpWatch::active())
        watch->take(QString::fromUtf8(step));
}

StartUpWatch::StartUpWatch(std::function<void(const QString &)> onStep) : m_onStep(std::move(onStep))
{
}

StartUpWatch::~StartUpWatch() = default;

} // namespace skinmaker::shell
