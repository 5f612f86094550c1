// brackle-stage-design: turns the grid form of the stages into stage.stg and checks the designs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "tools/solve/solution_text.h"
#include "tools/solve/solver.h"
#include "tools/stage_design/stage_text.h"

namespace {

void usage() {
  std::cerr << "usage: brackle-stage-design build GRID_FILE STAGE_FILE\n"
               "       brackle-stage-design dump STAGE_FILE\n"
               "       brackle-stage-design check GRID_FILE [--stage N] [--survey] "
               "[--show] [--max-states N]\n"
               "       brackle-stage-design tune GRID_FILE --stage N --target MOVES [--seed S]\n"
               "                            [--rounds R] [--cells LETTERS]\n"
               "  tune: cells written ? in stage N start as empty space and are free to become\n"
               "  one of LETTERS (default \".#-\"); a random local search, starting from the\n"
               "  drawn stage (wandering until it is solvable) and then keeping it solvable, looks for fewest\n"
               "  moves near MOVES with many dead states; the best grid is printed.\n"
               "       brackle-stage-design generate GRID_FILE --stage N --target MOVES\n"
               "                            [--seed S] [--tries T] [--length L]\n"
               "  generate: plays L random legal moves on stage N, turns the unpainted cells\n"
               "  that no piece entered into empty space, and keeps the best of T such stages.\n";
}

// Whether the start view (cells of about (0,0)..(6,6)) misses part of the stage: a tile is
// off the 500-pixel-wide surface once x − y leaves −6..6.
bool needsScrolling(const common::StageSet& set, int s) {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (set(x, y, s) != common::kEmpty && (x - y > 6 || y - x > 6)) return true;
  return false;
}

int check(const common::StageSet& set, const bool* present, int only, bool withSurvey,
          bool show, uint64_t maxStates) {
  std::printf("stage  moves      states  unpainted scroll   reachable   dead%%  stalled%%  time\n");
  int failures = 0;
  for (int s = 1; s <= common::kStageCount; ++s) {
    if ((only && s != only) || !present[s]) continue;
    const auto start = std::chrono::steady_clock::now();
    solve::Options options;
    options.maxStates = maxStates;
    const solve::Result r = solve::solveStage(set, s, options);
    int unpainted = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) unpainted += set(x, y, s) == common::kUnpainted;
    std::printf("%5d  %5d  %10llu  %9d  %5s", s, r.moves,
                static_cast<unsigned long long>(r.statesExplored), unpainted,
                needsScrolling(set, s) ? "yes" : "no");
    if (r.verdict != solve::Verdict::kSolvable) ++failures;
    if (withSurvey) {
      rules::PlayState ps;
      ps.loadStage(set, s);
      ps.numberPieces();
      const solve::Survey v = solve::survey(ps, maxStates);
      const double n = v.reachable ? static_cast<double>(v.reachable) : 1.0;
      std::printf("  %10llu%s %6.1f  %8.1f", static_cast<unsigned long long>(v.reachable),
                  v.complete ? " " : "+", 100.0 * v.dead / n, 100.0 * v.stalled / n);
    } else {
      std::printf("  %10s  %6s  %8s", "", "", "");
    }
    std::printf("  %5.2f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                                              start)
                                   .count());
    if (show && r.verdict == solve::Verdict::kSolvable)
      std::printf("       %s\n", solve::formatSolution(s, r.solution).c_str());
    std::fflush(stdout);
  }
  return failures ? 2 : 0;
}

struct Score {
  double value = -1e9;
  int moves = -1;
  double deadShare = 0;
};

