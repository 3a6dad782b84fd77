#include "DialogTestSupport.h"

namespace qm::test {
namespace {

DialogTemplate ResumeExit() {
  return Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 190, 103, "Install",
                {Item(WC_STATICA, "Setup is not complete.", IDC_STATIC, 35, 7, 150, 68, SS_LEFT),
                 Item(WC_BUTTONA, "&Resume", IDOK, 40, 84, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "E&xit Setup", IDCANCEL, 101, 84, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)});
}

class ModalDialogTest : public DialogTest {
 protected:
  static INT_PTR RunResumeExit(HWND owner = nullptr) {
    const DialogTemplate resumeExit = ResumeExit();
    return DialogBoxIndirectParamA(nullptr, &resumeExit, owner, Proc, 0);
  }
};

TEST_F(ModalDialogTest, EndDialogEndsTheLoopWithItsResultAndTheOwnerComesBack) {
  HWND owner = CreateParent();
  HWND seenActive = nullptr;
  HWND ownerOfActive = nullptr;
  BOOL ownerEnabledDuring = TRUE;
  handler = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> std::optional<LONG_PTR> {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, 42);
    return std::nullopt;
  };
  PlayWhenIdle({[&] {
    seenActive = GetActiveWindow();
    ownerOfActive = GetWindow(seenActive, GW_OWNER);
    ownerEnabledDuring = IsWindowEnabled(owner);
    InjectKey(VK_RETURN);
  }});
  EXPECT_EQ(RunResumeExit(owner), 42);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_NE(seenActive, owner);
  EXPECT_EQ(ownerOfActive, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_FALSE(IsWindow(seenActive));
}

TEST_F(ModalDialogTest, EscAndTheCloseBoxGiveCancelAndEnterGivesOk) {
  struct Case {
    const char* name;
    std::function<void()> input;
    INT_PTR result;
  };
  const Case cases[] = {
      {"Enter", [] { InjectKey(VK_RETURN); }, IDOK},
      {"Esc", [] { InjectKey(VK_ESCAPE); }, IDCANCEL},
      {"close box", [] { InjectClickAt(CloseBoxOf(GetActiveWindow())); }, IDCANCEL},
      {"Alt+F4", [] { InjectKey(VK_F4, false, true); }, IDCANCEL},
      {"access key", [] { InjectKey('X', false, true); }, IDCANCEL},
      {"mouse on Resume", [] { InjectClickAt(CentreOf(GetDlgItem(GetActiveWindow(), IDOK))); }, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    handler = EndOnCommand;
    PlayWhenIdle({c.input});
    EXPECT_EQ(RunResumeExit(), c.result);
  }
}

TEST_F(ModalDialogTest, DialogEndedDuringInitDialogIsNeverShown) {
  handler = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> std::optional<LONG_PTR> {
    if (message == WM_INITDIALOG) EndDialog(dialog, 7);
    if (message == WM_SHOWWINDOW && wParam) ADD_FAILURE() << "shown";
    return std::nullopt;
  };
  EXPECT_EQ(RunResumeExit(), 7);
}

TEST_F(ModalDialogTest, QuitMessageEndsTheModalLoopAndIsPostedAgain) {
  HWND owner = CreateParent();
  PlayWhenIdle({[] { PostQuitMessage(5); }});
  RunResumeExit(owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(ModalDialogTest, MessageBoxInsideAModalDialogDisablesItAndReturnsToIt) {
  HWND owner = CreateParent();
  static int boxResult = 0;
  static BOOL dialogEnabledDuringBox = TRUE;
  boxResult = 0;
  handler = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> std::optional<LONG_PTR> {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return std::nullopt;
    if (LOWORD(wParam) == IDCANCEL) {
      boxResult = MessageBoxA(dialog, "Are you sure you want to cancel?", "Install", MB_YESNO | MB_ICONQUESTION);
      if (boxResult == IDYES) EndDialog(dialog, IDCANCEL);
    }
    return TRUE;
  };
  HWND outer = nullptr;
  PlayWhenIdle({
      [&] {
        outer = GetActiveWindow();
        InjectKey(VK_ESCAPE);
      },
      [&] {
        dialogEnabledDuringBox = IsWindowEnabled(outer);
        EXPECT_NE(GetActiveWindow(), outer);
        InjectKey('N', false, true);
      },
      [&] {
        EXPECT_EQ(GetActiveWindow(), outer);
        EXPECT_TRUE(IsWindowEnabled(outer));
        EXPECT_FALSE(IsWindowEnabled(owner));
        InjectKey(VK_ESCAPE);
      },
      [&] { InjectKey('Y', false, true); },
  });
  EXPECT_EQ(RunResumeExit(owner), IDCANCEL);
  EXPECT_EQ(boxResult, IDYES);
  EXPECT_FALSE(dialogEnabledDuringBox);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
}

}  // namespace
}  // namespace qm::test
