#include "mainwindow.h"

#include "startupsteps.h"

#include "formats/musicsetting.h"
#include "skinmaker/authoring/skinwriter.h"
#include "skinmaker/core/tips.h"

#include "platform/player/mediaplayer.h"
#include "platform/widgets/fields.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/look.h"
#include "platform/widgets/menushortcuts.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace skinmaker::shell {

using platform::place;
using platform::look::twipsRect;

namespace {

QGroupBox *placeFrame(QWidget *parent, const char *name, const QString &title, int top, int height)
{
    auto *frame = place<QGroupBox>(parent, name, twipsRect(120, top, 10095, height));
    frame->setTitle(title);
    // Only the window's own background, its two buttons and its check box show the window's
    // pointer; the frames and everything in them keep the ordinary one.
    frame->setCursor(Qt::ArrowCursor);
    return frame;
}

// Rows inside a frame share one height for boxes and their captions.
constexpr int rowHeight = 330;

} // namespace

MainWindow::MainWindow(std::unique_ptr<platform::MediaPlayer> player) : m_player(std::move(player))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Morvane V3.2"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::MinimiseAndClose);
    platform::look::applyWindowLook(this);
    setCursor(platform::look::mainCursor());

    buildFields();
    buildMenus();
    // Ctrl+E ends the program even from inside a text box, as the tips promise.
    platform::putMenuShortcutsFirst(this);
    // Closing the frame releases the sound device; the program itself may go on.
    connect(this, &MainWindow::closedByFrame, this, [this] { sendToPlayer(platform::PlayerCommand::Close); });

    // Fixed single-line frame: the window keeps the designed size, centred on the screen.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    platform::look::centreOnScreen(this);
}

void MainWindow::buildFields()
{
    auto *client = new QWidget(this);
    client->setFixedSize(platform::look::twips(10320), platform::look::twips(6675));
    setCentralWidget(client);

    QGroupBox *frame1 = placeFrame(client, "Frame1", QStringLiteral("背景"), 120, 735);
    QLabel *label1 =
        place<QLabel>(frame1, "Label1", QStringLiteral("输入背景图片名称"), twipsRect(240, 330, 1800, rowHeight));
    m_backgroundBox = place<QLineEdit>(frame1, "Text1", twipsRect(2040, 300, 3600, rowHeight));
    platform::nameField(m_backgroundBox, label1);

    QGroupBox *frame2 = placeFrame(client, "Frame2", QStringLiteral("宽度与高度"), 960, 735);
    QLabel *label2 = place<QLabel>(frame2, "Label2", QStringLiteral("高度"), twipsRect(240, 330, 600, rowHeight));
    m_maxWidthBox = place<QLineEdit>(frame2, "Text2", twipsRect(840, 300, 1500, rowHeight));
    platform::nameField(m_maxWidthBox, label2);
    QLabel *label4 =
        place<QLabel>(frame2, "Label4", QStringLiteral("宽度 (小)"), twipsRect(2760, 330, 1080, rowHeight));
    m_minWidthBox = place<QLineEdit>(frame2, "Text4", twipsRect(3840, 300, 1500, rowHeight));
    platform::nameField(m_minWidthBox, label4);
    QLabel *label3 = place<QLabel>(frame2, "Label3", QStringLiteral("宽度(大)"), twipsRect(5760, 330, 1080, rowHeight));
    m_minHeightBox = place<QLineEdit>(frame2, "Text3", twipsRect(6840, 300, 1500, rowHeight));
    platform::nameField(m_minHeightBox, label3);

    QGroupBox *frame3 = placeFrame(client, "Frame3", QStringLiteral("标题栏"), 1800, 735);
    m_titleBarBox =
        place<QCheckBox>(frame3, "Check1", QStringLiteral("有标题栏"), twipsRect(240, 315, 1440, rowHeight));
    place<QLabel>(frame3, "Label5", QStringLiteral("标题栏按钮图片名称"), twipsRect(2040, 330, 2040, rowHeight));
    m_titleBarPictureBox = place<QLineEdit>(frame3, "Text5", twipsRect(4080, 300, 3600, rowHeight));
    m_titleBarPictureBox->setEnabled(false);

    QGroupBox *frame4 = placeFrame(client, "Frame4", QStringLiteral("菜单"), 2640, 1335);
    QLabel *label6 =
        place<QLabel>(frame4, "Label6", QStringLiteral("主菜单中logo图片名称"), twipsRect(240, 570, 2280, rowHeight));
    m_menuLogoBox = place<QLineEdit>(frame4, "Text6", twipsRect(2520, 540, 3600, rowHeight));
    platform::nameField(m_menuLogoBox, label6);

    QGroupBox *frame5 = placeFrame(client, "Frame5", QStringLiteral("生成"), 4080, 2535);
    m_qq2004Option = place<QRadioButton>(frame5, "Option2", QStringLiteral("2004"), twipsRect(3600, 1740, 1200, 300));
    m_qq2003Option =
        place<QRadioButton>(frame5, "Option1", QStringLiteral("2003及其之前的版本"), twipsRect(240, 1740, 3000, 300));
    // One group: the user must pick one, neither is chosen at first.
    auto *versions = new QButtonGroup(frame5);
    versions->addButton(m_qq2003Option);
    versions->addButton(m_qq2004Option);

    place<QLabel>(frame5, "Label7", QStringLiteral("生成的QQ皮肤名称:"), twipsRect(240, 810, 1920, rowHeight));
    m_skinNameBox = place<QLineEdit>(frame5, "Text8", twipsRect(2160, 780, 1800, rowHeight));
    place<QLabel>(frame5, "Label8", QStringLiteral("QQ安装路径"), twipsRect(240, 330, 1200, rowHeight));
    m_installPathBox = place<QLineEdit>(frame5, "Text7", twipsRect(1440, 300, 6600, rowHeight));
    m_installPathBox->setText(defaultInstallPath);
    auto *browse = place<QPushButton>(frame5, "Command2", QStringLiteral("浏览"), twipsRect(8160, 285, 960, 360));

    place<QLabel>(frame5, "Label10",
                  QStringLiteral("选择你的QQ的版本(注:如果你的QQ的版本比这里的还要新,请下载本软件的最新版)"),
                  twipsRect(240, 1440, 9600, 270));
    QLabel *folderHint =
        place<QLabel>(frame5, "Label9",
                      QStringLiteral("(在QQ的安装目录下有一个skins文件夹,2004是NewSkins,"
                                     "在那个文件夹下建立与此同名的文件夹,并将所需图片都放在那个文件夹中)"),
                      twipsRect(4080, 720, 5760, 600));
    folderHint->setWordWrap(true);

    auto *generateButton =
        place<QPushButton>(frame5, "Command1", QStringLiteral("生成"), twipsRect(8280, 1980, 1455, 450));

    for (QWidget *control : std::initializer_list<QWidget *>{generateButton, browse, m_titleBarBox})
        control->setCursor(platform::look::mainCursor());

    connect(generateButton, &QPushButton::clicked, this, &MainWindow::generate);
    connect(browse, &QPushButton::clicked, this, &MainWindow::folderBrowseRequested);
    // Every click enables the title-bar picture box, checked or not.
    connect(m_titleBarBox, &QCheckBox::clicked, m_titleBarPictureBox,
            [this] { m_titleBarPictureBox->setEnabled(true); });
}