Score score(const common::StageSet& set, int s, int target) {
  Score out;
  solve::Options options;
  options.maxStates = 400'000;
  options.trackProgress = true;
  const solve::Result r = solve::solveStage(set, s, options);
  if (r.verdict != solve::Verdict::kSolvable) {
    // Closer to clear is better, which leads the walk toward solvable stages.
    out.value = -1000.0 - 10.0 * std::max(r.fewestUnpainted, 0);
    return out;
  }
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  const solve::Survey v = solve::survey(ps, 400'000);
  out.moves = r.moves;
  out.deadShare = v.reachable ? static_cast<double>(v.dead) / static_cast<double>(v.reachable) : 0;
  out.value = -10.0 * std::abs(r.moves - target) + 30.0 * out.deadShare;
  return out;
}

int tune(std::string text, int s, int target, unsigned seed, int rounds, const std::string& cells) {
  // The ? cells of stage s are free; everything else stays as drawn.
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
          text[pos + x] = '-';
        }
      pos = text.find('\n', pos) + 1;
    }
  }
  bool present[common::kStageCount + 1] = {};
  common::StageSet best = stage_design::parseStageGrid(text, present);
  std::vector<uint8_t> codes;
  for (const char c : cells) codes.push_back(static_cast<uint8_t>(std::strchr(stage_design::kLetters, c) - stage_design::kLetters));
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
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) std::putchar(stage_design::kLetters[best(x, y, s) % 10]);
    std::putchar('\n');
  }
  return 0;
}

bool hasLegalMove(const rules::PlayState& ps) {
  for (const solve::Move& aim : solve::kAims) {
    rules::PlayState trial = ps;
    trial.aimDX = static_cast<int16_t>(aim.dx);
    trial.aimDY = static_cast<int16_t>(aim.dy);
    if (trial.moveAttempt()) return true;
  }
  return false;
}

// Random legal moves by the rules, avoiding moves after which the next piece is stuck; the
// cells no piece entered become empty space. The longest of a few attempts is kept.
common::StageSet playout(const common::StageSet& set, int s, int length, std::mt19937& rng) {
  common::StageSet best = set;
  int bestLength = -1;
  for (int attempt = 0; attempt < 30 && bestLength < length; ++attempt) {
    rules::PlayState ps;
    ps.loadStage(set, s);
    ps.numberPieces();
    bool entered[10][10] = {};
    if (!ps.hasPiece() || ps.isCleared()) return set;
    ps.turnPass();
    // Past `length`, play on until no entered cell is unpainted (erasers unpaint cells), so
    // that walling off the untouched cells leaves a field this very playout clears.
    int made = 0;
    for (; made < 2 * length; ++made) {
      if (made >= length) {
        bool pending = false;
        for (int y = 0; y < 10 && !pending; ++y)
          for (int x = 0; x < 10 && !pending; ++x)
            pending = entered[x][y] && ps.playField[x][y] == common::kUnpainted;
        if (!pending) break;
      }
      std::vector<rules::PlayState> options;
      std::vector<int> aims;
      for (int a = 0; a < 4; ++a) {
        rules::PlayState trial = ps;
        trial.aimDX = static_cast<int16_t>(solve::kAims[a].dx);
        trial.aimDY = static_cast<int16_t>(solve::kAims[a].dy);
        if (!trial.moveAttempt()) continue;
        trial.arrive(trial.moveDistance());
        rules::PlayState after = trial;
        after.turnPass();
        if (!trial.isCleared() && !hasLegalMove(after)) continue;
        aims.push_back(a);
      }
      if (aims.empty()) break;
      const solve::Move& aim = solve::kAims[aims[rng() % aims.size()]];
      ps.aimDX = static_cast<int16_t>(aim.dx);
      ps.aimDY = static_cast<int16_t>(aim.dy);
      ps.moveAttempt();
      const int d = ps.moveDistance();
      for (int i = 1; i <= d; ++i)
        if (ps.movingCode != common::kJumper || i == d)
          entered[ps.activeX + i * aim.dx][ps.activeY + i * aim.dy] = true;
      entered[ps.activeX][ps.activeY] = true;
      ps.arrive(d);
      if (ps.isCleared()) break;
      ps.turnPass();
    }
    if (made <= bestLength || made >= 2 * length) continue;
    bestLength = made;
    best = set;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (set(x, y, s) == common::kUnpainted && !entered[x][y]) best(x, y, s) = common::kEmpty;
  }
  return best;
}

