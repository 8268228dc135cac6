// Renders every window of the three programs offscreen, filled as a user would fill them, into
// PNG files for the README and the desktop package's metainfo:
//     screenshots <output folder> [<home folder>]
// It runs in a home of its own, laid out like a user's: the given folder, which should be new
// (render.sh makes /home/xiaoqie for it, so the browse windows show ordinary folders), or else a
// temporary one. There it keeps the settings, a QQ installation under Wine, the programs'
// working folder and a few tunes, so it never touches the user's files; it plays no sound.
#include "help/help.h"
#include "musicsetter/musicsetter.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/random.h"
#include "platform/player/mediaplayer.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/notice.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

namespace {

class SilentPlayer : public platform::MediaPlayer {
public:
    void setFileName(const QString &) override {}
    void command(const QString &) override {}
};

// A skin background of our own: a sky fading into water, with a few clouds.
QImage sampleBackground()
{
    QImage image(296, 560, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(120, 190, 250));
    sky.setColorAt(0.6, QColor(210, 236, 255));
    sky.setColorAt(1, QColor(90, 160, 210));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    for (const QPoint centre : {QPoint(70, 120), QPoint(200, 200), QPoint(120, 330)}) {
        painter.drawEllipse(centre, 46, 20);
        painter.drawEllipse(centre + QPoint(30, -10), 30, 18);
    }
    return image;
}

QWidget *window(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QString::fromUtf8(name) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void setText(QWidget *in, const char *box, const QString &text)
{
    if (auto *edit = in ? in->findChild<QLineEdit *>(QLatin1String(box)) : nullptr)
        edit->setText(text);
}

void trigger(QWidget *in, const char *action)
{
    if (auto *item = in ? in->findChild<QAction *>(QLatin1String(action)) : nullptr)
        item->trigger();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Relative to where we were started, before the sandbox becomes the working folder.
    const QString output = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    QTemporaryDir temporaryHome;
    const QDir home(argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporaryHome.path());
    // QQ installed under Wine at the default path, so the main window shows it as it comes; the
    // working folder the installed commands give the programs; the user's music folder.
    const QString install = home.filePath(QStringLiteral(".wine/drive_c/Program Files/Tencent/qq"));
    const QString work = home.filePath(QStringLiteral(".local/share/Morvane"));
    const QString music = home.filePath(QStringLiteral("音乐"));
    for (const QString &folder : {home.filePath(QStringLiteral(".config")), QString(work + QStringLiteral("/music")),
                                  music, QString(install + QStringLiteral("/NewSkins/蓝天"))})
        QDir().mkpath(folder);
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    qputenv("WINEPREFIX", QFile::encodeName(home.filePath(QStringLiteral(".wine"))));
    // The setter suggests a file in the user's music folder.
    QFile userDirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
    if (userDirs.open(QIODevice::WriteOnly))
        userDirs.write("XDG_MUSIC_DIR=\"$HOME/\xe9\x9f\xb3\xe4\xb9\x90\"\n");
    userDirs.close();
    // A few tunes of the user's own for the setter's file list to show (the note is left out).
    for (const QString &name :
         {QStringLiteral("海边的风.mp3"), QStringLiteral("晚安.mid"), QStringLiteral("说明.txt")}) {
        QFile file(QDir(music).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write("-");
    }
    QDir::setCurrent(work);
    QFile setting(QStringLiteral("qqq.qq"));
    if (setting.open(QIODevice::WriteOnly))
        setting.write("music\\3.mid\r\n");
    setting.close();

    QApplication application(argc, argv);
    QDir().mkpath(output);
    sampleBackground().save(install + QStringLiteral("/NewSkins/蓝天/bg.bmp"), "BMP");

    platform::NoticeRecorder quiet;
    const platform::PlayerOverride silent([] { return std::make_unique<SilentPlayer>(); });
    // The same tip every time, so the pictures only change when the windows do.
    const platform::random::Override firstTip([] { return 0.4f; });
    QStringList written;
    const auto shoot = [&](QWidget *shown, const QString &file) {
        if (!shown)
            return;
        // The browse windows' lists fill in once their folders have been read.
        const auto reading = [shown] {
            const auto folders = shown->findChildren<platform::FolderList *>();
            const auto files = shown->findChildren<platform::FileList *>();
            return std::any_of(folders.begin(), folders.end(), [](auto *list) { return list->isListing(); })
                || std::any_of(files.begin(), files.end(), [](auto *list) { return list->isListing(); });
        };
        QDeadlineTimer patience(10000);
        while (reading() && !patience.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QApplication::processEvents();
        if (shown->grab().save(output + u'/' + file))
            written << file;
    };

    skinmaker::start();
    QWidget *form1 = window("Form1");
    setText(form1, "Text1", QStringLiteral("bg.bmp"));
    setText(form1, "Text2", QStringLiteral("560"));
    setText(form1, "Text4", QStringLiteral("180"));
    setText(form1, "Text3", QStringLiteral("296"));
    setText(form1, "Text6", QStringLiteral("logo.bmp"));
    setText(form1, "Text8", QStringLiteral("蓝天"));
    if (auto *option2 = form1 ? form1->findChild<QRadioButton *>(QStringLiteral("Option2")) : nullptr)
        option2->setChecked(true);
    shoot(form1, QStringLiteral("main.png"));

    trigger(form1, "g");
    QWidget *form3 = window("Form3");
    setText(form3, "Text1", QStringLiteral("button1.bmp"));
    setText(form3, "Text2", QStringLiteral("button1_hover.bmp"));
    setText(form3, "Text3", QStringLiteral("button1_down.bmp"));
    shoot(form3, QStringLiteral("button-options.png"));

    trigger(form1, "copyright");
    QWidget *form5 = window("Form5");
    setText(form5, "Text1", QStringLiteral("蓝天白云"));
    setText(form5, "Text2", QStringLiteral("小企鹅"));
    setText(form5, "Text4", QStringLiteral("2026年12月"));
    shoot(form5, QStringLiteral("skin-info.png"));

    trigger(form1, "ASSDFGHJKL");
    shoot(window("预览"), QStringLiteral("preview.png"));

    if (auto *browse = form1 ? form1->findChild<QPushButton *>(QStringLiteral("Command2")) : nullptr)
        browse->click();
    if (QWidget *browse = window("Form2")) {
        shoot(browse, QStringLiteral("browse.png"));
        browse->close(); // the setter's browse window has the same name
    }

    trigger(form1, "about");
    shoot(window("frmAbout"), QStringLiteral("about.png"));

    trigger(form1, "choose");
    shoot(window("Form4"), QStringLiteral("music.png"));

    for (const char *start : {"frmTip", "frmSplash"})
        shoot(window(start), QStringLiteral("%1.png").arg(QLatin1String(start) == u"frmTip" ? u"tip" : u"splash"));

    musicsetter::start();
    QWidget *setter = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->windowTitle() == QStringLiteral("Morvane背景音乐添加程序") && widget->isVisible())
            setter = widget;
    }
    shoot(setter, QStringLiteral("setter.png"));
    if (auto *browse = setter ? setter->findChild<QPushButton *>(QStringLiteral("Command2")) : nullptr)
        browse->click();
    // Opened where the user keeps tunes, as after a few double clicks.
    if (QWidget *setterBrowse = window("Form2")) {
        if (auto *folders = setterBrowse->findChild<platform::FolderList *>(QStringLiteral("Dir1")))
            folders->setPath(music);
        shoot(setterBrowse, QStringLiteral("setter-browse.png"));
    }

    help::start();
    QWidget *helpWindow = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->windowTitle() == QStringLiteral("帮助") && widget->isVisible())
            helpWindow = widget;
    }
    if (auto *howTo = helpWindow ? helpWindow->findChild<QPushButton *>(QStringLiteral("Command2")) : nullptr)
        howTo->click();
    shoot(helpWindow, QStringLiteral("help.png"));

    QTextStream(stdout) << "wrote " << written.join(QStringLiteral(", ")) << " into " << output << Qt::endl;
    return written.isEmpty() ? 1 : 0;
}
