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

std::string positions(const solve::Survey& depth) {
  // A survey the state limit cut short only gives a lower bound, marked as brackle-solve
  // marks it.
  return std::to_string(depth.reachable) + (depth.complete ? "" : "+") +
         (depth.reachable == 1 ? " reachable position" : " reachable positions");
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
  options.trackProgress = true;  // how near an unclearable stage comes
  const solve::Result fewest = solve::solve(start, options);
  ProofLines lines;
  switch (fewest.verdict) {
    case solve::Verdict::kSolvable:
      lines = {"can be cleared in " + counted(fewest.moves, "move", "moves"), "counting traps…",
               ""};
      break;
    case solve::Verdict::kUnsolvable: {
      const int left = fewest.fewestUnpainted;
      lines = {"cannot be cleared",
               left > 0 ? "at best " + counted(left, "grass cell is", "grass cells are") + " left"
                        : "the first piece cannot move",
               "counting positions…"};
      break;
    }
    case solve::Verdict::kNoPiece:
      return {"no piece", "nobody can clear this stage", ""};
    case solve::Verdict::kUnknown:
      return {"too big to prove here",
              "no answer in " + counted(fewest.statesExplored, "position", "positions"),
              "brackle-solve can search further"};
  }
  if (early) early(lines);

  const solve::Survey depth = solve::survey(start, bounds.surveyStates, fewest.solution);
  if (fewest.verdict == solve::Verdict::kSolvable) {
    // Cut short, the survey may miss traps: say nothing rather than too few.
    lines[1] = "traps not counted";
    if (depth.complete) {
      lines[1] = depth.leastTraps == 0 ? std::string("no trap")
                                       : counted(depth.leastTraps, "trap", "traps");
      lines[1] += " on the fewest-move way";
    }
  }
  lines[2] = positions(depth);
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
