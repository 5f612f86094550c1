// Whether the stage shown can be cleared, in the status line's words, worked out off the UI.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "common/stage_set.h"

namespace editor {

// How far the solver may go before the line gives up: a huge stage must not keep a
// processor busy for minutes. The shipped stages need at most about 75 000 states to solve
// and 660 000 to survey; the bounds take a few seconds at worst.
struct ProofBounds {
  uint64_t solveStates = 500'000;     // searched for the fewest moves, else "too big"
  uint64_t surveyStates = 1'000'000;  // counted for the depth, else a lower bound
};

// The proof's lines of the status: the verdict, then two of its figures (either may be
// empty).
using ProofLines = std::vector<std::string>;

// What the line shows while the proof of the cells shown is being worked out.
ProofLines provingLines();

// Proves stage s of `set` with the solver the game's hint and brackle-solve use and says
// what it found. The verdict comes first, the survey of the stage's depth after it: `early`,
// when given, hears the verdict before the survey starts.
ProofLines proveStage(const common::StageSet& set, int s, const ProofBounds& bounds = {},
                      const std::function<void(const ProofLines&)>& early = {});

// Which cells a proof was asked for: the stage shown and the count of edits made so far.
struct ProofTag {
  int stage = 0;
  uint64_t edits = 0;
  bool operator==(const ProofTag&) const = default;
};

struct Proof {
  ProofTag tag;
  ProofLines lines;
  bool settled = false;  // false for a verdict whose figures are still being counted
};

// Works out one proof at a time; a request made while one runs waits, and a newer one
// replaces it. In the background the work runs on a thread of its own; otherwise only when
// finish() is called, on the caller's thread (deterministic for tests).
class ProofWorker {
 public:
  enum class Mode { kInBackground, kWhenAsked };

  explicit ProofWorker(Mode mode, ProofBounds bounds = {});
  // Stops and joins the thread; a proof under way first runs to its end or its bound.
  ~ProofWorker() = default;
  ProofWorker(const ProofWorker&) = delete;
  ProofWorker& operator=(const ProofWorker&) = delete;

  void request(ProofTag tag, const common::StageSet& set);
  // The newest proof (or verdict) finished since the last call, if any.
  std::optional<Proof> take();
  // Returns once every request made so far is finished.
  void finish();

 private:
  struct Job {
    ProofTag tag;
    common::StageSet set;
  };
  void run(std::stop_token stop);
  void work(const Job& job);
  void post(Proof proof);

  const Mode mode_;
  const ProofBounds bounds_;
  std::mutex mutex_;
  std::condition_variable_any wake_;  // a request came, or the worker is to stop
  std::condition_variable idle_;      // the worker has nothing left to do
  std::optional<Job> pending_;
  std::optional<Proof> done_;
  bool busy_ = false;
  std::jthread thread_;  // last: stopped and joined before the rest goes
};

}  // namespace editor
