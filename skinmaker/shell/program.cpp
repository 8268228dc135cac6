#include "program.h"

#include "startupsteps.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/player/mediaplayer.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/words/filewords.h"

#include <QCheckBox>

namespace skinmaker::shell {

Program::Program(QObject *parent) : QObject(parent)
{
}

void Program::start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    platform::look::applyApplicationLook();
    m_main.get();
    loadMainWindow();
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

void Program::loadMainWindow()
{
    markStartUpStep("Form1 load");
    showTipAtStartUp();
    showSplashDuringStartUp();
    m_main.get()->startTune();
}

void Program::showTipAtStartUp()
{
    if (!m_tip.existing()) {
        TipWindow *tip = m_tip.get();
        markStartUpStep("frmTip load");
        showSplashDuringStartUp();
        if (!tip->load()) {
            // Closing itself while loading is no failure: start-up simply goes on.
            m_tip.destroy();
            markStartUpStep("frmTip closed unseen");
            return;
        }
    }
    m_tip.show();
    markStartUpStep("frmTip shown");
}

void Program::showSplashDuringStartUp()
{
    if (m_splashClosed)
        return;
    const bool loaded = m_splash.existing();
    SplashWindow *splash = m_splash.show();
    markStartUpStep("frmSplash shown");
    if (loaded) {
        splash->comeForwardAgain();
        return;
    }
    // The main window is still running its own load steps when it becomes visible here.
    m_main.show();
    markStartUpStep("Form1 shown");
    splash->fillLabels(m_title.text());
    markStartUpStep("frmSplash labels set");
}

void Program::showPreview(const core::SkinLocation &location, const QString &pictureName)
{
    if (m_preview.existing()) {
        m_preview.show();
        return;
    }
    if (m_preview.get()->load(location, pictureName))
        m_preview.show();
}

void Program::showSkinCheck(const core::SkinLocation &location)
{
    if (m_skinCheck.get()->check(location))
        m_skinCheck.show();
}

MainWindow *Program::makeMainWindow()
{
    auto *main = new MainWindow(platform::makePlayer());
    connect(main, &MainWindow::folderBrowseRequested, this, [this] { m_folderBrowse.show(); });
    connect(main, &MainWindow::buttonOptionsRequested, this, [this] { m_buttonOptions.show(); });
    connect(main, &MainWindow::skinInfoRequested, this, [this] { m_skinInfo.show(); });
    connect(main, &MainWindow::aboutRequested, this, [this] { m_about.show(); });
    connect(main, &MainWindow::musicChoiceRequested, this, [this] { m_music.show(); });
    connect(main, &MainWindow::previewRequested, this, &Program::showPreview);
    connect(main, &MainWindow::skinCheckRequested, this, &Program::showSkinCheck);
    connect(main, &MainWindow::newSkinStarted, this, [this] { m_buttonOptions.get()->clearBoxes(); });
    connect(main, &MainWindow::tipsTurnedOn, this, [this] {
        if (TipWindow *tip = m_tip.existing())
            tip->startUpBox()->setChecked(true);
    });
    return main;
}

SplashWindow *Program::makeSplashWindow()
{
    auto *splash = new SplashWindow;
    connect(splash, &SplashWindow::closed, this, [this] { m_splashClosed = true; });
    return splash;
}

FolderBrowseWindow *Program::makeFolderBrowseWindow()
{
    auto *browse = new FolderBrowseWindow;
    connect(browse, &FolderBrowseWindow::folderChosen, this,
            [this](const QString &folder) { m_main.get()->takeInstallFolder(folder); });
    return browse;
}

core::SkinLocation Program::locationNow()
{
    return m_main.get()->location();
}

} // namespace skinmaker::shell
