#include "install/startup/Installer.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "install/engine/MainWindow.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "install/startup/SingleInstance.h"
#include "install/wizard/WaitingDialog.h"
#include "platform/framework/Resources.h"
#include "platform/kernel/Crt.h"
#include "platform/kernel/FileApi.h"

namespace {

// The longest token install.cfg can mean: no size is longer, and no tree
// name can be (a name in a path of MAX_PATH). A longer token is cut here
// and the rest of it skipped, so a file of one endless token is read with
// the memory of one name.
constexpr std::size_t kLongestToken = 255;

// The white-space separated tokens of a file, read a block at a time.
class TokenReader {
 public:
  explicit TokenReader(std::FILE* file) : file(file) {}

  // The next token, cut to kLongestToken. False when the file ends before
  // a token starts.
  bool Next(std::string& token) {
    token.clear();
    int c;
    do {
      c = Get();
    } while (c != EOF && std::isspace(c));
    if (c == EOF) return false;
    do {
      if (token.size() < kLongestToken) token.push_back(static_cast<char>(c));
      c = Get();
    } while (c != EOF && !std::isspace(c));
    return true;
  }

 private:
  int Get() {
    if (next == end) {
      end = std::fread(buffer, 1, sizeof buffer, file);
      next = 0;
      if (end == 0) return EOF;
    }
    return static_cast<unsigned char>(buffer[next++]);
  }

  std::FILE* file;
  char buffer[65536];
  std::size_t next = 0;
  std::size_t end = 0;
};

// The token's leading decimal integer (optional sign, then digits), 0 when
// it has none. Numbers beyond the signed 32-bit range stay at its ends
// instead of overflowing.
std::int32_t LeadingNumber(const std::string& token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (token[i] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// Lets the waiting dialog paint before the long measurement, which
// processes no messages of its own.
void DispatchQueuedMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

bool Installer::InitInstance() {
  if (IsInstallerRunning()) {
    std::string text;
    std::string caption;
    qm::fw::LoadString(IDS_ALREADY_RUNNING, text);
    qm::fw::LoadString(IDS_INSTALL, caption);
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    return false;
  }

  // Everything is copied from the installer's folder. One whose path holds
  // a name Windows cannot hold ("Disc: 1"), or is too long, would be read
  // as empty: nothing measured, nothing copied, and the run reported
  // complete. It is said at once instead.
  const std::string& folder = Settings().installerDirectory;
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    std::string text;
    std::string caption;
    qm::fw::LoadString(IDS_FOLDER_UNREADABLE, text);
    qm::fw::LoadString(IDS_ERROR, caption);
    text = qm::fw::Format(text.c_str(), folder.c_str());
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONHAND);
    return false;
  }

  if (!ReadConfiguration()) {
    auto* waiting = new WaitingDialog();
    if (waiting->Create(IDD_WAITING, nullptr)) {
      waiting->ShowWindow(SW_SHOW);
    } else {
      delete waiting;
      waiting = nullptr;
    }
    DispatchQueuedMessages();
    Settings().MeasureRequiredSize();
    // The dialog deletes itself with its window.
    if (waiting) waiting->DestroyWindow();
  }

  // Stays until the process ends; the framework's loop belongs to it.
  auto* window = new MainWindow();
  mainWindow = window;
  window->Create();
  window->ShowWindow(SW_SHOWMAXIMIZED);
  window->RenderBackground();
  window->UpdateWindow();
  window->InvalidateRect(nullptr, true);
  window->OpenWizard();
  return true;
}

int Installer::ExitInstance() { return Application::ExitInstance(); }

bool Installer::ReadConfiguration() {
  std::string path = GetInstallerDirectory() + "install.cfg";
  std::FILE* file = CrtOpenFile(path.c_str(), "r");
  if (file == nullptr) return false;
  // The total is a signed 32-bit sum kept as its bit pattern; unsigned
  // arithmetic makes its wrap-around defined.
  std::uint32_t total = 0;
  std::string size;
  std::string name;
  auto tokens = std::make_unique<TokenReader>(file);
  while (tokens->Next(size)) {
    total += static_cast<std::uint32_t>(LeadingNumber(size));
    tokens->Next(name);
  }
  std::fclose(file);
  Settings().requiredSizeKb = total;
  return true;
}
