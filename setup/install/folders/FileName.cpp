#include "install/folders/FileName.h"

#include "install/service/Service.h"
#include "platform/shell/FileInfo.h"

FileName::FileName(const std::string& path) { SetPath(path); }

FileName::~FileName() = default;

void FileName::SetPath(const std::string& newPath) {
  path = newPath;
  drive = path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : "";
  std::size_t start = drive.size();
  std::size_t separator = path.find_last_of("\\/");
  std::size_t nameStart = separator == std::string::npos || separator < start ? start : separator + 1;
  directory = path.substr(start, nameStart - start);
  std::size_t dot = path.rfind('.');
  std::size_t titleEnd = dot == std::string::npos || dot < nameStart ? path.size() : dot;
  title = path.substr(nameStart, titleEnd - nameStart);
  extension = path.substr(titleEnd);
}

bool FileName::Exists() const {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  return FileExists(name);
}

std::string FileName::GetTypeName() const {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME)) return "";
  return info.szTypeName;
}
