#pragma once

// The "while one exists" objects: the overrides that tests use to stand in for the system
// (the notice boxes, the player, the random numbers...) and the title a program object holds.
// A class derives from ScopedOverride<itself>;
// while an object of it exists, it is the active one, and when it ends, the one it replaced
// is active again, so overrides nest as the scopes that hold them do.
namespace platform {

template <typename Override>
class ScopedOverride {
public:
    // The innermost override alive, or nullptr.
    static Override *active() { return static_cast<Override *>(s_active); }

    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

protected:
    ScopedOverride() : m_previous(s_active) { s_active = this; }
    // One that ends before a later one (objects owned by a parent end in the order they were
    // made) leaves the chain without disturbing it.
    ~ScopedOverride()
    {
        ScopedOverride **link = &s_active;
        while (*link && *link != this)
            link = &(*link)->m_previous;
        if (*link)
            *link = m_previous;
    }

private:
    static inline ScopedOverride *s_active = nullptr;
    ScopedOverride *m_previous;
};

} // namespace platform
