// The 30 shipped stages: well formed, matching their grid source, cleared by the stored
// fewest-move solutions replayed through the rules, and deeper as they go, by the solver's
// own figures.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "game/rules/rules.h"
#include "game/solve/solver.h"
#include "tests/rules/field_text.h"
#include "tools/solve/solution_text.h"
#include "tools/stage_design/layout_shape.h"
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
  for (int s = 1; s <= common::kStageCount; ++s) {
    int pieces = 0, unpainted = 0;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const uint8_t c = set(x, y, s);
        EXPECT_LE(c, common::kEmpty) << "stage " << s << " cell " << x << "," << y;
        pieces += rules::isPiece(c);
        unpainted += c == common::kUnpainted;
      }
    }
    EXPECT_GE(pieces, 1) << "stage " << s;
    EXPECT_GE(unpainted, 1) << "stage " << s;
  }
}

TEST(ShippedStages, NoTwoShareAFloorShape) {
  const common::StageSet set = shipped();
  std::set<std::string> shapes;
  for (int s = 1; s <= common::kStageCount; ++s)
    EXPECT_TRUE(shapes.insert(stage_design::floorShape(set, s)).second)
        << "stage " << s << " has the floor of an earlier one";
  // Shifted, turned and mirrored copies count as the same shape.
  common::StageSet copies;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) copies(x, y, 1) = copies(x, y, 2) = common::kEmpty;
  copies(0, 0, 1) = common::kWalker, copies(1, 0, 1) = copies(2, 0, 1) = common::kUnpainted;
  copies(3, 4, 2) = copies(3, 6, 2) = common::kPainted, copies(3, 5, 2) = common::kSlider;
  EXPECT_EQ(stage_design::floorShape(copies, 1), stage_design::floorShape(copies, 2));
  copies(3, 5, 2) = common::kBlock;
  EXPECT_NE(stage_design::floorShape(copies, 1), stage_design::floorShape(copies, 2));
}

// One kind at a time, then combinations: the first stage that holds a kind holds no other
// (the eraser, which only unpaints, comes with walkers), and every kind is in six stages.
TEST(ShippedStages, TeachOneKindAtATime) {
  const common::StageSet set = shipped();
  const uint8_t kinds[] = {common::kWalker, common::kSlider, common::kEraser, common::kJumper};
  std::set<uint8_t> taught;
  int stagesWith[8] = {};
  for (int s = 1; s <= common::kStageCount; ++s) {
    std::set<uint8_t> here;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (rules::isPiece(set(x, y, s))) here.insert(set(x, y, s));
    for (const uint8_t k : here) {
      ++stagesWith[k];
      if (taught.count(k)) continue;
      std::set<uint8_t> others = here;
      others.erase(k);
      if (k == common::kEraser) others.erase(common::kWalker);
      EXPECT_TRUE(others.empty()) << "stage " << s << " brings in kind " << int{k}
                                  << " together with another";
    }
    taught.insert(here.begin(), here.end());
  }
  for (const uint8_t k : kinds) EXPECT_GE(stagesWith[k], 6) << "kind " << int{k};
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

// Deeper as they go, by the solver's figures: fewest moves from about four to 45 and more,
// never falling by more than a few; the first three teach, and no step of their solutions
// can lose them; from stage 4 on every fewest-move solution passes positions where a legal
// move loses the stage.
TEST(ShippedStages, GrowDeeperByTheSolversFigures) {
  const common::StageSet set = shipped();
  int previous = 0;
  for (int s = 1; s <= common::kStageCount; ++s) {
    const solve::StageReport r = solve::examineStage(set, s);
    ASSERT_TRUE(r.depth.complete) << "stage " << s;
    const int moves = r.depth.fewestMoves;
    EXPECT_EQ(moves, r.fewest.moves) << "stage " << s;
    if (s == 1) {
      EXPECT_LE(moves, 5);
    }
    if (s == common::kStageCount) {
      EXPECT_GE(moves, 45);
    }
    EXPECT_GE(moves, previous - 3) << "stage " << s;
    previous = moves;
    const int floor = s >= 24 ? 12 : s >= 16 ? 8 : s >= 8 ? 4 : s >= 4 ? 2 : 0;
    EXPECT_GE(r.depth.leastTraps, floor) << "stage " << s;
    EXPECT_GE(r.depth.traps, r.depth.leastTraps) << "stage " << s;
    if (s <= 3) {
      EXPECT_EQ(r.depth.traps, 0) << "stage " << s << " teaches";
    }
  }
}

}  // namespace
