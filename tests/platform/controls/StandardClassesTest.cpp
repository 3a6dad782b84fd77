// The standard classes exist, once the window system is started, for a
// program that has not shown a dialog nor registered anything itself. Each
// test runs in a process of its own, so nothing has registered them before.
#include <gtest/gtest.h>

#include "platform/kernel/LastError.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/WinUser.h"
#include "support/ScreenTest.h"

namespace qm::test {
namespace {

class StandardClassesTest : public ScreenTest {
 protected:
  StandardClassesTest() : ScreenTest({640, 480}) {}
};

TEST_F(StandardClassesTest, ButtonCanBeCreatedBeforeAnyDialog) {
  HWND check = CreateWindowExA(0, "button", "&Release notes", WS_POPUP | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 150,
                               20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(check, nullptr);
  char name[32] = {};
  GetClassNameA(check, name, sizeof name);
  EXPECT_STREQ(name, WC_BUTTONA);
  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED) << "the button's own procedure handles it";
  DestroyWindow(check);
}

TEST_F(StandardClassesTest, EveryStandardClassIsKnownAndUnknownOnesStayUnknown) {
  for (const char* className : {WC_BUTTONA, WC_STATICA, WC_EDITA, PROGRESS_CLASSA, "#32770"}) {
    SCOPED_TRACE(className);
    WNDCLASSEXA info{};
    EXPECT_TRUE(GetClassInfoExA(nullptr, className, &info));
  }
  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

}  // namespace
}  // namespace qm::test
