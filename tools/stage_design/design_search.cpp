// Search helpers for designing stages: score a design, try variants, carve unpaintable cells.
#include "tools/stage_design/design_search.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <vector>

#include "tools/solve/solver.h"
#include "tools/stage_design/stage_text.h"

namespace stage_design {

namespace {

uint8_t codeOf(char letter) {
  const int code = cellCode(letter);
  return static_cast<uint8_t>(code < 0 ? common::kEmpty : code);
}

}  // namespace

Score score(const common::StageSet& set, int s, int target) {
  Score out;
  solve::Options options;
  options.maxStates = scoreStates;
  options.trackProgress = true;
  const solve::Result r = solve::solveStage(set, s, options);
  if (r.verdict != solve::Verdict::kSolvable) {
    // Closer to clear is better, which leads the walk toward solvable stages.
    out.value = -1000.0 - 10.0 * std::max(r.fewestUnpainted, 0);
    return out;
  }
  out.moves = r.moves;
  out.value = -10.0 * std::abs(r.moves - target);
  if (std::abs(r.moves - target) > 3) return out;  // the survey is the slow part
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  const solve::Survey v = solve::survey(ps, scoreStates);
  out.deadShare = v.reachable ? static_cast<double>(v.dead) / static_cast<double>(v.reachable) : 0;
  out.value = -10.0 * std::abs(r.moves - target) + 30.0 * out.deadShare;
  return out;
}

void printStage(const common::StageSet& set, int s) {
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) std::putchar(kLetters[set(x, y, s) % 10]);
    std::putchar('\n');
  }
}

// Every combination: each ? cell takes each letter of `cells`, and exactly one * cell holds
// `piece` (the other * cells are unpainted floor). The best `keep` stages are printed.
int enumerate(std::string text, int s, int target, const std::string& cells, char piece, int keep) {
  std::vector<std::pair<int, int>> free, spots;
  size_t pos = text.find("stage " + std::to_string(s) + "\n");
  if (pos == std::string::npos) {
    std::cerr << "stage " << s << " not in the grid file\n";
    return 1;
  }
  pos = text.find('\n', pos) + 1;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (text[pos + x] == '?') free.emplace_back(x, y);
      if (text[pos + x] == '*') spots.emplace_back(x, y);
      if (text[pos + x] == '?' || text[pos + x] == '*') text[pos + x] = '.';
    }
    pos = text.find('\n', pos) + 1;
  }
  bool present[common::kStageCount + 1] = {};
  const common::StageSet base = parseStageGrid(text, present);
  uint64_t combos = 1;
  for (size_t i = 0; i < free.size() && combos < 1'000'000; ++i) combos *= cells.size();
  const size_t spotChoices = spots.empty() ? 1 : spots.size();
  if (combos * spotChoices > 200'000) {
    std::cerr << combos * spotChoices << " combinations are too many\n";
    return 1;
  }
  std::vector<std::pair<Score, common::StageSet>> found;
  for (uint64_t c = 0; c < combos; ++c) {
    for (size_t spot = 0; spot < spotChoices; ++spot) {
      common::StageSet trial = base;
      uint64_t rest = c;
      for (const auto& [x, y] : free) {
        trial(x, y, s) = codeOf(cells[rest % cells.size()]);
        rest /= cells.size();
      }
      if (!spots.empty()) trial(spots[spot].first, spots[spot].second, s) = codeOf(piece);
      const Score sc = score(trial, s, target);
      if (sc.moves < 0) continue;
      found.emplace_back(sc, trial);
      std::sort(found.begin(), found.end(),
                [](const auto& a, const auto& b) { return a.first.value > b.first.value; });
      if (static_cast<int>(found.size()) > keep) found.pop_back();
    }
  }
  std::printf("%zu found\n", found.size());
  for (const auto& [sc, set] : found) {
    std::printf("stage %d  moves %d dead %.1f%%\n", s, sc.moves, 100 * sc.deadShare);
    printStage(set, s);
  }
  return 0;
}

// Makes a stage solvable by giving up the cells it cannot paint: the moves that leave the fewest
// unpainted cells are found, and the cells they never enter become `fill`.
int carve(const common::StageSet& set, int s, uint8_t fill, uint64_t maxStates) {
  solve::Options options;
  options.maxStates = maxStates;
  options.prune = false;
  options.trackProgress = true;
  const solve::Result r = solve::solveStage(set, s, options);
  common::StageSet out = set;
  if (r.verdict != solve::Verdict::kSolvable) {
    if (r.closest.empty()) {
      std::fprintf(stderr, "no move at all\n");
      return 1;
    }
    rules::PlayState ps;
    ps.loadStage(set, s);
    ps.numberPieces();
    ps.turnPass();
    bool entered[10][10] = {};
    for (const solve::Move& m : r.closest) {
      ps.aimDX = static_cast<int16_t>(m.dx);
      ps.aimDY = static_cast<int16_t>(m.dy);
      ps.moveAttempt();
      const int d = ps.moveDistance();
      entered[m.x][m.y] = true;
      for (int i = 1; i <= d; ++i)
        if (ps.movingCode != common::kJumper || i == d)
          entered[m.x + i * m.dx][m.y + i * m.dy] = true;
      ps.arrive(d);
      ps.turnPass();
    }
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        if (ps.playField[x][y] != common::kUnpainted) continue;
        if (entered[x][y]) {
          std::fprintf(stderr, "an eraser left (%d, %d) unpainted; cannot carve\n", x, y);
          return 1;
        }
        out(x, y, s) = fill;
      }
    }
  }
  const solve::Result check = solve::solveStage(out, s, {maxStates, true});
  std::printf("stage %d  %s, moves %d, %d cells given up\n", s,
              check.verdict == solve::Verdict::kSolvable ? "solvable" : "NOT solvable", check.moves,
              r.verdict == solve::Verdict::kSolvable ? 0 : r.fewestUnpainted);
  printStage(out, s);
  return check.verdict == solve::Verdict::kSolvable ? 0 : 2;
}

