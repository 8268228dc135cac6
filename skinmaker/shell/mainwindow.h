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
enum class PlayerCommand;
} // namespace platform

namespace skinmaker::shell {

// Form1, the main window: the basic fields of a skin, the location fields every writing
// window reads, and the menus that reach everything else.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Other windows read the fields at any time, even after the user closed this one.
    static constexpr bool keepsFieldsWhenClosed = true;

    static inline const QString defaultInstallPath = QStringLiteral("C:\\Program Files\\Tencent\\qq");

    // player is MMControl1, the background-music player; it has no visible part.
    explicit MainWindow(std::unique_ptr<platform::MediaPlayer> player);
    ~MainWindow() override;

    // The last load step: the tune the music setting file names starts playing once through.
    void startTune();

    core::SkinLocation location() const;
    core::BasicFields basicFields() const;

    QLineEdit *installPathBox() const { return m_installPathBox; }
    QLineEdit *backgroundBox() const { return m_backgroundBox; }

    // The folder picked in the browse window becomes the installation path.
    void takeInstallFolder(const QString &folder);

Q_SIGNALS:
    // The frame closed the window: the player lets go of its device.
    void closedByFrame();
    // The menus and buttons that open the windows around this one; the program opens them.
    void folderBrowseRequested();
    void buttonOptionsRequested();
    void skinInfoRequested();
    void aboutRequested();
    void musicChoiceRequested();
    void previewRequested(const core::SkinLocation &location, const QString &pictureName);
    void skinCheckRequested(const core::SkinLocation &location);
    // 新建 cleared this window's boxes; the button options belong to the skin too.
    void newSkinStarted();
    // 启动显示每日提示, just before the setting is stored: an open tip window ticks its box.
    void tipsTurnedOn();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFields();
    void buildMenus();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});

    void generate();
    void startNewSkin();
    void turnTipsOn();
    void sendToPlayer(platform::PlayerCommand command);
    // The boxes of the basic block in the order their values stand in it.
    QList<QLineEdit *> basicBlockBoxes() const;

    // Named by the key each box feeds; the captions of the size boxes say otherwise.
    QLineEdit *m_backgroundBox = nullptr; // Text1
    QLineEdit *m_maxWidthBox = nullptr; // Text2
    QLineEdit *m_minHeightBox = nullptr; // Text3
    QLineEdit *m_minWidthBox = nullptr; // Text4
    QLineEdit *m_titleBarPictureBox = nullptr; // Text5
    QLineEdit *m_menuLogoBox = nullptr; // Text6
    QLineEdit *m_installPathBox = nullptr; // Text7
    QLineEdit *m_skinNameBox = nullptr; // Text8
    QCheckBox *m_titleBarBox = nullptr; // Check1
    QRadioButton *m_qq2003Option = nullptr; // Option1
    QRadioButton *m_qq2004Option = nullptr; // Option2
    std::unique_ptr<platform::MediaPlayer> m_player; // MMControl1
};

} // namespace skinmaker::shell
