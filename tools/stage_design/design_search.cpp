// Search helpers for designing stages: score a design, try variants, carve unpaintable cells.
#include "tools/stage_design/design_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <vector>

#include "game/solve/solver.h"
#include "tools/stage_design/stage_text.h"

namespace stage_design {

namespace {

uint8_t codeOf(char letter) {
  const int code = cellCode(letter);
  return static_cast<uint8_t>(code < 0 ? common::kEmpty : code);
}

}  // namespace

Score score(const common::StageSet& set, int s, const Goal& goal) {
  Score out;
  if (scoreLabelInk)
    out.outOfView = static_cast<int>(view_check::problems(set, s, scoreLabelInk).size());
  const double viewPenalty = 100.0 * out.outOfView;
  solve::Options options;
  options.maxStates = scoreStates;
  options.trackProgress = true;
  const solve::Result r = solve::solveStage(set, s, options);
  if (r.verdict != solve::Verdict::kSolvable) {
    // Closer to clear is better, which leads the walk toward solvable stages.
    out.value = -1000.0 - 10.0 * std::max(r.fewestUnpainted, 0) - viewPenalty;
    return out;
  }
  out.moves = r.moves;
  const double off = std::abs(r.moves - goal.moves);
  out.value = -10.0 * off - viewPenalty;
  if (off > 4) return out;  // the survey is the slow part
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  // Skipping proven dead states keeps the traps exact and is much quicker.
  const solve::Survey quick = solve::survey(ps, scoreStates, r.solution, true);
  if (!quick.complete) return out;
  out.leastTraps = quick.leastTraps;
  out.traps = quick.traps;
  // Traps up to two beyond the goal count fully, more only a little.
  const int counted = std::min(out.leastTraps, goal.traps + 2);
  out.value += 15.0 * counted + 1.0 * (out.leastTraps - counted);
  if (off > 1 || out.leastTraps < goal.traps) return out;
  const solve::Survey full = solve::survey(ps, goal.maxReachable);
  if (full.complete) {
    out.reachable = full.reachable;
    out.value += 20.0;
  }
  return out;
}

void printStage(const common::StageSet& set, int s) {
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) std::putchar(kLetters[set(x, y, s) % 10]);
    std::putchar('\n');
  }
}

void printScore(int s, const Score& sc) {
  std::printf("stage %d  moves %d  least traps %d  traps %d  reachable %s  out of view %d\n", s,
              sc.moves, sc.leastTraps, sc.traps,
              sc.reachable ? std::to_string(sc.reachable).c_str() : "-", sc.outOfView);
}

namespace {

// A stage block of the grid file with its free cells: ? cells, and * cells where pieces may
// stand. Both read as unpainted floor in `base`.
struct Template {
  common::StageSet base;
  std::vector<std::pair<int, int>> free, spots;
};

bool readTemplate(const std::string& text, int s, Template* t) {
  size_t pos = text.find("stage " + std::to_string(s) + "\n");
  if (pos == std::string::npos) pos = text.find("stage " + std::to_string(s) + " ");
  if (pos == std::string::npos) {
    std::cerr << "stage " << s << " not in the grid file\n";
    return false;
  }
  // Only this stage's block is read: the others may hold free cells of their own.
  std::string block = "stage " + std::to_string(s) + "\n";
  pos = text.find('\n', pos) + 1;
  for (int y = 0; y < 10; ++y) {
    std::string row = text.substr(pos, text.find('\n', pos) - pos);
    for (int x = 0; x < 10 && x < static_cast<int>(row.size()); ++x) {
      if (row[x] == '?') t->free.emplace_back(x, y);
      if (row[x] == '*') t->spots.emplace_back(x, y);
      if (row[x] == '?' || row[x] == '*') row[x] = '.';
    }
    block += row + "\n";
    pos = text.find('\n', pos) + 1;
  }
  bool present[common::kStageCount + 1] = {};
  t->base = parseStageGrid(block, present);
  return true;
}

}  // namespace

