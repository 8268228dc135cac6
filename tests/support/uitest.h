#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// Shared helpers for the Qt Test programs: an isolated home and working folder, finding
// controls by name, triggering menu items by name, and reading and writing raw files.
namespace testsupport {

// Points HOME, the XDG folders and WINEPREFIX into a fresh temporary folder and makes a
// fresh working folder current, so no test touches a real user's settings or files.
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    QString root() const { return m_root.path(); }
    QString workFolder() const;
    QString winePrefix() const;

private:
    QTemporaryDir m_root;
};

// Triggers the menu action with this objectName; returns what was wrong, or nothing.
// A missing, hidden or disabled action is a failure, never silently skipped.
QString triggerAction(QWidget *window, const QString &name);

// Destroys every top-level window, so each test starts from a program with none.
void destroyAllWindows();

// While it lives, writes past this many bytes into any file fail part-way (as on a full
// disk), even for root. Lets tests watch a write break after the file was opened.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    qint64 m_savedSoft = 0;
};

// Every file and folder below a folder, files with their bytes: equal snapshots taken
// before and after an action show that it wrote nothing.
QMap<QString, QByteArray> snapshot(const QString &folder);

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
QByteArray gbk(const QString &text);

} // namespace testsupport

#define TRIGGER(window, name)                                                       \
    do {                                                                            \
        const QString triggerProblem = ::testsupport::triggerAction(window, name);  \
        QVERIFY2(triggerProblem.isEmpty(), qPrintable(triggerProblem));             \
    } while (false)

// Finds a control by objectName or fails the test.
#define FIND(Type, variable, parent, name)                                          \
    Type *variable = (parent)->findChild<Type *>(QStringLiteral(name));             \
    QVERIFY2(variable, "no " #Type " named " name)

// A test main with an isolated environment set up before the application starts.
#define MORVANE_TEST_MAIN(TestClass)                                                \
    int main(int argc, char *argv[])                                                \
    {                                                                               \
        ::testsupport::IsolatedEnvironment environment;                             \
        QApplication application(argc, argv);                                       \
        TestClass test;                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                  \
        return QTest::qExec(&test, argc, argv);                                     \
    }
