#pragma once

#include <QWidget>

class QLabel;

namespace skinmaker::shell {

// frmAbout: the product name, version, credits and portrait, with a button that starts
// the system information tool. Shown modeless; OK only hides it, the frame destroys it.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    AboutWindow();

    // The one line of the contact notice the portrait shows when clicked.
    static QString contactText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();

    QLabel *m_picture = nullptr;
    QLabel *m_version = nullptr;
};

} // namespace skinmaker::shell
