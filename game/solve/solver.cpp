// Exact fewest-move solver: breadth-first search over play states, driven by the game's rules.
#include "game/solve/solver.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "game/solve/state_store.h"

namespace solve {

std::string directionName(int dx, int dy) {
  if (dx == -1 && dy == 0) return "up-left";
  if (dx == 0 && dy == -1) return "up-right";
  if (dx == 0 && dy == 1) return "down-left";
  if (dx == 1 && dy == 0) return "down-right";
  return "none";
}

bool parseDirection(const std::string& name, int* dx, int* dy) {
  for (const Move& aim : kAims) {
    if (directionName(aim.dx, aim.dy) == name) {
      *dx = aim.dx;
      *dy = aim.dy;
      return true;
    }
  }
  return false;
}

namespace {

using store::Codec;
using store::play;
using store::StateTable;
using store::Step;

// ---------------------------------------------------------------------------------------------
// Cell sets as bit masks: cell (x, y) is bit 12·y + x. The two spare bits per row keep moves of
// one and two cells along x from wrapping into the next row.
using Mask = unsigned __int128;
constexpr int kStride = 12;

constexpr Mask bit(int x, int y) {
  return Mask{1} << (kStride * y + x);
}

constexpr Mask fieldMask() {
  Mask m = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) m |= bit(x, y);
  return m;
}
constexpr Mask kField = fieldMask();

Mask stepNeighbours(Mask m) {
  return ((m << 1) | (m >> 1) | (m << kStride) | (m >> kStride)) & kField;
}
Mask jumpNeighbours(Mask m) {
  return ((m << 2) | (m >> 2) | (m << (2 * kStride)) | (m >> (2 * kStride))) & kField;
}

// Cells a piece could ever stand on when it may only enter cells of `allowed`.
Mask flood(Mask start, Mask allowed, bool jumps) {
  Mask reach = start;
  for (;;) {
    const Mask next = reach | ((jumps ? jumpNeighbours(reach) : stepNeighbours(reach)) & allowed);
    if (next == reach) return reach;
    reach = next;
  }
}

// How many unpainted cells one move of a piece can take away at most (an eraser adds one).
int bestReduction(uint8_t code) {
  if (code == common::kSlider) return 2;
  if (code == common::kEraser) return -1;
  return 1;
}

}  // namespace

bool provablyDead(const rules::PlayState& ps) {
  struct Piece {
    Mask at;
    uint8_t code;
    int rank;
  };
  Piece pieces[100];
  int k = 0;
  Mask zeros = 0, ones = 0;
  int zeroCount = 0;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const uint8_t c = ps.playField[x][y];
      if (c == common::kUnpainted) {
        zeros |= bit(x, y);
        ++zeroCount;
      } else if (c == common::kPainted) {
        ones |= bit(x, y);
      } else if (rules::isPiece(c)) {
        pieces[k++] = {bit(x, y), c, ps.turnRank[x][y]};
      }
    }
  }
  if (zeroCount == 0 || k == 0) return zeroCount > 0;

  // A painting piece only ever enters cells that are unpainted at that time: cells unpainted
  // now or left by an eraser. An eraser only enters painted cells: painted now or left by a
  // painting piece. Grow both over-estimates together until they settle.
  bool anyEraser = false;
  Mask everZero = zeros;
  for (int i = 0; i < k; ++i)
    if (pieces[i].code == common::kEraser) {
      anyEraser = true;
      everZero |= pieces[i].at;
    }
  Mask painterReach = 0, everPainted = ones;
  for (;;) {
    painterReach = 0;
    for (int i = 0; i < k; ++i)
      if (pieces[i].code != common::kEraser)
        painterReach |= flood(pieces[i].at, everZero, pieces[i].code == common::kJumper);
    everPainted = ones | painterReach;
    if (!anyEraser) break;
    Mask next = zeros;
    for (int i = 0; i < k; ++i)
      if (pieces[i].code == common::kEraser) next |= flood(pieces[i].at, everPainted, false);
    if (next == everZero) break;
    everZero = next;
  }
  if (zeros & ~painterReach) return true;

  // A piece that can never move again stalls the game at its turn, so the field must be clear
  // before then. Ranks say who moves first: the active piece (rank k + 1), then 2, 3, ...
  int order[101];
  for (int i = 0; i < k; ++i) order[pieces[i].rank == k + 1 ? 0 : pieces[i].rank - 1] = i;
  for (int i = 0; i < k; ++i) {
    const Piece& p = pieces[i];
    const Mask targets = p.code == common::kEraser   ? stepNeighbours(p.at) & everPainted
                         : p.code == common::kJumper ? jumpNeighbours(p.at) & everZero
                                                     : stepNeighbours(p.at) & everZero;
    if (targets) continue;
    const int turn = p.rank == k + 1 ? 0 : p.rank - 1;  // moves made before its own
    int removed = 0, best = 0;
    for (int t = 0; t < turn; ++t) {
      removed += bestReduction(pieces[order[t]].code);
      best = std::max(best, removed);
    }
    if (zeroCount > best) return true;
  }
  return false;
}

