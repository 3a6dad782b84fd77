#include "support/UiTest.h"

namespace qm::test {
namespace {

class ClickThroughTest : public UiTest {};

// A framing or labelling control created before the control it covers lies
// above it; a click on the covered control must still reach it.
TEST_F(ClickThroughTest, FramesAndLabelsLetClicksReachTheControlBelow) {
  struct Case { const char* className; DWORD style; bool passesClicks; } cases[] = {
      {WC_BUTTONA, BS_GROUPBOX, true},
      {WC_STATICA, SS_LEFT, true},
      {WC_STATICA, SS_ETCHEDHORZ, true},
      {WC_STATICA, SS_LEFT | SS_NOTIFY, false},
      {WC_BUTTONA, BS_PUSHBUTTON, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.className) + " style " + std::to_string(c.style));
    HWND parent = CreateParent();
    HWND cover = CreateControl(parent, c.className, "Destination Folder", c.style, RECT{10, 10, 300, 120}, 1);
    HWND below = CreateControl(parent, WC_BUTTONA, "B&rowse...", BS_PUSHBUTTON, RECT{200, 60, 280, 90}, 2);
    Pump();

    EXPECT_EQ(WindowFromPoint(CentreOf(below)), c.passesClicks ? below : cover);
    POINT bare{20, 100};
    ClientToScreen(parent, &bare);
    EXPECT_EQ(WindowFromPoint(bare), c.passesClicks ? parent : cover);

    notifications.clear();
    Click(below);
    bool clicked = false;
    for (const Notification& n : notifications) clicked = clicked || (n.control == below && n.code == BN_CLICKED);
    EXPECT_EQ(clicked, c.passesClicks);
    DestroyWindow(parent);
  }
}

}  // namespace
}  // namespace qm::test
