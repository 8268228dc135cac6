#pragma once

#include "platform/core/registrybackend.h"
#include "platform/core/scopedoverride.h"

#include <QString>

namespace platform::registry {

// Bytes read from a value, at most; longer values count as unreadable.
inline constexpr std::uint32_t valueBufferSize = 1024;

// Reads one value. On success text receives it: a text value decoded from the ANSI code
// page, a 32-bit number as "&h" and upper-case hex digits, and for any other type text
// keeps what the caller put in it. On failure text is emptied and the result is false.
// A key that was opened is always closed again.
bool GetKeyValue(Root root, const QString &keyPath, const QString &valueName, QString &text);
bool GetKeyValue(Backend &backend, Root root, const QString &keyPath, const QString &valueName, QString &text);

// The backend GetKeyValue reads without one named: the system's, or an override's.
Backend &currentBackend();

// While one exists, GetKeyValue reads this backend instead of the system's registry.
class BackendOverride : public ScopedOverride<BackendOverride> {
public:
    explicit BackendOverride(Backend &backend);
    ~BackendOverride();

    Backend &backend() const { return m_backend; }

private:
    Backend &m_backend;
};

} // namespace platform::registry
