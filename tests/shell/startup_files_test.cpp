// Start-up and closing with a broken stage.stg or clear.sav beside the game.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"
#include "tests/support/hostile_files.h"

namespace {

using testing_support::GameRig;
using testing_support::readFile;
using testing_support::writeFile;

bool exists(const std::string& path) {
  return std::filesystem::exists(path);
}

// The shipped stage file's 30 lines with the first `count` kept.
std::string shippedStageLines(int count) {
  const std::string all = readFile(std::string(BRACKLE_SOURCE_DIR) + "/assets/stage.stg");
  size_t pos = 0;
  for (int i = 0; i < count; ++i) pos = all.find("\r\n", pos) + 2;
  return all.substr(0, pos);
}

struct BadStageFile {
  const char* name;
  std::function<void(const std::string& path)> make;  // puts the bad file in place
  std::string cause;
  friend void PrintTo(const BadStageFile& c, std::ostream* os) { *os << c.name; }
};

std::function<void(const std::string&)> plainFile(const std::string& content) {
  return [content](const std::string& path) { writeFile(path, content); };
}

class StartupStageFile : public ::testing::TestWithParam<BadStageFile> {};

// A pipe or a device in its place is refused at once: the game used to wait for a writer
// without a window, or read /dev/zero until memory ran out.
TEST_P(StartupStageFile, StopsWithTheFileNamedAndWritesNothing) {
  GameRig r;
  const std::string path = r.dir.file("stage.stg");
  std::filesystem::remove(path);
  GetParam().make(path);
  r.host.onDeliver = [](platform::ScriptedHost& h) { h.close(); };

  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
  EXPECT_EQ(r.host.errorFile, path);
  EXPECT_EQ(r.host.errorCause, GetParam().cause);
  EXPECT_EQ(r.host.deliveries, 0) << "a frame ran after the failed start-up";
  EXPECT_FALSE(exists(r.dir.file("clear.sav")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartupStageFile,
    ::testing::Values(
        BadStageFile{"Missing", [](const std::string&) {}, std::strerror(ENOENT)},
        BadStageFile{"TwentyNineLines", plainFile(shippedStageLines(29)),
                     "the file ends after 29 lines; 30 stage lines are needed"},
        BadStageFile{"Empty", plainFile(""), "is empty"},
        BadStageFile{"Pipe", testing_support::makePipe,
                     "is a pipe, not a plain file"},
        BadStageFile{"LinkToDevZero",
                     [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
                     "is a device, not a plain file"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RecordCase {
  const char* name;
  std::optional<std::string> content;  // none: there is no clear.sav yet
  int trueFrom, trueTo;                // flags expected true afterwards, [from, to)
  bool lastTrue;                       // flag 30, which belongs to no stage
  friend void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }
};

std::string repeat(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line;
  return s;
}

class StartupClearRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(StartupClearRecord, StartUpGoesOnAndClosingWritesThirtyOneLines) {
  const RecordCase& c = GetParam();
  GameRig r;
  const std::string path = r.dir.file("clear.sav");
  if (c.content) writeFile(path, *c.content);
  r.host.onDeliver = [](platform::ScriptedHost& h) { h.close(); };

  ASSERT_EQ(r.run([&] { r.g.Form_Load(); }), 0) << r.host.errorFile << ": " << r.host.errorCause;

  // The stage file still loaded after the record's failure was absorbed.
  common::StageSet shipped;
  ASSERT_TRUE(common::parseStageText(shipped, shippedStageLines(30)));
  EXPECT_EQ(r.g.stageSet, shipped);

  std::string want;
  for (int i = 0; i < 30; ++i) want += i >= c.trueFrom && i < c.trueTo ? "True\r\n" : "False\r\n";
  want += c.lastTrue ? "True\r\n" : "False\r\n";
  EXPECT_EQ(readFile(path), want);

  // The music is stopped after the record is written, as the last thing sent.
  ASSERT_GE(r.host.mciCalls.size(), 2u);
  EXPECT_EQ(r.host.mciCalls.rbegin()[1].command, "stop bgm");
  EXPECT_EQ(r.host.mciCalls.rbegin()[0].command, "close bgm");
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartupClearRecord,
    ::testing::Values(
        RecordCase{"Missing", std::nullopt, 0, 0, false},
        RecordCase{"TenLines", repeat("True\r\n", 10), 0, 10, false},
        RecordCase{"LetterOnThirdLine", "True\r\n-1\r\nx\r\n" + repeat("True\r\n", 28), 0, 2,
                   false},
        RecordCase{"Binary", std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11), 0, 0, false},
        RecordCase{"SpareFlagKept", repeat("False\r\n", 30) + "True\r\n", 0, 0, true},
        RecordCase{"StagesFiveToSeven", repeat("0\r\n", 4) + "1,1\r\n1\r\n" + repeat("0\r\n", 24),
                   4, 7, false},
        // No record is that long: it is not read at all, and the save replaces it.
        RecordCase{"LargerThanTheLimit",
                   repeat("True\r\n", static_cast<int>(common::kTextFileLimit / 6 + 1)), 0, 0,
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// A pipe or a device named clear.sav reads as no record, at once, and the save at close
// refuses to put a plain file in its place: the report names the cause, the thing stays.
TEST(StartupClearRecordNotAFile, StartUpGoesOnAndTheSaveAtCloseIsRefused) {
  for (const bool pipe : {true, false}) {
    SCOPED_TRACE(pipe ? "pipe" : "device");
    GameRig r;
    const std::string path = r.dir.file("clear.sav");
    std::string target = r.dir.file("pipe");
    if (pipe) {
      testing_support::makePipe(target);
    } else {
      target = testing_support::zeroDevice(r.dir.path());
      if (target.empty()) continue;  // root without the right to make a device node
    }
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    r.host.onDeliver = [](platform::ScriptedHost& h) { h.close(); };

    EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
    EXPECT_GT(r.host.deliveries, 0) << "the game stopped before its first frame";
    EXPECT_EQ(r.host.errorFile, path);
    EXPECT_EQ(r.host.errorCause,
              pipe ? "is a pipe, not a plain file" : "is a device, not a plain file");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, pipe ? S_IFIFO : S_IFCHR);
  }
}

TEST(StartupClearRecordFolder, AFolderOfThatNameReadsAsNoRecord) {
  GameRig r;
  ASSERT_EQ(::mkdir(r.dir.file("clear.sav").c_str(), 0755), 0);
  for (bool& flag : r.g.clearFlag) flag = false;
  EXPECT_EQ(r.run([&] { r.g.files.readClearRecord(); }), -1) << r.host.errorCause;
  for (bool flag : r.g.clearFlag) EXPECT_FALSE(flag);
}

TEST(ClosingWithUnwritableRecord, StopsWithTheFileNamedAndKeepsTheOldRecord) {
  GameRig r;
  const std::string path = r.dir.file("clear.sav");
  const std::string old = "True\r\n" + repeat("False\r\n", 30);
  writeFile(path, old);
  r.host.onDeliver = [](platform::ScriptedHost& h) { h.close(); };

  {
    testing_support::FullDisk full;
    EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
  }
  EXPECT_EQ(r.host.errorFile, path);
  EXPECT_EQ(readFile(path), old);
  EXPECT_TRUE(r.g.clearFlag[0]);
  // The run ended at the failed write, before the music was stopped.
  for (const auto& call : r.host.mciCalls) EXPECT_NE(call.command, "stop bgm");
}

}  // namespace
