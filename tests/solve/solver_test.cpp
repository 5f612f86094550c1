// The solver against a plain brute force over the rules, its pruning, limits and survey.
#include "game/solve/solver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "tests/rules/field_text.h"
#include "tools/solve/solution_text.h"

namespace {

using rules::PlayState;
using rules_test::numbered;

constexpr int kDirs[4][2] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};

// Depth-first search to exactly `depth` more moves; true when some sequence clears.
bool clearsWithin(const PlayState& ps, int depth) {
  for (const auto& d : kDirs) {
    PlayState next = ps;
    if (!rules_test::click(next, d[0], d[1])) continue;
    if (next.isCleared()) return true;
    if (depth > 1) {
      next.turnPass();
      if (clearsWithin(next, depth - 1)) return true;
    }
  }
  return false;
}

// Fewest moves by iterative deepening up to `limit`, or -1.
int bruteForce(PlayState ps, int limit) {
  if (ps.isCleared()) return 0;
  if (!ps.hasPiece()) return -1;
  ps.turnPass();
  for (int d = 1; d <= limit; ++d)
    if (clearsWithin(ps, d)) return d;
  return -1;
}

struct Known {
  const char* what;
  std::vector<std::string> rows;
  solve::Verdict verdict;
  int moves;
};

TEST(Solver, AgreesWithBruteForceOnHandMadeFields) {
  const std::vector<Known> fields = {
      {"walker along a line", {"W...."}, solve::Verdict::kSolvable, 4},
      {"walker in a 2 x 3 room", {"W..", "..."}, solve::Verdict::kSolvable, 5},
      {"walker cut off by empty space", {"W.-."}, solve::Verdict::kUnsolvable, -1},
      {"walker cut off by painted floor", {"W.o.", "##.."}, solve::Verdict::kUnsolvable, -1},
      {"second walker stuck at its turn", {"W..-W"}, solve::Verdict::kUnsolvable, -1},
      {"second walker stuck, but the first clears before its turn",
       {"W.-W"},
       solve::Verdict::kSolvable,
       1},
      {"jumper cannot land on odd cells", {"J..."}, solve::Verdict::kUnsolvable, -1},
      {"jumper over blocks and empty space",
       {"J#.#.", "-----", "--#-."},
       solve::Verdict::kSolvable,
       3},
      {"slider ring", {"-.--", "S...", ".#-.", "...."}, solve::Verdict::kSolvable, 6},
      {"two walkers and an eraser", {"W..---", "ooEoo-", "--..W-"}, solve::Verdict::kSolvable, 10},
      {"eraser first, with no painted floor", {"E.", "W."}, solve::Verdict::kUnsolvable, -1},
      {"nothing to paint", {"Wo", "o#"}, solve::Verdict::kSolvable, 0},
      {"no piece", {"..", "o."}, solve::Verdict::kNoPiece, -1},
  };
  for (const Known& f : fields) {
    const PlayState ps = numbered(f.rows);
    const solve::Result r = solve::solve(ps);
    EXPECT_EQ(r.verdict, f.verdict) << f.what;
    EXPECT_EQ(r.moves, f.moves) << f.what;
    if (f.verdict != solve::Verdict::kNoPiece) {
      EXPECT_EQ(bruteForce(ps, 12), f.moves) << f.what;
    }
    EXPECT_EQ(static_cast<int>(r.solution.size()), std::max(f.moves, 0)) << f.what;
  }
}

