// Stores of a size or shape no person writes: each is read in one pass over
// its text or refused whole. Each test would take minutes (and some gigabytes)
// with a parse that scans a key for each value or resolves a path level by
// level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

using qm::registry::FormatHive;
using qm::registry::Hive;
using qm::registry::kMaxKeyDepth;
using qm::registry::ParseHive;
using qm::registry::RegistryKey;

namespace {

const std::string kHeader = "REGEDIT4\r\n\r\n";

std::string Nested(std::size_t depth, const std::string& part = "k") {
  std::string path = part;
  for (std::size_t i = 1; i < depth; ++i) path += "\\" + part;
  return path;
}

std::string KeyLine(const std::string& path) { return "[HKEY_CURRENT_USER\\" + path + "]\r\n"; }

std::vector<BYTE> Sz(const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

}  // namespace

TEST(HiveLimits, HundredThousandValuesInOneKeyAreFoundByNameNotByScan) {
  constexpr int kValues = 100000;
  std::string text = kHeader + KeyLine("Software\\Many");
  for (int i = 0; i < kValues; ++i) text += "\"v" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
  // A second section of the same key rewrites every tenth value in place,
  // removes every hundredth, and brings one removed value back at the end.
  text += KeyLine("Software\\Other") + KeyLine("software\\many");
  for (int i = 0; i < kValues; i += 10) text += "\"V" + std::to_string(i) + "\"=dword:00000001\r\n";
  for (int i = 0; i < kValues; i += 100) text += "\"v" + std::to_string(i) + "\"=-\r\n";
  text += "\"v0\"=\"back\"\r\n";

  std::string error;
  std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(hive) << error;
  RegistryKey* key = hive->FindKey("Software\\Many");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->values.size(), static_cast<std::size_t>(kValues - kValues / 100 + 1));
  EXPECT_EQ(key->values[0].name, "v1");
  EXPECT_EQ(key->values[0].data, Sz("1"));
  EXPECT_EQ(key->values[9].name, "v10");
  EXPECT_EQ(key->values[9].type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(key->values.back().name, "v0");
  EXPECT_EQ(key->values.back().data, Sz("back"));
  EXPECT_EQ(key->FindValue("v100"), nullptr);
  ASSERT_NE(key->FindValue("v99999"), nullptr);
  EXPECT_EQ(key->FindValue("v99999")->data, Sz("99999"));

  std::optional<Hive> again = ParseHive(FormatHive(*hive), "HKEY_CURRENT_USER");
  ASSERT_TRUE(again);
  EXPECT_EQ(FormatHive(*again), FormatHive(*hive));
}

TEST(HiveLimits, NestedKeyLinesResolveEachPathOnce) {
  // Twenty thousand key lines, each one level below the line before, in
  // chains as deep as a store may go, laid out as an export lays them out.
  std::string text = "REGEDIT4\r\n";
  std::size_t lines = 0;
  for (int chain = 0; lines < 20000; ++chain) {
    std::string path = (chain < 10 ? "c0" : "c") + std::to_string(chain);
    text += "\r\n" + KeyLine(path);
    for (std::size_t depth = 2; depth <= kMaxKeyDepth && lines < 20000; ++depth, ++lines) {
      path += "\\k";
      text += "\r\n" + KeyLine(path);
    }
  }
  text += "\r\n";
  std::string error;
  std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(hive) << error;
  EXPECT_NE(hive->FindKey("C00\\" + Nested(kMaxKeyDepth - 1)), nullptr);
  EXPECT_EQ(hive->Keys().size(), lines + 40);
  EXPECT_TRUE(FormatHive(*hive) == text) << "the export differs from the text read";
}

TEST(HiveLimits, AKeyDeeperThanTheTreeMayGoIsRefused) {
  std::string error;
  EXPECT_TRUE(ParseHive(kHeader + KeyLine(Nested(kMaxKeyDepth)), "HKEY_CURRENT_USER", &error)) << error;
  const struct {
    const char* why;
    std::string text;
  } rows[] = {
      {"one level too deep", kHeader + KeyLine(Nested(kMaxKeyDepth + 1))},
      {"twenty thousand levels on one line", kHeader + KeyLine(Nested(20000))},
      {"too deep for a deletion", kHeader + "[-HKEY_CURRENT_USER\\" + Nested(kMaxKeyDepth + 1) + "]\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_FALSE(ParseHive(row.text, "HKEY_CURRENT_USER", &error));
    EXPECT_EQ(error, "line 3: bad key path");
  }
}

TEST(HiveLimits, RegistryCallsCannotCreateAKeyTheStoreCouldNotReadBack) {
  HKEY deep = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Nested(kMaxKeyDepth - 1).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &deep, nullptr),
            ERROR_SUCCESS);
  HKEY deepest = nullptr, tooDeep = nullptr;
  EXPECT_EQ(RegCreateKeyExA(deep, "last", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deepest, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExA(deepest, "beyond", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &tooDeep, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExA(deepest, "beyond", 0, KEY_READ, &tooDeep), ERROR_BAD_PATHNAME);
  RegCloseKey(deepest);
  RegCloseKey(deep);
  HKEY software = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
  RegCloseKey(software);
}

TEST(HiveLimits, AZeroByteInAKeyNameIsNoLevelSeparator) {
  const std::string text = kHeader + KeyLine(std::string("a\0b", 3)) + "@=\"one\"\r\n" + KeyLine("a\\b") +
                           "@=\"two\"\r\n";
  std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER");
  ASSERT_TRUE(hive);
  RegistryKey* flat = hive->FindKey(std::string("a\0b", 3));
  RegistryKey* nested = hive->FindKey("a\\b");
  ASSERT_NE(flat, nullptr);
  ASSERT_NE(nested, nullptr);
  EXPECT_NE(flat, nested);
  EXPECT_EQ(flat->values.at(0).data, Sz("one"));
  EXPECT_EQ(nested->values.at(0).data, Sz("two"));
}

TEST(HiveLimits, DeletingASubtreeRemovesExactlyThatSubtree) {
  Hive hive("HKEY_CURRENT_USER");
  for (const char* path : {"a", "a\\b", "A\\B\\c", "a b", "ab", "a-", "b\\a", "0"}) hive.CreateKey(path);
  hive.DeleteTree("A");
  std::vector<std::string> left;
  for (const auto& [path, key] : hive.Keys()) left.push_back(path);
  EXPECT_EQ(left, (std::vector<std::string>{"0", "a b", "a-", "ab", "b", "b\\a"}));
}

TEST(HiveLimits, AKeyNamedDotDotIsAnOrdinaryName) {
  const std::string text = kHeader + KeyLine("Software") + "\r\n" + KeyLine("Software\\..") + "\r\n" +
                           KeyLine("Software\\..\\ryk") + "\"destinationPath\"=\"C:\\\\Games\"\r\n\r\n";
  std::optional<Hive> hive = ParseHive(text, "HKEY_CURRENT_USER");
  ASSERT_TRUE(hive);
  EXPECT_EQ(hive->FindKey("ryk"), nullptr);
  EXPECT_EQ(hive->FindKey("Software\\ryk"), nullptr);
  ASSERT_NE(hive->FindKey("Software\\..\\ryk"), nullptr);
  EXPECT_EQ(FormatHive(*hive), text);
}

TEST(HiveLimits, ARootKeyWithoutValuesIsStillThereAfterARewrite) {
  std::optional<Hive> hive = ParseHive(kHeader + "[HKEY_CURRENT_USER\\]\r\n", "HKEY_CURRENT_USER");
  ASSERT_TRUE(hive);
  ASSERT_NE(hive->FindKey(""), nullptr);
  std::optional<Hive> again = ParseHive(FormatHive(*hive), "HKEY_CURRENT_USER");
  ASSERT_TRUE(again);
  EXPECT_NE(again->FindKey(""), nullptr);
}

TEST(HiveLimits, AKeyWithoutItsAncestorsGetsThemBelowTheDeepestOneThatExists) {
  // Creations and deletions in an order no export has, against the plain
  // rule: a key exists with every ancestor, each in the case first written.
  const char* parts[] = {"a", "A", "b", "a b", "ab", "a-", "B"};
  Hive hive("HKEY_CURRENT_USER");
  std::map<std::string, std::string> model;  // folded path -> path as first written
  auto folded = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  unsigned seed = 12345;
  auto random = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int step = 0; step < 3000; ++step) {
    std::string path = parts[random(7)];
    for (unsigned depth = random(5); depth > 0; --depth) path += std::string("\\") + parts[random(7)];
    SCOPED_TRACE(path);
    if (random(6) == 0) {
      hive.DeleteTree(path);
      const std::string f = folded(path);
      for (auto it = model.begin(); it != model.end();)
        it = it->first == f || it->first.rfind(f + "\\", 0) == 0 ? model.erase(it) : std::next(it);
    } else {
      const std::string& made = hive.CreateKey(path).path;
      std::string expected;
      for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = path.find('\\', start);
        const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
        const std::string made = expected.empty() ? part : expected + "\\" + part;
        expected = model.emplace(folded(path.substr(0, end)), made).first->second;
      }
      ASSERT_EQ(made, expected);
    }
    ASSERT_EQ(hive.Keys().size(), model.size());
  }
  std::vector<std::string> keys, expected;
  for (const auto& [path, key] : hive.Keys()) keys.push_back(path);
  for (const auto& [f, path] : model) expected.push_back(path);
  std::sort(keys.begin(), keys.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(keys, expected);
}

TEST(HiveLimits, DeepKeysThatLeaveOutTheirAncestorsAreRefusedBeforeTheyOutgrowTheText) {
  // Each key line below brings 255 ancestors of its own along, every one
  // with a path of about a kilobyte: a few hundred lines would imply more
  // keys than a gigabyte holds.
  std::string common = Nested(kMaxKeyDepth / 2, "level");
  std::string text = kHeader + KeyLine(common);
  for (int k = 0; k < 300; ++k)
    text += KeyLine(common + "\\branch" + std::to_string(k) + "\\" + Nested(kMaxKeyDepth / 2 - 1, "level")) +
            "@=dword:00000001\r\n";
  std::string error;
  EXPECT_FALSE(ParseHive(text, "HKEY_CURRENT_USER", &error));
  EXPECT_NE(error.find("too many keys without a line of their own"), std::string::npos) << error;

  // A hand-written store that leaves a few ancestors out is read.
  std::optional<Hive> hive = ParseHive(
      kHeader + KeyLine("Software\\Maker\\Game\\Setup") + "\"path\"=\"C:\\\\Game\"\r\n", "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(hive) << error;
  EXPECT_NE(hive->FindKey("software\\maker"), nullptr);
}
