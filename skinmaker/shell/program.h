#pragma once

#include "aboutwindow.h"
#include "folderbrowsewindow.h"
#include "mainwindow.h"
#include "splashwindow.h"
#include "tipwindow.h"

#include "skinmaker/authoring/buttonoptionswindow.h"
#include "skinmaker/authoring/checkwindow.h"
#include "skinmaker/authoring/previewwindow.h"
#include "skinmaker/authoring/skininfowindow.h"
#include "skinmaker/music/musicwindow.h"

#include "platform/widgets/notice.h"
#include "platform/widgets/singlewindow.h"

#include <QObject>

#include <type_traits>

namespace skinmaker::shell {

// The main program Morvane: its windows, each made on first use with what it needs, and the
// steps of its start. A test makes a fresh one for a fresh start.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(QObject *parent = nullptr);

    // The start of the program: the process and the look, then the main window's load steps.
    void start();
    // Form1's load steps: the tip window, whose own load first shows the splash, which makes
    // Form1 visible; then the splash again, and the tune.
    void loadMainWindow();

    // The one place of each of the program's windows.
    template <typename Window>
    platform::SingleWindow<Window> &window();

private:
    // The tip window's load steps: the splash first, then the tip or, when tips at start are
    // off, closing it unseen. An open tip window is only brought forward.
    void showTipAtStartUp();
    // The first request makes the splash and runs its load steps, a later one brings it up
    // again; once it has closed, it stays closed.
    void showSplashDuringStartUp();
    // An existing preview, shown or hidden, is only brought forward: its picture stays.
    void showPreview(const core::SkinLocation &location, const QString &pictureName);
    // Checks the skin this location names, and shows the findings once it names a skin folder.
    void showSkinCheck(const core::SkinLocation &location);

    MainWindow *makeMainWindow();
    FolderBrowseWindow *makeFolderBrowseWindow();
    SplashWindow *makeSplashWindow();
    core::SkinLocation locationNow();

    platform::ProgramTitle m_title{QStringLiteral("Morvane")};
    bool m_splashClosed = false;
    platform::SingleWindow<MainWindow> m_main{[this] { return makeMainWindow(); }};
    platform::SingleWindow<SplashWindow> m_splash{[this] { return makeSplashWindow(); }};
    platform::SingleWindow<TipWindow> m_tip;
    platform::SingleWindow<FolderBrowseWindow> m_folderBrowse{[this] { return makeFolderBrowseWindow(); }};
    platform::SingleWindow<authoring::ButtonOptionsWindow> m_buttonOptions{
        [this] { return new authoring::ButtonOptionsWindow([this] { return locationNow(); }); }};
    platform::SingleWindow<authoring::SkinInfoWindow> m_skinInfo{
        [this] { return new authoring::SkinInfoWindow([this] { return locationNow(); }); }};
    platform::SingleWindow<authoring::PreviewWindow> m_preview;
    platform::SingleWindow<authoring::CheckWindow> m_skinCheck;
    platform::SingleWindow<music::MusicWindow> m_music;
    platform::SingleWindow<AboutWindow> m_about;
};

template <typename Window>
platform::SingleWindow<Window> &Program::window()
{
    if constexpr (std::is_same_v<Window, MainWindow>)
        return m_main;
    else if constexpr (std::is_same_v<Window, SplashWindow>)
        return m_splash;
    else if constexpr (std::is_same_v<Window, TipWindow>)
        return m_tip;
    else if constexpr (std::is_same_v<Window, FolderBrowseWindow>)
        return m_folderBrowse;
    else if constexpr (std::is_same_v<Window, authoring::ButtonOptionsWindow>)
        return m_buttonOptions;
    else if constexpr (std::is_same_v<Window, authoring::SkinInfoWindow>)
        return m_skinInfo;
    else if constexpr (std::is_same_v<Window, authoring::PreviewWindow>)
        return m_preview;
    else if constexpr (std::is_same_v<Window, authoring::CheckWindow>)
        return m_skinCheck;
    else if constexpr (std::is_same_v<Window, music::MusicWindow>)
        return m_music;
    else
        return m_about;
}

} // namespace skinmaker::shell
