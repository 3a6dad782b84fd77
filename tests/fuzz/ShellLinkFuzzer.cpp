// Shell-link files: any bytes are read or refused without a crash, and a
// link read is written again without change: decoding what the writer made
// of it gives the same link, so a rewritten link keeps its target.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "platform/kernel/Utf8.h"
#include "platform/shell/LinkFormat.h"

using qm::shell::ShellLinkData;

namespace {

bool IsText(const std::string& s) { return qm::kernel::DecodeUtf8Strict(s).has_value(); }

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<BYTE> bytes(data, data + size);
  std::optional<ShellLinkData> read = qm::shell::DecodeShellLink(bytes);
  if (!read) return 0;
  for (const std::string* s : {&read->target, &read->description, &read->relativePath, &read->workingDirectory,
                               &read->arguments, &read->iconLocation})
    QM_FUZZ_CHECK(s->find('\0') == std::string::npos);
  // The writer takes UTF-8; code-page bytes that are not UTF-8 are turned
  // into characters on the way, as any Unicode writer would.
  for (const std::string* s : {&read->target, &read->description, &read->relativePath, &read->workingDirectory,
                               &read->arguments, &read->iconLocation, &read->volume.label})
    if (!IsText(*s)) return 0;

  std::optional<ShellLinkData> again = qm::shell::DecodeShellLink(qm::shell::EncodeShellLink(*read));
  QM_FUZZ_CHECK(again.has_value());
  QM_FUZZ_CHECK(again->target == read->target);
  QM_FUZZ_CHECK(again->description == read->description);
  // The writer keeps a target of any other form than X:\... as the relative
  // path when the link has none of its own.
  QM_FUZZ_CHECK(again->relativePath == read->relativePath ||
                (read->relativePath.empty() && again->relativePath == read->target));
  QM_FUZZ_CHECK(again->workingDirectory == read->workingDirectory);
  QM_FUZZ_CHECK(again->arguments == read->arguments);
  QM_FUZZ_CHECK(again->iconLocation == read->iconLocation);
  QM_FUZZ_CHECK(again->iconIndex == read->iconIndex);
  QM_FUZZ_CHECK(again->showCommand == read->showCommand);
  QM_FUZZ_CHECK(again->hotKey == read->hotKey);
  QM_FUZZ_CHECK(again->fileAttributes == read->fileAttributes);
  QM_FUZZ_CHECK(again->fileSize == read->fileSize);
  QM_FUZZ_CHECK(SameTime(again->creationTime, read->creationTime));
  QM_FUZZ_CHECK(SameTime(again->accessTime, read->accessTime));
  QM_FUZZ_CHECK(SameTime(again->writeTime, read->writeTime));
  QM_FUZZ_CHECK(again->volume.driveType == read->volume.driveType);
  QM_FUZZ_CHECK(again->volume.serialNumber == read->volume.serialNumber);
  QM_FUZZ_CHECK(again->volume.label == read->volume.label);
  return 0;
}
