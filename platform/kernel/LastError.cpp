// Host errors are mapped to Windows codes here and nowhere else.
#include "platform/kernel/LastError.h"

#include <cerrno>

#include "platform/kernel/host/FileStatus.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

namespace qm::kernel {

DWORD ErrorFromErrno(int hostErrno) {
  switch (hostErrno) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EFBIG: return ERROR_FILE_TOO_LARGE;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    // A process or thread that is gone: its handle names nothing alive.
    case ESRCH: return ERROR_INVALID_HANDLE;
    default: return ERROR_INVALID_FUNCTION;
  }
}

DWORD SetLastErrorFromErrno(int hostErrno) {
  DWORD code = ErrorFromErrno(hostErrno);
  SetLastError(code);
  return code;
}

DWORD SetLastErrorFromErrno(int hostErrno, const std::string& hostPath) {
  if (hostErrno == ENOENT) {
    std::string folder = hostPath;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    size_t slash = folder.rfind('/');
    folder = slash == std::string::npos || slash == 0 ? std::string("/") : folder.substr(0, slash);
    host::FileStatus status;
    if (!host::StatPath(folder, &status) || !status.isDirectory) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return ERROR_PATH_NOT_FOUND;
    }
  }
  return SetLastErrorFromErrno(hostErrno);
}

}  // namespace qm::kernel
