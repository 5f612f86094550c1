// The rules of play: numbering, turn order, each piece's moves, refusals and the clear check.
#include "game/rules/rules.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/rules/field_text.h"

namespace {

using rules::PlayState;
using rules_test::click;
using rules_test::numbered;
using rules_test::samePlay;
using rules_test::unpaintedCount;

TEST(RulesTurns, ScanRunsAlongXWithinEachRow) {
  PlayState ps = numbered({"----W.", "W....."});
  EXPECT_EQ(ps.turnRank[4][0], 2);
  EXPECT_EQ(ps.turnRank[0][1], 3);
  ps.turnPass();
  EXPECT_EQ(ps.activeX, 4);
  EXPECT_EQ(ps.activeY, 0);
  ASSERT_TRUE(click(ps, 1, 0));
  ps.turnPass();
  EXPECT_EQ(ps.activeX, 0);
  EXPECT_EQ(ps.activeY, 1);
}

TEST(RulesTurns, ThreePiecesRankAfterSetUpAndAfterOneMove) {
  PlayState ps = numbered({"W.W.W."});
  EXPECT_EQ(ps.turnCycle, 4);
  ps.turnPass();
  EXPECT_EQ(ps.turnRank[0][0], 4);
  EXPECT_EQ(ps.turnRank[2][0], 2);
  EXPECT_EQ(ps.turnRank[4][0], 3);
  EXPECT_EQ(ps.activeX, 0);
  ASSERT_TRUE(click(ps, 1, 0));
  EXPECT_EQ(ps.turnRank[1][0], 4) << "a piece keeps its rank while it moves";
  EXPECT_EQ(ps.turnRank[0][0], 0);
  ps.turnPass();
  EXPECT_EQ(ps.activeX, 2);
  EXPECT_EQ(ps.turnRank[2][0], 4);
  EXPECT_EQ(ps.turnRank[1][0], 3);
  EXPECT_EQ(ps.turnRank[4][0], 2);
}

TEST(RulesTurns, TurnsFollowStartingOrderWhereverPiecesWalk) {
  // The second piece walks up past the first one's row; the first still moves next.
  PlayState ps = numbered({"..W...", "W....."});
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));  // (2,0) -> (3,0)
  ps.turnPass();
  ASSERT_EQ(ps.activeY, 1);
  ASSERT_TRUE(click(ps, 0, -1));  // (0,1) -> (0,0): now first in scan order
  ps.turnPass();
  EXPECT_EQ(ps.activeX, 3);
  EXPECT_EQ(ps.activeY, 0);
}

TEST(RulesTurns, LoadStageCopiesTheStageAndZeroesEveryRank) {
  common::StageSet set;
  set(3, 4, 7) = common::kSlider;
  set(9, 9, 7) = common::kBlock;
  set(5, 5, 6) = common::kWalker;
  PlayState ps = numbered({"W.W"});
  ps.loadStage(set, 7);
  EXPECT_EQ(ps.playField[3][4], common::kSlider);
  EXPECT_EQ(ps.playField[9][9], common::kBlock);
  EXPECT_EQ(ps.playField[5][5], common::kUnpainted);
  EXPECT_EQ(ps.playField[0][0], common::kUnpainted);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(ps.turnRank[x][y], 0);
}

