// stage.stg: what each kind of damaged line reads as, where loading fails, and safe saving.
#include "common/stage_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"

namespace {

using common::StageSet;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

// Line of stage s in a well-formed file: cell (x, y) holds (x + 3y + s) mod 10, so
// swapped rows and columns or a shifted stage give different digits.
std::string goodLine(int s) {
  std::string line;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) line += static_cast<char>('0' + (x + 3 * y + s) % 10);
  return line;
}

int goodCode(int x, int y, int s) {
  return (x + 3 * y + s) % 10;
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const auto& l : lines) text += l + end;
  return text;
}

std::vector<std::string> goodLines(int count) {
  std::vector<std::string> lines;
  for (int s = 1; s <= count; ++s) lines.push_back(goodLine(s));
  return lines;
}

// How loading `path` failed; a failure of the test when it loaded.
common::FileError loadFailure(StageSet& set, const std::string& path) {
  try {
    common::loadStageFile(set, path);
  } catch (const common::FileError& e) {
    return e;
  }
  ADD_FAILURE() << path << " loaded";
  return {path, ""};
}

void expectGoodStage(const StageSet& set, int s) {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(set(x, y, s), goodCode(x, y, s)) << "cell " << x << "," << y << " of stage " << s;
}

TEST(StageFileRead, CellsFollowRowOrderAndEveryStageItsOwnLine) {
  StageSet set;
  int lines = 0;
  ASSERT_TRUE(common::parseStageText(set, joinLines(goodLines(30)), &lines));
  EXPECT_EQ(lines, 30);
  for (int s = 1; s <= 30; ++s) expectGoodStage(set, s);
}

TEST(StageFileRead, ShortLinesBadCharactersAndLongLinesReadCellByCell) {
  auto lines = goodLines(30);
  lines[0] = std::string(40, '5');  // stage 1: rows 0..3 only
  lines[1][16] = 'a';               // stage 2: position 17 is cell (6, 1)
  lines[1][54] = ' ';               // position 55 is cell (4, 5)
  lines[2] += "987654321";          // stage 3: characters after the 100th are ignored
  lines[3] = "";                    // stage 4: an empty line is a stage of floor
  StageSet set;
  ASSERT_TRUE(common::parseStageText(set, joinLines(lines)));

  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(set(x, y, 1), y < 4 ? 5 : 0) << x << "," << y;
      const bool bad = (x == 6 && y == 1) || (x == 4 && y == 5);
      EXPECT_EQ(set(x, y, 2), bad ? 0 : goodCode(x, y, 2)) << x << "," << y;
      EXPECT_EQ(set(x, y, 4), 0);
    }
  expectGoodStage(set, 3);
  for (int s = 5; s <= 30; ++s) expectGoodStage(set, s);
}

TEST(StageFileRead, LinesAfterTheThirtiethAreIgnored) {
  auto lines = goodLines(30);
  lines.push_back("not a stage");
  lines.push_back(std::string(100, '9'));
  StageSet set;
  int count = 0;
  EXPECT_TRUE(common::parseStageText(set, joinLines(lines), &count));
  EXPECT_EQ(count, 30);
  expectGoodStage(set, 30);
}

TEST(StageFileRead, TwentyNineLinesFailNamingTheFile) {
  TempDir dir;
  const std::string path = dir.file("stage.stg");
  writeFile(path, joinLines(goodLines(29)));
  StageSet set;
  const common::FileError e = loadFailure(set, path);
  EXPECT_EQ(e.file(), path);
  EXPECT_NE(e.cause().find("29"), std::string::npos) << e.cause();
  // What was read before the failure is kept.
  expectGoodStage(set, 29);
}

TEST(StageFileRead, MissingFileOrFolderFailsNamingIt) {
  TempDir dir;
  StageSet set;
  EXPECT_EQ(loadFailure(set, dir.file("stage.stg")).file(), dir.file("stage.stg"));
  ASSERT_EQ(::mkdir(dir.file("stage.stg").c_str(), 0755), 0);
  EXPECT_EQ(loadFailure(set, dir.file("stage.stg")).cause(), "is a folder");
}

TEST(StageFileRead, BareLineFeedsMakeOneLongLine) {
  StageSet set;
  int count = 0;
  EXPECT_FALSE(common::parseStageText(set, joinLines(goodLines(30), "\n"), &count));
  EXPECT_EQ(count, 1);
  expectGoodStage(set, 1);  // its first 100 characters
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(set(x, y, 2), 0);

  // The cause says what is wrong, also when some lines before them end in CR LF.
  TempDir dir;
  for (const std::string& text :
       {joinLines(goodLines(30), "\n"), joinLines(goodLines(3)) + joinLines(goodLines(27), "\n")}) {
    writeFile(dir.file("stage.stg"), text);
    EXPECT_EQ(loadFailure(set, dir.file("stage.stg")).cause(),
              "lines end in LF only; the file needs CR LF");
  }
}

TEST(StageFileRead, LineFeedInsideALineIsAnOrdinaryCharacter) {
  auto lines = goodLines(30);
  lines[0][10] = '\n';  // cell (0, 1) of stage 1
  StageSet set;
  ASSERT_TRUE(common::parseStageText(set, joinLines(lines)));
  EXPECT_EQ(set(0, 1, 1), 0);
  EXPECT_EQ(set(1, 1, 1), goodCode(1, 1, 1));
  expectGoodStage(set, 2);
}

