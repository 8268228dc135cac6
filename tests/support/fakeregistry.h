#pragma once

#include "platform/core/registry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace testsupport {

// A registry in memory that behaves like the system's on the calls the programs make,
// and remembers every open and close so tests can see that no key is left open.
class FakeRegistry final : public platform::registry::Backend {
public:
    using Root = platform::registry::Root;
    using KeyHandle = platform::registry::KeyHandle;

    struct Value {
        std::uint32_t type = 0;
        QByteArray bytes;
    };

    // Keys and names are the ANSI bytes the registry would receive.
    void setValue(Root root, const QByteArray &keyPath, const QByteArray &name, std::uint32_t type,
                  const QByteArray &bytes)
    {
        m_keys[keyName(root, keyPath)][name] = {type, bytes};
    }
    void addKey(Root root, const QByteArray &keyPath) { m_keys[keyName(root, keyPath)]; }

    bool open(Root root, const std::string &keyPath, KeyHandle &key) override
    {
        const QByteArray name = keyName(root, QByteArray::fromStdString(keyPath));
        openedNames << name;
        if (!m_keys.contains(name))
            return false;
        key = ++m_lastHandle;
        m_openKeys.insert(key, name);
        ++opens;
        return true;
    }

    bool query(KeyHandle key, const std::string &valueName, std::uint32_t &type, unsigned char *buffer,
               std::uint32_t &size) override
    {
        capacities << size;
        bufferWasZeroed = bufferWasZeroed && std::all_of(buffer, buffer + size, [](unsigned char b) { return b == 0; });
        if (!m_openKeys.contains(key)) {
            ++misuses;
            return false;
        }
        const auto values = m_keys.value(m_openKeys.value(key));
        const auto found = values.find(QByteArray::fromStdString(valueName));
        if (found == values.end())
            return false;
        // Like the system: a value longer than the buffer reports its size and fails.
        if (std::uint32_t(found->bytes.size()) > size) {
            size = std::uint32_t(found->bytes.size());
            return false;
        }
        std::memcpy(buffer, found->bytes.constData(), std::size_t(found->bytes.size()));
        size = std::uint32_t(found->bytes.size());
        type = found->type;
        return true;
    }

    void close(KeyHandle key) override
    {
        ++closes;
        if (!m_openKeys.remove(key))
            ++misuses;
    }

    // Keys opened and not closed again.
    int stillOpen() const { return int(m_openKeys.size()); }

    QList<QByteArray> openedNames; // every key asked for, found or not, as "root\path"
    QList<std::uint32_t> capacities; // the buffer size of every query
    bool bufferWasZeroed = true;
    int opens = 0;
    int closes = 0;
    int misuses = 0; // queries or closes of keys that were not open

private:
    static QByteArray keyName(Root root, const QByteArray &keyPath)
    {
        return QByteArray::number(std::uint32_t(root), 16) + '\\' + keyPath;
    }

    QHash<QByteArray, QMap<QByteArray, Value>> m_keys;
    QHash<KeyHandle, QByteArray> m_openKeys;
    KeyHandle m_lastHandle = 0x100;
};

} // namespace testsupport