// Every refused click leaves the whole play state alone and the turn where it was.
TEST(RulesRefusals, RefusedMovesChangeNothing) {
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    int dx, dy;
  };
  const std::vector<Case> cases = {
      {"walker onto painted floor", {"Wo."}, 1, 0},
      {"walker onto a block", {"W#."}, 1, 0},
      {"walker onto empty space", {"W-."}, 1, 0},
      {"walker onto another piece", {"WS."}, 1, 0},
      {"walker off the field", {"W."}, -1, 0},
      {"walker off the top", {"W."}, 0, -1},
      {"no aim yet", {"W."}, 0, 0},
      {"eraser onto unpainted floor", {"E.o"}, 1, 0},
      {"eraser onto a block", {"E#o"}, 1, 0},
      {"eraser onto another piece", {"EWo"}, 1, 0},
      {"eraser with no aim", {"Eo"}, 0, 0},
      {"slider onto painted floor before unpainted", {"So.."}, 1, 0},
      {"slider onto a block", {"S#.."}, 1, 0},
      {"jumper onto painted floor", {"J.o"}, 1, 0},
      {"jumper onto a piece", {"J.W."}, 1, 0},
      {"jumper one cell from the edge", {"-------J."}, 1, 0},
      {"jumper onto empty space two cells ahead", {"J.", ".."}, 0, 1},
      {"piece 8 onto painted floor", {"8o."}, 1, 0},
      {"piece 9 onto a block", {"9#."}, 1, 0},
  };
  for (const Case& c : cases) {
    PlayState ps = numbered(c.rows);
    ps.turnPass();
    const PlayState before = ps;
    ps.aimDX = static_cast<int16_t>(c.dx);
    ps.aimDY = static_cast<int16_t>(c.dy);
    EXPECT_FALSE(ps.moveAttempt()) << c.what;
    ps.aimDX = before.aimDX;
    ps.aimDY = before.aimDY;
    EXPECT_TRUE(samePlay(ps, before)) << c.what;
  }
}

TEST(RulesRefusals, JumperAtXEightTowardPlusXStaysEvenBesideUnpaintedFloor) {
  PlayState ps = numbered({"--------J.", "--------.."});
  ps.turnPass();
  EXPECT_FALSE(click(ps, 1, 0));
  EXPECT_EQ(ps.playField[8][0], common::kJumper);
  EXPECT_EQ(ps.playField[9][0], common::kUnpainted);
  // The same jumper one column further left reaches x = 9.
  PlayState left = numbered({"-------J.."});
  left.turnPass();
  EXPECT_TRUE(click(left, 1, 0));
  EXPECT_EQ(left.playField[9][0], common::kJumper);
}

TEST(RulesMoves, WalkerPaintsTheCellItLeaves) {
  PlayState ps = numbered({"W.."});
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));
  EXPECT_EQ(ps.playField[0][0], common::kPainted);
  EXPECT_EQ(ps.playField[1][0], common::kWalker);
  EXPECT_EQ(ps.playField[2][0], common::kUnpainted);
}

TEST(RulesMoves, MoveAttemptTakesThePieceOffBeforeArrival) {
  PlayState ps = numbered({"E", "o"});
  ps.turnPass();
  ps.aimDX = 0;
  ps.aimDY = 1;
  ASSERT_TRUE(ps.moveAttempt());
  EXPECT_EQ(ps.movingCode, common::kEraser);
  EXPECT_EQ(ps.movingRank, 2);
  EXPECT_EQ(ps.playField[0][0], common::kUnpainted);
  EXPECT_EQ(ps.turnRank[0][0], 0);
  EXPECT_EQ(ps.playField[0][1], common::kPainted);
  EXPECT_EQ(ps.moveDistance(), 1);
  ps.arrive(1);
  EXPECT_EQ(ps.playField[0][1], common::kEraser);
  EXPECT_EQ(ps.turnRank[0][1], 2);
}

TEST(RulesMoves, EraserUnpaintsAndGrowsTheUnpaintedCount) {
  PlayState ps = numbered({".Eoo."});
  ps.turnPass();
  const int before = unpaintedCount(ps);
  ASSERT_TRUE(click(ps, 1, 0));
  EXPECT_EQ(ps.playField[1][0], common::kUnpainted);
  EXPECT_EQ(ps.playField[2][0], common::kEraser);
  EXPECT_EQ(unpaintedCount(ps), before + 1);
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));
  EXPECT_EQ(unpaintedCount(ps), before + 2);
  ps.turnPass();
  EXPECT_FALSE(click(ps, 1, 0)) << "the eraser never steps onto unpainted floor";
}