// Random small fields: fewest moves equal the brute force, with and without pruning, and the
// solution found replays through the rules.
TEST(Solver, AgreesWithBruteForceOnRandomFields) {
  std::mt19937 rng(77);
  const uint8_t kCodes[] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 3, 3, 4, 5, 6, 7};
  int solvable = 0, unsolvable = 0;
  for (int round = 0; round < 1500; ++round) {
    PlayState ps = rules_test::field({});
    const int w = 2 + static_cast<int>(rng() % 3), h = 2 + static_cast<int>(rng() % 2);
    const int ox = static_cast<int>(rng() % (11 - w)), oy = static_cast<int>(rng() % (11 - h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ps.playField[ox + x][oy + y] = kCodes[rng() % std::size(kCodes)];
    ps.numberPieces();
    if (!ps.hasPiece()) continue;
    constexpr int kLimit = 9;
    const int brute = bruteForce(ps, kLimit);
    const solve::Result pruned = solve::solve(ps);
    solve::Options plain;
    plain.prune = false;
    const solve::Result full = solve::solve(ps, plain);
    ASSERT_EQ(pruned.verdict, full.verdict);
    ASSERT_EQ(pruned.moves, full.moves);
    ASSERT_LE(pruned.statesExplored, full.statesExplored);
    if (brute >= 0) {
      ++solvable;
      ASSERT_EQ(pruned.verdict, solve::Verdict::kSolvable);
      ASSERT_EQ(pruned.moves, brute);
      if (brute > 0) {
        common::StageSet set;
        for (int y = 0; y < 10; ++y)
          for (int x = 0; x < 10; ++x) set(x, y, 1) = ps.playField[x][y];
        EXPECT_EQ(solve::replay(set, {1, pruned.solution}), "");
        PlayState start = ps;
        start.turnPass();
        EXPECT_FALSE(solve::provablyDead(start)) << "a solvable start is never pruned";
      }
    } else {
      ++unsolvable;
      ASSERT_TRUE(pruned.verdict == solve::Verdict::kUnsolvable || pruned.moves > kLimit);
    }
  }
  EXPECT_GT(solvable, 200);
  EXPECT_GT(unsolvable, 200);
}

// Every state along every route to a clear is kept by the pruning: walk all sequences of a
// few fields with erasers (which repaint the map behind the painters) and check each state
// from which the brute force still clears.
TEST(Solver, PruningNeverDropsAStateThatCanStillClear) {
  const std::vector<std::vector<std::string>> fields = {
      {"W..---", "ooEoo-", "--..W-"}, {"-.--", "S...", ".#-.", "...."}, {"W...", "..S.", "...."},
      {"W.o..", "..Eo.", "..o.W"},    {"J.o..", ".W...", "o.o.."},
  };
  int checked = 0;
  for (const auto& rows : fields) {
    PlayState start = numbered(rows);
    start.turnPass();
    std::vector<PlayState> frontier{start};
    for (int depth = 0; depth < 7; ++depth) {
      std::vector<PlayState> next;
      for (const PlayState& ps : frontier) {
        if (clearsWithin(ps, 10)) {
          EXPECT_FALSE(solve::provablyDead(ps));
          ++checked;
        }
        for (const auto& d : kDirs) {
          PlayState after = ps;
          if (!rules_test::click(after, d[0], d[1]) || after.isCleared()) continue;
          after.turnPass();
          next.push_back(after);
        }
      }
      frontier = std::move(next);
    }
  }
  EXPECT_GT(checked, 50);
}

TEST(Solver, ProvesObviousDeadEnds) {
  PlayState cutOff = numbered({"W.-."});
  cutOff.turnPass();
  EXPECT_TRUE(solve::provablyDead(cutOff));
  // An eraser can reopen painted floor, so the same field with one is not dead.
  PlayState reopened = numbered({"W.o.", "Eoo-"});
  reopened.turnPass();
  EXPECT_FALSE(solve::provablyDead(reopened));
  // A walker boxed in by blocks stalls the game at its turn.
  PlayState boxed = numbered({"W...", "-#--", "#W#-"});
  boxed.turnPass();
  EXPECT_TRUE(solve::provablyDead(boxed));
}

TEST(Solver, AnswersUnknownAtTheStateLimit) {
  const PlayState ps = numbered({"W.........", "..........", "..........", ".........W"});
  solve::Options tight;
  tight.maxStates = 50;
  const solve::Result r = solve::solve(ps, tight);
  EXPECT_EQ(r.verdict, solve::Verdict::kUnknown);
  EXPECT_EQ(r.moves, -1);
  EXPECT_EQ(r.statesExplored, 50u);
}

TEST(Solver, SameKindsInCycleShareStates) {
  // Two walkers swapping roles reach equal play states; the search must still be exact.
  const PlayState ps = numbered({"W..", "...", "..W"});
  const solve::Result r = solve::solve(ps);
  EXPECT_EQ(r.moves, bruteForce(ps, 10));
}

// Counts of every reachable state, each classified by an independent memoised search, and the
// choices and traps on the way to a clear, counted by replaying moves through the rules.
TEST(Solver, SurveyCountsDeadStatesChoicesAndTraps) {
  for (const auto& rows : std::vector<std::vector<std::string>>{
           {"W..", "..."}, {"W..---", "ooEoo-", "--..W-"}, {"S...", ".#-.", "...."}}) {
    PlayState start = numbered(rows);
    start.turnPass();
    std::map<std::string, bool> alive;  // state bytes -> can still clear
    std::map<std::string, bool> stalled;
    auto keyOf = [](const PlayState& ps) {
      return std::string(reinterpret_cast<const char*>(ps.playField), sizeof ps.playField) +
             std::string(reinterpret_cast<const char*>(ps.turnRank), sizeof ps.turnRank);
    };
    std::function<bool(const PlayState&)> visit = [&](const PlayState& ps) -> bool {
      const std::string key = keyOf(ps);
      if (auto it = alive.find(key); it != alive.end()) return it->second;
      alive[key] = false;  // the state graph here has no cycles that matter for the answer
      bool can = false, any = false;
      for (const auto& d : kDirs) {
        PlayState after = ps;
        if (!rules_test::click(after, d[0], d[1])) continue;
        any = true;
        if (after.isCleared()) {
          can = true;
          continue;
        }
        after.turnPass();
        if (visit(after)) can = true;
      }
      stalled[key] = !any;
      alive[key] = can;
      return can;
    };
    visit(start);
    // Legal moves at a position, and whether one of them leads to a dead state.
    auto position = [&](const PlayState& ps, bool* trap) {
      int legal = 0;
      *trap = false;
      for (const auto& d : kDirs) {
        PlayState after = ps;
        if (!rules_test::click(after, d[0], d[1])) continue;
        ++legal;
        if (after.isCleared()) continue;
        after.turnPass();
        if (!alive.at(keyOf(after))) *trap = true;
      }
      *trap = *trap && legal >= 2;
      return legal;
    };
    // The fewest traps over every move sequence of exactly `left` moves that clears.
    const int fewest = bruteForce(numbered(rows), 12);
    std::function<int(const PlayState&, int)> leastTraps = [&](const PlayState& ps, int left) {
      bool trap = false;
      position(ps, &trap);
      int best = 1000;
      for (const auto& d : kDirs) {
        PlayState after = ps;
        if (!rules_test::click(after, d[0], d[1])) continue;
        if (after.isCleared()) {
          if (left == 1) best = 0;
          continue;
        }
        after.turnPass();
        if (left > 1) best = std::min(best, leastTraps(after, left - 1));
      }
      return best + trap;
    };
    uint64_t dead = 0, stuck = 0;
    for (const auto& [key, can] : alive) dead += !can;
    for (const auto& [key, s] : stalled) stuck += s;
    const solve::Result solution = solve::solve(numbered(rows));
    int choices = 0, traps = 0;
    PlayState ps = start;
    for (const solve::Move& m : solution.solution) {
      bool trap = false;
      choices += position(ps, &trap) >= 2;
      traps += trap;
      rules_test::click(ps, m.dx, m.dy);
      ps.turnPass();
    }
    const solve::Survey v = solve::survey(numbered(rows), 4'000'000, solution.solution);
    EXPECT_TRUE(v.complete);
    EXPECT_EQ(v.reachable, alive.size());
    EXPECT_EQ(v.dead, dead);
    EXPECT_EQ(v.stalled, stuck);
    EXPECT_EQ(v.fewestMoves, fewest);
    EXPECT_EQ(v.choices, choices);
    EXPECT_EQ(v.traps, traps);
    EXPECT_EQ(v.leastTraps, leastTraps(start, fewest));
    EXPECT_GT(v.choices, 0);
    // Skipping the states proven dead keeps the figures on the way to a clear.
    const solve::Survey pruned = solve::survey(numbered(rows), 4'000'000, solution.solution, true);
    EXPECT_LE(pruned.reachable, v.reachable);
    EXPECT_EQ(pruned.fewestMoves, fewest);
    EXPECT_EQ(pruned.choices, choices);
    EXPECT_EQ(pruned.traps, traps);
    EXPECT_EQ(pruned.leastTraps, v.leastTraps);
  }
  // A walker in an L: its first step along the long arm would cut off the short one.
  const solve::Survey room = solve::survey(numbered({"W..", "..-"}), 100, {{0, 0, 0, 1}});
  EXPECT_EQ(room.choices, 1);
  EXPECT_EQ(room.traps, 1);
}

TEST(SolutionText, FormatsAndParsesBack) {
  const std::vector<solve::Move> moves = {{3, 4, 1, 0}, {0, 9, 0, -1}, {9, 0, -1, 0}, {5, 5, 0, 1}};
  const std::string line = solve::formatSolution(12, moves);
  EXPECT_EQ(line, "stage 12 moves 4: 3,4 down-right; 0,9 up-right; 9,0 up-left; 5,5 down-left");
  const auto parsed = solve::parseSolutions("# fewest moves\n\n" + line + "\r\n");
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_EQ(parsed[0].stage, 12);
  EXPECT_EQ(parsed[0].moves, moves);
}

TEST(SolutionText, RejectsMalformedLines) {
  for (const char* bad : {"stage 1 moves 2: 0,0 down-right", "stage 1 moves 1: 0,0 sideways",
                          "stage 31 moves 1: 0,0 up-left", "stage 1 moves 1 0,0 up-left",
                          "stage 1 moves 1: 0;0 up-left", "stage 1 moves 1: 10,0 up-left",
                          "level 1 moves 1: 0,0 up-left"}) {
    EXPECT_THROW(solve::parseSolutions(bad), std::runtime_error) << bad;
  }
}

TEST(SolutionText, ReplayNamesWhatGoesWrong) {
  common::StageSet set;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) set(x, y, 4) = common::kEmpty;
  set(0, 0, 4) = common::kWalker;
  set(1, 0, 4) = common::kUnpainted;
  set(2, 0, 4) = common::kUnpainted;
  EXPECT_EQ(solve::replay(set, {4, {{0, 0, 1, 0}, {1, 0, 1, 0}}}), "");
  EXPECT_EQ(solve::replay(set, {4, {{0, 0, 1, 0}}}), "move 1: the field is not clear");
  EXPECT_EQ(solve::replay(set, {4, {{0, 0, 0, 1}}}), "move 1: refused");
  EXPECT_EQ(solve::replay(set, {4, {{0, 0, 1, 0}, {2, 0, 1, 0}}}),
            "move 2: the active piece stands at 1,0");
  EXPECT_EQ(solve::replay(set, {4, {{0, 0, 1, 0}, {1, 0, 1, 0}, {2, 0, -1, 0}}}),
            "move 2: cleared early");
  EXPECT_EQ(solve::replay(set, {4, {}}), "no moves and the field is not clear");
}

}  // namespace
