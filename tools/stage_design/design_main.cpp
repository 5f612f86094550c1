// brackle-stage-design: turns the grid form of the stages into stage.stg and checks the designs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "game/solve/solver.h"
#include "platform/sdl/ttf_font.h"
#include "tools/solve/solution_text.h"
#include "tools/stage_design/design_search.h"
#include "tools/stage_design/layout_shape.h"
#include "tools/stage_design/stage_text.h"
#include "tools/view_check/label_ink.h"

namespace {

void usage() {
  std::cerr << R"(usage: brackle-stage-design build GRID_FILE STAGE_FILE
       brackle-stage-design dump STAGE_FILE
       brackle-stage-design check GRID_FILE [--stage N] [--show] [--max-states N]
  check: solves every stage present (stages may be missing while a set is designed) and
  surveys it: reachable states, dead share, choices and traps along the solution found,
  the least traps of any fewest-move solution, and whether it is all in view at the start;
  then names the stages that share a floor shape and where each piece kind comes in.
Design searches (all take --stage N, --target MOVES, --traps T, --max-reachable R and
--score-states N; a design scores by its fewest moves against the target, by its least
traps up to T and a little beyond, by staying in view and under R reachable states):
       brackle-stage-design enumerate GRID_FILE [--cells LETTERS] [--piece LETTER] [--keep K]
  every way of filling the ? cells with LETTERS (default .-) and putting one PIECE
  (default W) on one of the * cells; prints the K best solvable stages.
       brackle-stage-design carve GRID_FILE [--fill LETTER] [--max-states M]
  finds the moves that paint the most and turns the cells they leave into LETTER
  (default -), which makes the stage solvable.
       brackle-stage-design tune GRID_FILE [--seed S] [--rounds R] [--cells LETTERS]
                            [--free LETTERS]
  a cooling random search: the ? cells, and the cells drawn with a --free letter, become
  LETTERS (default .#-), and the pieces move among their cells and the * cells.
       brackle-stage-design tidy GRID_FILE [--free LETTERS] [--fill LETTER]
  turns cells drawn with a --free letter (default o#) into LETTER (default -) wherever
  that keeps the fewest moves and loses no trap.
       brackle-stage-design generate GRID_FILE [--seed S] [--tries T] [--length L]
                            [--fill LETTER]
  random move sequences of L moves or more; cells no piece entered become LETTER.
)";
}

// The stage's pieces by kind, walkers first: "WWE".
std::string kinds(const common::StageSet& set, int s) {
  std::string out;
  for (const char k : std::string("WSEJ"))
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (stage_design::kLetters[set(x, y, s) % 10] == k) out += k;
  return out;
}

int check(const common::StageSet& set, const bool* present, int only, bool show, uint64_t maxStates,
          const view_check::LabelInk& ink) {
  std::printf("stage  pieces  moves   reachable   dead%%  choices  traps  least  view    time\n");
  int failures = 0;
  for (int s = 1; s <= common::kStageCount; ++s) {
    if ((only && s != only) || !present[s]) continue;
    const auto start = std::chrono::steady_clock::now();
    solve::Options options;
    options.maxStates = maxStates;
    const solve::StageReport r = solve::examineStage(set, s, options);
    const solve::Survey& d = r.depth;
    const std::vector<std::string> outOfView = view_check::problems(set, s, ink);
    const double n = d.reachable ? static_cast<double>(d.reachable) : 1.0;
    const std::string view = outOfView.empty() ? "ok" : std::to_string(outOfView.size());
    std::printf("%5d  %-6s  %5d  %10llu%s %6.1f  %7d  %5d  %5d  %4s  %5.2f s\n", s,
                kinds(set, s).c_str(), r.fewest.moves, static_cast<unsigned long long>(d.reachable),
                d.complete ? " " : "+", 100.0 * d.dead / n, d.choices, d.traps, d.leastTraps,
                view.c_str(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (r.fewest.verdict != solve::Verdict::kSolvable || !outOfView.empty()) ++failures;
    for (const std::string& p : outOfView) std::printf("       %s\n", p.c_str());
    if (show && r.fewest.verdict == solve::Verdict::kSolvable)
      std::printf("       %s\n", solve::formatSolution(s, r.fewest.solution).c_str());
    std::fflush(stdout);
  }
  if (only) return failures ? 2 : 0;
  std::map<std::string, int> shapes;
  for (int s = 1; s <= common::kStageCount; ++s) {
    if (!present[s]) continue;
    const auto [at, fresh] = shapes.emplace(stage_design::floorShape(set, s), s);
    if (!fresh) std::printf("stage %d has the floor shape of stage %d\n", s, at->second);
  }
  for (const char k : std::string("WSEJ")) {
    int count = 0, first = 0;
    std::string firstWith;
    for (int s = 1; s <= common::kStageCount; ++s) {
      if (!present[s]) continue;
      const std::string here = kinds(set, s);
      if (here.find(k) == std::string::npos) continue;
      ++count;
      if (!first) first = s, firstWith = here;
    }
    std::printf("%c: in %d stages, first in stage %d (%s)\n", k, count, first, firstWith.c_str());
  }
  return failures ? 2 : 0;
}

// Options after the command: "--name value" pairs and the bare flag --show.
struct Args {
  std::vector<std::string> files;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  bool parse(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
      const std::string a = argv[i];
      if (a == "--show") {
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
  stage_design::Goal goal;
  goal.moves = static_cast<int>(args.number("--target", 10));
  goal.traps = static_cast<int>(args.number("--traps", 0));
  goal.maxReachable = static_cast<uint64_t>(args.number("--max-reachable", 300'000));
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
    // Turn labels are measured in the game's font for the view check.
    const std::unique_ptr<platform::Font> font = platform::TtfFont::openGameFont();
    stage_design::scoreLabelInk = view_check::fontLabelInk(*font);
    // Stages may be missing while a set is being designed.
    bool present[common::kStageCount + 1] = {};
    const std::string text = common::readWholeFile(file);
    if (command == "check") {
      const common::StageSet set = stage_design::parseStageGrid(text, present);
      return check(set, present, stage, args.flags.count("--show") > 0,
                   static_cast<uint64_t>(args.number("--max-states", 8'000'000)),
                   stage_design::scoreLabelInk);
    }
    if (command == "enumerate") {
      return stage_design::enumerate(text, stage, goal, args.text("--cells", ".-"),
                                     args.text("--piece", "W")[0],
                                     static_cast<int>(args.number("--keep", 3)));
    }
    if (command == "tune") {
      return stage_design::tune(text, stage, goal, static_cast<unsigned>(args.number("--seed", 1)),
                                static_cast<int>(args.number("--rounds", 2000)),
                                args.text("--cells", ".#-"), args.text("--free", ""));
    }
    if (command == "carve") {
      return stage_design::carve(stage_design::parseStageGrid(text, present), stage,
                                 args.code("--fill"),
                                 static_cast<uint64_t>(args.number("--max-states", 4'000'000)));
    }
    if (command == "tidy") {
      return stage_design::tidy(stage_design::parseStageGrid(text, present), stage, goal,
                                args.text("--free", "o#"), args.code("--fill"));
    }
    if (command == "generate") {
      return stage_design::generate(stage_design::parseStageGrid(text, present), stage, goal,
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
