#include <gtest/gtest.h>

#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

using qm::registry::FormatHive;
using qm::registry::Hive;
using qm::registry::ParseHive;
using qm::registry::RegistryValue;

namespace {

std::vector<BYTE> Sz(std::string_view text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

std::vector<BYTE> Dword(DWORD v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}

}  // namespace

TEST(HiveText, ExportLinesEscapeBackslashesAndQuotes) {
  Hive hive("HKEY_CURRENT_USER");
  hive.CreateKey("Software\\ryk").values = {
      {"destinationPath", REG_SZ, Sz("C:\\Games\\Quellmoor")},
      {"Motto", REG_SZ, Sz("say \"hi\"")},
      {"odd\\na\"me", REG_SZ, Sz("")},
      {"Build", REG_DWORD, Dword(0x102)},
      {"", REG_SZ, Sz("Default")},
  };
  EXPECT_EQ(FormatHive(hive),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\ryk]\r\n"
            "\"destinationPath\"=\"C:\\\\Games\\\\Quellmoor\"\r\n"
            "\"Motto\"=\"say \\\"hi\\\"\"\r\n"
            "\"odd\\\\na\\\"me\"=\"\"\r\n"
            "\"Build\"=dword:00000102\r\n"
            "@=\"Default\"\r\n"
            "\r\n");
}

TEST(HiveText, EveryValueSurvivesARoundTrip) {
  std::vector<BYTE> longBinary;
  for (int i = 0; i < 200; ++i) longBinary.push_back(static_cast<BYTE>(i * 7));
  const RegistryValue rows[] = {
      {"plain", REG_SZ, Sz("C:\\Program Files\\\"x\"\\")},
      {"empty", REG_SZ, Sz("")},
      {"unterminated", REG_SZ, {'a', 'b'}},
      {"line break", REG_SZ, Sz("one\r\ntwo")},
      {"embedded zero", REG_SZ, {'a', 0, 'b', 0}},
      {"utf8 \xC3\xA9", REG_SZ, Sz("\xE2\x82\xAC 5")},
      {"max", REG_DWORD, Dword(0xFFFFFFFF)},
      {"short dword", REG_DWORD, {1, 2}},
      {"binary", REG_BINARY, longBinary},
      {"no data", REG_BINARY, {}},
      {"expand", REG_EXPAND_SZ, Sz("%WINDIR%")},
      {"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"name \"with\" quotes\\", REG_SZ, Sz("v")},
      {"new\nline", REG_DWORD, Dword(7)},
  };
  Hive hive("HKEY_LOCAL_MACHINE");
  for (const RegistryValue& row : rows) hive.CreateKey("Software\\Test").values.push_back(row);
  std::string text = FormatHive(hive);
  std::string error;
  std::optional<Hive> parsed = ParseHive(text, "HKEY_LOCAL_MACHINE", &error);
  ASSERT_TRUE(parsed) << error << "\n" << text;
  qm::registry::RegistryKey* key = parsed->FindKey("software\\test");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->values.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(key->values[i].name, rows[i].name);
    EXPECT_EQ(key->values[i].type, rows[i].type);
    EXPECT_EQ(key->values[i].data, rows[i].data);
  }
  EXPECT_EQ(FormatHive(*parsed), text);
}

TEST(HiveText, LongHexDataWrapsLikeAnExport) {
  Hive hive("HKEY_CURRENT_USER");
  hive.CreateKey("K").values.push_back({"Data", REG_BINARY, std::vector<BYTE>(64, 0xAB)});
  std::string text = FormatHive(hive);
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
  EXPECT_NE(text.find(",\\\r\n  ab,"), std::string::npos) << text;
}