TEST(RulesMoves, JumperClearsWhateverLiesBetween) {
  for (const char* between : {"#", "-", "W", "o", "."}) {
    const std::string row = std::string("J") + between + ".";
    PlayState ps = numbered({row.c_str()});
    const uint8_t middle = ps.playField[1][0];
    ps.turnPass();
    ASSERT_TRUE(click(ps, 1, 0)) << "over " << between;
    EXPECT_EQ(ps.playField[0][0], common::kPainted);
    EXPECT_EQ(ps.playField[1][0], middle) << "the cell between keeps its code";
    EXPECT_EQ(ps.playField[2][0], common::kJumper);
  }
}

TEST(RulesMoves, SliderTravelsTwoCellsOnlyOverUnpaintedFloorInsideTheField) {
  struct Case {
    const char* row;
    int stopsAt;
  };
  // Second cell ahead painted, a block, a piece, unpainted, or beyond the field.
  for (const Case& c : {Case{"-------S.o", 8}, Case{"S.#", 1}, Case{"S.W.", 1}, Case{"S...", 2},
                        Case{"--------S.", 9}}) {
    PlayState ps = numbered({c.row});
    int from = 0;
    while (ps.playField[from][0] != common::kSlider) ++from;
    ps.turnPass();
    ASSERT_TRUE(click(ps, 1, 0)) << c.row;
    EXPECT_EQ(ps.playField[c.stopsAt][0], common::kSlider) << c.row;
    for (int x = from; x < c.stopsAt; ++x)
      EXPECT_EQ(ps.playField[x][0], common::kPainted) << c.row << " cell " << x;
  }
  // With both cells unpainted the slide cannot stop after one.
  PlayState ps = numbered({"S", ".", ".", "."});
  ps.turnPass();
  ASSERT_TRUE(click(ps, 0, 1));
  EXPECT_EQ(ps.playField[0][2], common::kSlider);
  EXPECT_EQ(ps.playField[0][1], common::kPainted);
  EXPECT_EQ(ps.playField[0][3], common::kUnpainted);
}

TEST(RulesMoves, CodesEightAndNineMoveAsWalkers) {
  PlayState ps = numbered({"8..", "9..", "..."});
  EXPECT_EQ(ps.turnCycle, 3);
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));  // 8 moves one cell even though two are open
  EXPECT_EQ(ps.playField[1][0], 8);
  EXPECT_EQ(ps.playField[0][0], common::kPainted);
  EXPECT_EQ(ps.playField[2][0], common::kUnpainted);
  ps.turnPass();
  EXPECT_FALSE(click(ps, 0, -1)) << "9 may not enter painted floor";
  ASSERT_TRUE(click(ps, 0, 1));
  EXPECT_EQ(ps.playField[0][2], 9);
  EXPECT_EQ(ps.playField[0][1], common::kPainted);
}

TEST(RulesClear, ClearedExactlyWhenNoUnpaintedFloorIsLeft) {
  EXPECT_TRUE(numbered({"Wo#-", "oooo"}).isCleared()) << "nothing to paint: clear before any move";
  PlayState ps = numbered({"W.", "##"});
  EXPECT_FALSE(ps.isCleared());
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));
  EXPECT_TRUE(ps.isCleared());
  // Unpainted floor in the last row and column counts.
  PlayState corner = rules_test::field({"W"});
  corner.playField[9][9] = common::kUnpainted;
  EXPECT_FALSE(corner.isCleared());
}

