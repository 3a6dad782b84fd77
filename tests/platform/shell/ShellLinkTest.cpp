#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/LinkFormat.h"
#include "platform/shell/ShellLink.h"

namespace fs = std::filesystem;
using qm::shell::DecodeShellLink;
using qm::shell::EncodeShellLink;
using qm::shell::ShellLinkData;

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

std::vector<BYTE> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

// The installer's sequence: create the object, set the five fields, save
// through IPersistFile with the name in UTF-16.
HRESULT WriteLink(const char* target, const char* linkFile, const char* description, const char* arguments,
                  const char* icon, const char* workingDirectory) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    link->SetPath(target);
    link->SetDescription(description);
    link->SetArguments(arguments);
    link->SetIconLocation(icon, 0);
    link->SetWorkingDirectory(workingDirectory);
    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
      WCHAR name[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, linkFile, -1, name, MAX_PATH);
      result = file->Save(name, TRUE);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

class ShellLink : public testing::Test {
 protected:
  void SetUp() override {
    qm::shell::SetVolumeOverride('C', qm::shell::LinkVolume{3, 0x12345678, ""});
    fs::create_directories(Host("C:\\Links"));
  }
  void TearDown() override { qm::shell::SetVolumeOverride('C', std::nullopt); }
};

}  // namespace

TEST_F(ShellLink, SavesThePublishedExample) {
  ASSERT_EQ(WriteLink("C:\\G\\a.exe", "C:\\Links\\Play.lnk", "Play", "-w", "C:\\G\\a.exe", "C:\\G"), S_OK);
  qm::shell::ShellLinkData example;
  example.target = "C:\\G\\a.exe";
  example.description = "Play";
  example.workingDirectory = "C:\\G";
  example.arguments = "-w";
  example.iconLocation = "C:\\G\\a.exe";
  example.fileAttributes = FILE_ATTRIBUTE_ARCHIVE;
  example.volume = {3, 0x12345678, ""};
  std::vector<BYTE> bytes = ReadBytes(Host("C:\\Links\\Play.lnk"));
  EXPECT_EQ(bytes.size(), 185u);
  EXPECT_EQ(bytes, qm::shell::EncodeShellLink(example));
}

