#pragma once

#include "environment.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

// Helpers for the test programs that drive windows: finding controls by name and
// triggering menu items by name.
namespace platform {
class FolderList;
}

namespace testsupport {

// Triggers the menu action with this objectName; returns what was wrong, or nothing.
// A missing, hidden or disabled action is a failure, never silently skipped.
QString triggerAction(QWidget *window, const QString &name);
inline QString triggerAction(QWidget *window, const char *name)
{
    return triggerAction(window, QString::fromUtf8(name));
}

// Destroys every top-level window, so each test starts from a program with none.
void destroyAllWindows();

// The running program's window of this class, or nullptr when it has none: a program makes
// each of its windows at most once.
template <typename Window>
Window *existingWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget))
            return window;
    }
    return nullptr;
}

// Waits until every folder and file list in the window has read the folder it shows, which
// on a busy machine may take longer than the lists wait before they show a folder; false
// when one is still reading after the time.
bool listsRead(const QWidget *window, int milliseconds = 10000);

// Clicks a folder's entry in a folder list as a user does, and a double click opens it;
// false when the list shows no such entry once it has been read.
bool clickFolder(platform::FolderList *list, const QString &folder, bool open = true);

// Runs the application's event loop as the program does, until the program ends it; a loop
// that does not end within the time stops with 99 instead.
int runEventLoop(int milliseconds = 5000);

} // namespace testsupport

#define TRIGGER(window, name)                                                                                          \
    do {                                                                                                               \
        const QString triggerProblem = ::testsupport::triggerAction(window, name);                                     \
        QVERIFY2(triggerProblem.isEmpty(), qPrintable(triggerProblem));                                                \
    } while (false)

// Finds a control by objectName or fails the test.
#define FIND(Type, variable, parent, name)                                                                             \
    Type *variable = (parent)->findChild<Type *>(QStringLiteral(name));                                                \
    QVERIFY2(variable, "no " #Type " named " name)

// A test main with an isolated environment set up before the application starts.
#define MORVANE_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        ::testsupport::IsolatedEnvironment environment;                                                                \
        QApplication application(argc, argv);                                                                          \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
