#pragma once
// The series function as the series base uses it: a component that a series
// owns and that computes the series' points from its data sources. The class
// lives with the functions; the series only sets its parent and asks it to
// fill from a source.

#include "chart/functions/Function.h"
