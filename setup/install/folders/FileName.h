// FileName: a path and its parts as the runtime's path splitter cuts them:
// the drive ("C:"), the directory up to its last backslash ("\Games\"), the
// title and the extension with its dot. The parts are whole, however long
// the path.
#pragma once

#include <string>

class FileName {
 public:
  explicit FileName(const std::string& path = "");
  virtual ~FileName();

  void SetPath(const std::string& path);
  const std::string& GetPath() const { return path; }

  // Whether a search finds the name; one trailing backslash is dropped
  // first, because a search never finds a name that ends in one.
  bool Exists() const;
  // The shell's type name ("File Folder", "Text Document"); empty when the
  // shell has none.
  std::string GetTypeName() const;

  std::string GetNameWithExtension() const { return title + extension; }
  std::string GetDriveAndDirectory() const { return drive + directory; }
  std::string GetTitle() const { return title; }

 private:
  std::string path;
  std::string drive;
  std::string directory;
  std::string title;
  std::string extension;
};
