#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/Namespace.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/Volume.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using qm::shell::BuildIdList;
using qm::shell::DriveItem;
using qm::shell::FolderItem;

namespace {

constexpr const char* kMyComputer = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

void MakeFolder(const std::string& windowsPath) { fs::create_directories(Host(windowsPath)); }
void MakeFile(const std::string& windowsPath) {
  fs::create_directories(fs::path(Host(windowsPath)).parent_path());
  std::ofstream(Host(windowsPath)) << "data";
}

// Holds one reference and gives it back.
template <typename T>
struct Ref {
  T* p = nullptr;
  Ref() = default;
  Ref(Ref&& other) : p(std::exchange(other.p, nullptr)) {}
  ~Ref() { if (p) p->Release(); }
  T* operator->() const { return p; }
  void** Out() { return reinterpret_cast<void**>(&p); }
};

// A list from the task allocator, freed at the end of its scope.
struct List {
  LPITEMIDLIST p = nullptr;
  ~List() { CoTaskMemFree(p); }
};

std::u16string Wide(const std::string& text) { return qm::kernel::Utf8ToUtf16(text); }

// The name a STRRET holds; the wide text is returned to the allocator.
std::string Read(STRRET& name, LPCITEMIDLIST relative) {
  switch (name.uType) {
    case STRRET_WSTR: {
      std::string text = qm::kernel::Utf16ToUtf8(name.pOleStr);
      CoTaskMemFree(name.pOleStr);
      return text;
    }
    case STRRET_OFFSET: return reinterpret_cast<const char*>(relative) + name.uOffset;
    case STRRET_CSTR: return name.cStr;
  }
  return "?";
}

std::string NameOf(IShellFolder* folder, LPCITEMIDLIST relative, SHGDNF flags = SHGDN_NORMAL) {
  STRRET name;
  if (FAILED(folder->GetDisplayNameOf(relative, flags, &name))) return "<failed>";
  return Read(name, relative);
}

Ref<IShellFolder> Desktop() {
  Ref<IShellFolder> desktop;
  EXPECT_EQ(SHGetDesktopFolder(&desktop.p), S_OK);
  return desktop;
}

// The display names of a folder's items, in the folder's order.
std::vector<std::string> Children(IShellFolder* folder, SHCONTF flags = SHCONTF_FOLDERS) {
  std::vector<std::string> names;
  Ref<IEnumIDList> items;
  if (FAILED(folder->EnumObjects(nullptr, flags, &items.p))) return {"<failed>"};
  List item;
  while (items->Next(1, &item.p, nullptr) == S_OK) {
    names.push_back(NameOf(folder, item.p));
    CoTaskMemFree(item.p);
    item.p = nullptr;
  }
  return names;
}

// Parses a path relative to the desktop; the failure code when it fails.
HRESULT Parse(const std::string& path, List& list, ULONG* attributes = nullptr) {
  std::u16string name = Wide(path);
  ULONG eaten = 0;
  HRESULT result = Desktop()->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, &list.p, attributes);
  if (SUCCEEDED(result)) {
    EXPECT_EQ(eaten, name.size());
  }
  return result;
}

ULONG AttributesOf(const std::string& path, ULONG asked) {
  List list;
  ULONG attributes = asked;
  return SUCCEEDED(Parse(path, list, &attributes)) ? attributes : 0xDEADu;
}

// The folder of a parsing name, bound from the desktop.
Ref<IShellFolder> Folder(const std::string& path) {
  Ref<IShellFolder> folder;
  List list;
  EXPECT_EQ(Parse(path, list), S_OK) << path;
  EXPECT_EQ(Desktop()->BindToObject(list.p, nullptr, IID_IShellFolder, folder.Out()), S_OK) << path;
  return folder;
}

std::vector<std::string> ChildrenOf(const std::string& path, SHCONTF flags = SHCONTF_FOLDERS) {
  Ref<IShellFolder> folder = Folder(path);
  return folder.p ? Children(folder.p, flags) : std::vector<std::string>{"<unbound>"};
}

