#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/kernel/Prefix.h"
#include "platform/registry/Registry.h"
#include "support/HostFiles.h"

using qm::test::ReadHostFile;

namespace {

std::string StorePath(const char* file) { return qm::kernel::PrefixRoot() + "/" + file; }

LONG SetString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
}

std::string QueryString(HKEY key, const char* name) {
  char buffer[300] = {};
  DWORD type = 0, size = sizeof buffer;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return "<missing>";
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, std::strlen(buffer) + 1);
  return buffer;
}

// Opens HKCU\Software for writing and creates a subkey below it, the way the
// installer records itself.
HKEY CreateUnderSoftware(const char* name, DWORD* disposition = nullptr) {
  HKEY software = nullptr, key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &software), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExA(software, name, 0, const_cast<LPSTR>(""), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, disposition),
            ERROR_SUCCESS);
  RegCloseKey(software);
  return key;
}

}  // namespace

TEST(Registry, StringValuesRoundTripThroughTheExportFile) {
  DWORD disposition = 0;
  HKEY key = CreateUnderSoftware("ryk", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const struct {
    const char* name;
    std::string value;
  } rows[] = {
      {"destinationPath", "C:\\Games\\Quellmoor"},
      {"sourcePath", "E:"},
      {"installationType", "full"},
      {"quoted \"name\"", "say \"hi\" \\ bye\\"},
  };
  for (const auto& row : rows) ASSERT_EQ(SetString(key, row.name, row.value), ERROR_SUCCESS);
  for (const auto& row : rows) EXPECT_EQ(QueryString(key, row.name), row.value) << row.name;
  RegCloseKey(key);

  const std::string text = ReadHostFile(StorePath("user.reg"));
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n\r\n[HKEY_CURRENT_USER\\Software\\ryk]\r\n"
                      "\"destinationPath\"=\"C:\\\\Games\\\\Quellmoor\"\r\n"
                      "\"sourcePath\"=\"E:\"\r\n"
                      "\"installationType\"=\"full\"\r\n"
                      "\"quoted \\\"name\\\"\"=\"say \\\"hi\\\" \\\\ bye\\\\\"\r\n"),
            std::string::npos)
      << text;
}

TEST(Registry, RewritingAKeyKeepsItsOtherValues) {
  HKEY key = CreateUnderSoftware("Keep");
  ASSERT_EQ(SetString(key, "other", "stays"), ERROR_SUCCESS);
  RegCloseKey(key);
  DWORD disposition = 0;
  key = CreateUnderSoftware("keep", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  ASSERT_EQ(SetString(key, "destinationPath", "C:\\A"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "DESTINATIONPATH", "C:\\B"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "other"), "stays");
  EXPECT_EQ(QueryString(key, "destinationpath"), "C:\\B");
  RegCloseKey(key);
  const std::string text = ReadHostFile(StorePath("user.reg"));
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Keep]\r\n\"other\"=\"stays\"\r\n\"destinationPath\"=\"C:\\\\B\"\r\n"),
            std::string::npos)
      << text;
}

TEST(Registry, QueryReportsSizesAndMoreData) {
  HKEY key = CreateUnderSoftware("Sizes");
  ASSERT_EQ(SetString(key, "path", "C:\\Games"), ERROR_SUCCESS);
  const DWORD dword = 0x1E;
  ASSERT_EQ(RegSetValueExA(key, "count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), 4), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "path", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  char small[4] = {'x', 'x', 'x', 'x'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "path", nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 9u);
  char exact[9];
  EXPECT_EQ(RegQueryValueExA(key, "path", nullptr, &type, reinterpret_cast<BYTE*>(exact), &size), ERROR_SUCCESS);
  EXPECT_STREQ(exact, "C:\\Games");

  DWORD read = 0;
  size = sizeof read;
  EXPECT_EQ(RegQueryValueExA(key, "count", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(read, 0x1Eu);
  EXPECT_NE(ReadHostFile(StorePath("user.reg")).find("\"count\"=dword:0000001e\r\n"), std::string::npos);

  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(key, "path", nullptr, &type, reinterpret_cast<BYTE*>(exact), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteValueA(key, "PATH"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key, "path"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryString(key, "path"), "<missing>");
  RegCloseKey(key);
}

TEST(Registry, HandlesHonourTheirAccessAndPaths) {
  HKEY key = CreateUnderSoftware("Access");
  RegCloseKey(key);
  HKEY readOnly = nullptr, writeOnly = nullptr, other = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\ACCESS", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
  EXPECT_EQ(SetString(readOnly, "v", "x"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKeyExA(readOnly, "Child", 0, nullptr, 0, KEY_READ, nullptr, &other, nullptr), ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Access", 0, KEY_WRITE, &writeOnly), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(writeOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);

  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Nowhere", 0, KEY_READ, &other), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &other), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\\\Access", 0, KEY_READ, &other), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetString(readOnly, "v", "x"), ERROR_INVALID_HANDLE);
  RegCloseKey(writeOnly);
}

TEST(Registry, ACorruptStoreFailsToOpenAndIsLeftAsItWas) {
  const std::string path = StorePath("user.reg");
  const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\ryk]\r\n\"destinationPath\"=\"C:\\\\Ga";
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << corrupt; }
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &key), ERROR_BADDB);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_BADDB);
  EXPECT_EQ(SetString(HKEY_CURRENT_USER, "top", "x"), ERROR_BADDB);
  EXPECT_EQ(ReadHostFile(path), corrupt);

  // The other hive is a file of its own and goes on working.
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  std::filesystem::remove(path);
}

std::string ValueName(int child, int i) { return "process" + std::to_string(child) + "-" + std::to_string(i); }

TEST(Registry, TwoProcessesWritingAtOnceLoseNeither) {
  HKEY key = CreateUnderSoftware("Race");
  RegCloseKey(key);
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      close(start[1]);
      char go;
      if (read(start[0], &go, 1) != 0) _exit(3);
      HKEY mine;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Race", 0, KEY_WRITE, &mine) != ERROR_SUCCESS) _exit(1);
      for (int i = 0; i < 25; ++i)
        if (SetString(mine, ValueName(child, i).c_str(), ValueName(child, i)) != ERROR_SUCCESS) _exit(2);
      _exit(0);
    }
  }
  close(start[0]);
  close(start[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Race", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (int child = 0; child < 2; ++child)
    for (int i = 0; i < 25; ++i) EXPECT_EQ(QueryString(key, ValueName(child, i).c_str()), ValueName(child, i));
  RegCloseKey(key);
}

TEST(Registry, ANewMachineHiveRecordsDirectX9) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\DirectX", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "Version"), "4.09.00.0904");
  RegCloseKey(key);
  EXPECT_NE(ReadHostFile(StorePath("system.reg")).find("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\DirectX]\r\n"
                                                    "\"Version\"=\"4.09.00.0904\"\r\n"),
            std::string::npos);
}
