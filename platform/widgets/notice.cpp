#include "notice.h"

#include "look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>

namespace platform {

namespace {

// The box belongs to the window the user works in, but never to a splash window: that closes
// by itself and would take the open box with it.
QWidget *boxParent()
{
    QWidget *active = QApplication::activeWindow();
    return active && look::isSplash(active) ? nullptr : active;
}

QMessageBox::StandardButton showBox(const NoticeRecord &record, QMessageBox::StandardButton defaultButton)
{
    if (NoticeRecorder *recorder = NoticeRecorder::active())
        return recorder->take(record);
    QMessageBox box(record.icon, record.title, record.text, record.buttons, boxParent());
    // The programs speak Chinese whatever the system's language: the buttons too.
    const std::pair<QMessageBox::StandardButton, const char16_t *> captions[] = {
        {QMessageBox::Ok, u"确定"}, {QMessageBox::Yes, u"是"}, {QMessageBox::No, u"否"}};
    for (const auto &[button, caption] : captions) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(QString::fromUtf16(caption));
    }
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QString noticeTitle()
{
    return QStringLiteral("提示");
}

QString programTitle()
{
    const ProgramTitle *title = ProgramTitle::active();
    return title ? title->text() : QCoreApplication::applicationName();
}

void notice(const QString &text, const QString &title, QMessageBox::Icon icon)
{
    showBox({title, text, icon, QMessageBox::Ok}, QMessageBox::Ok);
}

bool ask(const QString &text, const QString &title)
{
    const NoticeRecord record{title, text, QMessageBox::Information, QMessageBox::Yes | QMessageBox::No};
    return showBox(record, QMessageBox::Yes) == QMessageBox::Yes;
}

NoticeRecorder::NoticeRecorder() = default;

NoticeRecorder::~NoticeRecorder() = default;

QStringList NoticeRecorder::texts() const
{
    QStringList result;
    for (const NoticeRecord &record : m_records)
        result << record.text;
    return result;
}

QMessageBox::StandardButton NoticeRecorder::take(const NoticeRecord &record)
{
    m_records << record;
    if (m_onNotice)
        m_onNotice(record);
    if (record.buttons == QMessageBox::Ok)
        return QMessageBox::Ok;
    return m_answers.isEmpty() ? QMessageBox::No : m_answers.takeFirst();
}

} // namespace platform
