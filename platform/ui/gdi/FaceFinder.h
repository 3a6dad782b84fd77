// Finding an installed face for a Windows face name through fontconfig.
#pragma once

#include <string>

#include "platform/kernel/WinTypes.h"

namespace qm::ui::gdi {

struct FaceChoice {
  std::string file;
  int index = 0;
  std::string family;
  bool bold = false;    // the face itself is bold
  bool italic = false;  // the face itself is italic or oblique
};

enum class FaceKind { Sans, Serif, Mono };

// The kind of face a Windows face name stands for; unknown names take their
// kind from the pitch-and-family byte.
FaceKind KindOfFaceName(const std::string& faceName, BYTE pitchAndFamily, bool* known);

// The installed face for the request; `file` is empty when nothing at all
// could be found.
FaceChoice FindFace(const std::string& faceName, BYTE pitchAndFamily, bool bold, bool italic);

}  // namespace qm::ui::gdi
