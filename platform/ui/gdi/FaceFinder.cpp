#include "platform/ui/gdi/FaceFinder.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>
#include <vector>

#include "platform/ui/WinGdi.h"

namespace qm::ui::gdi {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Installed faces to try for each kind, best first. Liberation's faces share
// the classic faces' metrics, so text takes the room the dialogs were laid
// out for.
const std::vector<const char*>& Candidates(FaceKind kind) {
  static const std::vector<const char*> sans{"Liberation Sans", "DejaVu Sans", "sans-serif"};
  static const std::vector<const char*> serif{"Liberation Serif", "DejaVu Serif", "serif"};
  static const std::vector<const char*> mono{"Liberation Mono", "DejaVu Sans Mono", "monospace"};
  switch (kind) {
    case FaceKind::Serif: return serif;
    case FaceKind::Mono: return mono;
    default: return sans;
  }
}

// fontconfig's configuration and font list: loaded by the first lookup and
// released when the program ends, so that nothing of it outlives the run.
struct FontconfigSession {
  FontconfigSession() : ready(FcInit() != FcFalse) {}
  ~FontconfigSession() {
    if (ready) FcFini();
  }
  FontconfigSession(const FontconfigSession&) = delete;
  FontconfigSession& operator=(const FontconfigSession&) = delete;
  bool ready;
};

bool Match(const char* family, bool bold, bool italic, bool requireFamily, FaceChoice* choice) {
  static const FontconfigSession fontconfig;
  if (!fontconfig.ready) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  bool found = false;
  FcChar8* file = nullptr;
  FcChar8* matchedFamily = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
      FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
    std::string familyName = reinterpret_cast<const char*>(matchedFamily);
    if (!requireFamily || Lower(familyName) == Lower(family)) {
      int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(match, FC_SLANT, 0, &slant);
      *choice = {reinterpret_cast<const char*>(file), index, familyName, weight >= FC_WEIGHT_DEMIBOLD,
                 slant != FC_SLANT_ROMAN};
      found = true;
    }
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace

FaceKind KindOfFaceName(const std::string& faceName, BYTE pitchAndFamily, bool* known) {
  static const std::map<std::string, FaceKind> names{
      {"ms sans serif", FaceKind::Sans},   {"ms shell dlg", FaceKind::Sans},   {"ms shell dlg 2", FaceKind::Sans},
      {"microsoft sans serif", FaceKind::Sans}, {"system", FaceKind::Sans},   {"arial", FaceKind::Sans},
      {"helvetica", FaceKind::Sans},       {"helv", FaceKind::Sans},           {"tahoma", FaceKind::Sans},
      {"verdana", FaceKind::Sans},         {"times roman", FaceKind::Serif},   {"times new roman", FaceKind::Serif},
      {"times", FaceKind::Serif},          {"tms rmn", FaceKind::Serif},       {"ms serif", FaceKind::Serif},
      {"courier", FaceKind::Mono},         {"courier new", FaceKind::Mono},    {"fixedsys", FaceKind::Mono},
      {"terminal", FaceKind::Mono},        {"lucida console", FaceKind::Mono},
  };
  auto it = names.find(Lower(faceName));
  if (known) *known = it != names.end();
  if (it != names.end()) return it->second;
  if ((pitchAndFamily & 0xF0) == FF_ROMAN) return FaceKind::Serif;
  if ((pitchAndFamily & 0xF0) == FF_MODERN || (pitchAndFamily & 0x03) == FIXED_PITCH) return FaceKind::Mono;
  return FaceKind::Sans;
}

FaceChoice FindFace(const std::string& faceName, BYTE pitchAndFamily, bool bold, bool italic) {
  static std::map<std::tuple<std::string, BYTE, bool, bool>, FaceChoice> cache;
  auto key = std::make_tuple(Lower(faceName), pitchAndFamily, bold, italic);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  FaceChoice choice;
  bool known = false;
  FaceKind kind = KindOfFaceName(faceName, pitchAndFamily, &known);
  bool found = false;
  // A name that is installed as it stands is used as it stands.
  if (!known && !faceName.empty()) found = Match(faceName.c_str(), bold, italic, true, &choice);
  const auto& candidates = Candidates(kind);
  for (std::size_t i = 0; !found && i < candidates.size(); ++i)
    found = Match(candidates[i], bold, italic, i + 1 < candidates.size(), &choice);
  cache.emplace(key, choice);
  return choice;
}

}  // namespace qm::ui::gdi
