#pragma once

#include "platform/core/scopedoverride.h"

#include <QList>
#include <QMessageBox>
#include <QString>

#include <functional>

// Every message the programs show goes through these two functions, so that tests can
// read the boxes and answer them without anything appearing on screen.
namespace platform {

// The title of boxes the program shows without one of their own ("提示" is the usual).
QString noticeTitle();
// The program's own title, carried by boxes shown without a title: that of the program alive,
// else the application's name.
QString programTitle();

// A program's title, held by the program object for as long as it exists.
class ProgramTitle : public ScopedOverride<ProgramTitle> {
public:
    explicit ProgramTitle(QString title) : m_title(std::move(title)) {}

    const QString &text() const { return m_title; }

private:
    QString m_title;
};

// A modal box with one OK button; its answer means nothing.
void notice(const QString &text, const QString &title = noticeTitle(),
            QMessageBox::Icon icon = QMessageBox::Information);

// A modal Yes/No question with the information icon; true only for Yes.
bool ask(const QString &text, const QString &title = noticeTitle());

struct NoticeRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// While one exists, boxes are recorded instead of shown and questions take the queued
// answers (No when none is queued).
class NoticeRecorder : public ScopedOverride<NoticeRecorder> {
public:
    NoticeRecorder();
    ~NoticeRecorder();

    void queueAnswer(QMessageBox::StandardButton answer) { m_answers << answer; }
    // Runs while the box would be open, before it is answered.
    void setOnNotice(std::function<void(const NoticeRecord &)> callback) { m_onNotice = std::move(callback); }

    const QList<NoticeRecord> &records() const { return m_records; }
    QStringList texts() const;
    void clear() { m_records.clear(); }

    // Used by notice() and ask().
    QMessageBox::StandardButton take(const NoticeRecord &record);

private:
    QList<NoticeRecord> m_records;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<void(const NoticeRecord &)> m_onNotice;
};

} // namespace platform
