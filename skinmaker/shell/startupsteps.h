#pragma once

#include "platform/core/scopedoverride.h"

#include <QString>

#include <functional>

// The steps of the program's start, named as they happen. Nothing in the program depends on
// them: they let a test see that the windows come up in their order.
namespace skinmaker::shell {

void markStartUpStep(const char *step);

// While one exists, each step is handed to it.
class StartUpWatch : public platform::ScopedOverride<StartUpWatch> {
public:
    explicit StartUpWatch(std::function<void(const QString &step)> onStep);
    ~StartUpWatch();

    void take(const QString &step) const { m_onStep(step); }

private:
    std::function<void(const QString &)> m_onStep;
};

} // namespace skinmaker::shell
