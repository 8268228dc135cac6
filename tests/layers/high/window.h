// Includes the layer table allows, which the include check must let pass.
#pragma once

#include "low/planted.h"

#include <QWidget>
