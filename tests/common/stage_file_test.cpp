// stage.stg: what each kind of damaged line reads as, where loading fails, and safe saving.
#include "common/stage_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/hostile_files.h"

namespace {

using common::StageSet;
using testing_support::namesIn;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;
using testing_support::zeroDevice;

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

// Only a plain file is read, and only up to the limit: a pipe would wait for a writer for
// ever and a device can give bytes without end. Each is refused before it is read, and the
// cause says what stands there.
TEST(StageFileRead, OnlyAPlainFileIsReadAndOnlyUpToTheLimit) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
  const std::string tooLarge =
      "is larger than " + std::to_string(common::kTextFileLimit) + " bytes";
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
    std::string cause;
  } cases[] = {
      {"pipe", testing_support::makePipe,
       "is a pipe, not a plain file"},
      {"link to a pipe",
       [&](const std::string& p) {
         testing_support::makePipe(dir.file("pipe"));
         ASSERT_EQ(::symlink("pipe", p.c_str()), 0);
       },
       "is a pipe, not a plain file"},
      {"link to the zero device",
       [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
       "is a device, not a plain file"},
      {"link to a folder",
       [](const std::string& p) { ASSERT_EQ(::symlink("folder", p.c_str()), 0); }, "is a folder"},
      {"one byte over the limit",
       [](const std::string& p) {
         writeFile(p, "");
         ASSERT_EQ(::truncate(p.c_str(), common::kTextFileLimit + 1), 0);
       },
       tooLarge},
      {"empty", [](const std::string& p) { writeFile(p, ""); }, "is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(std::string(c.name) + ".stg");
    c.make(path);
    StageSet set;
    try {
      common::loadStageFile(set, path);
      ADD_FAILURE() << "loaded";
    } catch (const common::FileError& e) {
      EXPECT_EQ(e.file(), path);
      EXPECT_EQ(e.cause(), c.cause);
    }
  }

  // A file of exactly the limit is read whole; the limit is the caller's to set.
  const std::string full = dir.file("full.txt");
  writeFile(full, std::string(common::kTextFileLimit, 'x'));
  EXPECT_EQ(common::readWholeFile(full).size(), common::kTextFileLimit);
  try {
    common::readWholeFile(full, 1000);
    ADD_FAILURE() << "read past the limit";
  } catch (const common::FileError& e) {
    EXPECT_EQ(e.cause(), "is larger than 1000 bytes");
  }
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

  // The disk fills up while writing.
  try {
    testing_support::FullDisk full;
    common::saveStageFile(blank, path);
    FAIL() << "a write to a full disk succeeded";
  } catch (const common::FileError& e) {
    EXPECT_EQ(e.file(), path);
    EXPECT_EQ(e.cause(), std::strerror(EFBIG));
  }
  EXPECT_EQ(readFile(path), old);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"stage.stg"})
      << "the temporary was left behind";

  // The folder does not exist.
  EXPECT_THROW(common::saveStageFile(blank, dir.file("gone/stage.stg")), common::FileError);
}

// A save replaces a plain file or makes a new one, and nothing else: renaming over a pipe,
// a device or a folder, at the name or at the end of its links, would put a plain file in
// its place (as root, a link to /dev/null would replace the system's).
TEST(StageFileSave, OnlyAPlainFileIsReplaced) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
  testing_support::makePipe(dir.file("pipe"));
  const std::string device = zeroDevice(dir.path());
  const struct {
    const char* name;
    std::string stands;  // what the save meets, left as it is
    bool linked;         // reached through a link named stage.stg
    std::string cause;
  } cases[] = {
      {"pipe", dir.file("pipe"), false, "is a pipe, not a plain file"},
      {"link to a pipe", dir.file("pipe"), true, "is a pipe, not a plain file"},
      {"link to a device", device, true, "is a device, not a plain file"},
      {"link to a folder", dir.file("folder"), true, "is a folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.stands.empty()) continue;  // root without the right to make a device node
    struct stat before, after;
    ASSERT_EQ(::stat(c.stands.c_str(), &before), 0);
    const std::vector<std::string> names = namesIn(dir.path());
    const std::string path = c.linked ? dir.file("stage.stg") : c.stands;
    if (c.linked) {
      ASSERT_EQ(::symlink(c.stands.c_str(), path.c_str()), 0);
    }
    try {
      common::saveStageFile(StageSet(), path);
      ADD_FAILURE() << "saved";
    } catch (const common::FileError& e) {
      EXPECT_EQ(e.file(), path);
      EXPECT_EQ(e.cause(), c.cause);
    }
    ASSERT_EQ(::stat(c.stands.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    if (c.linked) {
      EXPECT_EQ(::unlink(path.c_str()), 0);
    }
    EXPECT_EQ(namesIn(dir.path()), names);
  }
}

// The temporary is a new file under a name of its own: whatever an older version left
// under the fixed name stage.stg.tmp (a link, a pipe, a folder) is neither followed nor
// touched, and the save goes on.
TEST(StageFileSave, AnOldTemporaryIsLeftAlone) {
  TempDir dir;
  const std::string path = dir.file("stage.stg"), stale = path + ".tmp";
  const std::string victim = dir.file("victim.txt");
  writeFile(victim, "not to be touched");
  const struct {
    const char* name;
    std::function<void()> make;
    mode_t type;
  } cases[] = {
      {"link to a file", [&] { ASSERT_EQ(::symlink("victim.txt", stale.c_str()), 0); }, S_IFLNK},
      {"dangling link", [&] { ASSERT_EQ(::symlink("made.txt", stale.c_str()), 0); }, S_IFLNK},
      {"folder", [&] { ASSERT_EQ(::mkdir(stale.c_str(), 0755), 0); }, S_IFDIR},
      {"pipe", [&] { testing_support::makePipe(stale); }, S_IFIFO},
  };
  StageSet set;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(stale);
    c.make();
    set(1, 1, 1) = static_cast<uint8_t>(set(1, 1, 1) + 1);
    ASSERT_NO_THROW(common::saveStageFile(set, path));
    struct stat st;
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << "stage.stg is no longer a plain file";
    EXPECT_EQ(readFile(path), common::formatStageText(set));
    ASSERT_EQ(::lstat(stale.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, c.type);
    EXPECT_EQ(readFile(victim), "not to be touched");
    EXPECT_FALSE(std::filesystem::exists(dir.file("made.txt")));
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"stage.stg", "stage.stg.tmp", "victim.txt"}));
  }
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
  EXPECT_EQ(namesIn(dir.file("data")), std::vector<std::string>{"real.stg"});
  EXPECT_EQ(namesIn(dir.file("links")), std::vector<std::string>{"hop"});

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
