#include "DialogTestSupport.h"
#include "platform/ui/Surface.h"

namespace qm::test {
namespace {

class MessageBoxTest : public UiTest {
 protected:
  // Shows the box and plays the steps against it; the box is the active
  // window while it runs.
  static int Run(UINT type, std::vector<std::function<void(HWND)>> steps, HWND owner = nullptr,
                 const char* text = "Can't copy file\n", const char* caption = "Error") {
    std::vector<std::function<void()>> played;
    for (auto& step : steps) played.push_back([step] { step(GetActiveWindow()); });
    PlayWhenIdle(played);
    return MessageBoxA(owner, text, caption, type);
  }
  static std::function<void(HWND)> ClickButton(const char* label) {
    return [label](HWND box) { InjectClickAt(CentreOf(ChildWithText(box, label))); };
  }
  static std::function<void(HWND)> Press(UINT key, bool alt = false) {
    return [key, alt](HWND) { InjectKey(key, false, alt); };
  }
  static std::function<void(HWND)> CloseBox() {
    return [](HWND box) { InjectClickAt(CloseBoxOf(box)); };
  }
};

struct ButtonSet {
  UINT type;
  std::vector<std::pair<const char*, int>> buttons;
  int onCancel;  // what Esc and the close box give; 0: nothing
};

const ButtonSet kButtonSets[] = {
    {MB_OK, {{"OK", IDOK}}, IDOK},
    {MB_OKCANCEL, {{"OK", IDOK}, {"Cancel", IDCANCEL}}, IDCANCEL},
    {MB_YESNO, {{"&Yes", IDYES}, {"&No", IDNO}}, 0},
    {MB_YESNOCANCEL, {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}}, IDCANCEL},
    {MB_RETRYCANCEL, {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}}, IDCANCEL},
    {MB_ABORTRETRYIGNORE, {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}}, 0},
};

TEST_F(MessageBoxTest, EveryButtonOfEverySetGivesItsResult) {
  for (const ButtonSet& set : kButtonSets) {
    for (const auto& [label, result] : set.buttons) {
      SCOPED_TRACE(label);
      SCOPED_TRACE(set.type);
      EXPECT_EQ(Run(set.type | MB_ICONHAND, {ClickButton(label)}), result);
    }
  }
}

TEST_F(MessageBoxTest, EscAndTheCloseBoxCancelOnlyWhereTheSetAllowsIt) {
  for (const ButtonSet& set : kButtonSets) {
    SCOPED_TRACE(set.type);
    const char* first = set.buttons.front().first;
    int firstResult = set.buttons.front().second;
    for (auto cancel : {Press(VK_ESCAPE), CloseBox()}) {
      if (set.onCancel)
        EXPECT_EQ(Run(set.type, {cancel}), set.onCancel);
      else  // the box stays up until a button is pressed
        EXPECT_EQ(Run(set.type, {cancel, ClickButton(first)}), firstResult);
    }
  }
}

// Inside the close box's inner face: pixels of the active cross's ink and of
// the greyed cross's etching.
struct CrossInk { int black = 0, grey = 0; };

CrossInk CrossInkOf(HWND box) {
  POINT centre = UiTest::CloseBoxOf(box);
  CrossInk ink;
  const qm::ui::Surface& screen = qm::ui::ScreenSurface();
  for (int y = centre.y - 5; y < centre.y + 5; ++y)
    for (int x = centre.x - 6; x < centre.x + 6; ++x) {
      COLORREF c = qm::ui::ColorFromPixel(screen.At(x, y));
      ink.black += c == GetSysColor(COLOR_BTNTEXT);
      ink.grey += c == GetSysColor(COLOR_3DSHADOW);
    }
  return ink;
}

TEST_F(MessageBoxTest, CloseBoxIsGreyedWhereItCannotCancel) {
  for (const ButtonSet& set : kButtonSets) {
    SCOPED_TRACE(set.type);
    CrossInk ink;
    Run(set.type | MB_ICONQUESTION, {[&](HWND box) { ink = CrossInkOf(box); }, ClickButton(set.buttons[0].first)});
    const bool greyed = set.onCancel == 0;
    EXPECT_EQ(greyed ? ink.black : ink.grey, 0);
    EXPECT_GT(greyed ? ink.grey : ink.black, 10);
  }
}

TEST_F(MessageBoxTest, EnterPressesTheDefaultButtonChosenByTheType) {
  const struct { UINT type; int result; } cases[] = {
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},  // no third button: the first one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(Run(c.type, {Press(VK_RETURN)}), c.result);
  }
}

