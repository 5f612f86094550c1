// brackle-stage-design: turns the grid form of the stages into stage.stg and checks the designs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "tools/solve/solution_text.h"
#include "tools/solve/solver.h"
#include "tools/stage_design/design_search.h"
#include "tools/stage_design/stage_text.h"

namespace {

void usage() {
  std::cerr << R"(usage: brackle-stage-design build GRID_FILE STAGE_FILE
       brackle-stage-design dump STAGE_FILE
       brackle-stage-design check GRID_FILE [--stage N] [--survey] [--show] [--max-states N]
  check: solves every stage present (stages may be missing while a set is designed);
  --survey also counts the reachable states and the share from which no clear is possible.
Design searches (all take --stage N and --score-states N):
       brackle-stage-design enumerate GRID_FILE --target MOVES [--cells LETTERS]
                            [--piece LETTER] [--keep K]
  every way of filling the ? cells with LETTERS (default .-) and putting one PIECE
  (default W) on one of the * cells; prints the K best solvable stages.
       brackle-stage-design carve GRID_FILE [--fill LETTER] [--max-states M]
  finds the moves that paint the most and turns the cells they leave into LETTER
  (default -), which makes the stage solvable.
       brackle-stage-design tune GRID_FILE --target MOVES [--seed S] [--rounds R]
                            [--cells LETTERS]
  random local search over the ? cells (each becomes one of LETTERS, default .#-).
       brackle-stage-design generate GRID_FILE --target MOVES [--seed S] [--tries T]
                            [--length L] [--fill LETTER]
  random move sequences of L moves or more; cells no piece entered become LETTER.
)";
}

// Whether the start view (cells of about (0,0)..(6,6)) misses part of the stage: a tile is
// off the 500-pixel-wide surface once x - y leaves -6..6.
bool needsScrolling(const common::StageSet& set, int s) {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (set(x, y, s) != common::kEmpty && (x - y > 6 || y - x > 6)) return true;
  return false;
}

int check(const common::StageSet& set, const bool* present, int only, bool withSurvey, bool show,
          uint64_t maxStates) {
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
    std::printf("  %5.2f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (show && r.verdict == solve::Verdict::kSolvable)
      std::printf("       %s\n", solve::formatSolution(s, r.solution).c_str());
    std::fflush(stdout);
  }
  return failures ? 2 : 0;
}

// Options after the command: "--name value" pairs and the bare flags --survey and --show.
struct Args {
  std::vector<std::string> files;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  bool parse(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
      const std::string a = argv[i];
      if (a == "--survey" || a == "--show") {
        flags.insert(a);
      } else if (a.rfind("--", 0) == 0) {
        if (i + 1 >= argc) return false;
        values[a] = argv[++i];
      } else {
        files.push_back(a);
      }
    }
    return true;
  }
  long number(const std::string& name, long fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : std::atol(it->second.c_str());
  }
  std::string text(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
  }
  uint8_t code(const std::string& name) const {
    const int code = stage_design::cellCode(text(name, "-")[0]);
    return static_cast<uint8_t>(code < 0 ? common::kEmpty : code);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Args args;
  if (argc < 3 || !args.parse(argc, argv) || args.files.empty()) {
    usage();
    return 1;
  }
  const std::string command = argv[1];
  const std::string& file = args.files[0];
  const int stage = static_cast<int>(args.number("--stage", 0));
  const int target = static_cast<int>(args.number("--target", 10));
  stage_design::scoreStates = static_cast<uint64_t>(args.number("--score-states", 400'000));
  try {
    if (command == "build" && args.files.size() == 2) {
      common::saveStageFile(stage_design::parseStageGrid(common::readWholeFile(file)),
                            args.files[1]);
      return 0;
    }
    if (command == "dump") {
      common::StageSet set;
      common::loadStageFile(set, file);
      std::cout << stage_design::formatStageGrid(set);
      return 0;
    }
    // Stages may be missing while a set is being designed.
    bool present[common::kStageCount + 1] = {};
    const std::string text = common::readWholeFile(file);
    if (command == "check") {
      const common::StageSet set = stage_design::parseStageGrid(text, present);
      return check(set, present, stage, args.flags.count("--survey") > 0,
                   args.flags.count("--show") > 0,
                   static_cast<uint64_t>(args.number("--max-states", 16'000'000)));
    }
    if (command == "enumerate") {
      return stage_design::enumerate(text, stage, target, args.text("--cells", ".-"),
                                     args.text("--piece", "W")[0],
                                     static_cast<int>(args.number("--keep", 3)));
    }
    if (command == "tune") {
      return stage_design::tune(
          text, stage, target, static_cast<unsigned>(args.number("--seed", 1)),
          static_cast<int>(args.number("--rounds", 2000)), args.text("--cells", ".#-"));
    }
    if (command == "carve") {
      return stage_design::carve(stage_design::parseStageGrid(text, present), stage,
                                 args.code("--fill"),
                                 static_cast<uint64_t>(args.number("--max-states", 4'000'000)));
    }
    if (command == "generate") {
      return stage_design::generate(stage_design::parseStageGrid(text, present), stage, target,
                                    static_cast<unsigned>(args.number("--seed", 1)),
                                    static_cast<int>(args.number("--tries", 200)),
                                    static_cast<int>(args.number("--length", 20)),
                                    args.code("--fill"));
    }
  } catch (const common::FileError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::runtime_error& e) {
    std::cerr << file << ": " << e.what() << "\n";
    return 1;
  }
  usage();
  return 1;
}