// Every combination: each ? cell takes each letter of `cells`, and exactly one * cell holds
// `piece` (the other * cells are unpainted floor). The best `keep` stages are printed.
int enumerate(std::string text, int s, const Goal& goal, const std::string& cells, char piece,
              int keep) {
  Template t;
  if (!readTemplate(text, s, &t)) return 1;
  uint64_t combos = 1;
  for (size_t i = 0; i < t.free.size() && combos < 1'000'000; ++i) combos *= cells.size();
  const size_t spotChoices = t.spots.empty() ? 1 : t.spots.size();
  if (combos * spotChoices > 200'000) {
    std::cerr << combos * spotChoices << " combinations are too many\n";
    return 1;
  }
  std::vector<std::pair<Score, common::StageSet>> found;
  for (uint64_t c = 0; c < combos; ++c) {
    for (size_t spot = 0; spot < spotChoices; ++spot) {
      common::StageSet trial = t.base;
      uint64_t rest = c;
      for (const auto& [x, y] : t.free) {
        trial(x, y, s) = codeOf(cells[rest % cells.size()]);
        rest /= cells.size();
      }
      if (!t.spots.empty()) trial(t.spots[spot].first, t.spots[spot].second, s) = codeOf(piece);
      const Score sc = score(trial, s, goal);
      if (sc.moves < 0) continue;
      found.emplace_back(sc, trial);
      std::sort(found.begin(), found.end(),
                [](const auto& a, const auto& b) { return a.first.value > b.first.value; });
      if (static_cast<int>(found.size()) > keep) found.pop_back();
    }
  }
  std::printf("%zu found\n", found.size());
  for (const auto& [sc, set] : found) {
    printScore(s, sc);
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

int tune(std::string text, int s, const Goal& goal, unsigned seed, int rounds,
         const std::string& cells, const std::string& freeLetters) {
  Template t;
  if (!readTemplate(text, s, &t)) return 1;
  std::mt19937 rng(seed);
  std::vector<uint8_t> codes;
  for (const char c : cells) codes.push_back(codeOf(c));
  common::StageSet current = t.base;
  for (const auto& [x, y] : t.free) current(x, y, s) = codes.back();
  // Cells drawn with a letter of `freeLetters` are free too, and start as drawn.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (std::strchr(freeLetters.c_str(), kLetters[t.base(x, y, s) % 10]) &&
          std::find(t.free.begin(), t.free.end(), std::pair{x, y}) == t.free.end())
        t.free.emplace_back(x, y);
  // Pieces move among their own cells and the * cells.
  std::vector<std::pair<int, int>> spots = t.spots;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (rules::isPiece(t.base(x, y, s))) spots.emplace_back(x, y);
  Score now = score(current, s, goal);
  common::StageSet best = current;
  Score bestScore = now;
  for (int round = 0; round < rounds; ++round) {
    common::StageSet trial = current;
    if (spots.size() > 1 && rng() % 4 == 0) {
      const auto [fx, fy] = spots[rng() % spots.size()];
      const auto [tx, ty] = spots[rng() % spots.size()];
      std::swap(trial(fx, fy, s), trial(tx, ty, s));
    } else if (!t.free.empty()) {
      const int changes = 1 + static_cast<int>(rng() % 3);
      for (int c = 0; c < changes; ++c) {
        const auto [x, y] = t.free[rng() % t.free.size()];
        trial(x, y, s) = codes[rng() % codes.size()];
      }
    }
    if (trial == current) continue;
    const Score sc = score(trial, s, goal);
    // Cooling from about one move's worth of score to a tenth of it.
    const double heat = 10.0 * std::pow(0.01, static_cast<double>(round) / rounds);
    const double chance = std::exp((sc.value - now.value) / heat);
    if (sc.value >= now.value || std::uniform_real_distribution<double>(0, 1)(rng) < chance) {
      current = trial;
      now = sc;
    }
    if (sc.value > bestScore.value) {
      best = trial;
      bestScore = sc;
      std::fprintf(stderr, "round %d: moves %d least traps %d reachable %llu\n", round, sc.moves,
                   sc.leastTraps, static_cast<unsigned long long>(sc.reachable));
    }
  }
  printScore(s, bestScore);
  printStage(best, s);
  return 0;
}

int tidy(const common::StageSet& set, int s, const Goal& goal, const std::string& freeLetters,
         uint8_t fill) {
  common::StageSet out = set;
  Score now = score(out, s, goal);
  if (now.moves < 0) {
    std::fprintf(stderr, "stage %d is not solvable\n", s);
    return 2;
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const uint8_t was = out(x, y, s);
        if (was == fill || !std::strchr(freeLetters.c_str(), kLetters[was % 10])) continue;
        out(x, y, s) = fill;
        const Score sc = score(out, s, goal);
        if (sc.moves == now.moves && sc.leastTraps >= now.leastTraps && sc.outOfView == 0) {
          now = sc;
          changed = true;
        } else {
          out(x, y, s) = was;
        }
      }
    }
  }
  printScore(s, now);
  printStage(out, s);
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

int generate(const common::StageSet& set, int s, const Goal& goal, unsigned seed, int tries,
             int length, uint8_t fill) {
  std::mt19937 rng(seed);
  common::StageSet best = set;
  Score bestScore;
  for (int t = 0; t < tries; ++t) {
    const common::StageSet trial = playout(set, s, length, fill, rng);
    const Score sc = score(trial, s, goal);
    if (sc.moves >= 0 && sc.value > bestScore.value) {
      best = trial;
      bestScore = sc;
      std::fprintf(stderr, "try %d: moves %d least traps %d\n", t, sc.moves, sc.leastTraps);
    }
  }
  printScore(s, bestScore);
  printStage(best, s);
  return 0;
}

}  // namespace stage_design