class Namespace : public testing::Test {
 protected:
  void SetUp() override {
    qm::kernel::MapDrive('D', driveD.Path());
    MakeFolder("D:\\Spiele\\Z\xC3\xBCrich");
  }
  void TearDown() override {
    qm::shell::SetVolumeOverride('D', std::nullopt);
    EXPECT_EQ(qm::shell::LiveObjectCount(), 0u) << "a shell object was never released";
  }

  qm::test::TempDir driveD{"quellmoor-drive-d"};
};

}  // namespace

TEST_F(Namespace, TheDesktopHoldsMyComputerFirstThenItsDirectorysItems) {
  for (const char* folder : {"C:\\Windows\\Desktop\\Saves", "C:\\Windows\\Desktop\\.secret"}) MakeFolder(folder);
  MakeFile("C:\\Windows\\Desktop\\notes.txt");
  Ref<IShellFolder> desktop = Desktop();
  ASSERT_NE(desktop.p, nullptr);
  EXPECT_EQ(Children(desktop.p), (std::vector<std::string>{"My Computer", "Saves"}));
  EXPECT_EQ(Children(desktop.p, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"My Computer", "notes.txt", "Saves"}));
  EXPECT_EQ(Children(desktop.p, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{"notes.txt"}));
  EXPECT_EQ(Children(desktop.p, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{"My Computer", ".secret", "Saves"}));
}

TEST_F(Namespace, MyComputerHoldsEveryMappedDriveNamedWithItsLabel) {
  qm::shell::SetVolumeOverride('D', qm::shell::LinkVolume{3, 1, "SPIELE"});
  EXPECT_EQ(ChildrenOf(kMyComputer), (std::vector<std::string>{"(C:)", "SPIELE (D:)", "(Z:)"}));
  EXPECT_EQ(AttributesOf(kMyComputer, SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER);
  EXPECT_EQ(AttributesOf("D:\\", SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER | SFGAO_FILESYSTEM);
}

TEST_F(Namespace, FoldersListWhatAWindowsSearchFinds) {
  MakeFolder("D:\\Spiele\\.config");
  MakeFile("D:\\Spiele\\readme.txt");
  // Names a Windows path cannot hold are not there for the namespace.
  fs::create_directories(driveD.Path() + "/Spiele/back\\slash");
  fs::create_directories(driveD.Path() + "/Spiele/a:b");
  std::ofstream(driveD.Path() + "/Spiele/tab\there.txt") << "x";
  EXPECT_EQ(ChildrenOf("D:\\Spiele"), (std::vector<std::string>{"Z\xC3\xBCrich"}));
  EXPECT_EQ(ChildrenOf("D:\\Spiele", SHCONTF_NONFOLDERS), (std::vector<std::string>{"readme.txt"}));
  EXPECT_EQ(ChildrenOf("D:\\Spiele", SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{".config", "Z\xC3\xBCrich"}));
  EXPECT_EQ(ChildrenOf("D:\\Spiele\\Z\xC3\xBCrich", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            std::vector<std::string>{});
}

TEST_F(Namespace, ItemsSortMyComputerDrivesFoldersThenFilesByNameIgnoringCase) {
  for (const char* name : {"banana", "Apple", "\xC3\xA4pfel", "cherry", "Cherry2"})
    MakeFolder(std::string("C:\\Windows\\Desktop\\") + name);
  MakeFile("C:\\Windows\\Desktop\\aaa.txt");
  Ref<IShellFolder> desktop = Desktop();
  Ref<IEnumIDList> items;
  ASSERT_EQ(desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items.p), S_OK);
  std::vector<LPITEMIDLIST> lists(8);
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(8, lists.data(), &fetched), S_FALSE);
  lists.resize(fetched);
  // A reverse start, so the sort has work to do.
  std::reverse(lists.begin(), lists.end());
  std::sort(lists.begin(), lists.end(), [&](LPCITEMIDLIST a, LPCITEMIDLIST b) {
    HRESULT order = desktop->CompareIDs(0, a, b);
    EXPECT_TRUE(SUCCEEDED(order));
    return static_cast<short>(order & 0xFFFF) < 0;
  });
  std::vector<std::string> names;
  for (LPITEMIDLIST list : lists) {
    names.push_back(NameOf(desktop.p, list));
    EXPECT_EQ(desktop->CompareIDs(0, list, list), S_OK);
    CoTaskMemFree(list);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"My Computer", "Apple", "banana", "cherry", "Cherry2",
                                             "\xC3\xA4pfel", "aaa.txt"}));

  // Drives by letter; below one item, the longer list comes later.
  Ref<IShellFolder> computer = Folder(kMyComputer);
  List c{BuildIdList({DriveItem('C')})}, z{BuildIdList({DriveItem('Z')})};
  List deeper{BuildIdList({DriveItem('C'), FolderItem("Games")})};
  EXPECT_EQ(static_cast<short>(computer->CompareIDs(0, c.p, z.p)), -1);
  EXPECT_EQ(static_cast<short>(computer->CompareIDs(0, z.p, c.p)), 1);
  EXPECT_EQ(static_cast<short>(computer->CompareIDs(0, c.p, deeper.p)), -1);
  EXPECT_EQ(computer->CompareIDs(0, c.p, nullptr), E_INVALIDARG);
}

