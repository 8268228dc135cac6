#pragma once

// The system registry as the programs need it: open a key for reading, read one value,
// close the key. Free of Qt, so the Windows side compiles with nothing but the system
// headers; the text rules live above it, in registry.h.

#include <cstdint>
#include <string>

namespace platform::registry {

// The predefined roots, numbered as the system numbers them.
enum class Root : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

using KeyHandle = std::uintptr_t;

// Value types as the system stores them.
inline constexpr std::uint32_t textType = 1; // REG_SZ
inline constexpr std::uint32_t numberType = 4; // REG_DWORD, little-endian

class Backend {
public:
    virtual ~Backend() = default;

    // Opens the key at keyPath (ANSI bytes, "\" between names) below root, read only.
    virtual bool open(Root root, const std::string &keyPath, KeyHandle &key) = 0;

    // Reads the named value (ANSI bytes) into buffer. On entry size is the buffer's
    // capacity, on success the number of bytes stored. A value that does not fit fails.
    virtual bool query(KeyHandle key, const std::string &valueName, std::uint32_t &type, unsigned char *buffer,
                       std::uint32_t &size) = 0;

    virtual void close(KeyHandle key) = 0;
};

// The running system's registry; on a system without one, a registry that holds no keys.
Backend &systemBackend();

} // namespace platform::registry
