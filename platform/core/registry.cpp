#include "registry.h"

#include "platform/core/ansitext.h"

#include <QtGlobal>

#include <array>

namespace platform::registry {

namespace {

// Closes the key however the read ends.
class OpenKey {
public:
    OpenKey(Backend &backend, KeyHandle key) : m_backend(backend), m_key(key) {}
    ~OpenKey() { m_backend.close(m_key); }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

private:
    Backend &m_backend;
    KeyHandle m_key;
};

// Names cross to the registry in the ANSI code page; a name GBK cannot hold names no key.
bool toAnsi(const QString &name, std::string &bytes)
{
    const ansi::Encoded encoded = ansi::encode(name);
    if (!encoded.ok())
        return false;
    bytes.assign(encoded.bytes.constData(), std::size_t(encoded.bytes.size()));
    return true;
}

bool fail(QString &text)
{
    text.clear();
    return false;
}

} // namespace

bool GetKeyValue(Backend &backend, Root root, const QString &keyPath, const QString &valueName, QString &text)
{
    std::string path;
    std::string name;
    if (!toAnsi(keyPath, path) || !toAnsi(valueName, name))
        return fail(text);

    KeyHandle key = 0;
    if (!backend.open(root, path, key))
        return fail(text);
    const OpenKey keyCloser(backend, key);

    std::array<unsigned char, valueBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = valueBufferSize;
    if (!backend.query(key, name, type, buffer.data(), size) || size > valueBufferSize)
        return fail(text);

    // Text values usually carry their terminating zero; one trailing zero byte goes.
    QByteArray stored(reinterpret_cast<const char *>(buffer.data()), qsizetype(size));
    if (stored.endsWith('\0'))
        stored.chop(1);

    if (type == textType) {
        text = ansi::decode(stored);
    } else if (type == numberType) {
        // The buffer started zeroed, so a dropped high zero byte reads back as zero.
        const quint32 value =
            quint32(buffer[0]) | quint32(buffer[1]) << 8 | quint32(buffer[2]) << 16 | quint32(buffer[3]) << 24;
        text = QStringLiteral("&h") + QString::number(value, 16).toUpper();
    }
    return true;
}

bool GetKeyValue(Root root, const QString &keyPath, const QString &valueName, QString &text)
{
    return GetKeyValue(currentBackend(), root, keyPath, valueName, text);
}

Backend &currentBackend()
{
    const BackendOverride *override = BackendOverride::active();
    return override ? override->backend() : systemBackend();
}

BackendOverride::BackendOverride(Backend &backend) : m_backend(backend)
{
}

BackendOverride::~BackendOverride() = default;

} // namespace platform::registry