QAction *MainWindow::addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

void MainWindow::buildMenus()
{
    // The menu bar belongs to the frame, in the desktop's colours rather than the window's.
    menuBar()->setPalette(QApplication::palette());
    menuBar()->setAutoFillBackground(true);
    menuBar()->setCursor(Qt::ArrowCursor);

    auto addMenu = [this](QMenu *parent, const char *name, const QString &caption) {
        QMenu *menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };

    QMenu *file = addMenu(nullptr, "file", QStringLiteral("文件[&F]"));
    QAction *newSkin = addItem(file, "new", QStringLiteral("新建"), QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction *exit = addItem(file, "exit", QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu *control = addMenu(nullptr, "qw", QStringLiteral("控制[&C]"));
    QAction *tipsOn = addItem(control, "sh", QStringLiteral("启动显示每日提示"));
    QMenu *music = addMenu(control, "music", QStringLiteral("音乐"));
    QAction *chooseTune = addItem(music, "choose", QStringLiteral("选择音乐"), QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction *startTune = addItem(music, "start", QStringLiteral("开始播放"), QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction *stopTune = addItem(music, "stop", QStringLiteral("停止播放"), QKeySequence(Qt::CTRL | Qt::Key_F12));

    QMenu *advanced = addMenu(nullptr, "ga", QStringLiteral("高级[&S]"));
    QAction *preview = addItem(advanced, "ASSDFGHJKL", QStringLiteral("预览"), QKeySequence(Qt::CTRL | Qt::Key_F1));
    QAction *buttonOptions = addItem(advanced, "g", QStringLiteral("按钮"), QKeySequence(Qt::CTRL | Qt::Key_B));
    QAction *skinInfo =
        addItem(advanced, "copyright", QStringLiteral("版权"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1));

    QMenu *tool = addMenu(nullptr, "tool", QStringLiteral("工具[T]"));
    QAction *musicSetter =
        addItem(tool, "music2", QStringLiteral("背景音乐添加程序"), QKeySequence(Qt::CTRL | Qt::Key_M));
    QAction *checkSkin = addItem(tool, "checkskin", QStringLiteral("检查皮肤"));

    QMenu *help = addMenu(nullptr, "help", QStringLiteral("帮助[&H]"));
    QAction *helpProgram = addItem(help, "hhh", QStringLiteral("帮助"), QKeySequence(Qt::CTRL | Qt::Key_H));
    QAction *about = addItem(help, "about", QStringLiteral("关于"), QKeySequence(Qt::CTRL | Qt::Key_A));

    connect(newSkin, &QAction::triggered, this, &MainWindow::startNewSkin);
    // Ends everything at once, whatever windows are open; nothing asks or saves.
    connect(exit, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(tipsOn, &QAction::triggered, this, &MainWindow::turnTipsOn);
    // The companions run on their own; we neither wait for them nor keep track of them.
    connect(musicSetter, &QAction::triggered, this,
            [] { platform::startCompanion(QStringLiteral("Morvane背景音乐添加程序.exe")); });
    connect(helpProgram, &QAction::triggered, this, [] { platform::startCompanion(QStringLiteral("帮助.exe")); });
    connect(preview, &QAction::triggered, this,
            [this] { Q_EMIT previewRequested(location(), m_backgroundBox->text()); });
    connect(checkSkin, &QAction::triggered, this, [this] { Q_EMIT skinCheckRequested(location()); });
    connect(buttonOptions, &QAction::triggered, this, [this] {
        // The button sections land where the basic fields point, so remind the user first.
        platform::notice(
            QStringLiteral("请确定基本内容中的生成选项已经填写完毕,如果未填写完毕,将无法正确使用高级选项!"));
        Q_EMIT buttonOptionsRequested();
    });
    connect(skinInfo, &QAction::triggered, this, &MainWindow::skinInfoRequested);
    connect(about, &QAction::triggered, this, &MainWindow::aboutRequested);
    connect(chooseTune, &QAction::triggered, this, &MainWindow::musicChoiceRequested);
    // Again from the very beginning, whether it was playing, stopped or had ended.
    connect(startTune, &QAction::triggered, this, [this] {
        sendToPlayer(platform::PlayerCommand::Prev);
        sendToPlayer(platform::PlayerCommand::Play);
    });
    connect(stopTune, &QAction::triggered, this, [this] { sendToPlayer(platform::PlayerCommand::Stop); });
}

core::SkinLocation MainWindow::location() const
{
    core::QQVersion version = core::QQVersion::NotChosen;
    if (m_qq2003Option->isChecked())
        version = core::QQVersion::Qq2003;
    else if (m_qq2004Option->isChecked())
        version = core::QQVersion::Qq2004;
    return {m_installPathBox->text(), m_skinNameBox->text(), version};
}

QList<QLineEdit *> MainWindow::basicBlockBoxes() const
{
    return {m_backgroundBox, m_minWidthBox, m_minHeightBox, m_maxWidthBox, m_menuLogoBox};
}

core::BasicFields MainWindow::basicFields() const
{
    const QList<QLineEdit *> boxes = basicBlockBoxes();
    return {boxes[0]->text(), boxes[1]->text(), boxes[2]->text(), boxes[3]->text(), boxes[4]->text()};
}

void MainWindow::takeInstallFolder(const QString &folder)
{
    m_installPathBox->setText(folder);
}

void MainWindow::generate()
{
    QString warning;
    if (authoring::appendBlock(location(), core::basicBlock(basicFields()), basicBlockBoxes(), &warning))
        platform::notice(QStringLiteral("生成成功!") + (warning.isEmpty() ? QString() : u'\n' + warning));
}

void MainWindow::startNewSkin()
{
    if (!platform::ask(QStringLiteral("新建将会清空未生成的内容,是否继续?")))
        return;
    for (QLineEdit *box :
         {m_backgroundBox, m_maxWidthBox, m_minHeightBox, m_minWidthBox, m_titleBarPictureBox, m_menuLogoBox})
        box->clear();
    m_installPathBox->setText(defaultInstallPath);
    m_skinNameBox->clear();
    // The button options are part of the skin too; their window need not be open.
    Q_EMIT newSkinStarted();
}

void MainWindow::turnTipsOn()
{
    // An open tip window's box writes the same "1" as it ticks; the store gets it either way.
    Q_EMIT tipsTurnedOn();
    core::storeTipsAtStartup(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::startTune()
{
    markStartUpStep("tune started");
    // The first line as it stands; a missing or empty file names no tune, and nothing sounds.
    if (!m_player)
        return;
    m_player->setFileName(formats::readMusicSetting().value_or(QString()));
    sendToPlayer(platform::PlayerCommand::Open);
    sendToPlayer(platform::PlayerCommand::Play);
}

void MainWindow::sendToPlayer(platform::PlayerCommand command)
{
    if (m_player)
        m_player->command(command);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closedByFrame();
    QMainWindow::closeEvent(event);
}

} // namespace skinmaker::shell
