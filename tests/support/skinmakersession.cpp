#include "skinmakersession.h"

#include "uitest.h"

#include "skinmaker/core/tips.h"
#include "skinmaker/shell/program.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace testsupport {

skinmaker::shell::Program *startSkinmaker()
{
    skinmaker::core::storeTipsAtStartup(false);
    auto *program = new skinmaker::shell::Program(QCoreApplication::instance());
    program->start();
    if (QWidget *splash = program->window<skinmaker::shell::SplashWindow>().existing()) {
        QTest::keyClick(splash, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return program;
}

void SkinmakerSession::start(const QStringList &skinFolders)
{
    m_install = std::make_unique<QTemporaryDir>();
    for (const QString &folder : skinFolders)
        QDir(m_install->path()).mkpath(folder);
    m_notices = std::make_unique<platform::NoticeRecorder>();
    m_program = startSkinmaker();
}

void SkinmakerSession::finish()
{
    destroyAllWindows();
    m_notices.reset();
    m_install.reset();
}

skinmaker::shell::MainWindow *SkinmakerSession::form1() const
{
    return m_program ? m_program->window<skinmaker::shell::MainWindow>().existing() : nullptr;
}

QLineEdit *SkinmakerSession::box(const char *name) const
{
    return form1() ? form1()->findChild<QLineEdit *>(QLatin1String(name)) : nullptr;
}

void SkinmakerSession::fillLocation(const QString &installPath, const QString &skinName, const char *option) const
{
    box("Text7")->setText(installPath);
    box("Text8")->setText(skinName);
    if (option)
        form1()->findChild<QRadioButton *>(QLatin1String(option))->setChecked(true);
}

bool clickButton(QWidget *window, const char *name)
{
    auto *button = window ? window->findChild<QPushButton *>(QLatin1String(name)) : nullptr;
    if (!button)
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

QString locationNotice(const QString &path)
{
    return QStringLiteral("您要生成的文件为") + path + QStringLiteral("如果确认无误请点确定");
}

QString tipsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(skinmaker::core::tipsFileName());
}

} // namespace testsupport