// Stage 0 and the cells at index 10 are outside the file in both directions.
TEST(StageFileBothWays, StageZeroAndIndexTenAreLeftAlone) {
  StageSet marked;
  for (int i = 0; i <= 10; ++i)
    for (int s = 0; s <= 30; ++s) {
      marked(10, i, s) = 7;
      marked(i, 10, s) = 7;
    }
  for (int y = 0; y <= 10; ++y)
    for (int x = 0; x <= 10; ++x) marked(x, y, 0) = 6;

  EXPECT_EQ(common::formatStageText(marked), common::formatStageText(StageSet()));

  StageSet loaded = marked;
  ASSERT_TRUE(common::parseStageText(loaded, joinLines(goodLines(30))));
  for (int s = 1; s <= 30; ++s) expectGoodStage(loaded, s);
  for (int i = 0; i <= 10; ++i)
    for (int s = 1; s <= 30; ++s) {
      EXPECT_EQ(loaded(10, i, s), 7);
      EXPECT_EQ(loaded(i, 10, s), 7);
    }
  for (int y = 0; y <= 9; ++y)
    for (int x = 0; x <= 9; ++x) EXPECT_EQ(loaded(x, y, 0), 6);
}

TEST(StageFileBothWays, RoundTripKeepsEveryCellAndWritesThirtyCrLfLines) {
  StageSet set;
  std::mt19937 gen(7);
  for (int s = 1; s <= 30; ++s)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) set(x, y, s) = static_cast<uint8_t>(gen() % 10);
  set(3, 4, 5) = 12;  // only the last digit is kept

  TempDir dir;
  const std::string path = dir.file("stage.stg");
  common::saveStageFile(set, path);
  const std::string text = readFile(path);
  ASSERT_EQ(text.size(), 3060u);
  for (int s = 1; s <= 30; ++s) {
    const size_t lineStart = static_cast<size_t>(s - 1) * 102;
    EXPECT_EQ(text.substr(lineStart + 100, 2), "\r\n");
    if (s == 5) {
      EXPECT_EQ(text[lineStart + 10 * 4 + 3], '2');
    }
  }

  StageSet back;
  common::loadStageFile(back, path);
  set(3, 4, 5) = 2;
  EXPECT_EQ(back, set);
}

TEST(StageFileSave, FailureLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.file("stage.stg");
  const std::string old = joinLines(goodLines(30));
  writeFile(path, old);
  StageSet blank;

  // The temporary cannot be created: a folder stands in its place.
  ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
  EXPECT_THROW(common::saveStageFile(blank, path), common::FileError);
  EXPECT_EQ(readFile(path), old);
  ASSERT_EQ(::rmdir((path + ".tmp").c_str()), 0);

  // The disk fills up while writing: the temporary leads to a device that is always full.
  ASSERT_EQ(::symlink("/dev/full", (path + ".tmp").c_str()), 0);
  try {
    common::saveStageFile(blank, path);
    FAIL() << "a write to a full disk succeeded";
  } catch (const common::FileError& e) {
    EXPECT_EQ(e.file(), path);
  }
  EXPECT_EQ(readFile(path), old);
  struct stat st;
  EXPECT_NE(::lstat((path + ".tmp").c_str(), &st), 0) << "the temporary was left behind";

  // The folder does not exist.
  EXPECT_THROW(common::saveStageFile(blank, dir.file("gone/stage.stg")), common::FileError);
}

// A save through a symbolic link lands in the file at the end of the chain (relative
// targets count from the link's own folder) and leaves every link as it was.
TEST(StageFileSave, LinksStayAndTheFileAtTheEndOfTheChainIsReplaced) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("links").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(dir.file("data").c_str(), 0755), 0);
  const std::string path = dir.file("stage.stg"), target = dir.file("data/real.stg");
  writeFile(target, joinLines(goodLines(30)));
  ASSERT_EQ(::symlink("links/hop", path.c_str()), 0);
  ASSERT_EQ(::symlink("../data/real.stg", dir.file("links/hop").c_str()), 0);
  StageSet blank;
  common::saveStageFile(blank, path);

  auto linkText = [](const std::string& link) {
    char buf[256] = {};
    return ::readlink(link.c_str(), buf, sizeof buf - 1) < 0 ? std::string() : std::string(buf);
  };
  EXPECT_EQ(linkText(path), "links/hop");
  EXPECT_EQ(linkText(dir.file("links/hop")), "../data/real.stg");
  EXPECT_EQ(readFile(target), common::formatStageText(blank));
  for (const char* left : {"stage.stg.tmp", "links/hop.tmp", "data/real.stg.tmp"})
    EXPECT_FALSE(std::filesystem::exists(dir.file(left))) << left;

  // A link whose target does not exist yet: the save creates the target.
  const std::string record = dir.file("clear.sav"), created = dir.file("data/clear.sav");
  ASSERT_EQ(::symlink(created.c_str(), record.c_str()), 0);
  common::replaceFileAtomically(record, "True\r\n");
  EXPECT_EQ(linkText(record), created);
  EXPECT_EQ(readFile(created), "True\r\n");

  // A chain that never ends fails naming the file it started from.
  ASSERT_EQ(::symlink("loop.stg", dir.file("loop.stg").c_str()), 0);
  try {
    common::saveStageFile(blank, dir.file("loop.stg"));
    FAIL() << "a save through a link loop succeeded";
  } catch (const common::FileError& e) {
    EXPECT_EQ(e.file(), dir.file("loop.stg"));
  }
}

TEST(StageFileSave, TheFileKeepsItsMode) {
  TempDir dir;
  const std::string path = dir.file("stage.stg");
  writeFile(path, joinLines(goodLines(30)));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  common::saveStageFile(StageSet(), path);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(readFile(path), common::formatStageText(StageSet()));
}

}  // namespace