TEST_F(ShellLink, RecordsAnExistingTarget) {
  fs::create_directories(Host("C:\\Games\\Quellmoor\\bin"));
  std::ofstream(Host("C:\\Games\\Quellmoor\\bin\\start.exe"), std::ios::binary) << std::string(1234, 'x');
  ASSERT_EQ(WriteLink("C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Links\\Quellmoor.lnk", "Quellmoor", "",
                      "C:\\Games\\Quellmoor\\bin\\ryk.ico", ""),
            S_OK);
  std::optional<qm::shell::ShellLinkData> link = qm::shell::ReadShellLink("C:\\Links\\Quellmoor.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(std::tie(link->target, link->iconLocation),
            std::make_tuple("C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Games\\Quellmoor\\bin\\ryk.ico"));
  EXPECT_EQ(std::tie(link->description, link->arguments, link->workingDirectory), std::make_tuple("Quellmoor", "", ""));
  EXPECT_EQ(std::tie(link->iconIndex, link->fileSize, link->fileAttributes),
            std::make_tuple(0, 1234u, DWORD{FILE_ATTRIBUTE_ARCHIVE}));
  EXPECT_NE(link->writeTime.dwHighDateTime, 0u);

  chmod(Host("C:\\Games\\Quellmoor\\bin\\start.exe").c_str(), 0444);
  ASSERT_EQ(WriteLink("c:\\games\\quellmoor\\BIN\\START.EXE", "C:\\Links\\Q.lnk", "", "", "", ""), S_OK);
  EXPECT_EQ(qm::shell::ReadShellLink("C:\\Links\\Q.lnk")->fileAttributes,
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(WriteLink("C:\\Games\\Quellmoor\\bin", "C:\\Links\\Bin.lnk", "", "", "", ""), S_OK);
  EXPECT_EQ(qm::shell::ReadShellLink("C:\\Links\\Bin.lnk")->fileAttributes, FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ShellLink, ReplacesAWritableLinkAndRefusesAReadOnlyOne) {
  ASSERT_EQ(WriteLink("C:\\Old.exe", "C:\\Links\\Game.lnk", "Old", "", "", ""), S_OK);
  ASSERT_EQ(WriteLink("C:\\New.exe", "C:\\Links\\Game.lnk", "New", "", "", ""), S_OK);
  EXPECT_EQ(qm::shell::ReadShellLink("C:\\Links\\Game.lnk")->description, "New");

  const std::string host = Host("C:\\Links\\Game.lnk");
  const std::vector<BYTE> before = ReadBytes(host);
  chmod(host.c_str(), 0444);
  EXPECT_EQ(WriteLink("C:\\Other.exe", "C:\\Links\\Game.lnk", "Other", "", "", ""), E_ACCESSDENIED);
  EXPECT_EQ(ReadBytes(host), before);
  for (const auto& entry : fs::directory_iterator(Host("C:\\Links")))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();

  EXPECT_TRUE(FAILED(WriteLink("C:\\A.exe", "C:\\No such folder\\A.lnk", "A", "", "", "")));
  EXPECT_FALSE(fs::exists(Host("C:\\No such folder")));
}

TEST_F(ShellLink, LoadsWhatItSaved) {
  ASSERT_EQ(WriteLink("C:\\Games\\Q u\xC3\xA9\\setup.exe", "C:\\Links\\Setup.lnk", "Setup \xE2\x82\xAC",
                      "--k\xC3\xB6nig \"a b\"", "C:\\Games\\Q u\xC3\xA9\\setup.exe", "C:\\Games\\Q u\xC3\xA9"),
            S_OK);
  CoInitialize(nullptr);
  IPersistFile* file = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFile,
                             reinterpret_cast<void**>(&file)),
            S_OK);
  std::u16string name = qm::kernel::Utf8ToUtf16("C:\\Links\\Setup.lnk");
  ASSERT_EQ(file->Load(name.c_str(), 0), S_OK);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(file->QueryInterface(IID_IShellLinkA, reinterpret_cast<void**>(&link)), S_OK);
  char text[MAX_PATH];
  int index = -1;
  link->GetPath(text, MAX_PATH, nullptr, 0);
  EXPECT_STREQ(text, "C:\\Games\\Q u\xC3\xA9\\setup.exe");
  link->GetDescription(text, MAX_PATH);
  EXPECT_STREQ(text, "Setup \xE2\x82\xAC");
  link->GetArguments(text, MAX_PATH);
  EXPECT_STREQ(text, "--k\xC3\xB6nig \"a b\"");
  link->GetWorkingDirectory(text, MAX_PATH);
  EXPECT_STREQ(text, "C:\\Games\\Q u\xC3\xA9");
  link->GetIconLocation(text, MAX_PATH, &index);
  EXPECT_STREQ(text, "C:\\Games\\Q u\xC3\xA9\\setup.exe");
  EXPECT_EQ(index, 0);
  link->GetDescription(text, 6);
  EXPECT_STREQ(text, "Setup");
  link->Release();
  file->Release();
  CoUninitialize();
}

TEST_F(ShellLink, StandardParserReadsOurLinks) {
  if (!fs::exists("/usr/bin/lnkinfo")) GTEST_SKIP() << "lnkinfo is not installed";
  fs::create_directories(Host("C:\\Games\\Quellmoor\\uninstall"));
  std::ofstream(Host("C:\\Games\\Quellmoor\\uninstall\\uninstall.exe")) << "MZ";
  ASSERT_EQ(WriteLink("C:\\Games\\Quellmoor\\uninstall\\uninstall.exe", "C:\\Links\\Uninstall.lnk", "Uninstall",
                      "/quiet", "C:\\Games\\Quellmoor\\uninstall\\uninstall.exe", "C:\\Games\\Quellmoor\\uninstall"),
            S_OK);
  std::string command = "/usr/bin/lnkinfo '" + Host("C:\\Links\\Uninstall.lnk") + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_EQ(pclose(pipe), 0) << output;
  for (const char* line : {"Local path\t\t\t: C:\\Games\\Quellmoor\\uninstall\\uninstall.exe",
                           "Description\t\t\t: Uninstall", "Working directory\t\t: C:\\Games\\Quellmoor\\uninstall",
                           "Command line arguments\t\t: /quiet",
                           "Icon location\t\t\t: C:\\Games\\Quellmoor\\uninstall\\uninstall.exe",
                           "Drive serial number\t\t: 0x12345678", "File size\t\t\t: 2 bytes"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
}

TEST(Com, CreationFollowsTheRules) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellLinkA, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(IID_IMalloc, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IMalloc, &object), E_NOINTERFACE);

  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  IUnknown* viaLink = nullptr;
  IUnknown* viaFile = nullptr;
  link->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaLink));
  file->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaFile));
  EXPECT_EQ(viaLink, viaFile);  // one object, one identity
  viaLink->Release();
  viaFile->Release();
  EXPECT_EQ(file->Release(), 1u);
  EXPECT_EQ(link->Release(), 0u);

  qm::shell::RegisterInprocClass(CLSID_ShellLink, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
            REGDB_E_CLASSNOTREG);
  qm::shell::RegisterInprocClass(CLSID_ShellLink, qm::shell::CreateShellLinkObject);
  CoUninitialize();
}

