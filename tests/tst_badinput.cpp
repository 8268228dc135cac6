// Every bad input we know of, in one table, run against the real windows and files of the
// programs. Each row prepares its input, acts once as a user would, and checks what the
// programs promise: the action returns in time, the user is told where and why it failed (or,
// where silence is designed, sees no box), typed texts stay, no file is left half written, and
// nothing outside the skin folder changes. Run with --markdown to print the table.
#include "musicsetter/browsewindow.h"
#include "musicsetter/musicsetter.h"
#include "musicsetter/setterwindow.h"

#include "skinmaker/authoring/buttonoptionswindow.h"
#include "skinmaker/authoring/checkwindow.h"
#include "skinmaker/authoring/previewwindow.h"
#include "skinmaker/authoring/skininfowindow.h"
#include "skinmaker/core/tips.h"
#include "skinmaker/music/musicwindow.h"
#include "skinmaker/shell/aboutwindow.h"
#include "skinmaker/shell/folderbrowsewindow.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/shell/tipwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/random.h"
#include "platform/core/settings.h"
#include "platform/core/textfile.h"
#include "platform/player/mediaplayer.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/notice.h"

#include "pictures.h"
#include "recordingplayer.h"
#include "skinmakersession.h"
#include "sysinfosandbox.h"
#include "uitest.h"
#include "watchdog.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using testsupport::RecordingPlayer;
using testsupport::settingsStore;
using testsupport::tipsFile;

namespace {

// No action may take longer; none reads a pipe or a device, so none comes near it.
constexpr qint64 actionBound = 3000;
// A folder of 100 000 entries is read off the window thread: the window is held briefly, with
// room for a loaded or instrumented machine.
constexpr qint64 bigFolderBound = 1500;
// Past this an action counts as hung: the program ends naming the row.
constexpr unsigned hangSeconds = 20;

const QString filledInNotice = u"确定已经将前面的内容已经填写完毕,否则无法正常预览!"_s;
const QString musicSetting = u"qqq.qq"_s;

enum class Window { Form1, Form3, Form5 };
enum class Program { Main, Setter };

// The working folder the installed commands ask the programs to set up and use.
QString perUserFolder()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + u"/Morvane"_s;
}

// What a path holds: the bytes of a file, or what else stands there. A big file is told by
// its size and times instead of its bytes.
QByteArray state(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return "<link to " + QFile::encodeName(info.symLinkTarget()) + '>';
    if (!info.exists())
        return "<missing>";
    if (info.isDir())
        return "<folder>";
    if (!info.isFile())
        return "<special>";
    if (info.size() > 64 * 1024 * 1024)
        return "<big " + QByteArray::number(info.size()) + ' '
            + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' '
            + QByteArray::number(info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch()) + '>';
    return testsupport::readBytes(path);
}

QStringList lineEditTexts(const QWidget *window)
{
    QStringList texts;
    for (const QLineEdit *box : window->findChildren<QLineEdit *>())
        texts << box->text();
    return texts;
}

QByteArray jpeg(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return buffer.data();
}

// A picture whose four quarters differ, so a partly decoded one is told from a whole one.
QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           y < height / 2 ? (x < width / 2 ? 0xff00a000 : 0xffff0000)
                                          : (x < width / 2 ? 0xffffff00 : 0xff0000ff));
    }
    return image;
}

