#pragma once

#include "singlewindow.h"

#include "platform/core/scopedoverride.h"

#include <QApplication>
#include <QString>
#include <QStringList>

// Starting the companion programs (the help program, the background-music setter) by bare
// file name, the way the main program's menu does it.
namespace platform {

// Where a companion is looked for before the ordinary program search: the folder of the
// running program, unless a CompanionFolders override is alive.
QStringList companionFolders();

// The full path of the program with this bare file name, or an empty string. The folders
// come first, then the ordinary program search; where programs carry no ".exe", the name
// without it is tried as well.
QString findCompanion(const QString &fileName, const QStringList &folders = companionFolders());

// Starts the program detached, with no arguments, in our working directory, asking for a
// minimised window with the focus. Does not wait. A program that cannot be found or
// started is reported in a notice naming it, and the file and the reason when there is a
// file; returns whether it started.
bool startCompanion(const QString &fileName, const QStringList &folders = companionFolders());

// Our companions call this once at start: true when the program that started them asked
// for a minimised window. The request is consumed, so programs they start do not inherit it.
bool takeMinimizedRequest();

// A companion's first window, shown as the program that started it asked: minimised with the
// focus, or as usual.
template <typename Window>
Window *showFirstWindow(SingleWindow<Window> &first)
{
    if (!takeMinimizedRequest())
        return first.show();
    Window *window = first.get();
    window->showMinimized();
    window->activateWindow();
    // A desktop without a task bar shows a minimised window nowhere: ask it to point ours out.
    QApplication::alert(window);
    return window;
}

// While one exists, companions are looked for in these folders instead of the program's
// own (tests place stand-in programs there).
class CompanionFolders : public ScopedOverride<CompanionFolders> {
public:
    explicit CompanionFolders(QStringList folders);
    ~CompanionFolders();

    const QStringList &folders() const { return m_folders; }

private:
    QStringList m_folders;
};

} // namespace platform
