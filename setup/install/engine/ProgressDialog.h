// The modeless "Copying files.." dialog and the copy engine behind it.
// CopyTrees walks each named tree depth first (subdirectories before a
// directory's own files), creates the destination directories, copies every
// file, asks Abort/Retry/Ignore for a file that cannot be copied, and moves
// the bar by bytes copied against the expected total. It runs inside its
// caller's message handler and keeps the interface alive by draining the
// message queue after every file, which is also when a Cancel is seen.
//
// The dialog deletes itself once its window is destroyed.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "install/engine/FileList.h"
#include "install/engine/ProgressBar.h"
#include "platform/framework/Dialog.h"
#include "platform/kernel/FileApi.h"

class ProgressDialog : public qm::fw::Dialog {
 public:
  // The bar is drawn at most once every redrawPaceMs while the copy moves
  // it, and at once when it reaches either end.
  explicit ProgressDialog(qm::fw::Window* parent, unsigned redrawPaceMs = DefaultRedrawPaceMs);
  // Twenty-five pictures a second: the eye sees a bar that moves smoothly,
  // where a copy of many small files would move it thousands of times.
  static constexpr unsigned DefaultRedrawPaceMs = 40;
  // The timer that paces the bar's pictures.
  static constexpr UINT_PTR RedrawPaceTimer = 1;

  // Roots end in a backslash. 0 when every tree was copied, 1 when the user
  // cancelled or chose Abort; what was copied by then stays.
  int CopyTrees(const std::string& sourceRoot, const std::string& destinationRoot,
                const std::vector<std::string>& names, std::uint32_t sizeKb);
  // Directories end in a backslash; copiedBytes is the running count. A
  // source directory that is one the copy is already inside (reached again
  // through a link), or one it has copied into, is passed over: 0 and
  // nothing created.
  int CopyTree(const std::string& sourceDir, const std::string& destinationDir, std::uint64_t& copiedBytes);
  // True when the file was copied or the user chose Ignore; false on Abort.
  bool CopyOneFile(const std::string& source, const std::string& destination);
  void UpdateProgress(std::uint64_t copiedBytes);
  // The names of dir's subdirectories, "." and ".." left out, in search
  // order. False when dir is there and cannot be read; a missing dir has none.
  bool ListSubdirectories(const std::string& dir, std::vector<std::string>& names);
  // The entries matching pattern in dir that are not directories, each
  // with its size as the search found it, in search order. False as above.
  bool ListFiles(const std::string& dir, const std::string& pattern, FileList& files);

  // Enter must not close the dialog in the middle of a copy.
  void OnOK() override;
  // Asks for confirmation; a Yes stops the copy at its next check.
  void OnCancel() override;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
  void PostNcDestroy() override;
  // A pace is over: the bar shows the position it was left at, or the
  // pacing stops when nothing moved.
  void OnTimer(UINT_PTR id) override;

 private:
  // Counted in 64 bits: a game of 2 GB or more still shows its true progress.
  std::uint64_t totalBytes = 0;
  bool cancelRequested = false;
  ProgressBar progressBar;
  unsigned redrawPaceMs;
  bool pacing = false;      // the bar was drawn less than a pace ago
  bool drawAtPace = false;  // and has moved since, unseen
  // Whether a search that found nothing failed only for want of entries.
  static bool FoundNothingToRead();
  // The Abort/Retry/Ignore question about a file or folder that could not
  // be copied; the button chosen.
  int AskAboutFailure(const std::string& source, const std::string& destination);
  // CopyTree's work once the directory is known to be a new one.
  int CopyFolder(const std::string& sourceDir, const std::string& destinationDir, std::uint64_t& copiedBytes);
  // The source directories from the tree's root down to the one being
  // copied, so that a link back up ends the descent instead of repeating it.
  std::vector<qm::kernel::FileIdentity> descent;
  // The destination directories this copy has written into: a destination
  // inside the medium is never walked as a source, which would copy the
  // copy into itself until its paths grew too long.
  std::set<qm::kernel::FileIdentity> made;
};