TEST(Com, TaskMemoryKnowsItsSize) {
  IMalloc* allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  auto block = static_cast<char*>(allocator->Alloc(10));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "123456789", 10);
  EXPECT_EQ(allocator->GetSize(block), 10u);
  block = static_cast<char*>(CoTaskMemRealloc(block, 5000));
  EXPECT_STREQ(block, "123456789");
  EXPECT_EQ(allocator->GetSize(block), 5000u);
  allocator->Free(block);
  allocator->Release();
}

namespace {

ShellLinkData PlayLink() {
  ShellLinkData link;
  link.target = "C:\\G\\a.exe";
  link.description = "Play";
  link.workingDirectory = "C:\\G";
  link.arguments = "-w";
  link.iconLocation = "C:\\G\\a.exe";
  link.fileAttributes = 0x20;
  link.volume.serialNumber = 0x12345678;
  return link;
}

// The fields a link carries through the format, to compare at once.
auto Fields(const ShellLinkData& link) {
  return std::tie(link.target, link.description, link.relativePath, link.workingDirectory, link.arguments,
                  link.iconLocation, link.iconIndex, link.showCommand, link.hotKey, link.fileSize,
                  link.writeTime.dwLowDateTime, link.volume.driveType, link.volume.serialNumber, link.volume.label);
}

DWORD U32At(const std::vector<BYTE>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<DWORD>(b[at + 3]) << 24);
}

}  // namespace

TEST(LinkFormat, WritesThePublishedExampleByteForByte) {
  const std::vector<BYTE> expected = {
      0x4C, 0x00, 0x00, 0x00, 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,  //
      0x00, 0x00, 0x00, 0x46, 0xF6, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x39, 0x00, 0x00, 0x00,  //
      0x1C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00,  //
      0x00, 0x00, 0x00, 0x00, 0x38, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  //
      0x78, 0x56, 0x34, 0x12, 0x10, 0x00, 0x00, 0x00, 0x00, 0x43, 0x3A, 0x5C, 0x47, 0x5C, 0x61, 0x2E,  //
      0x65, 0x78, 0x65, 0x00, 0x00, 0x04, 0x00, 0x50, 0x00, 0x6C, 0x00, 0x61, 0x00, 0x79, 0x00, 0x04,  //
      0x00, 0x43, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x47, 0x00, 0x02, 0x00, 0x2D, 0x00, 0x77, 0x00, 0x0A,  //
      0x00, 0x43, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x47, 0x00, 0x5C, 0x00, 0x61, 0x00, 0x2E, 0x00, 0x65,  //
      0x00, 0x78, 0x00, 0x65, 0x00, 0x00, 0x00, 0x00, 0x00};
  ASSERT_EQ(expected.size(), 185u);
  EXPECT_EQ(EncodeShellLink(PlayLink()), expected);
}

