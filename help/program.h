#pragma once

#include "helpwindow.h"

#include "platform/widgets/notice.h"
#include "platform/widgets/singlewindow.h"

#include <QObject>

namespace help {

// The help program: its one window and its start.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(QObject *parent = nullptr);

    // Sets up the process and the look, then shows the help window (minimised when the program
    // that started us asked for it).
    void start();

    platform::SingleWindow<HelpWindow> &helpWindow() { return m_help; }

private:
    platform::ProgramTitle m_title{QStringLiteral("帮助")};
    platform::SingleWindow<HelpWindow> m_help;
};

} // namespace help
