// brackle-solve: proves each stage of a stage file solvable, finds its fewest moves and says
// how deep it is.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/program_folder.h"
#include "common/stage_file.h"
#include "tools/solve/solution_text.h"
#include "game/solve/solver.h"

namespace {

constexpr int kBadInput = 1;
constexpr int kFailing = 2;  // a stage is unsolvable or has no piece
constexpr int kUnknown = 3;  // no stage fails, but the state limit left one undecided

void usage() {
  std::cerr
      << "usage: brackle-solve [STAGE_FILE] [--stage N] [--show] [--solutions]\n"
         "                     [--max-states N] [--no-prune]\n"
         "  STAGE_FILE      default: stage.stg beside this program\n"
         "  --stage N       only stage N (1..30)\n"
         "  --show          print the moves of one fewest-move solution\n"
         "  --solutions     print fewest-move solutions in the stored-solution format\n"
         "  --max-states N  states kept before giving up with \"unknown\"\n"
         "  --no-prune      do not skip states proven unclearable\n"
         "Beside the fewest moves the table gives the states reachable from the start (+ when\n"
         "the state limit stopped the count), the share of them from which no clear is\n"
         "reachable (dead), and along the solution shown the positions with two or more legal\n"
         "moves (choices) and those where one of the moves leads to a dead state (traps);\n"
         "least is the fewest traps that any fewest-move solution passes.\n"
         "exit status: 0 all solvable, 1 bad input, 2 a stage unsolvable or without a piece,\n"
         "3 a stage undecided within the state limit\n";
}

struct Census {
  int count[4] = {};  // walkers, sliders, erasers, jumpers
  int other = 0;      // pieces of codes 8 and 9 (walker rule, no picture)
  int unpainted = 0;
};

Census census(const common::StageSet& set, int s) {
  Census c;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const uint8_t code = set(x, y, s);
      if (code == common::kUnpainted) ++c.unpainted;
      if (code >= common::kWalker && code <= common::kJumper)
        ++c.count[code - common::kWalker];
      else if (rules::isPiece(code))
        ++c.other;
    }
  }
  return c;
}

const char* verdictName(solve::Verdict v) {
  switch (v) {
    case solve::Verdict::kSolvable:
      return "solvable";
    case solve::Verdict::kUnsolvable:
      return "unsolvable";
    case solve::Verdict::kNoPiece:
      return "no piece";
    default:
      return "unknown";
  }
}

bool parseCount(const char* text, uint64_t* out) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno || end == text || *end || text[0] == '-') return false;
  *out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string file;
  int only = 0;
  bool show = false, solutions = false;
  solve::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    uint64_t v = 0;
    if (arg == "--show") {
      show = true;
    } else if (arg == "--solutions") {
      solutions = true;
    } else if (arg == "--no-prune") {
      options.prune = false;
    } else if (arg == "--stage" && i + 1 < argc && parseCount(argv[i + 1], &v) && v >= 1 &&
               v <= common::kStageCount) {
      only = static_cast<int>(v);
      ++i;
    } else if (arg == "--max-states" && i + 1 < argc && parseCount(argv[i + 1], &v) && v >= 1 &&
               v <= 0xFFFFFFF0ull) {
      options.maxStates = v;
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    } else if (!arg.empty() && arg[0] != '-' && file.empty()) {
      file = arg;
    } else {
      std::cerr << "brackle-solve: bad argument \"" << arg << "\"\n";
      usage();
      return kBadInput;
    }
  }
  if (file.empty()) file = common::inFolder(common::executableFolder(), "\\stage.stg");

  common::StageSet set;
  try {
    common::loadStageFile(set, file);
  } catch (const common::FileError& e) {
    std::cerr << e.what() << "\n";
    return kBadInput;
  }

  bool failing = false, unknown = false;
  if (!solutions) {
    std::printf(
        "stage  pieces          unpainted  verdict     moves   reachable   dead%%  choices  traps"
        "  least     time\n");
  }
  const auto all = std::chrono::steady_clock::now();
  for (int s = 1; s <= common::kStageCount; ++s) {
    if (only && s != only) continue;
    const auto start = std::chrono::steady_clock::now();
    const solve::StageReport report =
        solutions ? solve::StageReport{solve::solveStage(set, s, options), {}}
                  : solve::examineStage(set, s, options);
    const solve::Result& r = report.fewest;
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    failing = failing || r.verdict == solve::Verdict::kUnsolvable ||
              r.verdict == solve::Verdict::kNoPiece;
    unknown = unknown || r.verdict == solve::Verdict::kUnknown;
    if (solutions) {
      if (r.verdict == solve::Verdict::kSolvable) {
        std::printf("%s\n", solve::formatSolution(s, r.solution).c_str());
      } else {
        std::printf("# stage %d: %s\n", s, verdictName(r.verdict));
      }
      std::fflush(stdout);
      continue;
    }
    const Census c = census(set, s);
    char pieces[64];
    std::snprintf(pieces, sizeof pieces, "W%d S%d E%d J%d", c.count[0], c.count[1], c.count[2],
                  c.count[3]);
    std::string p = pieces;
    if (c.other) p += " X" + std::to_string(c.other);
    char moves[16] = "-";
    if (r.moves >= 0) std::snprintf(moves, sizeof moves, "%d", r.moves);
    const solve::Survey& d = report.depth;
    const double reachable = d.reachable ? static_cast<double>(d.reachable) : 1.0;
    char depth[96];
    if (r.verdict == solve::Verdict::kSolvable && d.reachable) {
      // A survey cut short by the state limit gives lower bounds, marked with a +.
      const char* more = d.complete ? " " : "+";
      std::snprintf(depth, sizeof depth, "%10llu%s %6.1f  %7d  %5d  %5d",
                    static_cast<unsigned long long>(d.reachable), more, 100.0 * d.dead / reachable,
                    d.choices, d.traps, d.leastTraps);
    } else {
      std::snprintf(depth, sizeof depth, "%10s  %6s  %7s  %5s  %5s", "-", "-", "-", "-", "-");
    }
    std::printf("%5d  %-14s  %9d  %-10s  %5s  %s  %7.3f s\n", s, p.c_str(), c.unpainted,
                verdictName(r.verdict), moves, depth, secs);
    if (show && r.verdict == solve::Verdict::kSolvable) {
      // Replayed through the rules to name the piece that makes each move.
      rules::PlayState ps;
      ps.loadStage(set, s);
      ps.numberPieces();
      ps.turnPass();
      for (size_t i = 0; i < r.solution.size(); ++i) {
        const solve::Move& m = r.solution[i];
        std::printf("  %3zu. %s at (%d, %d) %s\n", i + 1, common::cellName(ps.playField[m.x][m.y]),
                    m.x, m.y, solve::directionName(m.dx, m.dy).c_str());
        ps.aimDX = static_cast<int16_t>(m.dx);
        ps.aimDY = static_cast<int16_t>(m.dy);
        if (ps.moveAttempt()) ps.arrive(ps.moveDistance());
        ps.turnPass();
      }
    }
    std::fflush(stdout);
  }
  if (!solutions && !only) {
    std::printf("total %.3f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - all).count());
  }
  if (failing) return kFailing;
  if (unknown) return kUnknown;
  return 0;
}
