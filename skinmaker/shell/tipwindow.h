#pragma once

#include "platform/core/textfile.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace skinmaker::shell {

// frmTip, the tip of the day: a random tip from the tips file beside the program, a button
// for another, and the box that decides whether the window comes at the next start.
class TipWindow : public QWidget {
    Q_OBJECT
public:
    TipWindow();

    // The load steps after the splash has been shown: false when tips at start are off, and
    // the window is then to be destroyed before it shows.
    bool load();

    // Reads the tips file into the tip list and shows a random tip; false, reading and
    // showing nothing, when there is no file to read at the path.
    bool LoadTips(const QString &path);
    void ShowRandomTip();
    // The tip at the current number; nothing changes while the list is empty.
    void DisplayCurrentTip();

    QCheckBox *startUpBox() const { return m_loadAtStartup; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    platform::textfile::TextLines m_tips;
    qsizetype m_current = 1; // 1-based, as the draw gives it
    QLabel *m_tipText = nullptr;
    QPushButton *m_ok = nullptr;
    QCheckBox *m_loadAtStartup = nullptr;
};

} // namespace skinmaker::shell
