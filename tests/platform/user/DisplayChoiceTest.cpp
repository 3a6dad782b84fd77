// Which display a program gets from what the environment asks for, over a
// table of stand-in backends that open or fail as each row needs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/DisplayBackend.h"

namespace qm::test {
namespace {

using qm::ui::DisplayBackend;
using qm::ui::DisplayBackendEntry;
using qm::ui::DisplayRequest;

class NamedDisplay final : public DisplayBackend {
 public:
  explicit NamedDisplay(const char* name) : name_(name) {}
  const char* Name() const override { return name_; }
  SIZE ScreenSize() const override { return {64, 48}; }
  RECT WorkArea() const override { return {0, 0, 64, 48}; }
  void Present(const qm::ui::Surface&, const std::vector<RECT>&) override {}
  void WaitForInput(int) override {}
  void Wake() override {}

 private:
  const char* name_;
};

std::vector<DisplayBackendEntry> Backends(bool sdlOpens) {
  return {
      {"headless", "in memory", [] { return std::unique_ptr<DisplayBackend>(new NamedDisplay("headless")); }},
      {"sdl", "a host window",
       sdlOpens ? +[] { return std::unique_ptr<DisplayBackend>(new NamedDisplay("sdl")); }
                : +[] { return std::unique_ptr<DisplayBackend>(); }},
  };
}

TEST(DisplayChoice, NamesAHostDisplayAndAScriptDecide) {
  struct Row {
    const char* what;
    DisplayRequest request;
    bool sdlOpens;
    const char* chosen;   // null: refused
    const char* message;  // part of the message; empty: none
  };
  const Row rows[] = {
      {"no name, no host display", {"", false, false}, true, "headless", ""},
      {"no name, a host display", {"", true, false}, true, "sdl", ""},
      {"no name, a host display that cannot be opened", {"", true, false}, false, "headless",
       "running on the headless display"},
      {"headless by name beside a host display", {"headless", true, false}, true, "headless", ""},
      {"sdl by name", {"sdl", false, false}, true, "sdl", ""},
      {"sdl by name that cannot be opened", {"sdl", true, false}, false, nullptr,
       "QUELLMOOR_DISPLAY=sdl: the display cannot be opened"},
      {"a script plays: no host window even by name", {"sdl", true, true}, true, "headless", ""},
      {"a script plays beside a host display", {"", true, true}, true, "headless", ""},
      {"a misspelt name", {"sld", true, false}, true, nullptr, "QUELLMOOR_DISPLAY=sld names no known display"},
      {"a misspelt name while a script plays", {"sld", false, true}, true, nullptr, "names no known display"},
      {"names are not folded", {"SDL", true, false}, true, nullptr, "names no known display"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const qm::ui::DisplayChoice choice = qm::ui::ChooseDisplay(row.request, Backends(row.sdlOpens));
    if (row.chosen) {
      ASSERT_NE(choice.backend, nullptr);
      EXPECT_STREQ(choice.backend->Name(), row.chosen);
    } else {
      EXPECT_EQ(choice.backend, nullptr);
    }
    if (*row.message)
      EXPECT_NE(choice.message.find(row.message), std::string::npos) << choice.message;
    else
      EXPECT_EQ(choice.message, "");
  }
}

TEST(DisplayChoice, UnknownNameListsEveryKnownBackendWithItsDescription) {
  const qm::ui::DisplayChoice choice = qm::ui::ChooseDisplay({"sld", false, false});
  ASSERT_EQ(choice.backend, nullptr);
  ASSERT_FALSE(qm::ui::DisplayBackends().empty());
  for (const DisplayBackendEntry& entry : qm::ui::DisplayBackends()) {
    SCOPED_TRACE(entry.name);
    EXPECT_NE(choice.message.find(std::string("\n  ") + entry.name), std::string::npos) << choice.message;
    EXPECT_NE(choice.message.find(entry.description), std::string::npos) << choice.message;
  }
}

// The response script starts with the window system, not as a side effect of
// the display's first use: a script that cannot be read would end this
// process here.
TEST(DisplayChoice, ChoosingTheDisplayStartsNoScript) {
  setenv("QUELLMOOR_SCRIPT", "/nonexistent/quellmoor.script", 1);
  EXPECT_STREQ(qm::ui::Display().Name(), "headless");
  unsetenv("QUELLMOOR_SCRIPT");
}

}  // namespace
}  // namespace qm::test
