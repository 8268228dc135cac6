#pragma once

#include <QList>
#include <QWidget>

class QRadioButton;

namespace skinmaker::music {

// Form4 "选择音乐": one of the eight built-in tunes for the next start. It opens with the tune the
// music setting file names selected (none when the file names another or none), and "确定"
// rewrites the file. The tune playing now goes on: the choice takes effect at the next start.
class MusicWindow : public QWidget {
    Q_OBJECT
public:
    MusicWindow();

    // Option1 to Option8.
    QRadioButton *option(int number) const;

private:
    void confirm();

    QList<QRadioButton *> m_options;
};

} // namespace skinmaker::music
