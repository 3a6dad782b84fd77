// A Windows call's failure and its reason in one comparison:
//   EXPECT_EQ(FailureOf(DeleteFileA(name)), ERROR_ACCESS_DENIED);
// Header-only.
#pragma once

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"

namespace qm::test {

// What FailureOf answers for a call that succeeded; no error code is this.
inline constexpr DWORD kSucceeded = 0xFFFFFFFFu;

// The last error a call left when it failed (answered FALSE), or kSucceeded.
inline DWORD FailureOf(BOOL result) { return result ? kSucceeded : GetLastError(); }

// The same for a call that answers INVALID_HANDLE_VALUE when it fails; a
// handle it did give is closed.
inline DWORD FailureOf(HANDLE result) {
  if (result == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(result);
  return kSucceeded;
}

}  // namespace qm::test
