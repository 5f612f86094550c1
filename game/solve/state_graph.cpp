// The whole reachable state graph of a stage: dead states, fewest moves, choices and traps.
#include <algorithm>
#include <deque>
#include <limits>

#include "game/solve/solver.h"
#include "game/solve/state_store.h"

namespace solve {

namespace {

using store::Codec;
using store::StateTable;
using store::Step;

constexpr uint32_t kRefused = StateTable::kNone;
constexpr uint32_t kClears = StateTable::kNone - 1;
constexpr uint32_t kBeyond = StateTable::kNone - 2;      // a state past the limit, not stored
constexpr uint32_t kProvenDead = StateTable::kNone - 3;  // not stored either
constexpr int kFar = std::numeric_limits<int>::max();

struct Graph {
  std::vector<uint32_t> next;  // four per state, in the order of kAims
  bool complete = true;

  uint64_t size() const { return next.size() / 4; }
  bool legal(uint64_t i, int a) const { return next[i * 4 + a] != kRefused; }
  int legalMoves(uint64_t i) const {
    int n = 0;
    for (int a = 0; a < 4; ++a) n += legal(i, a);
    return n;
  }
};

// States in breadth-first order from the start (index 0), so depth never falls with the index.
Graph explore(const rules::PlayState& numbered, uint64_t maxStates, bool prune) {
  Graph g;
  const Codec codec(numbered);
  StateTable table(codec.words());
  std::vector<uint64_t> key(codec.words());
  rules::PlayState ps = numbered;
  ps.turnPass();
  codec.encode(ps, 0, key.data());
  table.insert(key.data());
  rules::PlayState base, next;
  for (uint64_t i = 0; i < table.size(); ++i) {
    const int rotation = codec.decode(table.key(i), base);
    for (int a = 0; a < 4; ++a) {
      next = base;
      uint32_t to = kRefused;
      const Step step = store::play(next, kAims[a]);
      if (step == Step::kCleared) {
        to = kClears;
      } else if (step == Step::kMoved) {
        codec.encode(next, rotation + 1, key.data());
        to = table.find(key.data());
        if (to == StateTable::kNone) {
          if (prune && provablyDead(next)) {
            to = kProvenDead;
          } else if (table.size() >= maxStates) {
            g.complete = false;
            to = kBeyond;
          } else {
            to = table.insert(key.data());
          }
        }
      }
      g.next.push_back(to);
    }
  }
  return g;
}

// Moves from each state to a clear, kFar where none is reachable. With `hopeful`, a state
// with a move past the state limit counts as one that may still clear (at distance kFar - 1).
std::vector<int> movesToClear(const Graph& g, bool hopeful) {
  const uint64_t n = g.size();
  std::vector<uint32_t> first(n + 1, 0), from;
  for (uint64_t i = 0; i < n; ++i)
    for (int a = 0; a < 4; ++a)
      if (g.next[i * 4 + a] < kProvenDead) ++first[g.next[i * 4 + a] + 1];
  for (uint64_t i = 0; i < n; ++i) first[i + 1] += first[i];
  from.resize(first[n]);
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (uint64_t i = 0; i < n; ++i)
    for (int a = 0; a < 4; ++a)
      if (g.next[i * 4 + a] < kProvenDead)
        from[fill[g.next[i * 4 + a]]++] = static_cast<uint32_t>(i);

  std::vector<int> dist(n, kFar);
  std::deque<uint32_t> queue;
  for (uint64_t i = 0; i < n; ++i) {
    for (int a = 0; a < 4; ++a) {
      const uint32_t to = g.next[i * 4 + a];
      if (to == kClears || (hopeful && to == kBeyond)) {
        const int d = to == kClears ? 1 : kFar - 1;
        if (d < dist[i]) dist[i] = d;
      }
    }
  }
  // The few hopeful states go last, so the breadth-first order still gives true distances.
  for (uint64_t i = 0; i < n; ++i)
    if (dist[i] == 1) queue.push_back(static_cast<uint32_t>(i));
  for (uint64_t i = 0; i < n; ++i)
    if (dist[i] == kFar - 1) queue.push_back(static_cast<uint32_t>(i));
  while (!queue.empty()) {
    const uint32_t t = queue.front();
    queue.pop_front();
    const int d = dist[t] == kFar - 1 ? kFar - 1 : dist[t] + 1;
    for (uint32_t k = first[t]; k < first[t + 1]; ++k) {
      if (dist[from[k]] != kFar) continue;
      dist[from[k]] = d;
      queue.push_back(from[k]);
    }
  }
  return dist;
}

}  // namespace

Survey survey(const rules::PlayState& numbered, uint64_t maxStates, const std::vector<Move>& along,
              bool prune) {
  Survey out;
  if (!numbered.hasPiece() || numbered.isCleared()) {
    out.complete = true;
    if (numbered.isCleared()) out.fewestMoves = 0;
    return out;
  }
  const Graph g = explore(numbered, maxStates, prune);
  const uint64_t n = g.size();
  out.complete = g.complete;
  out.reachable = n;
  const std::vector<int> toClear = movesToClear(g, false);
  const std::vector<int> mayClear = g.complete ? toClear : movesToClear(g, true);
  auto dead = [&](uint32_t to) {
    return to == kProvenDead || (to < kProvenDead && mayClear[to] == kFar);
  };
  std::vector<uint8_t> trap(n, 0);
  for (uint64_t i = 0; i < n; ++i) {
    out.dead += mayClear[i] == kFar;
    const int legal = g.legalMoves(i);
    out.stalled += legal == 0;
    bool deadEnd = false;
    for (int a = 0; a < 4; ++a) {
      const uint32_t to = g.next[i * 4 + a];
      out.clearingMoves += to == kClears;
      deadEnd = deadEnd || dead(to);
    }
    trap[i] = legal >= 2 && deadEnd;
  }
  if (toClear[0] != kFar) {
    out.fewestMoves = toClear[0];
    // Positions on some fewest-move solution lie a step nearer the clear at each move, so
    // later indexes are settled first.
    std::vector<int> least(n, kFar);
    for (uint64_t i = n; i-- > 0;) {
      if (toClear[i] == kFar) continue;
      int rest = toClear[i] == 1 ? 0 : kFar;
      for (int a = 0; a < 4; ++a) {
        const uint32_t to = g.next[i * 4 + a];
        if (to < kProvenDead && toClear[to] == toClear[i] - 1) rest = std::min(rest, least[to]);
      }
      if (rest != kFar) least[i] = rest + trap[i];
    }
    out.leastTraps = least[0];
  }
  uint32_t at = 0;
  for (const Move& m : along) {
    int a = 0;
    while (a < 4 && (kAims[a].dx != m.dx || kAims[a].dy != m.dy)) ++a;
    if (a == 4 || !g.legal(at, a)) break;
    out.choices += g.legalMoves(at) >= 2;
    out.traps += trap[at];
    at = g.next[at * 4 + a];
    if (at >= kProvenDead) break;
  }
  return out;
}

StageReport examineStage(const common::StageSet& set, int s, const Options& options) {
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  StageReport r;
  r.fewest = solve(ps, options);
  r.depth = survey(ps, options.maxStates, r.fewest.solution);
  return r;
}

}  // namespace solve
