#pragma once

#include <QList>
#include <QString>

// The help program's fixed topics: one button each, and the text it puts in the text area.
namespace help {

struct Topic {
    const char *buttonName; // objectName of the button
    QString caption; // what the button says
    QString text; // what the text area shows after a click
};

const QList<Topic> &topics();

} // namespace help
