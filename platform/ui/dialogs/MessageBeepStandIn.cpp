// The dialog manager and the controls beep on refused input. A silent
// stand-in until the window system provides the sound; weak, so a real
// definition wins.
#include "platform/ui/WinUser.h"

__attribute__((weak)) BOOL MessageBeep(UINT) { return TRUE; }
