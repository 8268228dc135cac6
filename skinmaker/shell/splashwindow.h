#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace skinmaker::shell {

// frmSplash: the product, its version and a loading counter that runs to 100 % in steps of
// 20 milliseconds while the program starts, then closes the window. A key or a click on the
// free area of the frame closes it earlier.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();

    // The last of its load steps, once the main window shows: the labels that depend on the
    // program.
    void fillLabels(const QString &productName);
    // Shown again during start-up: it comes forward over the windows shown since.
    void comeForwardAgain() { m_requestsLeft = requestsToComeForward; }

Q_SIGNALS:
    // The count ended, or a key or a click closed it early.
    void closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void tick();
    // From the main window's second load step until it closes, the splash is the program's
    // top-most and active window: the windows shown after it must not cover it or take its keys.
    void comeForwardOverTheOthers();

    static constexpr int requestsToComeForward = 5;
    int m_requestsLeft = 0;
    QFrame *m_frame = nullptr;
    QLabel *m_productName = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_counter = nullptr;
    QTimer *m_timer = nullptr;
};

} // namespace skinmaker::shell
