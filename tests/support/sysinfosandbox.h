#pragma once

#include "fakeregistry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// A machine of the test's own for finding the system information tool: an empty fake
// registry, a search path holding only what the test puts there, a fresh Wine C: drive, and
// stand-in programs that note in a log that they were started. set up() in a test's init(),
// tearDown() in its cleanup(); the latter also checks that every registry key was closed.
class SystemInfoSandbox {
public:
    void setUp();
    void tearDown();

    FakeRegistry &registry() { return *m_registry; }
    QString searchPath() const { return m_searchPath; }

    // A program that notes the name it was started by in the log, then lingers as a real
    // tool would. A missing interpreter makes a program that cannot start.
    void writeStub(const QString &nativePath, const QByteArray &interpreter = "/bin/sh");
    void putOnSearchPath(const QString &toolName);
    QStringList startedPrograms() const;

private:
    QTemporaryDir m_folder;
    QString m_searchPath; // the only folder on PATH while a test runs
    QString m_log;
    QByteArray m_savedPath;
    QByteArray m_savedWinePrefix;
    std::unique_ptr<FakeRegistry> m_registry;
    std::unique_ptr<platform::registry::BackendOverride> m_useRegistry;
};

} // namespace testsupport
