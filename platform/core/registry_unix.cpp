// Desktops other than Windows keep no system registry: every key is missing.
#include "platform/core/registrybackend.h"

namespace platform::registry {

namespace {

class NoKeysBackend final : public Backend {
public:
    bool open(Root, const std::string &, KeyHandle &) override { return false; }
    bool query(KeyHandle, const std::string &, std::uint32_t &, unsigned char *, std::uint32_t &) override
    {
        return false;
    }
    void close(KeyHandle) override {}
};

} // namespace

Backend &systemBackend()
{
    static NoKeysBackend backend;
    return backend;
}

} // namespace platform::registry
