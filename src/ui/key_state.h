// The state of the keyboard as the message being handled saw it.
#pragma once

#include <windows.h>

namespace vx::ui {

// Whether the virtual key was down when the current message was posted.
inline bool held(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace vx::ui
