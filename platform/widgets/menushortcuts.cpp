#include "menushortcuts.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>

namespace platform {

namespace {

// Sees each key a text box is asked whether it wants before the shortcuts run. Not accepting
// the question lets the window's menu shortcut take the key.
class MenuShortcutsFirst : public QObject {
public:
    explicit MenuShortcutsFirst(QWidget *window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        if (pressed == QKeySequence(Qt::CTRL | Qt::Key_C) || pressed == QKeySequence(Qt::CTRL | Qt::Key_A))
            return false;
        for (const QAction *action : m_window->findChildren<QAction *>()) {
            if (action->isEnabled() && action->shortcuts().contains(pressed))
                return true;
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void putMenuShortcutsFirst(QWidget *window)
{
    auto *filter = new MenuShortcutsFirst(window);
    for (QLineEdit *box : window->findChildren<QLineEdit *>())
        box->installEventFilter(filter);
}

} // namespace platform
