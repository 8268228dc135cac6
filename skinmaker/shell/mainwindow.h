#pragma once

#include "skinmaker/core/blocks.h"
#include "skinmaker/core/location.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace platform {
class MediaPlayer;
}

namespace skinmaker::shell {

// Form1, the main window: the basic fields of a skin, the location fields every writing
// window reads, and the menus that reach everything else.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Other windows read the fields at any time, even after the user closed this one.
    static constexpr bool keepsFieldsWhenClosed = true;

    static inline const QString defaultInstallPath = QStringLiteral("C:\\Program Files\\Tencent\\qq");

    MainWindow();
    ~MainWindow() override;

    // The start-up steps: the tip window (whose splash makes this window visible), the splash
    // again, then the tune. They run once the window is made and registered as the one Form1,
    // so the splash finds this window instead of making a second.
    void load();
    // The last load step: the tune the music setting file names starts playing once through.
    void startTune();

    core::SkinLocation location() const;
    core::BasicFields basicFields() const;

    QLineEdit *installPathBox() const { return m_text7; }
    QLineEdit *backgroundBox() const { return m_text1; }

Q_SIGNALS:
    // The frame closed the window: the player lets go of its device.
    void closedByFrame();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFields();
    void buildMenus();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});

    void generate();
    void startNewSkin();
    void turnTipsOn();
    void sendToPlayer(const char *command);

    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QLineEdit *m_text5 = nullptr;
    QLineEdit *m_text6 = nullptr;
    QLineEdit *m_text7 = nullptr;
    QLineEdit *m_text8 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    // MMControl1, the background-music player; it has no visible part.
    std::unique_ptr<platform::MediaPlayer> m_mmControl1;
};

} // namespace skinmaker::shell
