#include "chart/ChartErrors.h"
// The error classes are header-only; this unit anchors the chart library until
// the engine's own units land in canvas/, series/, panel/ and functions/.
