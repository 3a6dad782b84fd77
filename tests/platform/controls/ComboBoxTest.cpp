// The drop-down combo box as a program on the original platform meets it:
// the notifications of typing, of the list opening, choosing and closing,
// in their order and with what the control shows at each; the program's own
// changes reported by none; the field's height and the list's place; the
// drop-down button's look; and the combo box among a dialog's controls.
#include "support/DialogTemplates.h"
#include "ControlTest.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

constexpr int kComboId = 1051;

struct ComboEvent {
  WORD code;
  std::string text;   // the edit field's text when the notification came
  int selection;      // CB_GETCURSEL then
  bool textShown;     // the edit field had nothing left to paint
  bool dropped;       // CB_GETDROPPEDSTATE then
};

// One step of a user inside the dropped list's loop: input only, the loop
// itself takes it.
void Press(UINT key) { UiTest::InjectKey(key); }

class ComboBoxTest : public ControlTest {
 protected:
  static inline std::vector<ComboEvent> events;
  static inline int parentClicks = 0;
  static inline WNDPROC parentProc = nullptr;

  void SetUp() override {
    ControlTest::SetUp();
    parentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboBoxTest::Recorder)));
    events.clear();
    parentClicks = 0;
  }

  static LRESULT Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kComboId && HIWORD(wParam) != CBN_SETFOCUS &&
        HIWORD(wParam) != CBN_KILLFOCUS) {
      HWND combo = reinterpret_cast<HWND>(lParam);
      RECT pending{};
      events.push_back({HIWORD(wParam), TextOf(combo), Selection(combo),
                        !GetUpdateRect(Info(combo).hwndItem, &pending, FALSE),
                        SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0});
    }
    if (message == WM_LBUTTONDOWN) ++parentClicks;
    return CallWindowProcA(parentProc, hwnd, message, wParam, lParam);
  }

  HWND Combo(int count, int height = 150, POINT at = {20, 20}) {
    HWND combo = CreateControl(parent, WC_COMBOBOXA, "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                               RECT{at.x, at.y, at.x + 180, at.y + height}, kComboId);
    for (int i = 0; i < count; ++i)
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("C:\\Games\\" + std::to_string(i)).c_str()));
    SetFocus(combo);
    Pump();
    events.clear();
    return combo;
  }

  static COMBOBOXINFO Info(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info;
  }

  static int Selection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

  // The centre of a rectangle of the window's client area, on the screen.
  static POINT CentreOn(HWND hwnd, RECT rect) {
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(hwnd, &at);
    return at;
  }
  static POINT ButtonCentre(HWND combo) { return CentreOn(combo, Info(combo).rcButton); }
  static POINT ItemCentre(HWND combo, int index) {
    RECT item{};
    SendMessageA(Info(combo).hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return CentreOn(Info(combo).hwndList, item);
  }
  static void MoveTo(POINT at) { Mouse(ui::InputKind::MouseMove, at); }

  static std::vector<WORD> Codes() {
    std::vector<WORD> codes;
    for (const ComboEvent& e : events) codes.push_back(e.code);
    return codes;
  }

  const ComboEvent& Event(WORD code) const {
    for (const ComboEvent& e : events)
      if (e.code == code) return e;
    ADD_FAILURE() << "no notification " << code;
    static const ComboEvent none{};
    return none;
  }
};