TEST(RulesNoPiece, NothingIsActiveAndNothingMoves) {
  // A piece-free stage played after one with a piece at (1,0).
  PlayState ps = numbered({"W.."});
  ps.turnPass();
  ASSERT_TRUE(click(ps, 1, 0));
  ps.turnPass();
  ASSERT_EQ(ps.activeX, 1);
  common::StageSet set;
  set(1, 0, 2) = common::kBlock;
  set(2, 0, 2) = common::kPainted;
  ps.loadStage(set, 2);
  ps.numberPieces();
  EXPECT_FALSE(ps.hasPiece());
  EXPECT_EQ(ps.turnCycle, 1);
  ps.turnPass();
  EXPECT_EQ(ps.activeX, 1) << "the turn pass finds nobody and leaves the old cell";
  EXPECT_EQ(ps.activeY, 0);
  const PlayState before = ps;
  for (int dx : {-1, 0, 1}) {
    for (int dy : {-1, 0, 1}) {
      ps.aimDX = static_cast<int16_t>(dx);
      ps.aimDY = static_cast<int16_t>(dy);
      EXPECT_FALSE(ps.moveAttempt());
    }
  }
  EXPECT_TRUE(samePlay(ps, before));
  EXPECT_FALSE(ps.isCleared());
}

// Thousands of random clicks on random fields: the turn invariant holds after every turn pass,
// refusals change nothing, and every move changes the unpainted count as its piece kind says.
TEST(RulesRandom, InvariantHoldsThroughRandomPlay) {
  std::mt19937 rng(20240611);
  const uint8_t kCodes[] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  int moves = 0, refusals = 0;
  for (int game = 0; game < 2000; ++game) {
    PlayState ps;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) ps.playField[x][y] = kCodes[rng() % std::size(kCodes)];
    ps.numberPieces();
    int k = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) k += rules::isPiece(ps.playField[x][y]);
    ASSERT_EQ(ps.turnCycle, k + 1);
    if (k == 0) continue;
    for (int click = 0; click < 60 && !ps.isCleared(); ++click) {
      ps.turnPass();
      // Invariant: ranks 2..k+1 once each on piece cells, 0 elsewhere, active holds k + 1.
      std::vector<int> seen(k + 2, 0);
      int pieces = 0;
      for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
          const int rank = ps.turnRank[x][y];
          if (rules::isPiece(ps.playField[x][y])) {
            ++pieces;
            ASSERT_GE(rank, 2);
            ASSERT_LE(rank, k + 1);
            ++seen[rank];
          } else {
            ASSERT_EQ(rank, 0);
          }
        }
      }
      ASSERT_EQ(pieces, k);
      for (int r = 2; r <= k + 1; ++r) ASSERT_EQ(seen[r], 1) << "rank " << r;
      ASSERT_EQ(ps.turnRank[ps.activeX][ps.activeY], ps.turnCycle);
      // Several clicks until one moves (or give up: a stuck piece keeps the turn forever).
      bool moved = false;
      for (int tryAim = 0; tryAim < 10 && !moved; ++tryAim) {
        // The play loop aims along the four axes; (0, 0) is the aim before the first arrow.
        static const int kAims[5][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {0, 0}};
        const int* aim = kAims[rng() % 5];
        const PlayState before = ps;
        const uint8_t code = ps.playField[ps.activeX][ps.activeY];
        const int zeros = unpaintedCount(ps);
        ps.aimDX = static_cast<int16_t>(aim[0]);
        ps.aimDY = static_cast<int16_t>(aim[1]);
        if (!ps.moveAttempt()) {
          ++refusals;
          ASSERT_TRUE(samePlay(ps, before));
          continue;
        }
        const int d = ps.moveDistance();
        ps.arrive(d);
        moved = true;
        ++moves;
        const int change = unpaintedCount(ps) - zeros;
        if (code == common::kEraser)
          ASSERT_EQ(change, 1);
        else if (code == common::kSlider)
          ASSERT_EQ(change, -d);
        else
          ASSERT_EQ(change, -1);
      }
      if (!moved) break;
    }
  }
  EXPECT_GT(moves, 1000);
  EXPECT_GT(refusals, 1000);
}

}  // namespace
