// Host boundary: the one retry of a host call that a signal interrupted.
// May hold only this template; it names no host header of its own.
#pragma once

#include <cerrno>

namespace qm::kernel::host {

// Calls call() again for as long as it fails (answers -1) because a signal
// arrived before it could finish, and answers its last result with errno
// as that call left it. Host calls that may be interrupted go through here
// so that no caller writes its own loop.
template <class Call>
auto RetryOnSignal(Call call) -> decltype(call()) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace qm::kernel::host
