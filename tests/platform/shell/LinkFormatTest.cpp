#include <gtest/gtest.h>

#include <tuple>

#include "platform/shell/LinkFormat.h"

using qm::shell::DecodeShellLink;
using qm::shell::EncodeShellLink;
using qm::shell::ShellLinkData;

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
