// The stage grid form and the brackle-solve program as a user runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "tests/support/folders.h"
#include "tests/support/run_program.h"
#include "tools/stage_design/stage_text.h"

namespace {

namespace fs = std::filesystem;

TEST(StageGrid, FormatsAndParsesBackEveryCode) {
  std::mt19937 rng(5);
  common::StageSet set;
  for (int s = 1; s <= common::kStageCount; ++s)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) set(x, y, s) = static_cast<uint8_t>(rng() % 10);
  EXPECT_TRUE(stage_design::parseStageGrid(stage_design::formatStageGrid(set)) == set);
}

TEST(StageGrid, ReadsLettersCommentsAndCrLf) {
  std::string text = "# notes\r\n\r\n";
  for (int s = 30; s >= 1; --s) {  // any order
    text += "# stage comment\r\nstage " + std::to_string(s) + "  a title\r\n";
    text += "W.o#SEJ-89  \r\n";  // trailing blanks are dropped
    for (int y = 1; y < 10; ++y) text += "----------\r\n";
  }
  const common::StageSet set = stage_design::parseStageGrid(text);
  const uint8_t row[10] = {3, 0, 1, 2, 4, 5, 6, 7, 8, 9};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(set(x, 0, 17), row[x]);
  EXPECT_EQ(set(4, 4, 1), common::kEmpty);
}

TEST(StageGrid, RejectsBrokenSources) {
  std::string good;
  for (int s = 1; s <= common::kStageCount; ++s) {
    good += "stage " + std::to_string(s) + "\n";
    for (int y = 0; y < 10; ++y) good += "----------\n";
  }
  ASSERT_NO_THROW(stage_design::parseStageGrid(good));
  auto broken = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  EXPECT_THROW(stage_design::parseStageGrid(broken("stage 7\n----------", "stage 7\n---------")),
               std::runtime_error);
  EXPECT_THROW(stage_design::parseStageGrid(broken("stage 7\n----------", "stage 7\n---x------")),
               std::runtime_error);
  EXPECT_THROW(stage_design::parseStageGrid(broken("stage 7\n", "stage 8\n")), std::runtime_error);
  EXPECT_THROW(stage_design::parseStageGrid(broken("stage 7\n", "stage 31\n")), std::runtime_error);
  EXPECT_THROW(stage_design::parseStageGrid(good.substr(0, good.size() - 11)), std::runtime_error);
  bool present[31] = {};
  const std::string partial = good.substr(0, good.find("stage 2\n"));
  EXPECT_NO_THROW(stage_design::parseStageGrid(partial, present));
  EXPECT_TRUE(present[1]);
  EXPECT_FALSE(present[2]);
}

// brackle-solve run as a program, its output and exit status captured. Its files lie in a
// folder whose name holds a blank, as a user's may.
class SolveProgram : public ::testing::Test {
 protected:
  int run(std::vector<std::string> args, const std::string& program = "brackle-solve") {
    args.insert(args.begin(), std::string(BRACKLE_BIN_DIR) + "/" + program);
    const testing_support::ProgramRun r = testing_support::runProgram(args);
    out_ = r.out;
    err_ = r.err;
    return r.status;
  }

  // A stage set in which every stage is a walker with `cells` unpainted cells in a row.
  std::string writeSet(const std::string& name, int cells) {
    common::StageSet set;
    for (int s = 1; s <= common::kStageCount; ++s) {
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) set(x, y, s) = common::kEmpty;
      set(0, 0, s) = common::kWalker;
      for (int x = 1; x <= cells; ++x) set(x, 0, s) = common::kUnpainted;
    }
    const std::string path = (dir_ / name).string();
    common::saveStageFile(set, path);
    return path;
  }

  // The words of the table line for stage s, empty when there is none.
  std::vector<std::string> row(int s) const {
    std::istringstream lines(out_);
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      std::vector<std::string> w;
      for (std::string word; words >> word;) w.push_back(word);
      if (!w.empty() && w[0] == std::to_string(s)) return w;
    }
    return {};
  }

  testing_support::TempDir temp_{"brackle solve"};
  fs::path dir_ = temp_.path();
  std::string out_, err_;
};

using Words = std::vector<std::string>;

TEST_F(SolveProgram, PrintsOneLinePerStageAndSucceeds) {
  common::StageSet set;
  common::loadStageFile(set, writeSet("base.stg", 3));
  // Stage 29 is an L whose first step along the long arm loses the short one: of its eight
  // states four are dead, and its one choice is that trap.
  set(0, 1, 29) = set(1, 1, 29) = common::kUnpainted;
  set(3, 0, 29) = common::kEmpty;
  const std::string file = (dir_ / "stage.stg").string();
  common::saveStageFile(set, file);
  EXPECT_EQ(run({file}), 0);
  EXPECT_NE(out_.find("stage  pieces"), std::string::npos);
  // stage, pieces by kind, unpainted cells, verdict, fewest moves, reachable states, dead
  // share, choices, traps, least traps, time
  const Words last = row(30), bent = row(29);
  ASSERT_EQ(last.size(), 15u) << out_;
  EXPECT_EQ(Words(last.begin(), last.begin() + 13),
            (Words{"30", "W1", "S0", "E0", "J0", "3", "solvable", "3", "3", "0.0", "0", "0", "0"}));
  EXPECT_EQ(last[14], "s");
  ASSERT_EQ(bent.size(), 15u) << out_;
  EXPECT_EQ(Words(bent.begin() + 5, bent.begin() + 13),
            (Words{"4", "solvable", "4", "8", "50.0", "1", "1", "1"}));
  EXPECT_EQ(err_, "");
}

