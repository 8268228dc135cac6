#pragma once

#include "browsewindow.h"
#include "setterwindow.h"

#include "platform/widgets/notice.h"
#include "platform/widgets/singlewindow.h"

#include <QObject>

namespace musicsetter {

// The background-music setter: its two windows and its start.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(QObject *parent = nullptr);

    // Sets up the process and the look, then shows the setter window (minimised when the
    // program that started us asked for it).
    void start();

    platform::SingleWindow<SetterWindow> &setterWindow() { return m_setter; }
    platform::SingleWindow<BrowseWindow> &browseWindow() { return m_browse; }

private:
    SetterWindow *makeSetterWindow();

    platform::ProgramTitle m_title{QStringLiteral("Morvane背景音乐添加程序")};
    BrowseWindow *makeBrowseWindow();

    platform::SingleWindow<SetterWindow> m_setter{[this] { return makeSetterWindow(); }};
    platform::SingleWindow<BrowseWindow> m_browse{[this] { return makeBrowseWindow(); }};
};

} // namespace musicsetter
