#pragma once
// Mouse buttons and the modifier keys and buttons held during a mouse event.

namespace tk {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftKind : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = unsigned;  // a set of TShiftKind flags

}  // namespace tk
