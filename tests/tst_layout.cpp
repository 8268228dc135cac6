// Every window of the three programs in every Chinese face installed here: no text of a label,
// check box, option button, button or frame is cut, whichever face the programs take. CTest
// runs it at the scale factors 1, 1.5 and 2. In a folder of its own: it puts the supplied tips
// beside itself, where the main program reads them.
#include "help/help.h"
#include "musicsetter/musicsetter.h"
#include "skinmaker/core/tips.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/random.h"
#include "platform/core/textfile.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOption>

namespace {

// How much room the control's text needs and has; equal sizes when it has no text.
std::pair<QSize, QSize> neededAndRoom(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control); label && !label->text().isEmpty()) {
        if (label->wordWrap())
            return {QSize(label->width(), label->heightForWidth(label->width())), label->size()};
        return {label->sizeHint(), label->size()};
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control); button && !button->text().isEmpty()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QStyle::SubElement contents = qobject_cast<const QCheckBox *>(button) ? QStyle::SE_CheckBoxContents
            : qobject_cast<const QRadioButton *>(button)                            ? QStyle::SE_RadioButtonContents
                                                                                    : QStyle::SE_PushButtonContents;
        return {button->fontMetrics().size(Qt::TextShowMnemonic, button->text()),
                button->style()->subElementRect(contents, &option, button).size()};
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control); frame && !frame->title().isEmpty()) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect caption =
            frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        return {QSize(caption.right() + 1, caption.bottom() + 1), frame->size()};
    }
    return {};
}

// The controls of the visible windows whose text does not fit.
QStringList cutTexts()
{
    QStringList cut;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const auto [needed, room] = neededAndRoom(control);
            if (control->isVisibleTo(window) && (needed.width() > room.width() || needed.height() > room.height()))
                cut << QStringLiteral("%1/%2 needs %3 x %4, has %5 x %6")
                           .arg(window->objectName(), control->objectName())
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());
        }
    }
    return cut;
}

QWidget *visibleWindow(const QString &name, const QString &title = {})
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == name && (title.isEmpty() || window->windowTitle() == title))
            return window;
    }
    return nullptr;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextFitsInEveryFace_data();
    void everyTextFitsInEveryFace();
};

void LayoutTest::everyTextFitsInEveryFace_data()
{
    QTest::addColumn<QString>("face");
    const QStringList faces = platform::look::chineseFontFamilies();
    QVERIFY2(!faces.isEmpty(), "no Chinese face is installed (scripts/install-deps installs two)");
    for (const QString &face : faces)
        QTest::newRow(qPrintable(face)) << face;
}

void LayoutTest::everyTextFitsInEveryFace()
{
    QFETCH(QString, face);
    const platform::look::ChineseFaceOverride chosen(face);
    const platform::NoticeRecorder notices;
    const QString supplied = qEnvironmentVariable("MORVANE_BIN_DIR") + QStringLiteral("/QQ.QQ");
    const QString besideUs = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("QQ.QQ"));
    QFile::remove(besideUs);
    QVERIFY(QFile::copy(supplied, besideUs));
    const QStringList tips =
        platform::textfile::readAllLines(supplied, skinmaker::core::tipsByteLimit).value_or(QStringList());
    QVERIFY(!tips.isEmpty());
    // Draws that walk through the tips in file order.
    int drawn = 0;
    const platform::random::Override inOrder(
        [&] { return (double(drawn++ % tips.size()) + 0.5) / double(tips.size()); });

    skinmaker::start();
    QCOMPARE(QFontInfo(QApplication::font()).family(), face);
    QStringList cut = cutTexts(); // the splash, the tip of the day and the main window
    QWidget *tip = visibleWindow(QStringLiteral("frmTip"));
    QVERIFY(tip);
    for (qsizetype shown = 1; shown < tips.size(); ++shown) {
        QVERIFY(testsupport::clickButton(tip, "cmdNextTip"));
        cut << cutTexts().filter(QStringLiteral("lblTipText"));
    }
    QWidget *form1 = visibleWindow(QStringLiteral("Form1"), QStringLiteral("Morvane V3.2"));
    form1->findChild<QRadioButton *>(QStringLiteral("Option2"))->setChecked(true);
    // A skin name, so that 检查皮肤 opens its window (on a folder that is not there).
    form1->findChild<QLineEdit *>(QStringLiteral("Text8"))->setText(QStringLiteral("蓝天"));
    for (const char *item : {"g", "copyright", "ASSDFGHJKL", "about", "choose", "checkskin"})
        TRIGGER(form1, item);
    QVERIFY(testsupport::clickButton(form1, "Command2"));
    cut << cutTexts();
    testsupport::destroyAllWindows();

    musicsetter::start();
    QVERIFY(testsupport::clickButton(visibleWindow(QStringLiteral("Form1")), "Command2"));
    cut << cutTexts();
    testsupport::destroyAllWindows();

    help::start();
    QWidget *help = visibleWindow(QStringLiteral("Form1"));
    for (const char *topic : {"Command1", "Command2", "Command3", "Command5", "Command6"}) {
        QVERIFY(testsupport::clickButton(help, topic));
        cut << cutTexts();
    }
    testsupport::destroyAllWindows();

    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
}

MORVANE_TEST_MAIN(LayoutTest)
#include "tst_layout.moc"
