#pragma once

#include "skinwriter.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QLineEdit;

namespace skinmaker::authoring {

// A window whose "确定" appends its block to the skin's skin.ini at the place the main window
// names at that moment, and closes once the block is in.
class BlockWindow : public QWidget {
    Q_OBJECT
public:
    // location gives the location as the main window shows it at the moment of 确定.
    explicit BlockWindow(LocationSource location) : m_location(std::move(location)) {}

protected:
    // Only a block that is in the file closes the window: otherwise the typed texts stay for
    // the user to try again after putting things right.
    void confirm();

    // The lines to append, from the boxes' texts as they are now.
    virtual QStringList block() const = 0;
    // The boxes the block's values come from, in reading order.
    virtual QList<QLineEdit *> fieldBoxes() const = 0;

private:
    LocationSource m_location;
};

} // namespace skinmaker::authoring