// The ? cells of stage s are free; everything else stays as drawn.
int tune(std::string text, int s, int target, unsigned seed, int rounds, const std::string& cells) {
  std::vector<std::pair<int, int>> free;
  {
    size_t pos = text.find("stage " + std::to_string(s) + "\n");
    if (pos == std::string::npos) pos = text.find("stage " + std::to_string(s) + " ");
    if (pos == std::string::npos) {
      std::cerr << "stage " << s << " not in the grid file\n";
      return 1;
    }
    pos = text.find('\n', pos) + 1;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x)
        if (text[pos + x] == '?') {
          free.emplace_back(x, y);
          text[pos + x] = cells.empty() ? '-' : cells.back();
        }
      pos = text.find('\n', pos) + 1;
    }
  }
  bool present[common::kStageCount + 1] = {};
  common::StageSet best = parseStageGrid(text, present);
  std::vector<uint8_t> codes;
  for (const char c : cells) codes.push_back(codeOf(c));
  std::mt19937 rng(seed);
  Score bestScore = score(best, s, target);
  for (int round = 0; round < rounds && !free.empty(); ++round) {
    common::StageSet trial = best;
    const int changes = 1 + static_cast<int>(rng() % 3);
    for (int c = 0; c < changes; ++c) {
      const auto [x, y] = free[rng() % free.size()];
      trial(x, y, s) = codes[rng() % codes.size()];
    }
    const Score sc = score(trial, s, target);
    if (sc.value >= bestScore.value) {
      if (sc.value > bestScore.value)
        std::fprintf(stderr, "round %d: moves %d dead %.1f%%\n", round, sc.moves,
                     100 * sc.deadShare);
      best = trial;
      bestScore = sc;
    }
  }
  std::printf("stage %d  moves %d dead %.1f%%\n", s, bestScore.moves, 100 * bestScore.deadShare);
  printStage(best, s);
  return 0;
}

namespace {

// A randomised depth-first search for a sequence of at least `length` legal moves after which
// every cell a piece entered is painted (erasers unpaint cells) again.
struct Playout {
  const int length;
  std::mt19937& rng;
  long budget = 200'000;
  bool entered[10][10] = {};

  bool pendingLeft(const rules::PlayState& ps) const {
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (entered[x][y] && ps.playField[x][y] == common::kUnpainted) return true;
    return false;
  }

  bool search(const rules::PlayState& ps, int made) {
    if (--budget < 0 || made >= 2 * length) return false;
    int order[4] = {0, 1, 2, 3};
    std::shuffle(order, order + 4, rng);
    for (const int a : order) {
      rules::PlayState next = ps;
      const solve::Move& aim = solve::kAims[a];
      next.aimDX = static_cast<int16_t>(aim.dx);
      next.aimDY = static_cast<int16_t>(aim.dy);
      if (!next.moveAttempt()) continue;
      const int d = next.moveDistance();
      bool saved[10][10];
      std::memcpy(saved, entered, sizeof entered);
      entered[ps.activeX][ps.activeY] = true;
      for (int i = 1; i <= d; ++i)
        if (next.movingCode != common::kJumper || i == d)
          entered[ps.activeX + i * aim.dx][ps.activeY + i * aim.dy] = true;
      next.arrive(d);
      if (next.isCleared() || (made + 1 >= length && !pendingLeft(next))) return true;
      next.turnPass();
      if (search(next, made + 1)) return true;
      std::memcpy(entered, saved, sizeof entered);
    }
    return false;
  }
};

// The cells no piece entered in a found sequence become `fill`; the template when none is found.
common::StageSet playout(const common::StageSet& set, int s, int length, uint8_t fill,
                         std::mt19937& rng) {
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  if (!ps.hasPiece() || ps.isCleared()) return set;
  ps.turnPass();
  Playout p{length, rng};
  if (!p.search(ps, 0)) return set;
  common::StageSet out = set;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (set(x, y, s) == common::kUnpainted && !p.entered[x][y]) out(x, y, s) = fill;
  return out;
}

}  // namespace

int generate(const common::StageSet& set, int s, int target, unsigned seed, int tries, int length,
             uint8_t fill) {
  std::mt19937 rng(seed);
  common::StageSet best = set;
  Score bestScore;
  for (int t = 0; t < tries; ++t) {
    const common::StageSet trial = playout(set, s, length, fill, rng);
    const Score sc = score(trial, s, target);
    if (sc.moves >= 0 && sc.value > bestScore.value) {
      best = trial;
      bestScore = sc;
      std::fprintf(stderr, "try %d: moves %d dead %.1f%%\n", t, sc.moves, 100 * sc.deadShare);
    }
  }
  std::printf("stage %d  moves %d dead %.1f%%\n", s, bestScore.moves, 100 * bestScore.deadShare);
  printStage(best, s);
  return 0;
}

}  // namespace stage_design