TEST(LinkFormat, EveryFieldReadsBack) {
  ShellLinkData link = PlayLink();
  link.target = "C:\\Spiele\\Qu\xC3\xA9llmoor\\start.exe";  // needs the Unicode base path
  link.arguments = "--name \"K\xC3\xB6nig\" \xE2\x82\xAC";
  link.iconIndex = -3;
  link.showCommand = 3;
  link.hotKey = 0x0651;
  link.fileSize = 123456;
  link.writeTime = {0x89ABCDEF, 0x01D00000};
  link.volume = {2, 0xCAFEF00D, "GAME"};
  link.relativePath = "..\\start.exe";

  std::string error;
  std::optional<ShellLinkData> back = DecodeShellLink(EncodeShellLink(link), &error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(Fields(*back), Fields(link));
}

TEST(LinkFormat, EmptyStringsAreLeftOut) {
  ShellLinkData link;
  link.target = "C:\\Games\\Quellmoor\\doc\\readme.txt";
  link.description = "Release notes";
  std::vector<BYTE> bytes = EncodeShellLink(link);
  EXPECT_EQ(U32At(bytes, 0x14), 0x86u);  // HasLinkInfo | HasName | IsUnicode
  std::optional<ShellLinkData> back = DecodeShellLink(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->workingDirectory, "");
  EXPECT_EQ(back->arguments, "");
  EXPECT_EQ(back->iconLocation, "");
}

TEST(LinkFormat, DamagedLinksAreRefused) {
  const std::vector<BYTE> good = EncodeShellLink(PlayLink());
  auto with = [&](std::size_t at, BYTE value) {
    std::vector<BYTE> b = good;
    b[at] = value;
    return b;
  };
  const std::pair<const char*, std::vector<BYTE>> rows[] = {
      {"empty", {}},
      {"header size", with(0, 0x4D)},
      {"class", with(4, 0x02)},
      {"no terminal block", std::vector<BYTE>(good.begin(), good.end() - 4)},
      {"cut in the strings", std::vector<BYTE>(good.begin(), good.begin() + 150)},
      {"LinkInfo size beyond the file", with(0x4D, 0x10)},
      {"path offset beyond LinkInfo", with(0x5C, 0x70)},
  };
  for (const auto& [why, bytes] : rows) EXPECT_FALSE(DecodeShellLink(bytes)) << why;
}

TEST(LinkFormat, AStringEndsAtAnEmbeddedZeroSoARewrittenLinkKeepsItsTarget) {
  // A link with no LinkInfo, its target a drive path in the relative path
  // with more text after a zero: read again after a rewrite, the target
  // would come from the LinkInfo, which ends at that zero.
  ShellLinkData hostile;
  hostile.relativePath = std::string("C:\\G\\a.exe\0\\..\\evil.exe", 24);
  hostile.arguments = std::string("-w\0 --format c:", 15);
  hostile.description = std::string("\0hidden", 7);
  std::optional<ShellLinkData> read = DecodeShellLink(EncodeShellLink(hostile));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->target, "C:\\G\\a.exe");
  EXPECT_EQ(read->relativePath, "C:\\G\\a.exe");
  EXPECT_EQ(read->arguments, "-w");
  EXPECT_EQ(read->description, "");

  std::optional<ShellLinkData> rewritten = DecodeShellLink(EncodeShellLink(*read));
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(Fields(*rewritten), Fields(*read));
}

TEST(LinkFormat, ATargetOfAnotherFormBesideItsOwnRelativePathSurvivesARewrite) {
  ShellLinkData link = PlayLink();
  link.target = "\\\\server\\games\\a.exe";
  link.relativePath = "..\\a.exe";
  std::optional<ShellLinkData> read = DecodeShellLink(EncodeShellLink(link));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->target, link.target);
  EXPECT_EQ(read->relativePath, link.relativePath);
  EXPECT_EQ(read->volume.serialNumber, link.volume.serialNumber);

  // Without a relative path of its own, the volume still needs the LinkInfo.
  link.relativePath = "";
  read = DecodeShellLink(EncodeShellLink(link));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->target, link.target);
  EXPECT_EQ(read->volume.serialNumber, link.volume.serialNumber);

  // A LinkInfo with an empty local path: the relative path finds the target.
  link.target = "";
  link.relativePath = "a.exe";
  read = DecodeShellLink(EncodeShellLink(link));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->target, "a.exe");
  std::optional<ShellLinkData> again = DecodeShellLink(EncodeShellLink(*read));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->target, "a.exe");
}