TEST_F(Namespace, NamesBeyondAsciiSortByTheKernelsUpperCase) {
  // Compared byte by byte, "Ärger" (C3 84) comes before "äpfel" (C3 A4);
  // upper-cased as names are, "ÄPFEL" comes before "ÄRGER". Likewise "аб"
  // before "БВ".
  Ref<IShellFolder> spiele = Folder("D:\\Spiele");
  const std::pair<const char*, const char*> rows[] = {
      {"\xC3\xA4pfel", "\xC3\x84rger"},
      {"z\xC3\xBCrich", "Z\xC3\x9CRICHSEE"},
      {"\xD0\xB0\xD0\xB1", "\xD0\x91\xD0\x92"},
  };
  for (const auto& [first, second] : rows) {
    SCOPED_TRACE(first);
    List a{BuildIdList({FolderItem(first)})}, b{BuildIdList({FolderItem(second)})};
    EXPECT_EQ(static_cast<short>(spiele->CompareIDs(0, a.p, b.p)), -1);
    EXPECT_EQ(static_cast<short>(spiele->CompareIDs(0, b.p, a.p)), 1);
  }
}

TEST_F(Namespace, AttributesTellFoldersFileSystemItemsAndSubfolders) {
  for (const char* folder : {"Quellmoor\\bin", "Empty", "HiddenOnly\\.cache", "Linked"})
    MakeFolder(std::string("C:\\Games\\") + folder);
  MakeFile("C:\\Games\\Files\\only.txt");
  fs::create_directory_symlink(Host("C:\\Games\\Quellmoor"), Host("C:\\Games\\Linked") + "/to-folder");
  fs::create_directories(Host("C:\\Games\\Unnamable") + "/a:b");
  const ULONG all = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM;
  const std::pair<const char*, ULONG> rows[] = {
      {kMyComputer, SFGAO_FOLDER | SFGAO_HASSUBFOLDER},
      {"C:\\", all},
      {"c:\\games", all},
      {"C:\\Games\\Quellmoor\\bin", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Games\\Empty", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Games\\Files", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Games\\Files\\only.txt", SFGAO_FILESYSTEM},
      {"C:\\Games\\HiddenOnly", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Games\\Linked", all},
      {"C:\\Games\\Unnamable", SFGAO_FOLDER | SFGAO_FILESYSTEM},
  };
  for (const auto& [path, attributes] : rows) {
    SCOPED_TRACE(path);
    EXPECT_EQ(AttributesOf(path, all), attributes);
  }
  // The attributes common to several items, asked of their folder.
  List quellmoor{BuildIdList({FolderItem("Quellmoor")})}, empty{BuildIdList({FolderItem("Empty")})};
  LPCITEMIDLIST both[] = {quellmoor.p, empty.p};
  ULONG asked = all;
  ASSERT_EQ(Folder("C:\\Games")->GetAttributesOf(2, both, &asked), S_OK);
  EXPECT_EQ(asked, SFGAO_FOLDER | SFGAO_FILESYSTEM);
}

TEST_F(Namespace, DisplayNamesComeInEachKindOfRecord) {
  qm::shell::SetVolumeOverride('D', qm::shell::LinkVolume{3, 1, "SPIELE"});
  Ref<IShellFolder> desktop = Desktop(), computer = Folder(kMyComputer), spiele = Folder("D:\\Spiele");
  List empty{BuildIdList({})}, myComputer{BuildIdList({qm::shell::MyComputerItem()})};
  List drive{BuildIdList({DriveItem('D')})}, folder{BuildIdList({FolderItem("Z\xC3\xBCrich")})};
  List deep{BuildIdList({DriveItem('D'), FolderItem("Spiele")})};
  const struct { IShellFolder* folder; LPCITEMIDLIST item; SHGDNF flags; UINT kind; const char* name; } rows[] = {
      {desktop.p, empty.p, SHGDN_NORMAL, STRRET_CSTR, "Desktop"},
      {desktop.p, empty.p, SHGDN_FORPARSING, STRRET_WSTR, "C:\\Windows\\Desktop"},
      {desktop.p, myComputer.p, SHGDN_NORMAL, STRRET_CSTR, "My Computer"},
      {desktop.p, myComputer.p, SHGDN_FORPARSING, STRRET_WSTR, kMyComputer},
      {computer.p, drive.p, SHGDN_NORMAL, STRRET_WSTR, "SPIELE (D:)"},
      {computer.p, drive.p, SHGDN_FORPARSING | SHGDN_INFOLDER, STRRET_WSTR, "D:\\"},
      {computer.p, deep.p, SHGDN_NORMAL, STRRET_OFFSET, "Spiele"},
      {computer.p, deep.p, SHGDN_FORPARSING, STRRET_WSTR, "D:\\Spiele"},
      {spiele.p, folder.p, SHGDN_INFOLDER, STRRET_OFFSET, "Z\xC3\xBCrich"},
      {spiele.p, folder.p, SHGDN_FORPARSING | SHGDN_INFOLDER, STRRET_OFFSET, "Z\xC3\xBCrich"},
      {spiele.p, folder.p, SHGDN_FORPARSING, STRRET_WSTR, "D:\\Spiele\\Z\xC3\xBCrich"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    STRRET name;
    ASSERT_EQ(row.folder->GetDisplayNameOf(row.item, row.flags, &name), S_OK);
    EXPECT_EQ(name.uType, row.kind);
    EXPECT_EQ(Read(name, row.item), row.name);
  }
  STRRET name;
  EXPECT_EQ(spiele->GetDisplayNameOf(drive.p, SHGDN_NORMAL, &name), E_INVALIDARG);
}

TEST_F(Namespace, ParsingNamesRoundTripWithTheNamesAsTheVolumeSpellsThem) {
  MakeFile("C:\\Games\\Quellmoor\\readme.txt");
  MakeFolder("C:\\Windows\\Desktop\\Saves");
  const struct { const char* typed; std::string path; } rows[] = {
      {"C:\\", "C:\\"},
      {"c:", "C:\\"},
      {"C:\\Games\\Quellmoor", "C:\\Games\\Quellmoor"},
      {"c:\\GAMES\\quellmoor\\", "C:\\Games\\Quellmoor"},
      {"C:/Games/Quellmoor/README.TXT", "C:\\Games\\Quellmoor\\readme.txt"},
      {"d:\\spiele\\Z\xC3\x9CRICH", "D:\\Spiele\\Z\xC3\xBCrich"},
      {"Saves", "C:\\Windows\\Desktop\\Saves"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    List list;
    ASSERT_EQ(Parse(row.typed, list), S_OK);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(list.p, path));
    EXPECT_EQ(path, row.path);
    EXPECT_EQ(NameOf(Desktop().p, list.p, SHGDN_FORPARSING), row.path);
  }
  List computer;
  ASSERT_EQ(Parse("::{20d04fe0-3aea-1069-a2d8-08002b30309d}\\D:\\Spiele", computer), S_OK);
  char path[MAX_PATH];
  EXPECT_TRUE(SHGetPathFromIDListA(computer.p, path));
  EXPECT_STREQ(path, "D:\\Spiele");

  const std::pair<const char*, HRESULT> failures[] = {
      {"C:\\Games\\Missing", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"C:\\Missing\\Deeper", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {"C:\\Games\\Quellmoor\\readme.txt\\below", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {"Q:\\", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {"C:\\Games\\*", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
      {"C:\\Games\\..\\Games", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
      {"", E_INVALIDARG},
  };
  for (const auto& [typed, result] : failures) {
    SCOPED_TRACE(typed);
    List list;
    EXPECT_EQ(Parse(typed, list), result);
    EXPECT_EQ(list.p, nullptr);
  }
}

TEST_F(Namespace, BindingTakesFoldersOnlyAndAVanishedFolderListsNothing) {
  MakeFile("C:\\Games\\readme.txt");
  MakeFolder("C:\\Games\\Gone");
  Ref<IShellFolder> games = Folder("C:\\Games"), gone, file;
  List readme{BuildIdList({FolderItem("readme.txt", false)})}, vanished{BuildIdList({FolderItem("Gone")})};
  EXPECT_EQ(games->BindToObject(readme.p, nullptr, IID_IShellFolder, file.Out()), E_NOINTERFACE);
  EXPECT_EQ(file.p, nullptr);
  ASSERT_EQ(games->BindToObject(vanished.p, nullptr, IID_IShellFolder, gone.Out()), S_OK);
  fs::remove(Host("C:\\Games\\Gone"));
  Ref<IEnumIDList> items;
  EXPECT_EQ(gone->EnumObjects(nullptr, SHCONTF_FOLDERS, &items.p), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(items.p, nullptr);
}

TEST_F(Namespace, EveryListAndNameGoesBackToTheTaskAllocator) {
  MakeFolder("C:\\Games\\Quellmoor");
  qm::shell::TaskMemoryInUse before = qm::shell::TaskMemoryUse();
  {
    Ref<IShellFolder> computer = Folder(kMyComputer);
    EXPECT_EQ(Children(computer.p).size(), 3u);
    Ref<IEnumIDList> items, copy;
    ASSERT_EQ(computer->EnumObjects(nullptr, SHCONTF_FOLDERS, &items.p), S_OK);
    LPITEMIDLIST lists[2];
    ULONG fetched = 0;
    ASSERT_EQ(items->Next(2, lists, &fetched), S_OK);
    EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, before.blocks + 2);
    ASSERT_EQ(items->Clone(&copy.p), S_OK);
    LPITEMIDLIST third = nullptr;
    EXPECT_EQ(copy->Next(1, &third, nullptr), S_OK);
    EXPECT_EQ(NameOf(computer.p, third), "(Z:)");
    LPITEMIDLIST none = nullptr;
    EXPECT_EQ(copy->Next(1, &none, nullptr), S_FALSE);
    EXPECT_EQ(none, nullptr);
    for (LPITEMIDLIST list : {lists[0], lists[1], third}) CoTaskMemFree(list);
  }
  EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, before.blocks);
  EXPECT_EQ(qm::shell::TaskMemoryUse().bytes, before.bytes);
}

TEST_F(Namespace, ReadsOnlyTheFoldersItIsAskedAbout) {
  // Z: holds the host's whole root: listing My Computer must not look inside.
  qm::shell::NamespaceReads start = qm::shell::NamespaceReadCount();
  Children(Desktop().p);
  Children(Folder(kMyComputer).p);
  EXPECT_EQ(AttributesOf("Z:\\", SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER | SFGAO_FILESYSTEM);
  qm::shell::NamespaceReads listed = qm::shell::NamespaceReadCount();
  EXPECT_EQ(listed.folderListings - start.folderListings, 2u);
  EXPECT_EQ(listed.subfolderProbes, start.subfolderProbes);
  EXPECT_NE(AttributesOf("Z:\\", SFGAO_HASSUBFOLDER), 0u);
  EXPECT_EQ(qm::shell::NamespaceReadCount().subfolderProbes, start.subfolderProbes + 1);
  EXPECT_EQ(qm::shell::NamespaceReadCount().folderListings, listed.folderListings);
}

// A folder that is, by a link, one its own path runs through would open
// level after level without end: it is shown as a folder with nothing below.
TEST_F(Namespace, AFolderLeadingBackUpItsOwnPathHasNoSubfolders) {
  MakeFolder("C:\\Loop\\Real\\Deeper");
  fs::create_directory_symlink(".", Host("C:\\Loop") + "/self");
  fs::create_directory_symlink("..", Host("C:\\Loop") + "/up");
  fs::create_directory_symlink("../..", Host("C:\\Loop\\Real") + "/back");
  fs::create_directory_symlink("Real", Host("C:\\Loop") + "/side");
  const ULONG all = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM;
  const std::pair<const char*, ULONG> rows[] = {
      {"C:\\Loop", all},
      {"C:\\Loop\\self", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Loop\\up", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Loop\\Real\\back", SFGAO_FOLDER | SFGAO_FILESYSTEM},
      {"C:\\Loop\\side", all},  // another folder's, not one above it
      {"C:\\Loop\\self\\Real", all},
  };
  for (const auto& [path, attributes] : rows) {
    SCOPED_TRACE(path);
    EXPECT_EQ(AttributesOf(path, all), attributes);
  }
}

TEST_F(Namespace, AFolderOfAHundredThousandEntriesAnswersSubfoldersWithoutBeingListed) {
  // In memory where the host has a memory file system: a disk makes a
  // hundred thousand entries slowly.
  std::error_code noShm;
  qm::test::TempDir drive("quellmoor-big", fs::is_directory("/dev/shm", noShm) ? "/dev/shm" : "");
  qm::kernel::MapDrive('E', drive.Path());
  const std::string big = drive.Path() + "/Big";
  fs::create_directories(big);
  // Links to a few files, quicker to make than as many files.
  for (int i = 0; i < 100000; ++i) {
    std::string origin = big + "/origin" + std::to_string(i / 50000) + ".dat";
    if (i % 50000 == 0) std::ofstream(origin) << "x";
    else fs::create_hard_link(origin, big + "/file" + std::to_string(i) + ".dat");
  }
  qm::shell::NamespaceReads start = qm::shell::NamespaceReadCount();
  EXPECT_EQ(AttributesOf("E:\\Big", SFGAO_HASSUBFOLDER), 0u);
  fs::create_directories(big + "/.hidden");
  EXPECT_EQ(AttributesOf("E:\\Big", SFGAO_HASSUBFOLDER), 0u);
  fs::create_directories(big + "/sub");
  EXPECT_EQ(AttributesOf("E:\\Big", SFGAO_HASSUBFOLDER), SFGAO_HASSUBFOLDER);
  EXPECT_EQ(qm::shell::NamespaceReadCount().folderListings, start.folderListings);
  qm::kernel::MapDrive('E', "");
}
