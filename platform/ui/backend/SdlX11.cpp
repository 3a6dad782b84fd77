// The sdl backend on an X display: the end of the program when the X
// server's connection is lost (the server ended, the session closed, a
// forwarded connection dropped).
//
// Xlib's own answer is to end the program through exit(), whose clean-up
// destroys the SDL window: that asks the lost server again and waits for
// its answer for good, a program spinning where nobody sees it. The program
// ends at once instead. Nothing it wrote is left half done: every file and
// registry store is written beside and renamed whole, and the connection is
// only ever used between such writes, from the message loop.
#include <cstdio>
#include <cstdlib>

#include "platform/kernel/host/SharedLibrary.h"
#include "platform/ui/backend/SdlLibrary.h"

struct _XDisplay;  // Xlib's Display, only passed through

namespace qm::ui::sdl {
namespace {

using IoErrorHandler = int (*)(_XDisplay*);
using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler);

int EndAtOnce(_XDisplay*) {
  std::fputs("sdl display lost (the connection to the X server is broken)\n", stderr);
  std::_Exit(1);
}

}  // namespace

void EndProgramWhenXServerIsLost() {
  // Loaded by SDL already: this only finds it (a library stays loaded).
  qm::kernel::host::SharedLibrary x11;
  if (!x11.Open("libX11.so.6")) return;
  if (auto setHandler = reinterpret_cast<SetIoErrorHandler>(x11.Find("XSetIOErrorHandler"))) setHandler(EndAtOnce);
}

}  // namespace qm::ui::sdl
