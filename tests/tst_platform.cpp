// The window side of the platform layer: notices and single windows. The rest of it is
// tested without windows in tst_core.
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/singlewindow.h"

#include "uitest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

using namespace platform;

namespace {

class PlainWindow : public QWidget {};

class KeptWindow : public QWidget {
public:
    static constexpr bool keepsFieldsWhenClosed = true;
};

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recorderCapturesBoxesAndAnswersQuestions();
    void singleWindowLifecycle();
    void boxesSpeakChineseWhateverTheLocale_data();
    void boxesSpeakChineseWhateverTheLocale();
    void chineseFacesComeInTheOrderOfPreference_data();
    void chineseFacesComeInTheOrderOfPreference();
};

void PlatformTest::recorderCapturesBoxesAndAnswersQuestions()
{
    NoticeRecorder recorder;
    notice(QStringLiteral("生成成功!"));
    notice(QStringLiteral("请选择版本!"), QStringLiteral("Morvane"), QMessageBox::NoIcon);
    recorder.queueAnswer(QMessageBox::Yes);
    QVERIFY(ask(QStringLiteral("继续?")));
    QVERIFY(!ask(QStringLiteral("再继续?"))); // nothing queued: No

    QCOMPARE(recorder.records().size(), 4);
    const NoticeRecord &first = recorder.records().at(0);
    QCOMPARE(first.title, QStringLiteral("提示"));
    QCOMPARE(first.icon, QMessageBox::Information);
    QCOMPARE(first.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(recorder.records().at(1).title, QStringLiteral("Morvane"));
    QCOMPARE(recorder.records().at(1).icon, QMessageBox::NoIcon);
    QCOMPARE(recorder.records().at(2).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(recorder.records().at(2).icon, QMessageBox::Information);

    {
        NoticeRecorder inner;
        notice(QStringLiteral("inner"));
        QCOMPARE(inner.texts(), QStringList{QStringLiteral("inner")});
    }
    notice(QStringLiteral("outer again"));
    QCOMPARE(recorder.texts().last(), QStringLiteral("outer again"));
}

void PlatformTest::singleWindowLifecycle()
{
    SingleWindow<PlainWindow> plain;
    PlainWindow *hidden = plain.get();
    QVERIFY(!hidden->isVisible());
    QCOMPARE(plain.get(), hidden);
    QCOMPARE(plain.show(), hidden);
    QVERIFY(hidden->isVisible());
    hidden->showMinimized();
    QCOMPARE(plain.show(), hidden);
    QVERIFY(!hidden->isMinimized());

    // Closed by its frame: destroyed and forgotten; the next use makes a new one.
    QPointer<PlainWindow> guard(hidden);
    QVERIFY(hidden->close());
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(plain.existing(), nullptr);
    QVERIFY(plain.get() != nullptr);
    plain.destroy();
    QCOMPARE(plain.existing(), nullptr);

    // A window others read from is only hidden by its frame.
    SingleWindow<KeptWindow> keptSlot;
    KeptWindow *kept = keptSlot.show();
    QVERIFY(kept->close());
    QCoreApplication::processEvents();
    QCOMPARE(keptSlot.existing(), kept);
    QVERIFY(!kept->isVisible());
    keptSlot.destroy();
}

void PlatformTest::boxesSpeakChineseWhateverTheLocale_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("notice") << false << QStringList{QStringLiteral("确定")};
    QTest::newRow("question") << true << QStringList{QStringLiteral("是"), QStringLiteral("否")};
}

void PlatformTest::boxesSpeakChineseWhateverTheLocale()
{
    QFETCH(bool, question);
    QFETCH(QStringList, buttons);
    // A real box this time, read and closed while it is open.
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *button : box->buttons())
            shown << button->text();
        box->reject();
    });
    if (question)
        ask(QStringLiteral("新建将会清空未生成的内容,是否继续?"));
    else
        notice(QStringLiteral("生成成功!"));
    shown.sort();
    buttons.sort();
    QCOMPARE(shown, buttons);
}

MORVANE_TEST_MAIN(PlatformTest)
void PlatformTest::chineseFacesComeInTheOrderOfPreference_data()
{
    QTest::addColumn<QStringList>("installed"); // as the font database lists them, by name
    QTest::addColumn<QStringList>("preferred");
    const QString droid = QStringLiteral("Droid Sans Fallback"), kai = QStringLiteral("AR PL UKai CN"),
                  noto = QStringLiteral("Noto Sans CJK SC"), notoMono = QStringLiteral("Noto Sans Mono CJK SC"),
                  uming = QStringLiteral("AR PL UMing CN"), wqy = QStringLiteral("WenQuanYi Micro Hei");
    QTest::newRow("a Hei face before the fallback face") << QStringList{droid, wqy} << QStringList{wqy, droid};
    QTest::newRow("a Song face first") << QStringList{noto, uming, wqy} << QStringList{uming, wqy, noto};
    QTest::newRow("other faces before monospaced and fallback ones")
        << QStringList{kai, droid, notoMono} << QStringList{kai, notoMono, droid};
}

void PlatformTest::chineseFacesComeInTheOrderOfPreference()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, preferred);
    QCOMPARE(platform::look::preferredChineseFaces(installed), preferred);
}

#include "tst_platform.moc"
