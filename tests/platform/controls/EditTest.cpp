#include "platform/kernel/Utf8.h"
#include "ControlTest.h"

namespace qm::test {
namespace {

using kernel::CountUtf8Chars;

class EditTest : public ControlTest {
 protected:
  HWND Edit(DWORD style = 0, RECT rect = {10, 10, 210, 32}) {
    HWND edit = CreateControl(parent, WC_EDITA, "", style | WS_TABSTOP | ES_AUTOHSCROLL, rect, 1020,
                              WS_EX_CLIENTEDGE);
    SetFocus(edit);
    Pump();
    return edit;
  }
  static std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  static int Changes() { return CountOf(1020, EN_CHANGE); }
};

// One user action: typed text, or a key with or without Shift.
struct Action { std::string text; UINT key = 0; bool shift = false; };
Action Text(const char* text) { return Action{text, 0, false}; }
Action Press(UINT key, bool shift = false) { return Action{"", key, shift}; }

struct EditingCase { const char* name; std::vector<Action> actions; const char* text; DWORD caret; };

TEST_F(EditTest, TypingAndCaretKeysEditTheText) {
  const EditingCase cases[] = {
      {"typing appends", {Text("abc")}, "abc", 3},
      {"insert before the last character", {Text("abc"), Press(VK_LEFT), Text("X")}, "abXc", 3},
      {"backspace removes before the caret", {Text("abc"), Press(VK_LEFT), Press(VK_BACK)}, "ac", 1},
      {"delete removes after the caret", {Text("abc"), Press(VK_HOME), Press(VK_DELETE)}, "bc", 0},
      {"home and end", {Text("abc"), Press(VK_HOME), Text("X"), Press(VK_END), Text("Y")}, "XabcY", 5},
      {"backspace at the start does nothing", {Text("ab"), Press(VK_HOME), Press(VK_BACK)}, "ab", 0},
      {"delete at the end does nothing", {Text("ab"), Press(VK_DELETE)}, "ab", 2},
      {"shift selection is replaced by typing",
       {Text("abcd"), Press(VK_LEFT, true), Press(VK_LEFT, true), Text("X")}, "abX", 3},
      {"backspace removes a selection", {Text("abcd"), Press(VK_HOME, true), Press(VK_BACK)}, "", 0},
      {"backspace removes a whole two-byte character", {Text("a\xC3\xA9"), Press(VK_BACK)}, "a", 1},
      {"left steps over a whole character", {Text("\xC3\xA9" "a"), Press(VK_LEFT), Press(VK_LEFT), Text("X")},
       "X\xC3\xA9" "a", 1},
      {"control characters are not inserted", {Text("a\tb")}, "ab", 2},
  };
  for (const EditingCase& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = Edit();
    for (const Action& action : c.actions) {
      if (action.key)
        Key(action.key, nullptr, action.shift);
      else
        Type(action.text);
    }
    EXPECT_EQ(TextOf(edit), c.text);
    EXPECT_EQ(Selection(edit), std::make_pair(c.caret, c.caret));
    DestroyWindow(edit);
  }
}

TEST_F(EditTest, ChangesAreNotifiedButCaretMovesAreNot) {
  HWND edit = Edit();
  Type("ab");
  EXPECT_EQ(Changes(), 2);
  Keys({VK_LEFT, VK_HOME});
  EXPECT_EQ(Changes(), 2);
  Key(VK_DELETE);
  EXPECT_EQ(Changes(), 3);
  SetWindowTextA(edit, "C:\\Games");
  EXPECT_EQ(Changes(), 4);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
  char buffer[32] = {};
  EXPECT_EQ(GetWindowTextA(edit, buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "C:\\Games");
}

TEST_F(EditTest, ReadOnlyEditRefusesInputButItsCaretMoves) {
  HWND edit = Edit(ES_READONLY);
  SetWindowTextA(edit, "C:\\Games\\Quellmoor");
  notifications.clear();
  Key(VK_END);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{18}, DWORD{18}));
  Type("x");
  Keys({VK_BACK, VK_HOME, VK_DELETE});
  EXPECT_EQ(TextOf(edit), "C:\\Games\\Quellmoor");
  EXPECT_EQ(Changes(), 0);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(EditTest, ReadOnlyEditHasGreyFaceAndEditableOneWhite) {
  HWND editable = Edit(0, RECT{10, 10, 110, 32});
  HWND readOnly = Edit(ES_READONLY, RECT{10, 40, 110, 62});
  SetFocus(nullptr);
  EXPECT_EQ(Capture(editable).At(90, 10), RGB(255, 255, 255));
  EXPECT_EQ(Capture(readOnly).At(90, 10), RGB(192, 192, 192));
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInView) {
  HWND edit = Edit(ES_READONLY, RECT{10, 10, 90, 32});
  SetWindowTextA(edit, "C:\\Program Files\\Games\\Quellmoor\\Installation");
  auto atStart = Capture(edit);
  Key(VK_END);
  auto atEnd = Capture(edit);
  EXPECT_NE(atStart.pixels, atEnd.pixels);
  Key(VK_HOME);
  auto back = Capture(edit);
  // The caret is drawn in both; away from it the picture is the first one.
  RECT away{10, 0, back.width, back.height};
  int differing = 0;
  for (int y = away.top; y < away.bottom; ++y)
    for (int x = away.left; x < away.right; ++x) differing += back.At(x, y) != atStart.At(x, y);
  EXPECT_EQ(differing, 0);
}

TEST_F(EditTest, ReplaceSelectionAndSelectAll) {
  HWND edit = Edit();
  Type("Quellmoor");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{9}));
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Games"));
  EXPECT_EQ(TextOf(edit), "Games");
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{5}, DWORD{5}));
  SendMessageA(edit, EM_LIMITTEXT, 6, 0);
  Type("XYZ");
  EXPECT_EQ(TextOf(edit), "GamesX");
}

