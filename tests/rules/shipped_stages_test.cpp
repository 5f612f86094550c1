// The 30 shipped stages: well formed, matching their grid source, and cleared by the stored
// fewest-move solutions replayed through the rules.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "game/play/rules.h"
#include "tools/solve/solution_text.h"
#include "tools/solve/solver.h"
#include "tools/stage_design/stage_text.h"

namespace {

const std::string kSource = BRACKLE_SOURCE_DIR;

common::StageSet shipped() {
  common::StageSet set;
  common::loadStageFile(set, kSource + "/assets/stage.stg");
  return set;
}

std::vector<solve::StoredSolution> storedSolutions() {
  return solve::parseSolutions(common::readWholeFile(kSource + "/tests/rules/solutions.txt"));
}

TEST(ShippedStages, MatchTheirGridSource) {
  const common::StageSet fromGrid = stage_design::parseStageGrid(
      common::readWholeFile(kSource + "/tools/stage_design/stages.txt"));
  EXPECT_TRUE(fromGrid == shipped()) << "rebuild assets/stage.stg from stages.txt";
  EXPECT_EQ(common::readWholeFile(kSource + "/assets/stage.stg"),
            common::formatStageText(fromGrid));
}

TEST(ShippedStages, EachHasAPieceAndWorkAndOnlyPictureCodes) {
  const common::StageSet set = shipped();
  std::set<std::string> layouts;
  for (int s = 1; s <= common::kStageCount; ++s) {
    int pieces = 0, unpainted = 0;
    std::string layout;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const uint8_t c = set(x, y, s);
        EXPECT_LE(c, common::kEmpty) << "stage " << s << " cell " << x << "," << y;
        pieces += rules::isPiece(c);
        unpainted += c == common::kUnpainted;
        layout += static_cast<char>('0' + c);
      }
    }
    EXPECT_GE(pieces, 1) << "stage " << s;
    EXPECT_GE(unpainted, 1) << "stage " << s;
    EXPECT_TRUE(layouts.insert(layout).second) << "stage " << s << " repeats an earlier one";
  }
}

TEST(ShippedStages, StoredSolutionsClearEveryStageOnlyAtTheirLastMove) {
  const common::StageSet set = shipped();
  const auto solutions = storedSolutions();
  ASSERT_EQ(solutions.size(), static_cast<size_t>(common::kStageCount));
  for (int s = 1; s <= common::kStageCount; ++s) {
    const solve::StoredSolution& sol = solutions[s - 1];
    ASSERT_EQ(sol.stage, s);
    EXPECT_EQ(solve::replay(set, sol), "") << "stage " << s;
  }
  // The stages grow harder: a handful of moves at first, forty or more at the end.
  EXPECT_LE(solutions.front().moves.size(), 6u);
  EXPECT_GE(solutions.back().moves.size(), 40u);
}

// The stored solutions are fewest-move ones: the solver finds none shorter.
TEST(ShippedStages, StoredSolutionsAreFewestMove) {
  const common::StageSet set = shipped();
  for (const solve::StoredSolution& sol : storedSolutions()) {
    const solve::Result r = solve::solveStage(set, sol.stage);
    ASSERT_EQ(r.verdict, solve::Verdict::kSolvable) << "stage " << sol.stage;
    EXPECT_EQ(r.moves, static_cast<int>(sol.moves.size())) << "stage " << sol.stage;
  }
}

}  // namespace