TEST_F(MessageBoxTest, AccessKeysAnswerYesNoAndAbortRetryIgnore) {
  EXPECT_EQ(Run(MB_YESNO | MB_ICONQUESTION, {Press('N', true)}), IDNO);
  EXPECT_EQ(Run(MB_ABORTRETRYIGNORE | MB_ICONHAND, {Press('I', true)}), IDIGNORE);
  EXPECT_EQ(Run(MB_ABORTRETRYIGNORE | MB_ICONHAND, {[](HWND) { InjectText("r"); }}), IDRETRY);
}

TEST_F(MessageBoxTest, OwnerIsDisabledWhileTheBoxRuns) {
  HWND owner = CreateParent();
  BOOL enabledDuring = TRUE;
  HWND boxOwner = nullptr;
  int result = Run(MB_OK, {[&](HWND box) {
                     enabledDuring = IsWindowEnabled(owner);
                     boxOwner = GetWindow(box, GW_OWNER);
                     InjectKey(VK_RETURN);
                   }},
                   owner);
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(enabledDuring);
  EXPECT_EQ(boxOwner, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(MessageBoxTest, BoxIsCentredCaptionedAndSizedToItsText) {
  std::string caption;
  RECT boxRect{}, textRect{};
  int iconCount = 0;
  const char* text = "Source file: Z:\\medium\\db\\levels.dat\nDestination file: C:\\Games\\Quellmoor\\db\\levels.dat\n"
                     "File not found or disk is full";
  Run(MB_ABORTRETRYIGNORE | MB_ICONHAND,
      {[&](HWND box) {
         caption = TextOf(box);
         GetWindowRect(box, &boxRect);
         for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
           if (TextOf(child) == text) GetWindowRect(child, &textRect);
           if (SendMessageA(child, STM_GETICON, 0, 0)) ++iconCount;
         }
         InjectKey(VK_RETURN);
       }},
      nullptr, text, nullptr);
  EXPECT_EQ(caption, "Error");
  EXPECT_EQ(iconCount, 1);
  EXPECT_LE(std::abs((boxRect.left + boxRect.right) - 1024), 1);
  EXPECT_LE(std::abs((boxRect.top + boxRect.bottom) - 768), 1);
  // Three lines, each on a line of its own and none cut.
  const SIZE longest = DialogFontExtent("Destination file: C:\\Games\\Quellmoor\\db\\levels.dat");
  EXPECT_GE(textRect.right - textRect.left, longest.cx);
  EXPECT_EQ(textRect.bottom - textRect.top, 3 * longest.cy);
}

// A copy's question names both whole paths, which may be longer than the
// screen is wide: they are broken inside, and the box and its buttons stay
// on the screen, every character of the text shown.
TEST_F(MessageBoxTest, APathWiderThanTheScreenIsBrokenAndTheBoxStaysOnIt) {
  std::string path = "C:\\Games";
  for (int i = 0; i < 30; ++i) path += "\\level" + std::to_string(i) + "_abcdefghijkl";
  const std::string text = "Can't copy file\nSource file: " + path + "\nFile not found or disk is full";
  RECT boxRect{}, textRect{};
  std::vector<RECT> buttons;
  Run(MB_ABORTRETRYIGNORE | MB_ICONHAND,
      {[&](HWND box) {
         GetWindowRect(box, &boxRect);
         for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
           RECT rect{};
           GetWindowRect(child, &rect);
           if (TextOf(child) == text) textRect = rect;
           if (TextOf(child) == "&Abort" || TextOf(child) == "&Retry" || TextOf(child) == "&Ignore")
             buttons.push_back(rect);
         }
         InjectKey(VK_RETURN);
       }},
      nullptr, text.c_str(), nullptr);
  EXPECT_GE(boxRect.left, 0);
  EXPECT_LE(boxRect.right, 1024);
  EXPECT_LE(boxRect.bottom, 768);
  ASSERT_EQ(buttons.size(), 3u);
  for (const RECT& button : buttons) EXPECT_LE(button.right, boxRect.right);
  // The path takes several lines: as tall as the text asks at the box's width.
  const SIZE line = DialogFontExtent("C");
  EXPECT_GE(textRect.bottom - textRect.top, 5 * line.cy);
  EXPECT_LE(textRect.right, boxRect.right);
}

}  // namespace
}  // namespace qm::test
