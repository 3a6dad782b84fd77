#include "install/service/ShellLinks.h"

#include "platform/kernel/CodePage.h"
#include "platform/shell/ShellLink.h"

namespace {

constexpr int kLinkNameChars = MAX_PATH;

}  // namespace

void CreateShellLink(const std::string& target, const std::string& linkFile, const std::string& description,
                     const std::string& arguments, const std::string& iconFile,
                     const std::string& workingDirectory) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<LPVOID*>(&link));
  if (SUCCEEDED(created)) {
    link->SetPath(target.c_str());
    link->SetDescription(description.c_str());
    link->SetArguments(arguments.c_str());
    link->SetIconLocation(iconFile.c_str(), 0);
    link->SetWorkingDirectory(workingDirectory.c_str());
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR name[kLinkNameChars] = {};
      // A name that does not fit is not saved at all: a cut-off name would
      // put a link somewhere else under a name nobody asked for.
      if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, name, kLinkNameChars) != 0) file->Save(name, TRUE);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
}