int generate(const common::StageSet& set, int s, int target, unsigned seed, int tries, int length) {
  std::mt19937 rng(seed);
  common::StageSet best = set;
  Score bestScore;
  for (int t = 0; t < tries; ++t) {
    const common::StageSet trial = playout(set, s, length, rng);
    const Score sc = score(trial, s, target);
    if (sc.moves >= 0 && sc.value > bestScore.value) {
      best = trial;
      bestScore = sc;
      std::fprintf(stderr, "try %d: moves %d dead %.1f%%\n", t, sc.moves, 100 * sc.deadShare);
    }
  }
  std::printf("stage %d  moves %d dead %.1f%%\n", s, bestScore.moves, 100 * bestScore.deadShare);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) std::putchar(stage_design::kLetters[best(x, y, s) % 10]);
    std::putchar('\n');
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    usage();
    return 1;
  }
  const std::string command = argv[1];
  try {
    if (command == "build" && argc == 4) {
      const common::StageSet set = stage_design::parseStageGrid(common::readWholeFile(argv[2]));
      common::saveStageFile(set, argv[3]);
      return 0;
    }
    if (command == "dump" && argc == 3) {
      common::StageSet set;
      common::loadStageFile(set, argv[2]);
      std::cout << stage_design::formatStageGrid(set);
      return 0;
    }
    if (command == "tune") {
      int only = 0, target = 10, rounds = 2000;
      unsigned seed = 1;
      std::string cells = ".#-";
      for (int i = 3; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--stage") only = std::atoi(argv[i + 1]);
        else if (opt == "--target") target = std::atoi(argv[i + 1]);
        else if (opt == "--seed") seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
        else if (opt == "--rounds") rounds = std::atoi(argv[i + 1]);
        else if (opt == "--cells") cells = argv[i + 1];
        else {
          usage();
          return 1;
        }
      }
      return tune(common::readWholeFile(argv[2]), only, target, seed, rounds, cells);
    }
    if (command == "generate") {
      int only = 0, target = 10, tries = 200, length = 20;
      unsigned seed = 1;
      for (int i = 3; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--stage") only = std::atoi(argv[i + 1]);
        else if (opt == "--target") target = std::atoi(argv[i + 1]);
        else if (opt == "--seed") seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
        else if (opt == "--tries") tries = std::atoi(argv[i + 1]);
        else if (opt == "--length") length = std::atoi(argv[i + 1]);
        else {
          usage();
          return 1;
        }
      }
      bool present[common::kStageCount + 1] = {};
      const common::StageSet set =
          stage_design::parseStageGrid(common::readWholeFile(argv[2]), present);
      return generate(set, only, target, seed, tries, length);
    }
    if (command == "check") {
      int only = 0;
      bool withSurvey = false, show = false;
      uint64_t maxStates = 16'000'000;
      for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--stage") && i + 1 < argc) {
          only = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--show")) {
          show = true;
        } else if (!std::strcmp(argv[i], "--survey")) {
          withSurvey = true;
        } else if (!std::strcmp(argv[i], "--max-states") && i + 1 < argc) {
          maxStates = std::strtoull(argv[++i], nullptr, 10);
        } else {
          usage();
          return 1;
        }
      }
      // Stages may be missing while a set is being designed.
      bool present[common::kStageCount + 1] = {};
      const common::StageSet set =
          stage_design::parseStageGrid(common::readWholeFile(argv[2]), present);
      return check(set, present, only, withSurvey, show, maxStates);
    }
  } catch (const common::FileError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::runtime_error& e) {
    std::cerr << argv[2] << ": " << e.what() << "\n";
    return 1;
  }
  usage();
  return 1;
}
