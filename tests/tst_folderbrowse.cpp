// The folder browse window: picking the QQ installation folder with the mouse.
#include "skinmaker/core/location.h"
#include "skinmaker/shell/folderbrowsewindow.h"
#include "skinmaker/shell/mainwindow.h"

#include "platform/core/winpath.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <unistd.h>

using namespace std::chrono_literals;
using platform::DriveList;
using platform::FolderList;
using skinmaker::shell::FolderBrowseWindow;
using skinmaker::shell::MainWindow;

class FolderBrowseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensWithTheDesignedLook();
    void browseButtonShowsOneWindow();
    void doubleClickedFolderIsWritten();
    void highlightedFolderIsNotWritten();
    void rootKeepsItsSeparator();
    void frameCloseWritesNothingAndEveryOpeningStartsAtTheCurrentFolder();
    void choosingADriveMovesTheFolderList();
    void unreadableFolderKeepsTheListOnAReadableOne();
    void folderWithoutPermissionKeepsTheListOnAReadableOne();
    void confirmingWhileSubfoldersAreReadWritesTheOpenFolder();
    void chosenFolderLeadsGenerateToTheSkinFolder();
    void rootInstallPathStillReachesAFolder();

private:
    MainWindow *form1() const { return testsupport::existingWindow<MainWindow>(); }
    QLineEdit *text7() const { return form1()->installPathBox(); }
    FolderBrowseWindow *openForm2();
    FolderList *dir1() const { return testsupport::existingWindow<FolderBrowseWindow>()->folderList(); }
    bool open(const QString &folder, bool twice = true);
    bool confirm();

    QString m_work; // the process's current folder
    std::unique_ptr<platform::NoticeRecorder> m_notices;
};

void FolderBrowseTest::init()
{
    m_work = platform::nativeFolderPath(QDir::currentPath());
    for (const char *folder : {"QQ/skins/蓝天", "QQ/NewSkins", "QQ/plugins", "other"})
        QVERIFY(QDir(m_work).mkpath(QString::fromUtf8(folder)));
    m_notices = std::make_unique<platform::NoticeRecorder>();
    testsupport::startSkinmaker();
    QVERIFY(form1());
}

void FolderBrowseTest::cleanup()
{
    testsupport::destroyAllWindows();
    m_notices.reset();
    QVERIFY(QDir(m_work + QStringLiteral("/QQ")).removeRecursively());
    QDir(m_work + QStringLiteral("/other")).removeRecursively();
    QCOMPARE(platform::nativeFolderPath(QDir::currentPath()), m_work);
}

