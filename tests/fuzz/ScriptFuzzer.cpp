// Response scripts: any text is read into steps or refused with an
// AutomationError that names its line; nothing else escapes the reader.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/ui/Automation.h"

using namespace qm::ui::automation;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::UseScratchPrefix("script");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Driver driver;
  try {
    LoadScript(driver, text);
  } catch (const AutomationError& e) {
    QM_FUZZ_CHECK(std::string(e.what()).rfind("line ", 0) == 0);
    QM_FUZZ_CHECK(driver.StepsLeft() <= size);
    return 0;
  }
  // A screenshot step that was taken names a file in the screenshot folder.
  for (const std::string& step : driver.PendingSteps()) {
    if (step.rfind("screenshot \"", 0) != 0) continue;
    const std::string name = step.substr(12, step.size() - 13);
    QM_FUZZ_CHECK(!name.empty() && name[0] != '/');
    QM_FUZZ_CHECK(name != ".." && name.rfind("../", 0) != 0 && name.find("/../") == std::string::npos &&
                  (name.size() < 3 || name.compare(name.size() - 3, 3, "/..") != 0));
  }
  return 0;
}
