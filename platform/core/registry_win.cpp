// The Windows registry behind the registry backend. Kept free of Qt so that it can be
// checked with a plain cross compiler.
#include "platform/core/registrybackend.h"

#include <windows.h>

namespace platform::registry {

namespace {

HKEY rootKey(Root root)
{
    switch (root) {
    case Root::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case Root::CurrentUser:
        return HKEY_CURRENT_USER;
    case Root::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case Root::Users:
        return HKEY_USERS;
    }
    return HKEY_LOCAL_MACHINE;
}

HKEY keyOf(KeyHandle key)
{
    return reinterpret_cast<HKEY>(key);
}

class WindowsBackend final : public Backend {
public:
    bool open(Root root, const std::string &keyPath, KeyHandle &key) override
    {
        // Read rights only: asking for more is refused to ordinary users below
        // HKEY_LOCAL_MACHINE, and reading is all the programs do.
        HKEY opened = nullptr;
        if (RegOpenKeyExA(rootKey(root), keyPath.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            return false;
        key = reinterpret_cast<KeyHandle>(opened);
        return true;
    }

    bool query(KeyHandle key, const std::string &valueName, std::uint32_t &type, unsigned char *buffer,
               std::uint32_t &size) override
    {
        DWORD valueType = 0;
        DWORD bytes = size;
        // ERROR_MORE_DATA (value longer than the buffer) fails like any other error.
        if (RegQueryValueExA(keyOf(key), valueName.c_str(), nullptr, &valueType, buffer, &bytes) != ERROR_SUCCESS)
            return false;
        type = valueType;
        size = bytes;
        return true;
    }

    void close(KeyHandle key) override { RegCloseKey(keyOf(key)); }
};

} // namespace

Backend &systemBackend()
{
    static WindowsBackend backend;
    return backend;
}

} // namespace platform::registry