TEST(HiveText, ReadsWhatPeopleAndOtherToolsWrite) {
  const char* text =
      "REGEDIT4\n"
      "; written by hand\n"
      "\n"
      "[hkey_current_user\\Software\\Vendor]\n"
      "\"Path\"=\"C:\\Games\"\n"
      "\"Count\" = dword:1e\n"
      "\"Blob\"=hex:01,02,\\ ; first part\n"
      "    03,04\n"
      "\"Gone\"=\"x\"\n"
      "\"gone\"=-\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\vendor\\Sub]\n"
      "@=\"d\"\n"
      "[HKEY_CURRENT_USER\\Software\\Old]\r\n"
      "\"a\"=\"b\"\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r";
  std::string error;
  std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(hive) << error;
  qm::registry::RegistryKey* vendor = hive->FindKey("SOFTWARE\\VENDOR");
  ASSERT_NE(vendor, nullptr);
  EXPECT_EQ(vendor->path, "Software\\Vendor");
  ASSERT_EQ(vendor->values.size(), 3u);
  EXPECT_EQ(vendor->values[0].data, Sz("C:\\Games"));
  EXPECT_EQ(vendor->values[1].data, Dword(0x1e));
  EXPECT_EQ(vendor->values[2].data, (std::vector<BYTE>{1, 2, 3, 4}));
  qm::registry::RegistryKey* sub = hive->FindKey("Software\\Vendor\\Sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->path, "Software\\Vendor\\Sub");
  EXPECT_EQ(hive->FindKey("Software\\Old"), nullptr);
  EXPECT_NE(hive->FindKey("Software"), nullptr);
}

TEST(HiveText, RefusesTextThatCannotBeKeptWhole) {
  const struct {
    const char* why;
    const char* text;
  } rows[] = {
      {"no header", "[HKEY_CURRENT_USER\\A]\r\n"},
      {"binary junk", "\x7F" "ELF\x02\x01"},
      {"empty", ""},
      {"other hive", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n"},
      {"abbreviated root", "REGEDIT4\r\n\r\n[HKCU\\A]\r\n"},
      {"root prefix only", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USERX\\A]\r\n"},
      {"value before key", "REGEDIT4\r\n\"a\"=\"b\"\r\n"},
      {"unterminated key", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n"},
      {"empty component", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n"},
      {"unterminated string", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"b\r\n"},
      {"text after string", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"b\" x\r\n"},
      {"long dword", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=dword:123456789\r\n"},
      {"bad hex", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex:0g\r\n"},
      {"unknown data", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=str:x\r\n"},
      {"stray line", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\nhello\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_FALSE(ParseHive(row.text, "HKEY_CURRENT_USER"));
  }
}

TEST(HiveText, ReadsUtf16Exports) {
  std::string ascii = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"\xC3\xA9\"\r\n";
  std::u16string wide = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"\u00E9\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : wide) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  for (const std::string& text : {ascii, bytes}) {
    std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER");
    ASSERT_TRUE(hive);
    ASSERT_NE(hive->FindKey("A"), nullptr);
    EXPECT_EQ(hive->FindKey("A")->values.at(0).data, Sz("\xC3\xA9"));
  }
}

// The string types' hex data of a version 5.00 export is UTF-16LE; the
// store keeps narrow text, so it is read as such, and the store written
// back (REGEDIT4) reads the same again.
TEST(HiveText, WideStringHexOfAVersion500ExportBecomesNarrowText) {
  struct Row {
    const char* why;
    const char* header;
    const char* data;
    DWORD type;
    std::vector<BYTE> expected;
  };
  const std::vector<Row> rows{
      {"expandable path", "Windows Registry Editor Version 5.00", "hex(2):25,00,41,00,25,00,00,00", REG_EXPAND_SZ,
       Sz("%A%")},
      {"string list", "Windows Registry Editor Version 5.00", "hex(7):61,00,00,00,62,00,00,00,00,00", REG_MULTI_SZ,
       {'a', 0, 'b', 0, 0}},
      {"string as hex, beyond ASCII", "Windows Registry Editor Version 5.00", "hex(1):fc,00,00,00", REG_SZ,
       Sz("\xC3\xBC")},
      {"lone surrogate", "Windows Registry Editor Version 5.00", "hex(1):00,d8,00,00", REG_SZ, Sz("\xEF\xBF\xBD")},
      {"odd count is no UTF-16", "Windows Registry Editor Version 5.00", "hex(2):41,00,00", REG_EXPAND_SZ,
       {'A', 0, 0}},
      {"binary stays bytes", "Windows Registry Editor Version 5.00", "hex:41,00", REG_BINARY, {'A', 0}},
      {"other types stay bytes", "Windows Registry Editor Version 5.00", "hex(b):41,00,00,00,00,00,00,00", 11,
       {'A', 0, 0, 0, 0, 0, 0, 0}},
      {"REGEDIT4 hex is narrow already", "REGEDIT4", "hex(2):25,41,25,00", REG_EXPAND_SZ, Sz("%A%")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::string text = std::string(row.header) + "\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=" + row.data + "\r\n";
    std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER");
    ASSERT_TRUE(hive);
    const RegistryValue& value = hive->FindKey("A")->values.at(0);
    EXPECT_EQ(value.type, row.type);
    EXPECT_EQ(value.data, row.expected);
    std::optional<Hive> again = ParseHive(FormatHive(*hive), "HKEY_CURRENT_USER");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->FindKey("A")->values.at(0).data, row.expected) << "written back and read again";
  }
}

TEST(HiveText, SubkeysFollowTheirParentAndKeepTheirFirstCase) {
  Hive hive("HKEY_CURRENT_USER");
  hive.CreateKey("a b");
  hive.CreateKey("A\\Z");
  bool created = true;
  hive.CreateKey("a\\y", &created);
  EXPECT_TRUE(created);
  hive.CreateKey("A\\Y", &created);
  EXPECT_FALSE(created);
  hive.CreateKey("a-c");
  std::vector<std::string> order;
  for (const auto& [path, key] : hive.Keys()) order.push_back(path);
  EXPECT_EQ(order, (std::vector<std::string>{"A", "A\\y", "A\\Z", "a b", "a-c"}));
}