// The caret stops where text drawing sees a character begin, also in text
// that is not UTF-8: each ill-formed subsequence is one character, the one
// U+FFFD drawn for it, so no stop splits what drawing shows as one.
TEST_F(EditTest, CaretStepsOverTheCharactersTextDrawingShows) {
  const struct { const char* name; std::string text; DWORD characters; } rows[] = {
      {"latin-1 letter", "caf\xE9", 4},
      {"truncated character", "a\xE2\x82" "b\xFF", 4},
      {"lone continuations", "a\x80\x80", 3},
      {"overlong", "\xC0\xAF", 2},
      {"surrogate", "\xED\xA0\x80x", 4},
      {"valid after stray bytes", "\xF0\x9F\xC3\xA9\x80", 3},
  };
  HDC dc = GetDC(parent);
  auto width = [dc](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    HWND edit = Edit();
    SetWindowTextA(edit, row.text.c_str());
    Key(VK_END);
    DWORD steps = 0;
    for (DWORD caret = Selection(edit).first; caret > 0 && steps <= row.text.size(); caret = Selection(edit).first) {
      Key(VK_LEFT);
      ++steps;
      DWORD stop = Selection(edit).first;
      ASSERT_LT(stop, caret);
      EXPECT_EQ(width(row.text.substr(0, stop)) + width(row.text.substr(stop)), width(row.text)) << "stop " << stop;
    }
    EXPECT_EQ(steps, row.characters);
    Keys({VK_END, VK_BACK});
    EXPECT_EQ(CountUtf8Chars(TextOf(edit)), row.characters - 1) << "backspace removes one whole character";
    DestroyWindow(edit);
  }
  ReleaseDC(parent, dc);
}

TEST_F(EditTest, DeletingBetweenStrayBytesNeverLeavesTheCaretInsideACharacter) {
  HWND edit = Edit();
  // E2, then 82 AC: stray bytes that form a euro sign once the "a" between
  // them is gone.
  SetWindowTextA(edit, "\xE2" "a\x82\xAC");
  Keys({VK_HOME, VK_RIGHT, VK_DELETE});
  ASSERT_EQ(TextOf(edit), "\xE2\x82\xAC");
  DWORD caret = Selection(edit).first;
  EXPECT_TRUE(caret == 0 || caret == 3) << caret;
  Type("X");
  EXPECT_NE(TextOf(edit).find("\xE2\x82\xAC"), std::string::npos) << "typing never splits the euro sign";
}

TEST_F(EditTest, PasswordEditShowsOneStarPerCharacterAsDrawingCountsThem) {
  HWND strange = Edit(ES_PASSWORD, RECT{10, 10, 110, 32});
  HWND plain = Edit(ES_PASSWORD, RECT{10, 40, 110, 62});
  SetWindowTextA(strange, "x\x80\xC0\xAF");  // x, then three stray bytes
  SetWindowTextA(plain, "abcd");
  SetFocus(nullptr);
  Pump();
  EXPECT_EQ(Capture(strange).pixels, Capture(plain).pixels);
  SetWindowTextA(plain, "abc");
  Pump();
  EXPECT_NE(Capture(strange).pixels, Capture(plain).pixels);
}

TEST_F(EditTest, UppercaseEditUpperCasesAsNamesAre) {
  HWND edit = Edit(ES_UPPERCASE);
  Type("z\xC3\xBCrich \xD0\xB4\xD0\xBE\xD0\xBC");  // zürich дом
  EXPECT_EQ(TextOf(edit), "Z\xC3\x9CRICH \xD0\x94\xD0\x9E\xD0\x9C");
}

}  // namespace
}  // namespace qm::test
