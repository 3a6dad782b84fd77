#include "install/service/ScreenQueries.h"

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

int GetScreenColorDepth() {
  HWND desktop = GetDesktopWindow();
  HDC dc = GetWindowDC(desktop);
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(desktop, dc);
  switch (bits) {
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return bits;
    default:
      return 0;
  }
}
