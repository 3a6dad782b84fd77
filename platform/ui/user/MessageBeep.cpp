// The platform has no system sounds: a refused key press or click is silent,
// and the call reports success as it would with the sound played.
#include "platform/ui/WinUser.h"

BOOL MessageBeep(UINT) { return TRUE; }