namespace {

// The state as it was one turn pass earlier: what the search starts from.
rules::PlayState beforeTurnPass(const rules::PlayState& position) {
  rules::PlayState ps = position;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (rules::isPiece(ps.playField[x][y]))
        ps.turnRank[x][y] =
            static_cast<uint8_t>(ps.turnRank[x][y] == ps.turnCycle ? 2 : ps.turnRank[x][y] + 1);
  return ps;
}

}  // namespace

struct Search::Work {
  explicit Work(const rules::PlayState& numbered) : codec(numbered), table(codec.words()) {}

  Codec codec;
  StateTable table;
  std::vector<uint32_t> parent;
  std::vector<uint8_t> aimOf;
  uint64_t next = 0, levelEnd = 1;
  int depth = 0;
  uint32_t closestParent = StateTable::kNone;
  int closestAim = 0;

  // The moves from the start to stored state `last`, followed by aim `a` from there.
  std::vector<Move> movesTo(uint32_t last, int a) const {
    std::vector<std::pair<uint32_t, int>> path{{last, a}};
    for (uint32_t j = last; parent[j] != StateTable::kNone; j = parent[j])
      path.emplace_back(parent[j], aimOf[j]);
    std::reverse(path.begin(), path.end());
    std::vector<Move> moves;
    rules::PlayState at;
    for (const auto& [state, aim] : path) {
      codec.decode(table.key(state), at);
      moves.push_back({at.activeX, at.activeY, kAims[aim].dx, kAims[aim].dy});
    }
    return moves;
  }
};

Search::Search(const rules::PlayState& position, const Options& options) : options_(options) {
  if (!position.hasPiece()) {
    result_.verdict = Verdict::kNoPiece;
    if (position.isCleared()) result_.moves = 0;
    done_ = true;
    return;
  }
  if (position.isCleared()) {
    result_.verdict = Verdict::kSolvable;
    result_.moves = 0;
    done_ = true;
    return;
  }
  work_ = std::make_unique<Work>(beforeTurnPass(position));
  std::vector<uint64_t> key(work_->codec.words());
  work_->codec.encode(position, 0, key.data());
  work_->table.insert(key.data());
  work_->parent.push_back(StateTable::kNone);
  work_->aimOf.push_back(0);
}

Search::~Search() = default;
Search::Search(Search&&) noexcept = default;
Search& Search::operator=(Search&&) noexcept = default;

void Search::finish(Verdict v) {
  result_.verdict = v;
  result_.statesExplored = work_->table.size();
  result_.bytesUsed = work_->table.bytes() + work_->parent.capacity() * sizeof(uint32_t) +
                      work_->aimOf.capacity();
  if (v != Verdict::kSolvable && work_->closestParent != StateTable::kNone)
    result_.closest = work_->movesTo(work_->closestParent, work_->closestAim);
  done_ = true;
  work_.reset();
}

bool Search::advance(uint64_t budget) {
  if (done_) return true;
  Work& w = *work_;
  std::vector<uint64_t> key(w.codec.words());
  rules::PlayState base, next;
  for (uint64_t n = 0; n < budget; ++n) {
    if (w.next == w.table.size()) {
      finish(Verdict::kUnsolvable);
      return true;
    }
    const uint64_t i = w.next++;
    if (i == w.levelEnd) {
      ++w.depth;
      w.levelEnd = w.table.size();
    }
    const int rotation = w.codec.decode(w.table.key(i), base);
    for (int a = 0; a < 4; ++a) {
      next = base;
      const Step step = play(next, kAims[a]);
      if (step == Step::kRefused) continue;
      if (step == Step::kCleared) {
        result_.moves = w.depth + 1;
        result_.solution = w.movesTo(static_cast<uint32_t>(i), a);
        finish(Verdict::kSolvable);
        return true;
      }
      w.codec.encode(next, rotation + 1, key.data());
      if (w.table.find(key.data()) != StateTable::kNone) continue;
      if (options_.trackProgress) {
        int zeros = 0;
        for (int y = 0; y < 10; ++y)
          for (int x = 0; x < 10; ++x) zeros += next.playField[x][y] == common::kUnpainted;
        if (result_.fewestUnpainted < 0 || zeros < result_.fewestUnpainted) {
          result_.fewestUnpainted = zeros;
          w.closestParent = static_cast<uint32_t>(i);
          w.closestAim = a;
        }
      }
      if (options_.prune && provablyDead(next)) {
        ++result_.statesPruned;
        continue;
      }
      if (w.table.size() >= options_.maxStates) {
        finish(Verdict::kUnknown);
        return true;
      }
      w.table.insert(key.data());
      w.parent.push_back(static_cast<uint32_t>(i));
      w.aimOf.push_back(static_cast<uint8_t>(a));
    }
  }
  return false;
}

Result solveFrom(const rules::PlayState& position, const Options& options) {
  Search search(position, options);
  while (!search.advance(UINT64_MAX)) {
  }
  return search.result();
}

Result solve(const rules::PlayState& numbered, const Options& options) {
  if (!numbered.hasPiece() || numbered.isCleared()) return solveFrom(numbered, options);
  rules::PlayState ps = numbered;
  ps.turnPass();
  return solveFrom(ps, options);
}

Result solveStage(const common::StageSet& set, int s, const Options& options) {
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  return solve(ps, options);
}

}  // namespace solve
