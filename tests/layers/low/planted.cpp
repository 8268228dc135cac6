// Includes that break the layer table, each of which the include check must name.
#include "planted.h"

#include "../high/window.h"
#include "high/window.h"

#include <QLabel>
#include <QString>
#include <QtWidgets/QWidget>
