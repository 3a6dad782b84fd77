// The application object's start-up, loop and exit protocol.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FrameworkTest.h"
#include "support/UiTest.h"
#include "platform/framework/Application.h"
#include "platform/framework/Dialog.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

constexpr UINT kRecordMessage = WM_USER + 7;

class RecordingWindow : public qm::fw::Window {
 public:
  int received = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kRecordMessage) {
      ++received;
      return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
  }
};

class ScriptedApp : public qm::fw::Application {
 public:
  std::function<bool()> start;
  int exits = 0;
  bool InitInstance() override { return start(); }
  int ExitInstance() override {
    ++exits;
    return Application::ExitInstance();
  }
};

using ApplicationTest = FrameworkTest;

TEST_F(ApplicationTest, RefusedStartUpSkipsTheLoopAndExitsWithZero) {
  RecordingWindow window;
  ASSERT_TRUE(window.CreateEx(0, qm::fw::RegisterWindowClass(0, nullptr, nullptr, nullptr).c_str(), "Probe",
                              WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  ScriptedApp app;
  EXPECT_EQ(qm::fw::GetApplication(), &app);
  app.start = [&] {
    window.PostMessage(kRecordMessage);
    PostQuitMessage(5);
    return false;
  };
  EXPECT_EQ(qm::fw::RunApplication(app), 0);
  EXPECT_EQ(app.exits, 1);
  EXPECT_EQ(window.received, 0);
  window.DestroyWindow();
}

// A window the program leaves open stays while the program may still look
// at it, and is destroyed when the program exits, with the messages of every
// destruction: its object sees OnDestroy, and one that deletes itself does.
TEST_F(ApplicationTest, WindowsLeftOpenAreDestroyedWhenTheProgramExits) {
  class SelfDeleting : public qm::fw::Window {
   protected:
    void OnDestroy() override {
      std::fputs("destroyed, ", stderr);
      Window::OnDestroy();
    }
    void PostNcDestroy() override {
      std::fputs("deleted\n", stderr);
      delete this;
    }
  };
  EXPECT_EXIT(
      {
        ScriptedApp app;
        app.start = [&] {
          auto* window = new SelfDeleting;
          window->CreateEx(0, qm::fw::RegisterWindowClass(0, nullptr, nullptr, nullptr).c_str(), "Left open",
                           WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr);
          app.mainWindow = window;
          PostQuitMessage(0);
          return true;
        };
        const int code = qm::fw::RunApplication(app);
        std::fputs(IsWindow(app.mainWindow->Handle()) ? "open after the run, " : "gone with the run, ", stderr);
        std::exit(code);
      },
      testing::ExitedWithCode(0), "open after the run, destroyed, deleted");
}

TEST_F(ApplicationTest, OnlyALivingApplicationObjectIsReachable) {
  { ScriptedApp app; }
  EXPECT_EQ(qm::fw::GetApplication(), nullptr);
}

TEST_F(ApplicationTest, TheQuitMessageParameterIsTheExitCode) {
  RecordingWindow window;
  ASSERT_TRUE(window.CreateEx(0, qm::fw::RegisterWindowClass(0, nullptr, nullptr, nullptr).c_str(), "Probe",
                              WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  struct Row { const char* how; int code; };
  for (const Row& row : {Row{"PostQuitMessage", 0}, Row{"PostQuitMessage", 42}, Row{"posted to a window", 7}}) {
    SCOPED_TRACE(std::string(row.how) + " " + std::to_string(row.code));
    ScriptedApp app;
    app.start = [&] {
      // Messages queued before the quit are still handled by the loop.
      window.PostMessage(kRecordMessage);
      if (std::string(row.how) == "PostQuitMessage")
        PostQuitMessage(row.code);
      else
        window.PostMessage(WM_QUIT, static_cast<WPARAM>(row.code));
      return true;
    };
    window.received = 0;
    EXPECT_EQ(qm::fw::RunApplication(app), row.code);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(window.received, 1);
  }
  window.DestroyWindow();
}

// Tab in a modeless dialog moves the focus only when the loop lets the
// dialog see its keyboard first.
TEST_F(ApplicationTest, PreTranslationGivesAModelessDialogItsKeyboard) {
  constexpr UINT kTemplate = 801;
  constexpr int kFirst = 1101, kSecond = 1102;
  qm::ui::RegisterDialogResource(
      kTemplate,
      DialogBoxTemplate("Keys", 160, 60,
                        {Item(WC_EDITA, "", kFirst, 7, 7, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
                         Item(WC_EDITA, "", kSecond, 7, 24, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)}));
  class PlainLoop : public ScriptedApp {
   public:
    bool PreTranslateMessage(MSG*) override { return false; }
  };
  for (bool translate : {true, false}) {
    SCOPED_TRACE(translate);
    qm::fw::Dialog dialog(kTemplate);
    PlainLoop plain;
    ScriptedApp framed;
    ScriptedApp& app = translate ? framed : plain;
    app.start = [&] {
      if (!dialog.Create()) return false;
      app.mainWindow = &dialog;
      ::SetFocus(GetDlgItem(dialog.Handle(), kFirst));
      UiTest::InjectKey(VK_TAB);
      PostQuitMessage(0);
      return true;
    };
    EXPECT_EQ(qm::fw::RunApplication(app), 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog.Handle(), translate ? kSecond : kFirst));
    dialog.DestroyWindow();
  }
}

}  // namespace
}  // namespace qm::test
