// DirectX version strings as the registry keeps them ("4.07.00.0700"): the
// platform major (4), the DirectX generation, the release and the build.
#pragma once

#include <optional>
#include <string_view>

#include "platform/kernel/WinTypes.h"

namespace qm::directx {

struct DirectXVersion {
  DWORD version;   // (major << 16) | generation: 0x00040007 for DirectX 7
  DWORD revision;  // (release << 16) | build

  bool operator==(const DirectXVersion&) const = default;
  bool IsNewerThan(const DirectXVersion& other) const {
    return version != other.version ? version > other.version : revision > other.revision;
  }
};

// Accepts "a.bb.cc.dddd" and the older three-part "a.bb.dddd" (release 0):
// decimal parts of at most 16 bits each. Anything else is malformed.
std::optional<DirectXVersion> ParseDirectXVersion(std::string_view text);

}  // namespace qm::directx