TEST_F(ComboBoxTest, TypedTextReportsEditUpdateBeforeItShowsAndEditChangeOnceShown) {
  HWND combo = Combo(0);
  Type("C:");
  ASSERT_EQ(Codes(), (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
  EXPECT_EQ(events[0].text, "C") << "the text is already changed at CBN_EDITUPDATE";
  EXPECT_FALSE(events[0].textShown);
  EXPECT_TRUE(events[1].textShown);
  EXPECT_EQ(TextOf(combo), "C:");
}

TEST_F(ComboBoxTest, TextThatTheProgramSetsIsNotReportedAsAnEdit) {
  HWND combo = Combo(3);
  SetWindowTextA(combo, "C:\\Games\\1");
  EXPECT_EQ(Selection(combo), 1) << "the list follows a text that is an item";
  SetWindowTextA(combo, "D:\\Elsewhere");
  EXPECT_EQ(Selection(combo), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(TextOf(combo), "C:\\Games\\2");
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 7, 0), CB_ERR);
  EXPECT_EQ(TextOf(combo), "") << "no selection clears the field";
  Pump();
  EXPECT_TRUE(events.empty()) << events.size() << " notifications, the first " << events.front().code;
}

TEST_F(ComboBoxTest, ChoosingAnItemWithTheMouseReportsSelEndOkCloseUpThenSelChange) {
  HWND combo = Combo(3);
  const COMBOBOXINFO info = Info(combo);
  PlayWhenIdle({[&] {
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(GetFocus(), info.hwndItem);
    MoveTo(ItemCentre(combo, 0));
    InjectClickAt(ItemCentre(combo, 2));
  }});
  InjectClickAt(ButtonCentre(combo));
  Pump();
  ASSERT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_FALSE(Event(CBN_DROPDOWN).dropped) << "sent before the list shows";
  EXPECT_EQ(Event(CBN_SELENDOK).selection, 2);
  EXPECT_FALSE(Event(CBN_CLOSEUP).dropped);
  EXPECT_EQ(Event(CBN_SELCHANGE).text, "") << "the field takes the item's text after CBN_SELCHANGE";
  EXPECT_EQ(TextOf(combo), "C:\\Games\\2");
  EXPECT_FALSE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, LeavingTheListChoosesNothingAndTheClickGoesNoFurther) {
  struct Case { const char* name; std::function<void(HWND combo)> leave; };
  const Case cases[] = {
      {"Esc", [](HWND) { Press(VK_ESCAPE); }},
      {"a click outside", [](HWND combo) {
         RECT field = WindowRect(combo);
         InjectClickAt(POINT{field.right + 40, field.top + 5});
       }},
      {"Tab", [](HWND) { Press(VK_TAB); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND combo = Combo(3);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    events.clear();
    PlayWhenIdle({[&] {
      MoveTo(ItemCentre(combo, 2));  // a highlight only
      c.leave(combo);
    }});
    Key(VK_F4);
    EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(Selection(combo), 1);
    EXPECT_EQ(SendMessageA(Info(combo).hwndList, LB_GETCURSEL, 0, 0), 1) << "the highlight went back";
    EXPECT_EQ(TextOf(combo), "C:\\Games\\1");
    EXPECT_EQ(parentClicks, 0);
    ui::user::SetIdleHook({});
    DestroyWindow(combo);
  }
}

// The field once drew a scroll bar of its own beside the button, and the
// list a bar over rows that all showed, ranging over nothing.
TEST_F(ComboBoxTest, ScrollBarOfTheStyleIsTheListsShownOnlyWhenItsRowsDoNotFit) {
  struct Case { int items; bool bar; } cases[] = {{3, false}, {30, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    HWND combo = Combo(c.items);
    EXPECT_FALSE(GetWindowLongA(combo, GWL_STYLE) & WS_VSCROLL) << "the field has no bar";
    const RECT client = ClientRect(combo), window = WindowRect(combo);
    EXPECT_EQ(client.right, window.right - window.left) << "no bar takes room beside the field";
    EXPECT_EQ(Info(combo).rcButton.right, client.right - 2) << "the button ends inside the sunken edge";
    HWND list = Info(combo).hwndList;
    int rows = 0, topAfterWheel = -1, topAfterPage = -1;
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    PlayWhenIdle({[&] {
      rows = ClientRect(list).bottom / static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
      EXPECT_EQ((GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0, c.bar);
      GetScrollInfo(list, SB_VERT, &bar);
      SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
      topAfterWheel = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
      SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
      topAfterPage = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
      Press(VK_ESCAPE);
    }});
    Key(VK_F4);
    ui::user::SetIdleHook({});
    EXPECT_EQ(topAfterWheel, c.bar ? 3 : 0) << "a notch scrolls three rows";
    EXPECT_EQ(topAfterPage, c.bar ? 3 + rows : 0);
    if (c.bar) {
      EXPECT_EQ(bar.nMax, c.items - 1);
      EXPECT_EQ(static_cast<int>(bar.nPage), rows);
      SCROLLINFO after{sizeof after, SIF_POS, 0, 0, 0, 0, 0};
      GetScrollInfo(list, SB_VERT, &after);
      EXPECT_EQ(after.nPos, 3 + rows) << "the thumb follows the rows";
    }
    DestroyWindow(combo);
  }
}

TEST_F(ComboBoxTest, ClickOnTheDroppedListsScrollBarScrollsAndKeepsTheListOpen) {
  HWND combo = Combo(30);
  HWND list = Info(combo).hwndList;
  int top = -1;
  bool dropped = false;
  PlayWhenIdle({[&] {
                  RECT frame = WindowRect(list);
                  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
                  InjectClickAt(POINT{frame.right - 1 - arrow / 2, frame.bottom - 1 - arrow / 2});
                },
                [&] {
                  top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
                  dropped = SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
                  EXPECT_EQ(GetCapture(), list) << "the list has the mouse again";
                  Press(VK_ESCAPE);
                }});
  Key(VK_F4);
  ui::user::SetIdleHook({});
  EXPECT_EQ(top, 1) << "the down arrow scrolls a row";
  EXPECT_TRUE(dropped);
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, KeysMoveTheSelectionWithTheListClosedOrOpen) {
  HWND combo = Combo(3);
  Key(VK_DOWN);
  ASSERT_EQ(Codes(), (std::vector<WORD>{CBN_SELENDOK, CBN_SELCHANGE}));
  EXPECT_EQ(events[1].text, "") << "the field follows after CBN_SELCHANGE";
  EXPECT_EQ(events[1].selection, 0);
  EXPECT_EQ(TextOf(combo), "C:\\Games\\0");
  events.clear();
  PlayWhenIdle({[] { Press(VK_DOWN); }, [] { Press(VK_DOWN); }, [] { Press(VK_RETURN); }});
  Key(VK_F4);
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  EXPECT_EQ(Selection(combo), 2);
  EXPECT_EQ(TextOf(combo), "C:\\Games\\2");
  events.clear();
  Key(VK_DOWN);
  EXPECT_TRUE(events.empty()) << "the last item has no item below it";
}

TEST_F(ComboBoxTest, FieldKeepsItsFontsHeightAndTheListShowsTheRowsThatFit) {
  struct Case { int items; int height; POINT at; };  // the height as the program gives it
  // The third one's field is near the screen's end: its list opens above it.
  const Case cases[] = {{3, 150, {20, 20}}, {40, 150, {20, 20}}, {40, 150, {20, 600}}, {0, 60, {20, 20}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.items) + " items at " + std::to_string(c.at.y));
    HWND combo = Combo(c.items, c.height, c.at);
    const COMBOBOXINFO info = Info(combo);
    const int itemHeight = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    const RECT field = WindowRect(combo);
    RECT dropped{};
    EXPECT_EQ(field.bottom - field.top, SendMessageA(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0) + 6);
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, c.height);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const RECT list = WindowRect(info.hwndList), listClient = ClientRect(info.hwndList);
    const int fit = (c.height - (field.bottom - field.top) - 2) / itemHeight;
    EXPECT_EQ(listClient.bottom, itemHeight * std::max(1, std::min(fit, c.items)));
    EXPECT_EQ(list.left, field.left);
    EXPECT_EQ(list.right - list.left, field.right - field.left);
    const bool roomBelow = field.bottom + (list.bottom - list.top) <= GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(roomBelow ? list.top : list.bottom, roomBelow ? field.bottom : field.top);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    Pump();
    DestroyWindow(combo);
  }
}

// The screen as it was composed last, for pictures taken inside a loop.
UiTest::ClientPicture Region(HWND hwnd, RECT client) {
  POINT origin{client.left, client.top};
  ClientToScreen(hwnd, &origin);
  UiTest::ClientPicture part{client.right - client.left, client.bottom - client.top, {}};
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x)
      part.pixels.push_back(ui::ColorFromPixel(ui::ScreenSurface().At(origin.x + x, origin.y + y)));
  return part;
}

TEST_F(ComboBoxTest, DropDownButtonIsRaisedPushedWhileHeldAndEtchedWhenDisabled) {
  HWND combo = Combo(2);
  const RECT buttonRect = Info(combo).rcButton;
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), shadow = RGB(128, 128, 128);
  Capture(combo);
  const ClientPicture raised = Region(combo, buttonRect);
  const int w = raised.width, h = raised.height;
  EXPECT_EQ(w, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(raised.At(0, 0), RGB(223, 223, 223)) << "the outer light edge";
  EXPECT_EQ(raised.At(1, 1), white);
  EXPECT_EQ(raised.At(w - 1, h - 1), black);
  EXPECT_EQ(raised.At(w - 2, h - 2), shadow);
  // The triangle: 7, 5, 3 and 1 pixels, centred, pointing down; the dark
  // edge adds a column and a row of black.
  EXPECT_EQ(raised.Count(black), 16 + w + h - 1);
  const int cx = (w - 1) / 2, cy = (h - 1) / 2;
  EXPECT_EQ((std::vector{raised.At(cx - 3, cy - 1), raised.At(cx + 3, cy - 1), raised.At(cx, cy + 2)}),
            (std::vector{black, black, black}));

  ClientPicture pushed;
  PlayWhenIdle({[&] {
                  pushed = Region(combo, buttonRect);
                  Mouse(ui::InputKind::MouseUp, ButtonCentre(combo));
                },
                [] { Press(VK_ESCAPE); }});
  MoveTo(ButtonCentre(combo));
  Mouse(ui::InputKind::MouseDown, ButtonCentre(combo));
  Pump();
  ASSERT_EQ(pushed.width, w);
  EXPECT_EQ(pushed.At(0, 0), shadow) << "flat, in the shadow colour";
  EXPECT_EQ(pushed.At(w - 1, h - 1), shadow);
  EXPECT_EQ(pushed.Count(black), 16);
  EXPECT_EQ(pushed.At(cx + 1, cy + 3), black) << "the triangle moves a pixel down and right";

  EnableWindow(combo, FALSE);
  Capture(combo);
  const ClientPicture greyed = Region(combo, buttonRect);
  EXPECT_EQ(greyed.Count(black), w + h - 1) << "only the dark edge";
  EXPECT_EQ(greyed.At(cx, cy + 2), shadow);
  EXPECT_EQ(greyed.At(cx + 1, cy + 3), white) << "etched: highlight below and right";
}

TEST_F(ComboBoxTest, TabFromTheEditFieldGoesToTheNextControlAndEnterInTheListPressesNoButton) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
  t.cx = 230;
  t.cy = 60;
  t.caption = "Choose Directory";
  t.items = {Item(WC_COMBOBOXA, "", kComboId, 7, 7, 184, 128, WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL),
             Item(WC_BUTTONA, "Go", 1052, 194, 7, 26, 12, WS_TABSTOP),
             Item(WC_BUTTONA, "OK", IDOK, 114, 40, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON)};
  static int okPresses = 0;
  okPresses = 0;
  HWND dialog = CreateDialogIndirectParamA(
      nullptr, &t, nullptr,
      [](HWND, UINT message, WPARAM wParam, LPARAM) -> LONG_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) ++okPresses;
        return message == WM_INITDIALOG;
      },
      0);
  ASSERT_NE(dialog, nullptr);
  Pump(dialog);
  HWND combo = GetDlgItem(dialog, kComboId);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:\\Games"));
  const COMBOBOXINFO info = Info(combo);
  EXPECT_EQ(GetFocus(), info.hwndItem) << "the first tab stop";
  Key(VK_TAB, dialog);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1052));
  Key(VK_TAB, dialog, true);
  EXPECT_EQ(GetFocus(), info.hwndItem);

  PlayWhenIdle({[] { Press(VK_DOWN); }, [] { Press(VK_RETURN); }});
  Key(VK_F4, dialog);
  EXPECT_EQ(TextOf(combo), "C:\\Games");
  EXPECT_EQ(okPresses, 0) << "Enter closed the list";
  Key(VK_RETURN, dialog);
  EXPECT_EQ(okPresses, 1) << "with the list closed, Enter is the default button's";
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace qm::test
