#pragma once
// The small explanatory text that floats next to the mouse pointer over a
// part of a control, for parts that are not controls of their own (a dot
// drawn on a chart, say).

#include <string>

namespace tk {

class TControl;

// Shows text next to the client point (x, y) of the control; an empty text hides the hint.
void ShowHint(const TControl& control, int x, int y, const std::string& text);
void HideHint();
// The text shown now, empty while no hint is shown.
std::string HintText();

}  // namespace tk
