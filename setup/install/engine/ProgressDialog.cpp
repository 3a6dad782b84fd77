#include "install/engine/ProgressDialog.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "install/resources/ResourceIds.h"
#include "install/service/Service.h"
#include "install/settings/InstallationSettings.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Resources.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"

namespace {

constexpr int ProgressRange = 1000;

// The search pattern for everything in dir, whether or not dir ends in a
// backslash.
std::string SearchPattern(std::string dir, const std::string& pattern) {
  RemoveTrailingBackslash(dir);
  return dir + "\\" + pattern;
}

std::uint64_t FoundSize(const WIN32_FIND_DATAA& found) {
  return (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

// Clears the read-only bit of what is at `path`, every other attribute kept;
// whether the bit was set and is clear now.
bool ClearReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

std::string LoadText(UINT id) {
  std::string text;
  qm::fw::LoadString(id, text);
  return text;
}

}  // namespace

ProgressDialog::ProgressDialog(qm::fw::Window* parent, unsigned redrawPaceMs)
    : Dialog(IDD_PROGRESS, parent), redrawPaceMs(redrawPaceMs) {}

void ProgressDialog::DoDataExchange(qm::fw::DataExchange& exchange) {
  Dialog::DoDataExchange(exchange);
  qm::fw::DdxControl(exchange, IDC_PROGRESS, progressBar);
}

void ProgressDialog::PostNcDestroy() {
  Dialog::PostNcDestroy();
  delete this;
}

void ProgressDialog::OnOK() {}

void ProgressDialog::OnCancel() {
  const std::string text = LoadText(IDS_CONFIRM_CANCEL);
  const std::string caption = LoadText(IDS_INSTALL);
  if (MessageBox(text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) cancelRequested = true;
}

int ProgressDialog::CopyTrees(const std::string& sourceRoot, const std::string& destinationRoot,
                              const std::vector<std::string>& names, std::uint32_t sizeKb) {
  totalBytes = static_cast<std::uint64_t>(sizeKb) << 10;
  progressBar.SetRange(0, ProgressRange);
  std::uint64_t copiedBytes = 0;
  // The folders an earlier copy wrote may be gone, and their identities
  // given to new folders, a medium's among them.
  made.clear();
  CreateDirectoryPath(destinationRoot);
  for (const std::string& name : names) {
    const int result = CopyTree(sourceRoot + name + "\\", destinationRoot + name + "\\", copiedBytes);
    if (result != 0) return result;
  }
  // A Yes given while the last file was copied has no check after it: the
  // copy still ends as the user asked, and nothing is recorded after it.
  return cancelRequested ? 1 : 0;
}

int ProgressDialog::CopyTree(const std::string& sourceDir, const std::string& destinationDir,
                             std::uint64_t& copiedBytes) {
  if (cancelRequested) return 1;
  std::string folder = sourceDir;
  RemoveTrailingBackslash(folder);
  const std::optional<qm::kernel::FileIdentity> self = qm::kernel::IdentifyFile(folder.c_str());
  if (self && (std::find(descent.begin(), descent.end(), *self) != descent.end() || made.count(*self))) return 0;
  if (self) descent.push_back(*self);
  const int result = CopyFolder(sourceDir, destinationDir, copiedBytes);
  if (self) descent.pop_back();
  return result;
}

int ProgressDialog::CopyFolder(const std::string& sourceDir, const std::string& destinationDir,
                               std::uint64_t& copiedBytes) {
  // A listing that fails is asked about until it is read (Retry); else
  // what the folder's copy answers: 1 on Abort, 0 on Ignore.
  const auto unread = [&](const auto& list) -> std::optional<int> {
    while (!list()) {
      const int answer = AskAboutFailure(sourceDir, destinationDir);
      if (answer == IDABORT) return 1;
      if (answer == IDIGNORE) return 0;
    }
    return std::nullopt;
  };
  std::vector<std::string> names;
  if (const std::optional<int> result = unread([&] { return ListSubdirectories(sourceDir, names); })) return *result;
  CreateDirectoryPath(destinationDir);
  std::string destinationFolder = destinationDir;
  RemoveTrailingBackslash(destinationFolder);
  if (const std::optional<qm::kernel::FileIdentity> identity = qm::kernel::IdentifyFile(destinationFolder.c_str()))
    made.insert(*identity);
  for (const std::string& name : names) {
    const int result = CopyTree(sourceDir + name + "\\", destinationDir + name + "\\", copiedBytes);
    if (result != 0) return result;
  }
  // Each file counts with the size its folder's search found: the status
  // query that search made already is not made again for every file.
  FileList files;
  if (const std::optional<int> result = unread([&] { return ListFiles(sourceDir, "*.*", files); })) return *result;
  // One pair of paths, each the folder and a file's name: the folder part
  // stays, and a folder's files need no new room each.
  std::string source = sourceDir;
  std::string destination = destinationDir;
  for (std::size_t i = 0; i < files.Count(); ++i) {
    if (cancelRequested) return 1;
    source.resize(sourceDir.size());
    destination.resize(destinationDir.size());
    if (!CopyOneFile(source.append(files.Name(i)), destination.append(files.Name(i)))) return 1;
    copiedBytes += files.Size(i);
    UpdateProgress(copiedBytes);
  }
  return 0;
}

bool ProgressDialog::ListSubdirectories(const std::string& dir, std::vector<std::string>& names) {
  names.clear();
  WIN32_FIND_DATAA found{};
  // Only directories, and no short names: what the entries of a large
  // folder's files would cost is not spent, and nothing kept differs.
  HANDLE search = FindFirstFileExA(SearchPattern(dir, "*.*").c_str(), FindExInfoBasic, &found,
                                   FindExSearchLimitToDirectories, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return FoundNothingToRead();
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    // Left out by name: not every file system lists them, or lists them first.
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

bool ProgressDialog::ListFiles(const std::string& dir, const std::string& pattern, FileList& files) {
  files.Clear();
  WIN32_FIND_DATAA found{};
  // Names only: the short names are left out.
  HANDLE search = FindFirstFileExA(SearchPattern(dir, pattern).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return FoundNothingToRead();
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    files.Add(found.cFileName, FoundSize(found));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  files.ShrinkToFit();
  return true;
}

void ProgressDialog::OnTimer(UINT_PTR id) {
  if (id != RedrawPaceTimer) {
    Dialog::OnTimer(id);
    return;
  }
  if (drawAtPace) {
    progressBar.ShowPos();
    drawAtPace = false;
    return;
  }
  KillTimer(RedrawPaceTimer);
  pacing = false;
}

bool ProgressDialog::CopyOneFile(const std::string& source, const std::string& destination) {
  int answer = IDRETRY;
  while (answer == IDRETRY) {
    if (CopyFileA(source.c_str(), destination.c_str(), FALSE)) return true;
    // A read-only copy from an earlier run refuses to be overwritten: its
    // bit is cleared and the copy tried again. Asked only on a refusal, so
    // a fresh installation never looks for what it is about to write.
    if (GetLastError() == ERROR_ACCESS_DENIED && ClearReadOnly(destination) &&
        CopyFileA(source.c_str(), destination.c_str(), FALSE))
      return true;
    answer = AskAboutFailure(source, destination);
    if (answer == IDIGNORE) return true;
  }
  return false;
}

bool ProgressDialog::FoundNothingToRead() {
  // A tree the medium does not have, or a pattern nothing matches, is no
  // failure; a folder that is there and cannot be read is one (no
  // permission, or a path longer than the host takes): passed over in
  // silence, its files were missing from a copy reported complete.
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

int ProgressDialog::AskAboutFailure(const std::string& source, const std::string& destination) {
  const std::string message = LoadText(IDS_CANT_COPY) +
                              qm::fw::Format(LoadText(IDS_SOURCE_FILE).c_str(), source.c_str()) +
                              qm::fw::Format(LoadText(IDS_DESTINATION_FILE).c_str(), destination.c_str()) +
                              LoadText(IDS_NOT_FOUND_OR_FULL);
  const std::string caption = LoadText(IDS_ERROR);
  return MessageBox(message.c_str(), caption.c_str(), MB_ABORTRETRYIGNORE | MB_ICONHAND);
}

void ProgressDialog::UpdateProgress(std::uint64_t copiedBytes) {
  double position = 0;
  if (totalBytes != 0) position = static_cast<double>(copiedBytes) * ProgressRange / static_cast<double>(totalBytes);
  const int barPosition = static_cast<int>(std::min(position, static_cast<double>(INT_MAX)));
  // The position is always the true one; the picture follows at the pace,
  // and at once at either end.
  if (pacing && barPosition > 0 && barPosition < ProgressRange) {
    progressBar.SetPosQuietly(barPosition);
    drawAtPace = true;
  } else {
    progressBar.SetPosAndRedraw(barPosition);
    drawAtPace = false;
    if (!pacing) pacing = SetTimer(RedrawPaceTimer, redrawPaceMs) != 0;
  }
  // Only here do paints, the Cancel button and the main window's handlers
  // get their turn. No dialog keyboard handling: Enter and Esc reach the
  // focused control as they are.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