TEST_F(SolveProgram, ShowsTheMovesOfOneStage) {
  const std::string file = writeSet("stage.stg", 2);
  EXPECT_EQ(run({file, "--stage", "4", "--show"}), 0);
  EXPECT_FALSE(row(4).empty());
  EXPECT_TRUE(row(5).empty());
  EXPECT_NE(out_.find("1. walker at (0, 0) down-right"), std::string::npos) << out_;
  EXPECT_NE(out_.find("2. walker at (1, 0) down-right"), std::string::npos) << out_;
}

TEST_F(SolveProgram, FailsOnUnsolvableStagesAndStagesWithoutPieces) {
  common::StageSet set;
  common::loadStageFile(set, writeSet("base.stg", 2));
  set(1, 0, 9) = common::kEmpty;  // stage 9: the walker is cut off
  for (int x = 0; x < 10; ++x) set(x, 0, 12) = common::kUnpainted;  // stage 12: no piece
  const std::string file = (dir_ / "bad.stg").string();
  common::saveStageFile(set, file);
  EXPECT_EQ(run({file}), 2);
  const Words cutOff = row(9), empty = row(12), fine = row(13);
  ASSERT_GE(cutOff.size(), 8u) << out_;
  EXPECT_EQ(Words(cutOff.begin(), cutOff.begin() + 8),
            (Words{"9", "W1", "S0", "E0", "J0", "1", "unsolvable", "-"}));
  ASSERT_GE(empty.size(), 9u) << out_;
  EXPECT_EQ(Words(empty.begin(), empty.begin() + 9),
            (Words{"12", "W0", "S0", "E0", "J0", "10", "no", "piece", "-"}));
  ASSERT_GE(fine.size(), 7u) << out_;
  EXPECT_EQ(fine[6], "solvable");
}

TEST_F(SolveProgram, ReportsUnknownAtTheStateLimit) {
  common::StageSet set;
  common::loadStageFile(set, writeSet("base.stg", 2));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 10; ++x) set(x, y, 3) = common::kUnpainted;
  set(0, 0, 3) = common::kWalker;
  set(9, 3, 3) = common::kWalker;
  const std::string file = (dir_ / "big.stg").string();
  common::saveStageFile(set, file);
  EXPECT_EQ(run({file, "--stage", "3", "--max-states", "100"}), 3);
  EXPECT_NE(out_.find("unknown"), std::string::npos) << out_;
}

TEST_F(SolveProgram, BadInputGetsTheStageReaderMessage) {
  const std::string missing = (dir_ / "none.stg").string();
  EXPECT_EQ(run({missing}), 1);
  EXPECT_EQ(err_, missing + ": No such file or directory\n");
  EXPECT_EQ(out_, "");

  std::string text = common::readWholeFile(writeSet("full.stg", 2));
  const std::string shortFile = (dir_ / "short.stg").string();
  common::replaceFileAtomically(shortFile, text.substr(0, 29 * 102));
  EXPECT_EQ(run({shortFile}), 1);
  EXPECT_EQ(err_.rfind(shortFile + ": ", 0), 0u) << err_;
  EXPECT_NE(err_.find("29"), std::string::npos) << err_;

  EXPECT_EQ(run({shortFile, "--stage", "31"}), 1);
  EXPECT_NE(err_.find("bad argument"), std::string::npos);
}

TEST_F(SolveProgram, DefaultsToTheStageFileBesideItself) {
  // The build copies the shipped stage file into the runnable folder.
  ASSERT_TRUE(fs::exists(std::string(BRACKLE_BIN_DIR) + "/stage.stg"));
  EXPECT_EQ(run({"--stage", "1"}), 0);
  const Words first = row(1);
  ASSERT_GE(first.size(), 8u) << out_;
  EXPECT_EQ(first[6], "solvable");
  EXPECT_EQ(first[7], "4");
}

// brackle-preview's view check: the shipped stages pass it, a stage cut off fails it.
TEST_F(SolveProgram, PreviewChecksTheStartView) {
  EXPECT_EQ(run({"--check"}, "brackle-preview"), 0) << out_ << err_;
  EXPECT_NE(out_.find("stage 30: in view\n0 of 30 stages not in view\n"), std::string::npos);
  common::StageSet set;
  common::loadStageFile(set, writeSet("base.stg", 4));
  for (int s = 1; s <= common::kStageCount; ++s) {
    set(0, 0, s) = set(1, 0, s) = common::kEmpty;  // the first mover's marker fits above (2,0)
    set(2, 0, s) = common::kWalker;
  }
  set(0, 0, 7) = common::kSlider;
  common::saveStageFile(set, (dir_ / "cut.stg").string());
  EXPECT_EQ(run({"--check", "--file", (dir_ / "cut.stg").string()}, "brackle-preview"), 2);
  EXPECT_NE(out_.find("stage  7: NOT in view\n  slider at 0,0: picture cut at the top edge\n"),
            std::string::npos)
      << out_;
  EXPECT_NE(out_.find("1 of 30 stages not in view"), std::string::npos) << out_;
}

}  // namespace
