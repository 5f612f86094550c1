// Saves survive being killed at any moment: each file is whole, old or new, never torn.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "game/base/clear_record.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/hostile_files.h"

namespace {

using testing_support::readFile;

common::StageSet stagesFilledWith(uint8_t code) {
  common::StageSet s;
  for (int st = 1; st <= 30; ++st)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) s(x, y, st) = static_cast<uint8_t>((code + x + y + st) % 8);
  return s;
}

std::string recordWith(bool first) {
  bool flags[31];
  for (int i = 0; i < 31; ++i) flags[i] = (i % 2 == 0) == first;
  return game::formatClearRecord(flags);
}

TEST(CrashSafeSaves, KilledWritersLeaveOldOrNewFilesNeverTornOnes) {
  testing_support::TempDir dir("brackle kill");
  const std::string stage = dir.file("stage.stg"), record = dir.file("clear.sav");
  const common::StageSet a = stagesFilledWith(0), b = stagesFilledWith(3);
  const std::string stageA = common::formatStageText(a), stageB = common::formatStageText(b);
  const std::string recA = recordWith(true), recB = recordWith(false);
  common::saveStageFile(a, stage);
  common::replaceFileAtomically(record, recA);

  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> delayUs(0, 15000);
  int kills = 0, checked = 0, torn = 0;
  for (int round = 0; round < 300; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // The writer: alternate contents forever, the way the two programs save.
      for (unsigned i = 0;; ++i) {
        common::saveStageFile(i % 2 ? a : b, stage);
        common::replaceFileAtomically(record, i % 2 ? recA : recB);
      }
    }
    usleep(static_cast<useconds_t>(delayUs(rng)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ++kills;

    const std::string s = readFile(stage), r = readFile(record);
    torn += (s != stageA && s != stageB) + (r != recA && r != recB);
    checked += 2;
    // What a later start reads: the stage reader loads it.
    common::StageSet loaded;
    ASSERT_NO_THROW(common::loadStageFile(loaded, stage));
    ASSERT_TRUE(loaded == a || loaded == b);
  }
  EXPECT_EQ(torn, 0) << "torn files after " << kills << " kills";
  std::cout << "kills: " << kills << ", files checked: " << checked << ", torn: " << torn << "\n";

  // What a kill leaves besides the two files are temporaries under names of their own,
  // which a later save neither reuses nor follows: it leaves them as they are.
  const std::regex temporary(R"((stage\.stg|clear\.sav)\.[A-Za-z0-9]{6}\.tmp)");
  const std::vector<std::string> left = testing_support::namesIn(dir.path());
  for (const std::string& name : left) {
    if (name != "stage.stg" && name != "clear.sav") {
      EXPECT_TRUE(std::regex_match(name, temporary)) << name;
    }
  }
  common::saveStageFile(a, stage);
  common::replaceFileAtomically(record, recA);
  EXPECT_EQ(testing_support::namesIn(dir.path()), left);
  EXPECT_EQ(readFile(stage), stageA);
  EXPECT_EQ(readFile(record), recA);
}

}  // namespace
