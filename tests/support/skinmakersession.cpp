#include "skinmakersession.h"

#include "uitest.h"

#include "skinmaker/core/tips.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/shell/splashwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/widgets/singlewindow.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace testsupport {

void startSkinmaker()
{
    skinmaker::core::storeTipsAtStartup(false);
    skinmaker::start();
    if (QWidget *splash = platform::SingleWindow<skinmaker::shell::SplashWindow>::existing()) {
        QTest::keyClick(splash, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void SkinmakerSession::start(const QStringList &skinFolders)
{
    m_install = std::make_unique<QTemporaryDir>();
    for (const QString &folder : skinFolders)
        QDir(m_install->path()).mkpath(folder);
    m_notices = std::make_unique<platform::NoticeRecorder>();
    startSkinmaker();
}

void SkinmakerSession::finish()
{
    destroyAllWindows();
    m_notices.reset();
    m_install.reset();
}

skinmaker::shell::MainWindow *SkinmakerSession::form1() const
{
    return platform::SingleWindow<skinmaker::shell::MainWindow>::existing();
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
