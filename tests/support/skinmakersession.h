#pragma once

#include "platform/widgets/notice.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QLineEdit;
class QWidget;

namespace skinmaker::shell {
class MainWindow;
class Program;
} // namespace skinmaker::shell

namespace testsupport {

// Starts a fresh main program as a user who switched tips at start off and closes the splash
// with a key at once: the main window alone is left, without waiting out the splash's count.
// The program lives as long as the application.
skinmaker::shell::Program *startSkinmaker();

// The main program started as a user starts it (see startSkinmaker), with a QQ installation folder of its own that
// holds the given skin folders, and every notice recorded. start() belongs in a test's init(),
// finish() in its cleanup().
class SkinmakerSession {
public:
    void start(const QStringList &skinFolders = {QStringLiteral("skins/蓝天"), QStringLiteral("NewSkins/蓝天")});
    void finish();

    QString install() const { return m_install->path(); }
    QString installFile(const QString &relative) const { return m_install->filePath(relative); }
    platform::NoticeRecorder &notices() const { return *m_notices; }
    skinmaker::shell::Program &program() const { return *m_program; }

    skinmaker::shell::MainWindow *form1() const;
    // A text box of the main window by name, such as "Text7".
    QLineEdit *box(const char *name) const;
    // Sets the install path and skin name, and picks "Option1" or "Option2" (or neither: nullptr).
    void fillLocation(const QString &installPath, const QString &skinName, const char *option) const;

private:
    std::unique_ptr<QTemporaryDir> m_install;
    std::unique_ptr<platform::NoticeRecorder> m_notices;
    skinmaker::shell::Program *m_program = nullptr;
};

// The notice the writing windows show before they write: the skin.ini path as it shows it.
QString locationNotice(const QString &path);

// The tips file the main program reads beside itself.
QString tipsFile();

// Clicks a window's button by objectName with the mouse; false when the window has none.
bool clickButton(QWidget *window, const char *name = "Command1");

} // namespace testsupport