// Root reads every folder whatever its permissions. While one of these lives, a root process
// acts as the ordinary user "nobody", keeping root as its saved identity to return to.
class OrdinaryUser {
public:
    OrdinaryUser()
    {
        if (::geteuid() != 0)
            return;
        if (::setresgid(nobody, nobody, 0) != 0 || ::setresuid(nobody, nobody, 0) != 0)
            qFatal("could not act as an ordinary user");
        m_switched = true;
    }
    ~OrdinaryUser()
    {
        if (m_switched && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
            qFatal("could not return to root");
    }
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

private:
    static constexpr uid_t nobody = 65534;
    bool m_switched = false;
};

QByteArray le32(quint32 value)
{
    return QByteArray(reinterpret_cast<const char *>(&(value = qToLittleEndian(value))), 4);
}

// The start of a WAV file of 16-bit samples whose format has these numbers, and its sound: a
// second of a loud square wave in stereo.
QByteArray waveHead(quint16 channels, quint32 rate, quint16 blockAlign)
{
    QByteArray head("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0", 22);
    QDataStream out(&head, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << channels << rate << rate * blockAlign << blockAlign << quint16(16);
    return head;
}

QByteArray waveSound()
{
    const QByteArray sound =
        QByteArray(QByteArray("\x40\x1f", 2).repeated(200) + QByteArray("\xc0\xe0", 2).repeated(200)).repeated(441);
    return "data" + le32(quint32(sound.size())) + sound;
}

// A folder on a memory file system when there is one (creating and removing 100 000 entries
// on a disk takes far longer), that an ordinary user may enter.
std::unique_ptr<QTemporaryDir> fastFolder()
{
    const QString base = QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm"_s : QDir::tempPath();
    auto folder = std::make_unique<QTemporaryDir>(base + u"/morvane-badinput-XXXXXX"_s);
    QFile::setPermissions(folder->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                              | QFile::ReadOther | QFile::ExeOther);
    return folder;
}

// One folder of 100 000 entries for every row that needs it: half folders, half tunes.
constexpr int bigFolderHalf = 50000;
std::unique_ptr<QTemporaryDir> &bigFolderHolder()
{
    static std::unique_ptr<QTemporaryDir> holder;
    return holder;
}

QString bigFolder()
{
    std::unique_ptr<QTemporaryDir> &holder = bigFolderHolder();
    if (!holder) {
        holder = fastFolder();
        const QByteArray base = QFile::encodeName(holder->path());
        char name[32];
        for (int i = 0; i < bigFolderHalf; ++i) {
            std::snprintf(name, sizeof name, "/d%05d", i);
            ::mkdir(QByteArray(base + name).constData(), 0755);
            std::snprintf(name, sizeof name, "/f%05d.mid", i);
            ::close(::open(QByteArray(base + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        }
    }
    return holder->path();
}

// ---------------------------------------------------------------------------------------
// One row's world: a QQ installation in a sandbox inside the test's own home, every notice
// recorded, a recording player, and the checks the rows share.

class Case {
public:
    explicit Case(const QByteArray &row);
    ~Case();
    Case(const Case &) = delete;
    Case &operator=(const Case &) = delete;

    // --- the sandbox
    QString install() const { return m_install.isEmpty() ? m_sandbox.filePath(u"qq"_s) : m_install; }
    QString skinFolder() const { return install() + u"/skins/蓝天"_s; }
    QString skinIni() const { return skinFolder() + u"/skin.ini"_s; }
    // A file of the user's that has nothing to do with skins.
    QString elsewhere() const { return m_sandbox.filePath(u"elsewhere.txt"_s); }
    QString sandbox(const QString &relative) const { return m_sandbox.filePath(relative); }
    // A folder outside the test's home that an ordinary user may enter.
    QString openFolder(const QString &relative);
    // Moves the QQ installation, skin.ini and all, into such a folder.
    void installWhereAnyoneMayEnter();
    // The skin.ini path as the notices show it: the install path as typed, then "\".
    QString shownIni(const QString &folderName = u"蓝天"_s) const
    {
        return install() + u"\\skins\\"_s + folderName + u"\\skin.ini"_s;
    }

    // --- preparing
    void setPermissions(const QString &path, QFile::Permissions permissions);
    void mkfifo(const QString &path);
    void hold(std::shared_ptr<void> guard) { m_held << std::move(guard); }
    void atEnd(std::function<void()> cleanup) { m_cleanups << std::move(cleanup); }
    void mayWrite(const QString &path) { m_mayWrite << QFileInfo(path).absoluteFilePath(); }
    // A small file system over the folder, unmounted at the end; false when only an
    // administrator may mount one (the row then skips, visibly).
    bool mountSmallDisk(const QString &folder, const char *size);

    // The location the main window holds when a row acts, and a box's text.
    QString installPath; // the installation folder unless a row says otherwise
    QString skinName = u"蓝天"_s;
    const char *version = "Option1";
    void type(const char *box, const QString &text) { m_typed.append({box, text}); }
    bool writeAsOrdinaryUser = false; // root acts as nobody for the click of write()

    // --- acting: each runs the action once, timed and watched
    void act(const std::function<void()> &action, qint64 bound = actionBound);
    void startMain();
    void write(Window window);
    void preview(const QString &pictureName);
    // 工具 > 检查皮肤 on the skin of the location; waits for its findings.
    void checkSkin();
    void startWithPlayer();
    void chooseTune(int number);
    void storeInSetter(const QString &path);
    void confirmSetter();
    // Stores the setting first unless it is null.
    void startWithTips(const QString &setting, qint64 bound = actionBound);
    // Starts the main program as the installed commands do; checks that it came up.
    void startInPerUserFolder();
    // The real main program, its qqq.qq naming a tune file: first bytes, a hole of zero bytes
    // (not on the disk), last bytes. Once the player says whether it plays: the program runs on,
    // only its own debug log reached the terminal, it never held much memory, the tune was heard
    // exactly when it should be.
    void playAtStart(bool heard, const QByteArray &first, qint64 hole = 0, const QByteArray &last = {},
                     bool soundCard = true);
    void startCompanion(const char *menuItem);
    void askForSystemInformation();
    // Opens the browse window at the folder: as the action, or as the preparation.
    void openBrowse(Program program, const QString &folder, qint64 bound = actionBound);
    QWidget *showBrowse(Program program, const QString &folder);
    // With the browse window open at the folder's parent, double-clicks the folder.
    void openInBrowse(Program program, const QString &folder, bool asOrdinaryUser = false);
    // Presses 确定 in a browse window opened by showBrowse, with the file highlighted if one is named.
    void confirmBrowse(Program program, QWidget *browse, const QString &fileName = {});

    // --- checking
    void expectNotice(const QStringList &fragments);
    void expectNoNotice();
    void expectRefused(const QStringList &fragments);
    void expectWritten(const QByteArray &extraAtEnd = {});
    void expectPicture(const QSize &size);
    void expectNoPicture(const QString &reason);
    // No box; the check window lists these kinds of finding, or says why it could not check.
    void expectChecked(const QStringList &kinds, const QString &problem = {});
    void expectPlayerGiven(const QString &name);
    void expectTuneWindow(int selectedAtOpening, const QByteArray &stored);
    void expectTuneRefused(int selectedAtOpening, const QStringList &fragments);
    void expectSetterStored(const QByteArray &stored);
    void expectSettingRefused(const QStringList &fragments);
    void expectTip(const std::function<bool(const QString &)> &isExpected = {}); // any tip when empty
    void expectBrowseAt(const QString &folder, int subfolders, int files = -1);

    // Run by the table once the row is done.
    void finish();

    QStringList notices() const { return m_notices->texts(); }
    QImage shownPicture() const;

private:
    QMap<QString, QByteArray> outside() const;
    QWidget *openWindow(Window window);
    void expectTextsKept(const QWidget *window);

    QByteArray m_row;
    QTemporaryDir m_sandbox;
    QString m_root; // the test's isolated home, work folder and all
    std::unique_ptr<platform::NoticeRecorder> m_notices = std::make_unique<platform::NoticeRecorder>();
    QStringList m_playerCalls;
    const platform::PlayerOverride m_players{[this] { return std::make_unique<RecordingPlayer>(m_playerCalls); }};
    std::unique_ptr<testsupport::SystemInfoSandbox> m_systemInfo;
    std::unique_ptr<platform::CompanionFolders> m_companions;
    std::unique_ptr<QTemporaryDir> m_open;
    QString m_install;

    QList<std::pair<const char *, QString>> m_typed;
    QString m_picture;
    QList<std::shared_ptr<void>> m_held;
    QList<std::function<void()>> m_cleanups;
    QStringList m_mayWrite;
    QMap<QString, QByteArray> m_before;
    QByteArray m_iniBefore;
    QByteArray m_settingBefore;
    QPointer<QWidget> m_window; // the window the action was taken in
    QStringList m_textsBefore;
    Window m_writer = Window::Form1;
    int m_openedWith = -1;
    int m_chosen = 0;
    qint64 m_elapsed = -1;
    bool m_acted = false;
    bool m_hadWindow = false;
    bool m_skipped = false;
};

Case::Case(const QByteArray &row)
    : m_row(row)
    , m_sandbox(QFileInfo(QDir::homePath()).path() + u"/sandbox-XXXXXX"_s)
    , m_root(QFileInfo(QDir::homePath()).path())
{
    installPath = install();
    for (const char *folder : {"qq/skins/蓝天", "qq/NewSkins/蓝天"})
        QDir(m_sandbox.path()).mkpath(QString::fromUtf8(folder));
    testsupport::writeBytes(elsewhere(), "mine\n");
    testsupport::writeBytes(skinIni(), "old\r\n");
    // Every row but the tips rows starts as a user who switched tips at start off.
    skinmaker::core::storeTipsAtStartup(false);
    mayWrite(skinFolder());
    mayWrite(install() + u"/NewSkins/蓝天"_s);
    // The desktop's font cache is the system's, not ours.
    mayWrite(qEnvironmentVariable("XDG_CACHE_HOME"));
}

Case::~Case()
{
    testsupport::destroyAllWindows();
    m_held.clear();
    m_companions.reset();
    if (m_systemInfo)
        m_systemInfo->tearDown();
    for (auto cleanup = m_cleanups.crbegin(); cleanup != m_cleanups.crend(); ++cleanup)
        (*cleanup)();
    QFile::remove(musicSetting);
    QDir(musicSetting).removeRecursively();
    QFile::remove(tipsFile());
    // Whatever a row put in place of the settings store or the per-user folder.
    for (const QString &path : QStringList{settingsStore(), settingsStore() + u".lock"_s, perUserFolder()}) {
        QFile::remove(path);
        QDir(path).removeRecursively();
    }
}

QString Case::openFolder(const QString &relative)
{
    if (!m_open)
        m_open = fastFolder();
    const QString path = m_open->filePath(relative);
    QDir().mkpath(path);
    return path;
}

void Case::installWhereAnyoneMayEnter()
{
    m_install = openFolder(u"qq"_s);
    QVERIFY(QDir().mkpath(skinFolder()));
    QVERIFY(testsupport::writeBytes(skinIni(), "old\r\n"));
    installPath = install();
    mayWrite(skinFolder());
}

void Case::setPermissions(const QString &path, QFile::Permissions permissions)
{
    QVERIFY(QFile::setPermissions(path, permissions));
    atEnd([path] { QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
}

void Case::mkfifo(const QString &path)
{
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
}

bool Case::mountSmallDisk(const QString &folder, const char *size)
{
    const QByteArray where = QFile::encodeName(folder);
    if (::geteuid() != 0
        || ::mount("tmpfs", where.constData(), "tmpfs", 0, QByteArray(QByteArray("size=") + size).constData()) != 0) {
        m_skipped = true;
        return false;
    }
    atEnd([where] { ::umount(where.constData()); });
    return true;
}

QMap<QString, QByteArray> Case::outside() const
{
    return testsupport::snapshot(m_root, m_mayWrite);
}

void Case::act(const std::function<void()> &action, qint64 bound)
{
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!m_acted, "a row acts once");
    m_before = outside();
    m_iniBefore = state(skinIni());
    m_settingBefore = state(musicSetting);
    m_notices->clear();
    m_playerCalls.clear();
    if (m_window)
        m_textsBefore = lineEditTexts(m_window);

    QElapsedTimer clock;
    {
        const testsupport::Watchdog watchdog("the action of row \"" + m_row + '"', hangSeconds);
        clock.start();
        action();
        m_elapsed = clock.elapsed();
    }
    // Before closed windows are deleted: whether the action had a window to keep open.
    m_hadWindow = !m_window.isNull();
    m_held.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_acted = true;
    QVERIFY2(m_elapsed < bound, qPrintable(u"the action took %1 ms"_s.arg(m_elapsed)));
}

void Case::startMain()
{
    if (!testsupport::existingWindow<skinmaker::shell::MainWindow>())
        testsupport::startSkinmaker();
    QVERIFY(testsupport::existingWindow<skinmaker::shell::MainWindow>());
}

QWidget *Case::openWindow(Window window)
{
    auto *form1 = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    switch (window) {
    case Window::Form1:
        return form1;
    case Window::Form3:
        testsupport::triggerAction(form1, "g");
        return testsupport::existingWindow<skinmaker::authoring::ButtonOptionsWindow>();
    case Window::Form5:
        testsupport::triggerAction(form1, "copyright");
        return testsupport::existingWindow<skinmaker::authoring::SkinInfoWindow>();
    }
    return nullptr;
}

void Case::write(Window window)
{
    startMain();
    auto *form1 = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    form1->findChild<QLineEdit *>(u"Text7"_s)->setText(installPath);
    form1->findChild<QLineEdit *>(u"Text8"_s)->setText(skinName);
    if (version)
        form1->findChild<QRadioButton *>(QLatin1String(version))->setChecked(true);
    m_writer = window;
    m_window = openWindow(window);
    QVERIFY(m_window);
    // Every box the block reads holds a name of its own, the row's text where it puts one.
    for (QLineEdit *box : m_window->findChildren<QLineEdit *>()) {
        if (box->isEnabled() && box->objectName() != u"Text7" && box->objectName() != u"Text8")
            box->setText(u"名%1.bmp"_s.arg(box->objectName().mid(4)));
    }
    for (const auto &[name, text] : m_typed) {
        QLineEdit *box = m_window->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(box, name);
        box->setText(text);
    }
    act([this] {
        std::optional<OrdinaryUser> user;
        if (writeAsOrdinaryUser)
            user.emplace();
        testsupport::clickButton(m_window);
    });
}

void Case::preview(const QString &pictureName)
{
    m_picture = pictureName;
    startMain();
    m_window = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    m_window->findChild<QLineEdit *>(u"Text7"_s)->setText(installPath);
    m_window->findChild<QLineEdit *>(u"Text8"_s)->setText(skinName);
    m_window->findChild<QLineEdit *>(u"Text1"_s)->setText(pictureName);
    m_window->findChild<QRadioButton *>(QLatin1String(version))->setChecked(true);
    act([this] { testsupport::triggerAction(m_window, "ASSDFGHJKL"); });
}

void Case::checkSkin()
{
    startMain();
    m_window = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    m_window->findChild<QLineEdit *>(u"Text7"_s)->setText(installPath);
    m_window->findChild<QLineEdit *>(u"Text8"_s)->setText(skinName);
    m_window->findChild<QRadioButton *>(QLatin1String(version))->setChecked(true);
    // The window shows at once; the check itself runs off the window thread.
    act([this] { testsupport::triggerAction(m_window, "checkskin"); });
    auto *check = testsupport::existingWindow<skinmaker::authoring::CheckWindow>();
    QVERIFY(check && check->isVisible());
    QSignalSpy checked(check, &skinmaker::authoring::CheckWindow::checked);
    QVERIFY(checked.count() > 0 || checked.wait(actionBound));
}

void Case::startWithPlayer()
{
    mayWrite(musicSetting);
    act([] { testsupport::startSkinmaker(); });
}

void Case::chooseTune(int number)
{
    m_chosen = number;
    mayWrite(musicSetting);
    startMain();
    act([this, number] {
        testsupport::triggerAction(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "choose");
        auto *window = testsupport::existingWindow<skinmaker::music::MusicWindow>();
        if (!window)
            return;
        m_window = window;
        m_openedWith = 0;
        for (int option = 1; option <= 8; ++option)
            m_openedWith = window->option(option)->isChecked() ? option : m_openedWith;
        window->option(number)->click();
        testsupport::clickButton(window);
    });
}

void Case::storeInSetter(const QString &path)
{
    musicsetter::start();
    testsupport::existingWindow<musicsetter::SetterWindow>()->pathBox()->setText(path);
    confirmSetter();
}

void Case::confirmSetter()
{
    mayWrite(musicSetting);
    m_window = testsupport::existingWindow<musicsetter::SetterWindow>();
    act([this] { testsupport::clickButton(m_window); });
}

void Case::startWithTips(const QString &setting, qint64 bound)
{
    if (!setting.isNull())
        QVERIFY(platform::settings::write(u"Options"_s, u"在启动时显示提示"_s, setting));
    act([] { skinmaker::start(); }, bound);
}

void Case::startInPerUserFolder()
{
    const QString work = QDir::currentPath();
    qputenv("MORVANE_PER_USER_FOLDER", "1");
    atEnd([work] {
        qunsetenv("MORVANE_PER_USER_FOLDER");
        QDir::setCurrent(work);
    });
    act([] { testsupport::startSkinmaker(); });
    const QWidget *form1 = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    QVERIFY2(form1 && form1->isVisible(), "the main program did not come up");
}

void Case::playAtStart(bool heard, const QByteArray &first, qint64 hole, const QByteArray &last, bool soundCard)
{
    const QString binDir = qEnvironmentVariable("MORVANE_BIN_DIR");
    QVERIFY2(!binDir.isEmpty(), "MORVANE_BIN_DIR is not set; run through CTest");
    const QString work = sandbox(u"work"_s);
    mayWrite(work);
    QFile tune(work + u"/tune"_s);
    QVERIFY(QDir().mkpath(work) && tune.open(QIODevice::WriteOnly) && tune.write(first) == first.size()
            && tune.resize(first.size() + hole) && tune.seek(tune.size()) && tune.write(last) == last.size());
    tune.close();
    QVERIFY(testsupport::writeBytes(work + u"/qqq.qq"_s, "tune\r\n"));
    // The debug log on, each line marked with its category: the program's own lines (never shown
    // to a user) are told from anything else. No sound card: no sound server, ALSA knows no device.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    environment.remove(u"SDL_AUDIODRIVER"_s);
    const QString settings = u"QT_LOGGING_RULES=morvane.*.debug=true|QT_MESSAGE_PATTERN=%{category}: %{message}|"_s
        + u"XDG_CONFIG_HOME=%1|"_s
        + (soundCard ? u"SDL_AUDIODRIVER=disk|SDL_DISKAUDIOFILE=%1/sound.raw"_s
                     : u"PULSE_SERVER=unix:%1/none|PIPEWIRE_REMOTE=%1/none|ALSA_CONFIG_PATH=/dev/null"_s);
    for (const QString &setting : settings.arg(work).split(u'|'))
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    const auto program = std::make_shared<QProcess>();
    atEnd([program] { program->kill(), program->waitForFinished(); });
    program->setProcessEnvironment(environment);
    program->setWorkingDirectory(work);
    QString programSaid;
    const auto said = [&](const QString &what) {
        return (programSaid += QString::fromLocal8Bit(program->readAllStandardError())).contains(what);
    };
    act(
        [&] {
            program->start(binDir + u"/Morvane"_s);
            const auto decided = [&] {
                return said(u"player: playing"_s) || said(u"player: cannot"_s)
                    || program->state() == QProcess::NotRunning;
            };
            QTRY_VERIFY_WITH_TIMEOUT(decided(), 15000);
        },
        15000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(program->state() == QProcess::Running, qPrintable(u"the program ended: "_s + programSaid));
    const auto audible = [&work] {
        const QByteArray sound = testsupport::readBytes(work + u"/sound.raw"_s);
        return std::any_of(sound.cbegin(), sound.cend(), [](char byte) { return byte != 0; });
    };
    if (heard)
        QTRY_VERIFY_WITH_TIMEOUT(audible(), 10000);
    else
        QVERIFY2(!said(u"player: playing"_s) && !audible(), "the tune plays");
    for (const QString &line : programSaid.split(u'\n', Qt::SkipEmptyParts)) {
        const bool offscreenOnly = line.endsWith(u"does not support raise()"_s); // the tests' platform
        QVERIFY2(line.startsWith(u"morvane."_s) || offscreenOnly, qPrintable(u"in the terminal: "_s + line));
    }
    const QString status = QString::fromLatin1(testsupport::readBytes(u"/proc/%1/status"_s.arg(program->processId())));
    const qint64 peakKb = QRegularExpression(u"VmHWM:\\s*(\\d+)"_s).match(status).captured(1).toLongLong();
    QVERIFY2(peakKb > 0 && peakKb < 400 * 1024, qPrintable(u"it held %1 MB"_s.arg(peakKb / 1024)));
}

void Case::startCompanion(const char *menuItem)
{
    // The program's own folder is the sandbox's, and the program search finds nothing else.
    QVERIFY(QDir().mkpath(sandbox(u"bin"_s)));
    m_companions = std::make_unique<platform::CompanionFolders>(QStringList{sandbox(u"bin"_s)});
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(sandbox(u"bin"_s)));
    atEnd([path] { qputenv("PATH", path); });
    startMain();
    m_window = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    act([this, menuItem] { testsupport::triggerAction(m_window, menuItem); });
}

void Case::askForSystemInformation()
{
    m_systemInfo = std::make_unique<testsupport::SystemInfoSandbox>();
    m_systemInfo->setUp();
    startMain();
    testsupport::triggerAction(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "about");
    m_window = testsupport::existingWindow<skinmaker::shell::AboutWindow>();
    QVERIFY(m_window);
    act([this] { testsupport::clickButton(m_window, "cmdSysInfo"); });
}

QWidget *Case::showBrowse(Program program, const QString &folder)
{
    // Both browse windows open where the process is.
    const QString work = QDir::currentPath();
    if (!QDir::setCurrent(folder))
        return nullptr;
    atEnd([work] { QDir::setCurrent(work); });
    QWidget *owner = nullptr;
    if (program == Program::Main) {
        startMain();
        owner = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    } else {
        musicsetter::start();
        owner = testsupport::existingWindow<musicsetter::SetterWindow>();
    }
    testsupport::clickButton(owner, "Command2");
    if (program == Program::Main)
        return testsupport::existingWindow<skinmaker::shell::FolderBrowseWindow>();
    return testsupport::existingWindow<musicsetter::BrowseWindow>();
}

void Case::openBrowse(Program program, const QString &folder, qint64 bound)
{
    act([&] { m_window = showBrowse(program, folder); }, bound);
}

void Case::openInBrowse(Program program, const QString &folder, bool asOrdinaryUser)
{
    QVERIFY(QFileInfo(folder).isDir() || QDir().mkpath(folder));
    m_window = showBrowse(program, QFileInfo(folder).path());
    platform::FolderList *list = m_window ? m_window->findChild<platform::FolderList *>(u"Dir1"_s) : nullptr;
    QVERIFY(list);
    QTRY_VERIFY(!list->isListing());
    const QModelIndex entry = list->indexFor(folder);
    QVERIFY2(entry.isValid(), qPrintable(folder));
    list->scrollTo(entry);
    const QPoint centre = list->visualRect(entry).center();
    // Gone by the time the user opens it.
    if (!asOrdinaryUser)
        QVERIFY(QDir(folder).removeRecursively());
    act([&] {
        std::optional<OrdinaryUser> user;
        if (asOrdinaryUser)
            user.emplace();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
}

void Case::confirmBrowse(Program program, QWidget *browse, const QString &fileName)
{
    QVERIFY(browse);
    if (!fileName.isEmpty()) {
        auto *files = browse->findChild<platform::FileList *>(u"File1"_s);
        QTRY_VERIFY(!files->isListing());
        const QModelIndexList found =
            files->model()->match(files->model()->index(0, 0), Qt::DisplayRole, fileName, 1, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        files->setCurrentIndex(found.first());
    }
    // The window the pick lands in, whose texts must stay.
    if (program == Program::Main)
        m_window = testsupport::existingWindow<skinmaker::shell::MainWindow>();
    else
        m_window = testsupport::existingWindow<musicsetter::SetterWindow>();
    act([browse] { testsupport::clickButton(browse); });
}

// ---------------------------------------------------------------------------------------

void Case::expectNotice(const QStringList &fragments)
{
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!notices().isEmpty(), "no box was shown");
    const QString last = notices().last();
    for (const QString &fragment : fragments)
        QVERIFY2(last.contains(fragment), qPrintable(u"“%1” not in the box:\n%2"_s.arg(fragment, last)));
    if (m_hadWindow) {
        QVERIFY2(m_window && m_window->isVisible(), "the window was closed");
        expectTextsKept(m_window);
    }
}

void Case::expectNoNotice()
{
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(notices().isEmpty(), qPrintable(notices().join(u'|')));
}

void Case::expectTextsKept(const QWidget *window)
{
    QVERIFY2(window, "the window is gone");
    if (!m_textsBefore.isEmpty())
        QCOMPARE(lineEditTexts(window), m_textsBefore);
}

void Case::expectRefused(const QStringList &fragments)
{
    expectNotice(fragments);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!notices().contains(u"生成成功!"_s));
    QCOMPARE(state(skinIni()), m_iniBefore);
}

void Case::expectWritten(const QByteArray &extraAtEnd)
{
    if (QTest::currentTestFailed())
        return;
    if (m_writer == Window::Form1)
        QCOMPARE(notices().value(notices().size() - 1), u"生成成功!"_s);
    else
        QVERIFY2(!m_window, "the window stayed open after writing");
    // The old bytes, then the whole block, then whatever another program added after it.
    const QByteArray after = testsupport::readBytes(skinIni());
    QVERIFY(after.startsWith(m_iniBefore) && after.endsWith(extraAtEnd));
    const QByteArray block = after.mid(m_iniBefore.size(), after.size() - m_iniBefore.size() - extraAtEnd.size());
    const auto [firstLine, lines] = m_writer == Window::Form1 ? std::pair{"[main]\r\n", 10}
        : m_writer == Window::Form3                           ? std::pair{"[button1]\r\n", 38}
                                                              : std::pair{"[SkinInfo]\r\n", 7};
    QVERIFY(block.startsWith(firstLine) && block.endsWith("\r\n"));
    QCOMPARE(block.count("\r\n"), lines);
    for (const auto &[box, text] : m_typed)
        QVERIFY2(block.contains(QByteArray('=' + testsupport::gbk(text) + "\r\n")), box);
}

void Case::expectPicture(const QSize &size)
{
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(notices(), QStringList{filledInNotice});
    const auto *preview = testsupport::existingWindow<skinmaker::authoring::PreviewWindow>();
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->background()->pixmap().size(), size);
    expectTextsKept(m_window);
}

QImage Case::shownPicture() const
{
    const auto *preview = testsupport::existingWindow<skinmaker::authoring::PreviewWindow>();
    return preview ? preview->background()->pixmap().toImage() : QImage();
}

void Case::expectNoPicture(const QString &reason)
{
    if (QTest::currentTestFailed())
        return;
    const QString shown = install() + u"\\skins\\"_s + skinName + u'\\' + m_picture;
    QCOMPARE(notices(),
             (QStringList{filledInNotice,
                          u"无法显示背景图片"_s + shown + u"\n原因:"_s + reason + u"\n预览中将不显示背景图片."_s}));
    const auto *preview = testsupport::existingWindow<skinmaker::authoring::PreviewWindow>();
    QVERIFY(preview && preview->isVisible());
    QVERIFY(preview->background()->pixmap().isNull());
    expectTextsKept(m_window);
}

void Case::expectChecked(const QStringList &kinds, const QString &problem)
{
    if (QTest::currentTestFailed())
        return;
    expectNoNotice();
    const auto *check = testsupport::existingWindow<skinmaker::authoring::CheckWindow>();
    QStringList listed;
    for (int row = 0; row < check->table()->rowCount(); ++row)
        listed << check->table()->item(row, 0)->text();
    QCOMPARE(listed, kinds);
    if (!problem.isEmpty())
        QVERIFY(check->findChild<QLabel *>(u"结果"_s)->text().contains(problem));
}

void Case::expectPlayerGiven(const QString &name)
{
    expectNoNotice();
    QCOMPARE(m_playerCalls, (QStringList{u"name:"_s + name, u"open"_s, u"play"_s}));
    QCOMPARE(state(musicSetting), m_settingBefore);
}

void Case::expectTuneWindow(int selectedAtOpening, const QByteArray &stored)
{
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_openedWith, selectedAtOpening);
    QCOMPARE(notices(), QStringList{u"设置完成!请重新启动本程序以生效"_s});
    QVERIFY2(!m_window, "the music window stayed open");
    QCOMPARE(testsupport::readBytes(musicSetting), stored);
}

void Case::expectTuneRefused(int selectedAtOpening, const QStringList &fragments)
{
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_openedWith, selectedAtOpening);
    expectSettingRefused(fragments);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(static_cast<skinmaker::music::MusicWindow *>(m_window.data())->option(m_chosen)->isChecked(),
             "the choice was lost");
}

void Case::expectSettingRefused(const QStringList &fragments)
{
    expectNotice(QStringList{QString(u"无法保存音乐设置到文件"_s + QDir::current().absoluteFilePath(musicSetting))}
                 + fragments);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(state(musicSetting), m_settingBefore);
}

void Case::expectSetterStored(const QByteArray &stored)
{
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(notices(), QStringList{u"设置成功!!"_s});
    QCOMPARE(testsupport::readBytes(musicSetting), stored);
}

void Case::expectTip(const std::function<bool(const QString &)> &isExpected)
{
    expectNoNotice();
    const auto *tip = testsupport::existingWindow<skinmaker::shell::TipWindow>();
    QVERIFY2(tip && tip->isVisible(), "no tip window");
    QVERIFY(tip->startUpBox()->isChecked());
    const QString text = tip->findChild<QLabel *>(u"lblTipText"_s)->text();
    QVERIFY2(!isExpected || isExpected(text), qPrintable(text.left(200)));
}

void Case::expectBrowseAt(const QString &folder, int subfolders, int files)
{
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(m_window && m_window->isVisible(), "no browse window");
    const auto *list = m_window->findChild<platform::FolderList *>(u"Dir1"_s);
    QCOMPARE(list->path(), platform::nativeFolderPath(folder));
    // Big folders fill in once they are read, off the window thread.
    const auto *files1 = m_window->findChild<platform::FileList *>(u"File1"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!list->isListing() && !(files1 && files1->isListing()), 10000);
    QCOMPARE(list->model()->rowCount(list->indexFor(folder)), subfolders);
    if (files >= 0)
        QCOMPARE(files1->count(), files);
}

void Case::finish()
{
    if (QTest::currentTestFailed() || m_skipped)
        return;
    QVERIFY2(m_acted, "the row never acted");
    const QMap<QString, QByteArray> after = outside();
    QStringList changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (m_before.value(it.key(), "<missing>") != it.value())
            changed << it.key();
    }
    for (auto it = m_before.cbegin(); it != m_before.cend(); ++it) {
        if (!after.contains(it.key()))
            changed << it.key();
    }
    QVERIFY2(changed.isEmpty(), qPrintable(u"written outside the skin folder: "_s + changed.join(u", "_s)));
}

// ---------------------------------------------------------------------------------------
// The table. Each row: a short name, its area, the input in words, the outcome in words,
// and what it does.

struct Row {
    const char *name;
    const char *area;
    const char *input;
    const char *outcome;
    void (*run)(Case &);
};

// Rows that want a small file system skip visibly where they cannot have one.
#define NEEDS_SMALL_DISK(c, folder, size)                                                                              \
    if (!(c).mountSmallDisk(folder, size))                                                                             \
    QSKIP("mounting a small file system needs an administrator")

constexpr const char *runsOnSilent = "the program runs on, silent, nothing in the terminal";

const Row rows[] = {
    // --- skin.ini, through 生成 (Form1), 按钮 (Form3) and 版权 (Form5)
    {"missing skin folder", "skin.ini", "skin name 白云, whose folder does not exist (生成)",
     "box names the path and 皮肤文件夹不存在; nothing is created",
     [](Case &c) {
         c.skinName = u"白云"_s;
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(u"白云"_s), u"皮肤文件夹不存在"_s});
     }},
    {"missing skin folder, button options", "skin.ini", "the same through 按钮 (Form3)",
     "box names the path and why; Form3 stays open with its 28 texts",
     [](Case &c) {
         c.skinName = u"白云"_s;
         c.write(Window::Form3);
         c.expectRefused({c.shownIni(u"白云"_s), u"皮肤文件夹不存在"_s});
     }},
    {"skin.ini is a folder", "skin.ini", "a folder named skin.ini", "box names the path and 同名的文件夹已经存在",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()) && QDir().mkdir(c.skinIni()));
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(), u"同名的文件夹已经存在"_s});
     }},
    {"skin.ini is a FIFO", "skin.ini", "a named pipe as skin.ini (版权, Form5)",
     "returns at once; box says 不是一个普通的文件; Form5 keeps its texts",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()));
         c.mkfifo(c.skinIni());
         c.write(Window::Form5);
         c.expectRefused({c.shownIni(), u"不是一个普通的文件"_s});
     }},
    {"skin.ini links outside", "skin.ini", "skin.ini a symbolic link to a file outside the skin folder",
     "box says skin.ini是一个链接 and names the target; the target is untouched",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()) && QFile::link(c.elsewhere(), c.skinIni()));
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(), u"skin.ini是一个链接,指向"_s + c.elsewhere()});
     }},
    {"skin.ini links to /dev/full", "skin.ini", "skin.ini a link to /dev/full (按钮, Form3)",
     "box says it is a link to /dev/full; Form3 keeps its texts",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()) && QFile::link(u"/dev/full"_s, c.skinIni()));
         c.write(Window::Form3);
         c.expectRefused({c.shownIni(), u"skin.ini是一个链接,指向/dev/full"_s});
     }},
    {"read-only skin.ini", "skin.ini", "skin.ini with mode 0444 (版权, Form5)",
     "box says 文件是只读的; the file keeps its bytes; Form5 keeps its texts",
     [](Case &c) {
         c.setPermissions(c.skinIni(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         c.write(Window::Form5);
         c.expectRefused({c.shownIni(), u"文件是只读的"_s});
     }},
    {"skin.ini the user's group may write", "skin.ini",
     "skin.ini of mode 0464, owned by root and the group of nobody, written by nobody (root acts as nobody for the click); root only, else skipped",
     "written: the system's answer counts, not the owner's bit; 生成成功!", [](Case &c) {
         if (::geteuid() != 0)
             QSKIP("giving a file to another user needs an administrator");
         c.installWhereAnyoneMayEnter();
         QCOMPARE(::chown(QFile::encodeName(c.skinIni()).constData(), 0, 65534), 0);
         QCOMPARE(::chmod(QFile::encodeName(c.skinIni()).constData(), 0464), 0);
         c.writeAsOrdinaryUser = true;
         c.write(Window::Form1);
         c.expectWritten();
     }},
    {"read-only skin folder", "skin.ini", "no skin.ini yet, skin folder with mode 0555",
     "box names the path and 文件还不存在,而它所在的文件夹是只读的…; no file is created",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()));
         c.setPermissions(c.skinFolder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                              | QFile::ReadOther | QFile::ExeOther);
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(), u"文件还不存在,而它所在的文件夹是只读的"_s});
     }},
    {"disk full mid-write", "skin.ini",
     "skin folder on a 16 KiB tmpfs with 4 KiB free, a 64 KiB value in 说明 (版权, Form5); root only, else skipped",
     "box says 磁盘已满; skin.ini holds its old bytes exactly; Form5 keeps its texts",
     [](Case &c) {
         NEEDS_SMALL_DISK(c, c.skinFolder(), "16k");
         QVERIFY(testsupport::writeBytes(c.skinIni(), "old\r\n"));
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/filler"_s, QByteArray(8192, 'f')));
         c.type("Text6", QString(64 * 1024, u'x'));
         c.write(Window::Form5);
         c.expectRefused({c.shownIni(), u"磁盘已满"_s});
     }},
    {"file-size limit mid-write", "skin.ini",
     "a file-size limit 100 bytes past skin.ini's end (button sections need ~900), with the program's own SIGXFSZ handling (按钮, Form3)",
     "the program survives; box says 文件超过了系统允许的大小; the old bytes stay exactly",
     [](Case &c) {
         // As a fresh process has it: the start must switch the signal off itself.
         std::signal(SIGXFSZ, SIG_DFL);
         c.hold(std::make_shared<testsupport::FileSizeLimit>(QFileInfo(c.skinIni()).size() + 100));
         c.write(Window::Form3);
         c.expectRefused({c.shownIni(), u"文件超过了系统允许的大小"_s});
     }},
    {"no version", "skin.ini", "neither 2003 nor 2004 chosen", "box 请选择版本!; nothing written",
     [](Case &c) {
         c.version = nullptr;
         c.write(Window::Form1);
         c.expectRefused({u"请选择版本!"_s});
     }},
    {"empty install path", "skin.ini", "QQ安装路径 empty (版权, Form5)", "box 您没有输入路径; Form5 keeps its texts",
     [](Case &c) {
         c.installPath.clear();
         c.write(Window::Form5);
         c.expectRefused({u"您没有输入路径"_s});
     }},
    {"skin name ..", "skin.ini", "skin name \"..\"", "box says the name cannot name a folder; nothing lands in skins/",
     [](Case &c) {
         c.skinName = u".."_s;
         c.write(Window::Form1);
         c.expectRefused({u"生成的QQ皮肤名称不能用作文件夹名称"_s});
     }},
    {"skin name a\\b", "skin.ini", "skin name \"a\\b\" (按钮, Form3)", "box says the name cannot name a folder",
     [](Case &c) {
         c.skinName = u"a\\b"_s;
         c.write(Window::Form3);
         c.expectRefused({u"生成的QQ皮肤名称不能用作文件夹名称"_s});
     }},
    {"empty skin name", "skin.ini", "skin name empty", "box says the name cannot name a folder",
     [](Case &c) {
         c.skinName.clear();
         c.write(Window::Form1);
         c.expectRefused({u"生成的QQ皮肤名称不能用作文件夹名称"_s});
     }},
    {"skin name of 300 characters", "skin.ini", "skin name of 300 Chinese characters",
     "box names the path and 名称太长",
     [](Case &c) {
         c.skinName = QString(300, u'长');
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(c.skinName), u"名称太长"_s});
     }},
    {"characters GBK cannot hold", "skin.ini", "说明 holds 😀 (版权, Form5)",
     "box names the box and the character: “说明”中的“😀”",
     [](Case &c) {
         c.type("Text6", u"笑😀"_s);
         c.write(Window::Form5);
         c.expectRefused({u"无法保存的字符"_s, u"“说明”中的“😀”"_s});
     }},
    {"1 MB value", "skin.ini", "a background name of 1 Mi characters (2 MiB in GBK)",
     "written whole: old bytes, then the whole block; 生成成功!",
     [](Case &c) {
         c.type("Text1", QString(1 << 20, u'图'));
         c.write(Window::Form1);
         c.expectWritten();
     }},
    {"write-only skin.ini", "skin.ini", "skin.ini with mode 0200", "box says 不允许读取 (a write could not be checked)",
     [](Case &c) {
         c.setPermissions(c.skinIni(), QFile::WriteOwner);
         c.write(Window::Form1);
         c.expectRefused({c.shownIni(), u"不允许读取"_s});
     }},
    {"pasted LF", "skin.ini", "background name \"bg.bmp\" + LF, as copied from a terminal",
     "box names “输入背景图片名称”中的“U+000A”; nothing written",
     [](Case &c) {
         c.type("Text1", u"bg.bmp\n"_s);
         c.write(Window::Form1);
         c.expectRefused({u"换行等控制字符"_s, u"“输入背景图片名称”中的“U+000A”"_s});
     }},
    {"pasted CR LF section", "skin.ini", "说明 holds \"a\" CR LF \"[pasted]\" CR LF \"k=2\" (版权, Form5)",
     "box names “说明”中的“U+000D U+000A”; Form5 keeps its texts",
     [](Case &c) {
         c.type("Text6", u"a\r\n[pasted]\r\nk=2"_s);
         c.write(Window::Form5);
         c.expectRefused({u"“说明”中的“U+000D U+000A”"_s});
     }},
    {"NUL in a box", "skin.ini", "the first button box holds a NUL (按钮, Form3)",
     "box names the box and U+0000; Form3 keeps its texts",
     [](Case &c) {
         c.type("Text1", QString(u"a"_s + QChar(0) + u"b"_s));
         c.write(Window::Form3);
         c.expectRefused({u"“面板下部按钮图片 第一个按钮 鼠标未放上去时的图片名称”中的“U+0000”"_s});
     }},
    {"lone surrogate", "skin.ini", "logo name ending in a lone high surrogate U+D83D",
     "box names “主菜单中logo图片名称”中的“U+D83D”",
     [](Case &c) {
         c.type("Text6", QString(u"logo"_s + QChar(0xD83D)));
         c.write(Window::Form1);
         c.expectRefused({u"“主菜单中logo图片名称”中的“U+D83D”"_s});
     }},
    {"skin name with U+202E", "skin.ini", "skin name \"skin\" U+202E \"gpj\" (reads as another name)",
     "box says the name cannot name a folder, and 名称中含有看不见的或会改变文字顺序的字符“U+202E”",
     [](Case &c) {
         c.skinName = QString(u"skin"_s + QChar(0x202E) + u"gpj"_s);
         c.write(Window::Form1);
         c.expectRefused({u"生成的QQ皮肤名称不能用作文件夹名称"_s, u"U+202E"_s});
     }},
    {"another program appends meanwhile", "skin.ini",
     "another program appends a line right after our write", "生成成功!; old bytes, our whole block, then its line",
     [](Case &c) {
         c.hold(std::make_shared<platform::textfile::AppendInterleave>([](const QString &path) {
             QFile shared(path);
             QVERIFY(shared.open(QIODevice::Append) && shared.write("other\r\n") == 7);
         }));
         c.write(Window::Form1);
         c.expectWritten("other\r\n");
     }},
    {"another program spoils our bytes", "skin.ini",
     "another program overwrites a byte of ours and appends a line (版权, Form5)",
     "box says 其他程序同时改动了这个文件; its line is not cut; Form5 keeps its texts",
     [](Case &c) {
         c.hold(std::make_shared<platform::textfile::AppendInterleave>([](const QString &path) {
             QFile shared(path);
             QVERIFY(shared.open(QIODevice::ReadWrite) && shared.seek(shared.size() - 3) && shared.write("X") == 1);
             QVERIFY(shared.seek(shared.size()) && shared.write("late\r\n") == 6);
         }));
         c.write(Window::Form5);
         c.expectNotice({c.shownIni(), u"其他程序同时改动了这个文件"_s, u"请检查文件的内容"_s});
         const QByteArray after = testsupport::readBytes(c.skinIni());
         QVERIFY(after.startsWith("old\r\n[SkinInfo]\r\n") && after.endsWith("late\r\n"));
     }},

    // --- skin.ini read by 工具 > 检查皮肤
    {"skin.ini is a FIFO, 检查皮肤", "skin.ini", "a named pipe as skin.ini, checked",
     "returns at once; the check window says 无法读取文件 and names it; no box",
     [](Case &c) {
         QVERIFY(QFile::remove(c.skinIni()));
         c.mkfifo(c.skinIni());
         c.checkSkin();
         c.expectChecked({}, u"无法读取文件"_s + QDir::toNativeSeparators(c.skinIni()));
     }},
    {"skin.ini of 1 GB, 检查皮肤", "skin.ini", "a sparse skin.ini of 1 GiB of zero bytes, checked",
     "the window stays usable; only the first 4 MiB are read; it lists 文件太大", [](Case &c) {
         QFile file(c.skinIni());
         QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
         file.close();
         c.checkSkin();
         c.expectChecked({u"文件太大"_s});
     }},

    // --- the background picture in the preview (菜单 预览)
    {"BMP picture", "picture", "a 60 × 40 bitmap", "shown unscaled, no second box",
     [](Case &c) {
         QVERIFY(quarters(60, 40).save(c.skinFolder() + u"/bg.bmp"_s, "BMP"));
         c.preview(u"bg.bmp"_s);
         c.expectPicture(QSize(60, 40));
     }},
    {"GIF picture", "picture", "a 60 × 40 GIF", "shown unscaled",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/bg.gif"_s, testsupport::encodeGif(quarters(60, 40))));
         c.preview(u"bg.gif"_s);
         c.expectPicture(QSize(60, 40));
     }},
    {"JPEG picture", "picture", "a 60 × 40 JPEG", "shown unscaled",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/bg.jpg"_s, jpeg(quarters(60, 40))));
         c.preview(u"bg.jpg"_s);
         c.expectPicture(QSize(60, 40));
     }},
    {"PNG picture", "picture", "a 60 × 40 PNG", "shown unscaled",
     [](Case &c) {
         QVERIFY(quarters(60, 40).save(c.skinFolder() + u"/bg.png"_s, "PNG"));
         c.preview(u"bg.png"_s);
         c.expectPicture(QSize(60, 40));
     }},
    {"truncated JPEG", "picture", "a 200 × 200 JPEG cut off after half its bytes",
     "shown at full size, the missing part filled in, as image viewers do (a limit we accept)",
     [](Case &c) {
         const QByteArray whole = jpeg(quarters(200, 200));
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/bg.jpg"_s, whole.left(whole.size() / 2)));
         QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"premature end of data"_s));
         c.preview(u"bg.jpg"_s);
         c.expectPicture(QSize(200, 200));
         // The part before the cut is the picture's own; the rest is filled in.
         const QImage shown = c.shownPicture();
         QVERIFY2(qGreen(shown.pixel(10, 10)) > 120 && qRed(shown.pixel(10, 10)) < 60, "top left not decoded");
         QVERIFY2(qBlue(shown.pixel(190, 190)) < 200, qPrintable(QString::number(shown.pixel(190, 190), 16)));
     }},
    {"corrupt JPEG", "picture", "a JPEG start marker followed by 4000 bytes of noise",
     "box: 原因:图片数据已损坏,无法读取; the preview opens without the picture",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/bg.jpg"_s,
                                         QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(4000, '\x13')));
         c.preview(u"bg.jpg"_s);
         c.expectNoPicture(u"图片数据已损坏,无法读取"_s);
     }},
    {"PNG claiming 40000 × 40000", "picture", "a PNG header claiming 40000 × 40000 pixels",
     "refused at once, before decoding: 图片太大(宽40000像素,高40000像素)…",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(c.skinFolder() + u"/bg.png"_s, testsupport::pngHeaderOnly(40000, 40000)));
         c.preview(u"bg.png"_s);
         c.expectNoPicture(u"图片太大(宽40000像素,高40000像素),预览最多只能显示约1677万像素的图片"_s);
     }},
    {"/dev/zero as the picture", "picture", "bg.bmp a link to /dev/zero",
     "returns at once: 原因:这不是一个文件", [](Case &c) {
         // In a bare chroot /dev/zero may be a plain file where a device was bound over it; the
         // row would then show the reason for a file that holds no picture.
         QVERIFY2(QFileInfo(u"/dev/zero"_s).exists() && !QFileInfo(u"/dev/zero"_s).isFile(),
                  "this machine's /dev/zero is no device");
         QVERIFY(QFile::link(u"/dev/zero"_s, c.skinFolder() + u"/bg.bmp"_s));
         c.preview(u"bg.bmp"_s);
         c.expectNoPicture(u"这不是一个文件"_s);
     }},
    {"FIFO as the picture", "picture", "bg.bmp a named pipe", "returns at once: 原因:这不是一个文件",
     [](Case &c) {
         c.mkfifo(c.skinFolder() + u"/bg.bmp"_s);
         c.preview(u"bg.bmp"_s);
         c.expectNoPicture(u"这不是一个文件"_s);
     }},
    {"picture with mode 000", "picture", "bg.bmp that nobody may read, also as root", "原因:文件无法打开",
     [](Case &c) {
         QVERIFY(quarters(8, 8).save(c.skinFolder() + u"/bg.bmp"_s, "BMP"));
         c.setPermissions(c.skinFolder() + u"/bg.bmp"_s, {});
         c.preview(u"bg.bmp"_s);
         c.expectNoPicture(u"文件无法打开"_s);
     }},
    {"picture folder without search permission", "picture", "skin folder with mode 0600",
     "原因:无法进入图片所在的文件夹,没有访问它的权限", [](Case &c) {
         QVERIFY(quarters(8, 8).save(c.skinFolder() + u"/bg.bmp"_s, "BMP"));
         c.setPermissions(c.skinFolder(), QFile::ReadOwner | QFile::WriteOwner);
         c.preview(u"bg.bmp"_s);
         c.expectNoPicture(u"无法进入图片所在的文件夹,没有访问它的权限"_s);
     }},

    // --- qqq.qq when the main program starts (a recording player stands in for the sound)
    {"qqq.qq missing at start", "qqq.qq", "no qqq.qq in the working folder", "no tune, no box",
     [](Case &c) {
         c.startWithPlayer();
         c.expectPlayerGiven({});
     }},
    {"qqq.qq empty at start", "qqq.qq", "qqq.qq of 0 bytes", "no tune, no box",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(musicSetting, {}));
         c.startWithPlayer();
         c.expectPlayerGiven({});
     }},
    {"qqq.qq without CR at start", "qqq.qq", "\"music\\3.mid\" LF, as saved on Linux", "plays music\\3.mid, no box",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(musicSetting, "music\\3.mid\n"));
         c.startWithPlayer();
         c.expectPlayerGiven(u"music\\3.mid"_s);
     }},
    {"qqq.qq binary at start", "qqq.qq", "the 256 byte values, 0E to FF, then 00 to 0D",
     "the player is handed the first line (it names no tune, so nothing sounds); no box",
     [](Case &c) {
         QByteArray binary;
         for (int byte = 0; byte < 256; ++byte)
             binary.append(char((byte + 14) % 256));  // 0E..FF, then 00..0D: the first line ends at 0A
         QVERIFY(testsupport::writeBytes(musicSetting, binary));
         c.startWithPlayer();
         c.expectPlayerGiven(QStringDecoder("GBK").decode(binary.left(binary.indexOf('\n'))));
     }},
    {"qqq.qq of 1 GB at start", "qqq.qq", "a sparse file of 1 GiB of zero bytes, no line end",
     "start stays quick (at most 64 KiB are read); no box",
     [](Case &c) {
         QFile file(musicSetting);
         QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
         file.close();
         c.startWithPlayer();
         c.expectPlayerGiven(QString(64 * 1024, QChar(0)));
     }},
    {"qqq.qq a folder at start", "qqq.qq", "a folder named qqq.qq", "no tune, no box",
     [](Case &c) {
         QVERIFY(QDir().mkdir(musicSetting));
         c.startWithPlayer();
         c.expectPlayerGiven({});
     }},
    {"qqq.qq a FIFO at start", "qqq.qq", "a named pipe named qqq.qq", "start does not wait on it; no tune, no box",
     [](Case &c) {
         c.mkfifo(musicSetting);
         c.startWithPlayer();
         c.expectPlayerGiven({});
     }},

    // --- the tune qqq.qq names, played at start by the real main program (sound to a file)
    {"WAV with no channels", "tune", "a WAV whose format says 0 channels", runsOnSilent,
     [](Case &c) { c.playAtStart(false, waveHead(0, 44100, 4) + waveSound()); }},
    {"WAV with 256 channels", "tune", "a WAV whose format says 256 channels (0 in SDL's 8 bits)", runsOnSilent,
     [](Case &c) { c.playAtStart(false, waveHead(256, 44100, 4) + waveSound()); }},
    {"WAV at 0 samples a second", "tune", "a WAV whose format says a rate of 0", runsOnSilent,
     [](Case &c) { c.playAtStart(false, waveHead(2, 0, 4) + waveSound()); }},
    {"WAV without block size", "tune", "a WAV whose format says a block size of 0", runsOnSilent,
     [](Case &c) { c.playAtStart(false, waveHead(2, 44100, 0) + waveSound()); }},
    {"MP3 of junk", "tune", "an ID3 tag, then text and no MPEG frame",
     "the program runs on, silent; mpg123's complaint stays out of the terminal", [](Case &c) {
         c.playAtStart(false, QByteArray("ID3\x03\0\0\0\0\0\0", 10) + QByteArray("no MPEG frame here. ").repeated(4000));
     }},
    {"2 GB WAV", "tune", "a sparse WAV of 2 GiB whose LIST chunk claims 2 GB",
     "refused at once (over 1 GiB): silent, under 400 MB of memory, nothing in the terminal",
     [](Case &c) { c.playAtStart(false, waveHead(2, 44100, 4) + "LIST" + le32(0x7fffffff), qint64(2) << 30); }},
    {"2 GB MIDI", "tune", "a sparse file of 2 GiB starting with MThd",
     "refused at once (over 1 GiB): silent, under 400 MB of memory", [](Case &c) {
         c.playAtStart(false, QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0MTrk\x7f\xff\xff\xff", 22), qint64(2) << 30);
     }},
    {"8 MB MIDI", "tune", "a MIDI file of 8 MiB of notes that would play",
     "refused at once (MIDI files are read whole; over 4 MiB): silent", [](Case &c) {
         const QByteArray notes = QByteArray("\x60\x90\x3c\x60\x60\x80\x3c\x00", 8).repeated(1 << 20);
         c.playAtStart(false, QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0MTrk\x00\x80\x00\x00", 22) + notes);
     }},
    {"WAV with 600 MB of tags", "tune", "a sparse WAV whose 600 MiB LIST chunk comes before the sound",
     "plays; the LIST chunk is never read: under 400 MB of memory", [](Case &c) {
         c.playAtStart(true, waveHead(2, 44100, 4) + "LIST" + le32(600 << 20), qint64(600) << 20, waveSound());
     }},
    {"no sound server or card", "tune", "a WAV that plays, with no sound server and no sound card",
     "the program runs on, silent; ALSA's and Qt's notes stay out of the terminal",
     [](Case &c) { c.playAtStart(false, waveHead(2, 44100, 4) + waveSound(), 0, {}, false); }},

    // --- qqq.qq in the music window (菜单 选择音乐, Form4): opening, then 默认音乐2 and 确定
    {"qqq.qq missing in Form4", "qqq.qq", "no qqq.qq", "opens with none chosen; 确定 stores music\\2.mid; 设置完成!",
     [](Case &c) {
         c.chooseTune(2);
         c.expectTuneWindow(0, "music\\2.mid\r\n");
     }},
    {"qqq.qq empty in Form4", "qqq.qq", "qqq.qq of 0 bytes", "none chosen; 确定 stores music\\2.mid",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(musicSetting, {}));
         c.chooseTune(2);
         c.expectTuneWindow(0, "music\\2.mid\r\n");
     }},
    {"qqq.qq without CR in Form4", "qqq.qq", "\"music\\3.mid\" LF", "opens with 默认音乐3 chosen; 确定 stores music\\2.mid",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(musicSetting, "music\\3.mid\n"));
         c.chooseTune(2);
         c.expectTuneWindow(3, "music\\2.mid\r\n");
     }},
    {"qqq.qq binary in Form4", "qqq.qq", "250 bytes: 00 FF 81 CR 7F, fifty times", "none chosen; 确定 replaces it whole",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(musicSetting, QByteArray("\x00\xff\x81\r\x7f", 5).repeated(50)));
         c.chooseTune(2);
         c.expectTuneWindow(0, "music\\2.mid\r\n");
     }},
    {"qqq.qq of 1 GB in Form4", "qqq.qq", "a sparse file of 1 GiB", "opens at once; 确定 replaces it whole",
     [](Case &c) {
         QFile file(musicSetting);
         QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
         file.close();
         c.chooseTune(2);
         c.expectTuneWindow(0, "music\\2.mid\r\n");
     }},
    {"qqq.qq a folder in Form4", "qqq.qq", "a folder named qqq.qq",
     "box: 无法保存音乐设置到文件<path> 原因:同名的文件夹已经存在…; Form4 stays with 默认音乐2 chosen",
     [](Case &c) {
         QVERIFY(QDir().mkdir(musicSetting));
         c.chooseTune(2);
         c.expectTuneRefused(0, {u"同名的文件夹已经存在"_s});
     }},

    {"read-only working folder in Form4", "qqq.qq", "no qqq.qq, and the working folder has mode 0555",
     "box names the path and 文件还不存在,而它所在的文件夹是只读的…; Form4 stays with its choice", [](Case &c) {
         c.setPermissions(QDir::currentPath(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                                   | QFile::ReadOther | QFile::ExeOther);
         c.chooseTune(2);
         c.expectTuneRefused(0, {u"文件还不存在,而它所在的文件夹是只读的"_s});
     }},

    // --- qqq.qq in the setter's store (Morvane背景音乐添加程序, 确定)
    {"qqq.qq a folder in the setter", "qqq.qq", "a folder named qqq.qq",
     "box names the path and 同名的文件夹已经存在; the path box keeps its text",
     [](Case &c) {
         QVERIFY(QDir().mkdir(musicSetting));
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSettingRefused({u"同名的文件夹已经存在"_s});
     }},
    {"qqq.qq a FIFO in the setter", "qqq.qq", "a named pipe named qqq.qq",
     "returns at once; box names the path and 不是一个普通的文件", [](Case &c) {
         c.mkfifo(musicSetting);
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSettingRefused({u"不是一个普通的文件"_s});
     }},
    {"qqq.qq a dangling link in the setter", "qqq.qq", "qqq.qq a link to a file that does not exist, in a folder that does",
     "box names the path and where the link leads, where there is no file; no file is made there", [](Case &c) {
         QCOMPARE(::symlink(QFile::encodeName(c.sandbox(u"missing.qq"_s)).constData(), "qqq.qq"), 0);
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSettingRefused({c.sandbox(u"missing.qq"_s) + u",而那里没有文件"_s});
     }},
    {"qqq.qq a link to itself in the setter", "qqq.qq", "qqq.qq a link to qqq.qq",
     "box names the path and says the link leads back to itself", [](Case &c) {
         QCOMPARE(::symlink("qqq.qq", "qqq.qq"), 0);
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSettingRefused({u"又指回了自己"_s});
     }},
    {"working folder deleted under the setter", "qqq.qq", "the setter's working folder deleted while it runs",
     "box names qqq.qq in that folder and says the folder was deleted", [](Case &c) {
         const QString work = QDir::currentPath();
         const QString gone = c.sandbox(u"gone"_s);
         QVERIFY(QDir().mkdir(gone) && QDir::setCurrent(gone));
         c.atEnd([work] { QDir::setCurrent(work); });
         musicsetter::start();
         QVERIFY(QDir().rmdir(gone));
         c.confirmSetter();
         c.expectNotice({u"无法保存音乐设置到文件"_s + gone + u"/qqq.qq"_s, u"它在程序运行时被删除了"_s});
     }},
    {"leftovers of killed stores in the setter", "qqq.qq",
     "hidden .qqq.qq.XXXXXX files: one a store killed half-way left, one of a store still writing (locked)",
     "设置成功!!; the leftover is gone, the locked file stays", [](Case &c) {
         QVERIFY(testsupport::writeBytes(u".qqq.qq.Ab12Cd"_s, "half") && testsupport::writeBytes(u".qqq.qq.Busy00"_s, "half"));
         const int busy = ::open(".qqq.qq.Busy00", O_RDONLY | O_CLOEXEC);
         QCOMPARE(::flock(busy, LOCK_EX), 0);
         c.atEnd([busy] {
             ::close(busy);
             QFile::remove(u".qqq.qq.Busy00"_s);
         });
         c.mayWrite(u".qqq.qq.Ab12Cd"_s);
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSetterStored(testsupport::gbk(u"D:\\音乐\\春天.mp3\r\n"_s));
         QVERIFY(!QFile::exists(u".qqq.qq.Ab12Cd"_s));
     }},
    {"qqq.qq of 1 GB in the setter", "qqq.qq", "a sparse file of 1 GiB", "replaced whole by the one line; 设置成功!!",
     [](Case &c) {
         QFile file(musicSetting);
         QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
         file.close();
         c.storeInSetter(u"D:\\音乐\\春天.mp3"_s);
         c.expectSetterStored(testsupport::gbk(u"D:\\音乐\\春天.mp3\r\n"_s));
     }},

    // --- QQ.QQ, the tips beside the program, with tips at start on
    {"QQ.QQ missing", "QQ.QQ", "no tips file", "the tip window shows with an empty tip; no box",
     [](Case &c) {
         c.startWithTips(u"1"_s);
         c.expectTip([](const QString &tip) { return tip.isEmpty(); });
     }},
    {"QQ.QQ empty", "QQ.QQ", "a tips file of 0 bytes", "the tip window shows with an empty tip; no box",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(tipsFile(), {}));
         c.startWithTips(u"1"_s);
         c.expectTip([](const QString &tip) { return tip.isEmpty(); });
     }},
    {"QQ.QQ invalid GBK", "QQ.QQ", "one line of bytes that are no GBK (81 20, FF)",
     "the tip is shown with U+FFFD where the bytes were; no box",
     [](Case &c) {
         QVERIFY(testsupport::writeBytes(tipsFile(), "a\x81 b\xff\r\n"));
         c.startWithTips(u"1"_s);
         c.expectTip([](const QString &tip) { return tip.startsWith(u'a') && tip.contains(QChar(0xFFFD)); });
     }},
    {"QQ.QQ of a million lines", "QQ.QQ", "1 000 000 tips (about 13 MB), the draw falling on the last",
     "start stays within 1 s; the last tip is shown",
     [](Case &c) {
         QByteArray tips;
         for (int i = 1; i <= 1000000; ++i)
             tips += "tip " + QByteArray::number(i) + "\r\n";
         QVERIFY(testsupport::writeBytes(tipsFile(), tips));
         const platform::random::Override highest([] { return 1.0 - 0x1p-53; });
         c.startWithTips(u"1"_s, 1000);
         c.expectTip([](const QString &tip) { return tip == u"tip 1000000"; });
     }},

    // --- the tips setting
    {"tips setting abc", "tips setting", "the stored value \"abc\"", "the tip window still shows, its box ticked",
     [](Case &c) {
         c.mayWrite(QFileInfo(QDir::homePath()).path() + u"/config"_s);
         c.startWithTips(u"abc"_s);
         c.expectTip();
     }},
    {"settings store a FIFO", "tips setting", "the settings store Morvane.conf a named pipe",
     "start does not wait on it; the tip window shows, its box ticked; the pipe stays", [](Case &c) {
         QVERIFY(QFile::remove(settingsStore()));
         c.mkfifo(settingsStore());
         c.startWithTips({});
         c.expectTip();
     }},
    {"settings lock a folder", "tips setting", "a folder named Morvane.conf.lock beside the store holding \"abc\"",
     "start does not wait on it; the tip window shows; the box's 1 is stored", [](Case &c) {
         QVERIFY(platform::settings::write(u"Options"_s, u"在启动时显示提示"_s, u"abc"_s));
         QVERIFY(QDir().mkdir(settingsStore() + u".lock"_s));
         c.mayWrite(settingsStore());
         c.startWithTips({});
         c.expectTip();
         QCOMPARE(platform::settings::read(u"Options"_s, u"在启动时显示提示"_s, {}), u"1"_s);
     }},
    {"settings store links to a device", "tips setting",
     "the store a link to a character device (a copy of /dev/null made for the row); root only, else skipped",
     "the tip window shows, its box ticked; the device stays a device", [](Case &c) {
         const QString device = c.sandbox(u"null"_s);
         if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
             QSKIP("making a device needs an administrator");
         QVERIFY(QFile::remove(settingsStore()) && QFile::link(device, settingsStore()));
         c.startWithTips({});
         c.expectTip();
     }},
    {"settings store links to a file", "tips setting",
     "the store a link to a file (as dotfile managers keep it) holding \"abc\" and a section of another program",
     "written through: the link stays, the file holds 1 and the other section", [](Case &c) {
         const QString kept = c.sandbox(u"morvane.conf"_s);
         QVERIFY(QFile::rename(settingsStore(), kept) && QFile::link(kept, settingsStore()));
         QSettings(kept, QSettings::IniFormat).setValue(u"Other/key"_s, u"value"_s);
         QVERIFY(platform::settings::write(u"Options"_s, u"在启动时显示提示"_s, u"abc"_s));
         c.mayWrite(kept);
         c.startWithTips({});
         c.expectTip();
         QVERIFY(QFileInfo(settingsStore()).isSymLink());
         const QSettings written(kept, QSettings::IniFormat);
         QCOMPARE(written.value(u"Options/在启动时显示提示"_s), u"1"_s);
         QCOMPARE(written.value(u"Other/key"_s), u"value"_s);
     }},
    {"settings store of 1 GB", "tips setting", "a sparse store of 1 GiB of zero bytes",
     "start stays quick (at most 64 KiB are read); the tip window shows; the store is left as it is", [](Case &c) {
         QVERIFY(QFile::remove(settingsStore()));
         QFile store(settingsStore());
         QVERIFY(store.open(QIODevice::WriteOnly) && store.resize(qint64(1) << 30));
         store.close();
         const QByteArray before = state(settingsStore());
         c.mayWrite(settingsStore());
         c.startWithTips({});
         c.expectTip();
         QCOMPARE(state(settingsStore()), before);
     }},

    // --- the per-user working folder, as the installed commands start the programs
    {"per-user folder a dangling link", "working folder", "$XDG_DATA_HOME/Morvane a link to nothing",
     "the program comes up where it was started; box names the folder and where the link leads", [](Case &c) {
         QVERIFY(QFile::link(c.sandbox(u"nowhere"_s), perUserFolder()));
         c.startInPerUserFolder();
         c.expectNotice({u"无法准备工作文件夹"_s + perUserFolder(), c.sandbox(u"nowhere"_s) + u",而那里没有文件夹"_s});
     }},
    {"read-only per-user folder", "working folder", "$XDG_DATA_HOME/Morvane of mode 0555, without qqq.qq",
     "the program comes up in the folder; box names qqq.qq and the read-only folder; nothing is made", [](Case &c) {
         const QString defaults = QCoreApplication::applicationDirPath() + u"/qqq.qq"_s;
         QVERIFY(testsupport::writeBytes(defaults, "music\\1.mid\r\n"));
         c.atEnd([defaults] { QFile::remove(defaults); });
         QVERIFY(QDir().mkpath(perUserFolder()));
         c.setPermissions(perUserFolder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                               | QFile::ReadOther | QFile::ExeOther);
         c.startInPerUserFolder();
         c.expectNotice({perUserFolder() + u"/qqq.qq"_s, u"所在的文件夹是只读的"_s});
         QCOMPARE(QDir::currentPath(), perUserFolder());
     }},

    // --- the companion programs (菜单 music2 and hhh)
    {"setter missing", "companion", "no Morvane背景音乐添加程序 beside the program or on PATH",
     "box 找不到程序\"Morvane背景音乐添加程序.exe\"…; the main window goes on", [](Case &c) {
         c.startCompanion("music2");
         c.expectNotice({u"找不到程序\"Morvane背景音乐添加程序.exe\""_s});
     }},
    {"help not executable", "companion", "帮助 beside the program without execute permission",
     "box 无法启动程序\"帮助.exe\"!, the file, 原因:文件没有运行的权限…", [](Case &c) {
         QVERIFY(QDir().mkpath(c.sandbox(u"bin"_s)));
         QVERIFY(testsupport::writeBytes(c.sandbox(u"bin/帮助"_s), "#!/bin/sh\n"));
         QVERIFY(QFile::setPermissions(c.sandbox(u"bin/帮助"_s), QFile::ReadOwner | QFile::WriteOwner));
         c.startCompanion("hhh");
         c.expectNotice({c.sandbox(u"bin/帮助"_s), u"没有运行的权限"_s});
     }},
    {"help not a program", "companion", "帮助 marked executable but holding a broken program",
     "box 无法启动程序\"帮助.exe\"!, the file, 原因:系统无法运行这个文件…", [](Case &c) {
         QVERIFY(QDir().mkpath(c.sandbox(u"bin"_s)));
         QVERIFY(testsupport::writeBytes(c.sandbox(u"bin/帮助"_s), QByteArray("\x7f" "ELF broken", 10)));
         QVERIFY(QFile::setPermissions(c.sandbox(u"bin/帮助"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
         c.startCompanion("hhh");
         c.expectNotice({u"无法启动程序\"帮助.exe\""_s, c.sandbox(u"bin/帮助"_s), u"原因:"_s});
     }},

    // --- the about window
    {"system information tool missing", "about", "no tool named by the registry, none on PATH",
     "the designed box 此时系统信息不可用; the about window stays", [](Case &c) {
         c.askForSystemInformation();
         c.expectNotice({u"此时系统信息不可用"_s});
     }},

    // --- the browse windows: 浏览 on the main window (Form2) and in the setter (Form2)
    {"vanished folder, main Form2", "browse", "a folder removed after it was listed, then double-clicked",
     "box 无法读取<path> 请选择其他驱动器或文件夹.; the list stays where it was", [](Case &c) {
         c.openInBrowse(Program::Main, c.sandbox(u"browse/gone"_s));
         c.expectNotice({u"无法读取"_s + c.sandbox(u"browse/gone"_s) + u"\n请选择其他驱动器或文件夹."_s});
         c.expectBrowseAt(c.sandbox(u"browse"_s), 1);
     }},
    {"vanished folder, setter Form2", "browse", "the same in the setter", "the same box; the list stays",
     [](Case &c) {
         c.openInBrowse(Program::Setter, c.sandbox(u"browse/gone"_s));
         c.expectNotice({u"无法读取"_s + c.sandbox(u"browse/gone"_s)});
         c.expectBrowseAt(c.sandbox(u"browse"_s), 1, 0);
     }},
    {"unreadable folder, main Form2", "browse",
     "a folder with mode 000, double-clicked by an ordinary user (root acts as nobody for the click)",
     "box 无法读取<path>…; the list stays where it was", [](Case &c) {
         const QString locked = c.openFolder(u"locked"_s);
         c.setPermissions(locked, {});
         c.openInBrowse(Program::Main, locked, true);
         c.expectNotice({u"无法读取"_s + locked});
         c.expectBrowseAt(QFileInfo(locked).path(), 1);
     }},
    {"unreadable folder, setter Form2", "browse", "the same in the setter", "the same box; the list stays",
     [](Case &c) {
         const QString locked = c.openFolder(u"locked"_s);
         c.setPermissions(locked, {});
         c.openInBrowse(Program::Setter, locked, true);
         c.expectNotice({u"无法读取"_s + locked});
         c.expectBrowseAt(QFileInfo(locked).path(), 1, 0);
     }},
    {"tune name with a backslash, setter Form2", "browse", "a tune named a\\b.mid, picked in Form2, then 确定 there",
     "box says the name holds “\\”; the path box keeps its text", [](Case &c) {
         const QString folder = c.openFolder(u"names"_s);
         QVERIFY(testsupport::writeBytes(folder + u"/a\\b.mid"_s, "tune"));
         c.confirmBrowse(Program::Setter, c.showBrowse(Program::Setter, folder), u"a\\b.mid"_s);
         c.expectNotice({u"“a\\b.mid”中含有“\\”"_s});
     }},
    {"folder name with a backslash, main Form2", "browse", "a folder named a\\b, open in Form2, then 确定",
     "box says the name holds “\\”; QQ安装路径 keeps its text", [](Case &c) {
         const QString folder = c.openFolder(u"a\\b"_s);
         c.confirmBrowse(Program::Main, c.showBrowse(Program::Main, folder));
         c.expectNotice({u"“a\\b”中含有“\\”"_s});
     }},
    {"per-user working folder, main Form2", "browse", "the working folder is $XDG_DATA_HOME/Morvane, as the installed commands set it",
     "Form2 opens in the home folder", [](Case &c) {
         QVERIFY(QDir().mkpath(perUserFolder()));
         c.openBrowse(Program::Main, perUserFolder());
         c.expectBrowseAt(QDir::homePath(), int(QDir::home().entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size()));
     }},
    {"names not UTF-8, main Form2", "browse",
     "the current folder holds folders named \"good\", \"bad\" + byte FF, and 春天 in GBK (as unpacked from a Windows archive)",
     "only \"good\" is listed: a name that is not UTF-8 is left out (a limit we accept); no box", [](Case &c) {
         const QString folder = c.openFolder(u"names"_s);
         QVERIFY(QDir(folder).mkdir(u"good"_s));
         for (const QByteArray &name : {QByteArray("bad\xff"), testsupport::gbk(u"春天"_s)}) {
             const QByteArray path = QFile::encodeName(folder) + '/' + name;
             QCOMPARE(::mkdir(path.constData(), 0755), 0);
             c.atEnd([path] { ::rmdir(path.constData()); });
         }
         c.openBrowse(Program::Main, folder);
         c.expectNoNotice();
         c.expectBrowseAt(folder, 1);
     }},
    {"names not UTF-8, setter Form2", "browse",
     "the current folder holds the tunes good.mid, \"bad\" + byte FF + \".mid\" and 春天.mid in GBK",
     "only good.mid is listed (the same limit); no box", [](Case &c) {
         const QString folder = c.openFolder(u"names"_s);
         QVERIFY(testsupport::writeBytes(folder + u"/good.mid"_s, "tune"));
         for (const QByteArray &name : {QByteArray("bad\xff.mid"), testsupport::gbk(u"春天.mid"_s)}) {
             const QByteArray path = QFile::encodeName(folder) + '/' + name;
             QCOMPARE(::close(::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644)), 0);
             c.atEnd([path] { ::unlink(path.constData()); });
         }
         c.openBrowse(Program::Setter, folder);
         c.expectNoNotice();
         c.expectBrowseAt(folder, 0, 1);
     }},
    {"100 000 entries, main Form2", "browse", "the current folder holds 50 000 folders and 50 000 tunes",
     "Form2 opens within 1.5 s, the window usable at once, then lists the 50 000 folders", [](Case &c) {
         const QString folder = bigFolder();
         c.openBrowse(Program::Main, folder, bigFolderBound);
         c.expectBrowseAt(folder, bigFolderHalf);
     }},
    {"100 000 entries, setter Form2", "browse", "the same in the setter",
     "Form2 opens within 1.5 s, the window usable at once, then lists 50 000 folders and 50 000 tunes", [](Case &c) {
         const QString folder = bigFolder();
         c.openBrowse(Program::Setter, folder, bigFolderBound);
         c.expectBrowseAt(folder, bigFolderHalf, bigFolderHalf);
     }},
};

void printMarkdown()
{
    QTextStream out(stdout);
    out << "| Area | Row | Input | Outcome |\n|---|---|---|---|\n";
    const auto cell = [](const char *text) { return QString::fromUtf8(text).replace(u'|', u"\\|"_s); };
    for (const Row &row : rows)
        out << "| " << cell(row.area) << " | " << cell(row.name) << " | " << cell(row.input) << " | "
            << cell(row.outcome) << " |\n";
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { bigFolderHolder().reset(); }

    void badInput_data()
    {
        QTest::addColumn<int>("row");
        for (int index = 0; index < int(std::size(rows)); ++index)
            QTest::newRow(rows[index].name) << index;
    }

    void badInput()
    {
        QFETCH(int, row);
        Case c(rows[row].name);
        rows[row].run(c);
        c.finish();
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--markdown") == 0) {
        printMarkdown();
        return 0;
    }
    testsupport::IsolatedEnvironment environment;
    QApplication application(argc, argv);
    BadInputTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_badinput.moc"