FolderBrowseWindow *FolderBrowseTest::openForm2()
{
    auto *browse = form1()->findChild<QPushButton *>(QStringLiteral("Command2"));
    if (!browse)
        return nullptr;
    QTest::mouseClick(browse, Qt::LeftButton);
    FolderBrowseWindow *window = testsupport::existingWindow<FolderBrowseWindow>();
    if (window && !QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

// Clicks a folder's entry in Dir1, twice for opening it.
bool FolderBrowseTest::open(const QString &folder, bool twice)
{
    return testsupport::clickFolder(dir1(), folder, twice);
}

// Presses 确定; true when the window is gone afterwards.
bool FolderBrowseTest::confirm()
{
    QPointer<FolderBrowseWindow> window = testsupport::existingWindow<FolderBrowseWindow>();
    if (!window)
        return false;
    auto *ok = window->findChild<QPushButton *>(QStringLiteral("Command1"));
    if (!ok)
        return false;
    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull() && !testsupport::existingWindow<FolderBrowseWindow>();
}

void FolderBrowseTest::opensWithTheDesignedLook()
{
    FolderBrowseWindow *window = openForm2();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("Form2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("浏览"));
    QCOMPARE(window->size(), QSize(177, 296));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(window->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(window->cursor().pixmap().toImage(), platform::look::mainCursor().pixmap().toImage());

    FIND(DriveList, drive1, window, "Drive1");
    FIND(FolderList, list, window, "Dir1");
    FIND(QPushButton, command1, window, "Command1");
    QCOMPARE(command1->text(), QStringLiteral("确定"));
    QCOMPARE(command1->cursor().pixmap().toImage(), platform::look::mainCursor().pixmap().toImage());

    // Top to bottom, the two lists across the full width, the button centred below.
    QCOMPARE(drive1->geometry(), QRect(0, 0, 177, 20));
    QCOMPARE(list->width(), 177);
    QCOMPARE(list->height(), platform::look::twips(3660));
    QVERIFY(list->y() >= drive1->geometry().bottom());
    QVERIFY(command1->y() > list->geometry().bottom());
    QVERIFY(command1->geometry().bottom() < window->height());
    QVERIFY(qAbs(command1->geometry().center().x() - window->width() / 2) <= 1);

    // The lists in the field colour, the window in its own.
    const QImage shot = window->grab().toImage();
    const QPoint inList = list->mapTo(window, QPoint(list->width() / 2, list->height() - 6));
    QCOMPARE(QColor(shot.pixel(inList)), QColor(175, 231, 254));
    QCOMPARE(QColor(shot.pixel(2, window->height() - 3)), QColor(63, 197, 254));
    if (const QByteArray where = qgetenv("MORVANE_SCREENSHOT_DIR"); !where.isEmpty())
        shot.save(QFile::decodeName(where) + QStringLiteral("/form2.png"));
}

void FolderBrowseTest::browseButtonShowsOneWindow()
{
    FolderBrowseWindow *first = openForm2();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    // Showing it again brings the same window forward as it is.
    QCOMPARE(openForm2(), first);
    QCOMPARE(dir1()->path(), m_work + QStringLiteral("/QQ"));
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *w) { return qobject_cast<FolderBrowseWindow *>(w) != nullptr; }),
             1);
}

void FolderBrowseTest::doubleClickedFolderIsWritten()
{
    QVERIFY(openForm2());
    QCOMPARE(dir1()->path(), m_work);
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    QVERIFY(open(m_work + QStringLiteral("/QQ/skins")));
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), m_work + QStringLiteral("/QQ/skins"));
    QVERIFY(m_notices->records().isEmpty());
}

void FolderBrowseTest::highlightedFolderIsNotWritten()
{
    QVERIFY(openForm2());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    QVERIFY(open(m_work + QStringLiteral("/QQ/plugins"), false));
    QCOMPARE(platform::FolderList::folderOf(dir1()->currentIndex()), m_work + QStringLiteral("/QQ/plugins"));
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), m_work + QStringLiteral("/QQ"));
}

void FolderBrowseTest::rootKeepsItsSeparator()
{
    QVERIFY(openForm2());
    QVERIFY(open(QStringLiteral("/")));
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), QStringLiteral("/"));
}

void FolderBrowseTest::frameCloseWritesNothingAndEveryOpeningStartsAtTheCurrentFolder()
{
    text7()->setText(QStringLiteral("typed by hand"));
    QPointer<FolderBrowseWindow> window = openForm2();
    QVERIFY(window);
    QVERIFY(open(m_work + QStringLiteral("/other")));
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QCOMPARE(text7()->text(), QStringLiteral("typed by hand"));

    // Neither a frame close nor a confirmed choice moves the next start.
    QVERIFY(openForm2());
    QCOMPARE(dir1()->path(), m_work);
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), m_work + QStringLiteral("/QQ"));
    QVERIFY(openForm2());
    QCOMPARE(dir1()->path(), m_work);
    QCOMPARE(testsupport::existingWindow<FolderBrowseWindow>()->driveList()->drive(),
             testsupport::existingWindow<FolderBrowseWindow>()->driveList()->driveOf(m_work));
    QCOMPARE(platform::nativeFolderPath(QDir::currentPath()), m_work);
}

void FolderBrowseTest::choosingADriveMovesTheFolderList()
{
    FolderBrowseWindow *window = openForm2();
    QVERIFY(window);
    // The machine may have one drive only: list the QQ folder as a second one.
    const QString second = m_work + QStringLiteral("/QQ");
    window->driveList()->setDrives({QStringLiteral("/"), second});
    window->driveList()->showDriveOf(dir1()->path());
    QCOMPARE(window->driveList()->drive(), QStringLiteral("/"));

    QTest::keyClick(window->driveList(), Qt::Key_Down);
    QCOMPARE(dir1()->path(), second);
    QVERIFY(open(second + QStringLiteral("/NewSkins")));
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), second + QStringLiteral("/NewSkins"));
}

