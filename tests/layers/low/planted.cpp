// Includes that break the layer table, each of which the include check must name.
#include "planted.h"

// The test expects the check to name these two in this order.
// clang-format off
#include "high/window.h"
#include "../high/window.h"
// clang-format on

#include <QLabel>
#include <QString>
#include <QtWidgets/QWidget>
