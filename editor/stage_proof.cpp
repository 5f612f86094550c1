// Whether the stage shown can be cleared, in the status line's words, worked out off the UI.
#include "editor/stage_proof.h"

#include <utility>

#include "game/rules/rules.h"
#include "game/solve/solver.h"

namespace editor {

namespace {

// "1 move", "3 moves".
std::string counted(uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "12 reachable positions"; a count the state bound cut short is a lower bound, marked with
// a + as brackle-solve marks it.
std::string positions(uint64_t n, bool complete) {
  return std::to_string(n) + (complete ? "" : "+") +
         (n == 1 ? " reachable position" : " reachable positions");
}

// A stage proven unclearable: how near it comes. Pruning would hide the nearest states, so
// every reachable one is searched again, which counts them as well.
ProofLines unclearable(const rules::PlayState& start, const ProofBounds& bounds,
                       const std::function<void(const ProofLines&)>& early) {
  ProofLines lines = {"cannot be cleared", "", "counting positions…"};
  if (early) early(lines);
  solve::Options all;
  all.maxStates = bounds.surveyStates;
  all.prune = false;
  all.trackProgress = true;
  const solve::Result r = solve::solve(start, all);
  const bool complete = r.verdict == solve::Verdict::kUnsolvable;
  if (complete) {
    const int left = r.fewestUnpainted;
    lines[1] = left > 0 ? "at best " + counted(left, "grass cell is", "grass cells are") + " left"
                        : "the first piece cannot move";
  }
  lines[2] = positions(r.statesExplored, complete);
  return lines;
}

}  // namespace

ProofLines provingLines() {
  return {"proving…", "", ""};
}

ProofLines proveStage(const common::StageSet& set, int s, const ProofBounds& bounds,
                      const std::function<void(const ProofLines&)>& early) {
  rules::PlayState start;
  start.loadStage(set, s);
  start.numberPieces();
  // As the play loop: a field without grass is cleared at its start, pieces or not.
  if (start.isCleared()) return {"nothing to paint", "no grass: cleared at once", ""};
  if (!start.hasPiece()) return {"no piece", "nobody can clear this stage", ""};

  // What brackle-solve does for its table, with a bound of its own for each half.
  solve::Options options;
  options.maxStates = bounds.solveStates;
  const solve::Result fewest = solve::solve(start, options);
  switch (fewest.verdict) {
    case solve::Verdict::kSolvable:
      break;
    case solve::Verdict::kUnsolvable:
      return unclearable(start, bounds, early);
    case solve::Verdict::kNoPiece:
      return {"no piece", "nobody can clear this stage", ""};
    case solve::Verdict::kUnknown:
      return {"too big to prove here",
              "no answer in " + counted(fewest.statesExplored, "position", "positions"),
              "brackle-solve can search further"};
  }
  ProofLines lines = {"can be cleared in " + counted(fewest.moves, "move", "moves"),
                      "counting traps…", ""};
  if (early) early(lines);
  const solve::Survey depth = solve::survey(start, bounds.surveyStates, fewest.solution);
  // Cut short, the survey may miss traps: say nothing rather than too few.
  lines[1] = "traps not counted";
  if (depth.complete) {
    lines[1] =
        depth.leastTraps == 0 ? std::string("no trap") : counted(depth.leastTraps, "trap", "traps");
    lines[1] += " on the fewest-move way";
  }
  lines[2] = positions(depth.reachable, depth.complete);
  return lines;
}

ProofWorker::ProofWorker(Mode mode, ProofBounds bounds) : mode_(mode), bounds_(bounds) {
  if (mode_ == Mode::kInBackground) thread_ = std::jthread([this](std::stop_token st) { run(st); });
}

void ProofWorker::request(ProofTag tag, const common::StageSet& set) {
  {
    std::lock_guard lock(mutex_);
    pending_ = Job{tag, set};
  }
  wake_.notify_one();
}

std::optional<Proof> ProofWorker::take() {
  std::lock_guard lock(mutex_);
  return std::exchange(done_, std::nullopt);
}

void ProofWorker::finish() {
  std::unique_lock lock(mutex_);
  if (mode_ == Mode::kWhenAsked) {
    while (pending_) {
      const Job job = std::move(*pending_);
      pending_.reset();
      lock.unlock();
      work(job);
      lock.lock();
    }
    return;
  }
  idle_.wait(lock, [&] { return !pending_ && !busy_; });
}

void ProofWorker::run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, stop, [&] { return pending_.has_value(); });
    if (stop.stop_requested()) return;
    const Job job = std::move(*pending_);
    pending_.reset();
    busy_ = true;
    lock.unlock();
    work(job);
    lock.lock();
    busy_ = false;
    if (!pending_) idle_.notify_all();
  }
}

void ProofWorker::work(const Job& job) {
  ProofLines lines = proveStage(job.set, job.tag.stage, bounds_, [&](const ProofLines& verdict) {
    post({job.tag, verdict, false});
  });
  post({job.tag, std::move(lines), true});
}

void ProofWorker::post(Proof proof) {
  std::lock_guard lock(mutex_);
  done_ = std::move(proof);
}

}  // namespace editor