void FolderBrowseTest::unreadableFolderKeepsTheListOnAReadableOne()
{
    QVERIFY(openForm2());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    // Gone by the time the user opens it, so unreadable even for root.
    QVERIFY(QDir(m_work + QStringLiteral("/QQ/plugins")).removeRecursively());
    QVERIFY(open(m_work + QStringLiteral("/QQ/plugins")));
    QCOMPARE(
        m_notices->texts(),
        QStringList{QStringLiteral("无法读取") + m_work + QStringLiteral("/QQ/plugins\n请选择其他驱动器或文件夹.")});
    QCOMPARE(dir1()->path(), m_work + QStringLiteral("/QQ"));
    QVERIFY(dir1()->indexFor(m_work + QStringLiteral("/QQ/skins")).isValid());

    QVERIFY(confirm());
    QCOMPARE(text7()->text(), m_work + QStringLiteral("/QQ"));
}

void FolderBrowseTest::folderWithoutPermissionKeepsTheListOnAReadableOne()
{
    if (::geteuid() == 0)
        QSKIP("root reads every folder whatever its permissions; the vanished folder covers this case");
    const QString locked = m_work + QStringLiteral("/QQ/plugins");
    QVERIFY(openForm2());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    QVERIFY(QFile::setPermissions(locked, QFile::WriteOwner));
    QVERIFY(open(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(m_notices->texts(),
             QStringList{QStringLiteral("无法读取") + locked + QStringLiteral("\n请选择其他驱动器或文件夹.")});
    QCOMPARE(dir1()->path(), m_work + QStringLiteral("/QQ"));
}

void FolderBrowseTest::confirmingWhileSubfoldersAreReadWritesTheOpenFolder()
{
    QVERIFY(openForm2());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    // Its subfolders not yet read, as in a huge or slow folder.
    dir1()->setListingWait(0ms);
    testsupport::HeldThreadPool unread;
    QVERIFY(open(m_work + QStringLiteral("/QQ/skins")));
    QVERIFY(dir1()->isListing());
    QVERIFY(confirm());
    QCOMPARE(text7()->text(), m_work + QStringLiteral("/QQ/skins"));
}

void FolderBrowseTest::chosenFolderLeadsGenerateToTheSkinFolder()
{
    QVERIFY(openForm2());
    QVERIFY(open(m_work + QStringLiteral("/QQ")));
    QVERIFY(confirm());

    form1()->findChild<QLineEdit *>(QStringLiteral("Text8"))->setText(QStringLiteral("蓝天"));
    form1()->findChild<QRadioButton *>(QStringLiteral("Option1"))->setChecked(true);
    QTest::mouseClick(form1()->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    const QString written = m_work + QStringLiteral("/QQ/skins/蓝天/skin.ini");
    QVERIFY2(QFileInfo(written).isFile(), qPrintable(m_notices->texts().join(u'|')));
    QVERIFY(testsupport::readBytes(written).startsWith("[main]\r\n"));
    QCOMPARE(m_notices->texts().last(), QStringLiteral("生成成功!"));
}

void FolderBrowseTest::rootInstallPathStillReachesAFolder()
{
    // The root keeps its separator, so the skin path gets two in a row; the file system
    // reads "//x" as "/x".
    const skinmaker::core::SkinLocation atRoot{QStringLiteral("/"), QStringLiteral("a"),
                                               skinmaker::core::QQVersion::Qq2003};
    QCOMPARE(platform::nativePath(*skinmaker::core::skinIniPath(atRoot)), QStringLiteral("//skins/a/skin.ini"));
    const skinmaker::core::SkinLocation below{m_work + QStringLiteral("/QQ"), QStringLiteral("蓝天"),
                                              skinmaker::core::QQVersion::Qq2003};
    QCOMPARE(platform::nativePath(*skinmaker::core::skinFolder(below)), m_work + QStringLiteral("/QQ/skins/蓝天"));

    const QString doubled = platform::nativePath(QStringLiteral("/") + QString(m_work).replace(u'/', u'\\'));
    QVERIFY2(doubled.startsWith(QLatin1String("//")), qPrintable(doubled));
    QCOMPARE(QFileInfo(doubled).canonicalFilePath(), QFileInfo(m_work).canonicalFilePath());
}

MORVANE_TEST_MAIN(FolderBrowseTest)
#include "tst_folderbrowse.moc"
