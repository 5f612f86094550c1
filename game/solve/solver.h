// Exact fewest-move solver: breadth-first search over play states, driven by the game's rules.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stage_set.h"
#include "game/rules/rules.h"

namespace solve {

enum class Verdict { kSolvable, kUnsolvable, kUnknown, kNoPiece };

// One move as the player makes it: the active piece's cell and the aimed direction.
struct Move {
  int x = 0, y = 0;
  int dx = 0, dy = 0;
  bool operator==(const Move&) const = default;
};

// The four aims in the order the search tries them.
inline constexpr Move kAims[4] = {{0, 0, -1, 0}, {0, 0, 0, -1}, {0, 0, 0, 1}, {0, 0, 1, 0}};

// The direction as the isometric screen shows it: x grows down-right, y down-left.
std::string directionName(int dx, int dy);
// Parses the names directionName gives; false for anything else.
bool parseDirection(const std::string& name, int* dx, int* dy);

struct Options {
  uint64_t maxStates = 8'000'000;  // stored states before the answer becomes "unknown"
  bool prune = true;               // skip states proven unclearable
  bool trackProgress = false;      // fill Result::fewestUnpainted (a design aid)
};

struct Result {
  Verdict verdict = Verdict::kUnknown;
  int moves = -1;               // fewest moves when solvable
  uint64_t statesExplored = 0;  // distinct states stored
  uint64_t statesPruned = 0;    // new states dropped as provably unclearable
  std::vector<Move> solution;   // one fewest-move solution when solvable
  int fewestUnpainted = -1;     // with trackProgress: least unpainted cells any state reached
  std::vector<Move> closest;    // with trackProgress: the moves that reach such a state
  uint64_t bytesUsed = 0;       // the search's tables at their largest
};

// A fewest-move search that runs in slices, so a game can answer between its frames.
class Search {
 public:
  // From a position as the play loop has it between moves (after a turn pass). A field
  // already clear is solved in 0 moves; a field without any piece that is not clear gets
  // kNoPiece; both are known at once.
  explicit Search(const rules::PlayState& position, const Options& options = {});
  ~Search();
  Search(Search&&) noexcept;
  Search& operator=(Search&&) noexcept;

  // Explores up to `budget` more stored states; true once the answer is known.
  bool advance(uint64_t budget);
  bool done() const { return done_; }
  const Result& result() const { return result_; }

 private:
  struct Work;
  void finish(Verdict v);
  Options options_;
  Result result_;
  bool done_ = false;
  std::unique_ptr<Work> work_;  // the search's tables, freed once the answer is known
};

// The whole search at once, from a position between moves.
Result solveFrom(const rules::PlayState& position, const Options& options = {});

// Solves from a state as the play loop has it right after numbering the pieces (before the
// first turn pass).
Result solve(const rules::PlayState& numbered, const Options& options = {});

// Loads stage s (1..30) of `set`, numbers its pieces and solves it.
Result solveStage(const common::StageSet& set, int s, const Options& options = {});

// True when the state (as after a turn pass) provably can never be cleared: some unpainted
// cell lies beyond the reach of every painting piece, or a piece can never move again and
// the field cannot be cleared before its turn. Erasers, which turn painted floor back into
// unpainted floor, are taken into account; a false answer proves nothing.
bool provablyDead(const rules::PlayState& state);

// Counts over every state reachable from the start: how deep a stage is.
struct Survey {
  bool complete = false;       // false when the state limit stopped the survey
  uint64_t reachable = 0;      // distinct states after a turn pass, not yet cleared
  uint64_t dead = 0;           // of those, states from which the field can no longer be cleared
  uint64_t stalled = 0;        // of those, states where the active piece has no legal move
  uint64_t clearingMoves = 0;  // moves that clear the field from some reachable state
  int fewestMoves = -1;        // -1 when no clear is reachable
  // A trap is a position where the active piece has two or more legal moves and one of them
  // leads to a dead state; a choice is any position with two or more legal moves.
  int leastTraps = -1;  // the fewest traps that any fewest-move solution passes
  int choices = 0;      // along the solution given to the survey
  int traps = 0;        // along the solution given to the survey
};

// Explores every reachable state and classifies it; counts the choices and traps that the
// moves of `along` pass, from the start, as far as they are legal. With `prune`, states proven
// dead are counted as dead without being explored further: the figures on the way to a clear
// stay exact, while `reachable`, `dead` and `stalled` count only the states explored.
Survey survey(const rules::PlayState& numbered, uint64_t maxStates = 4'000'000,
              const std::vector<Move>& along = {}, bool prune = false);

// A stage solved and surveyed along the solution found.
struct StageReport {
  Result fewest;
  Survey depth;
};
StageReport examineStage(const common::StageSet& set, int s, const Options& options = {});

}  // namespace solve
