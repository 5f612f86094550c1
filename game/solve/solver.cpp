// Exact fewest-move solver: breadth-first search over play states, driven by the game's rules.
#include "game/solve/solver.h"

#include <algorithm>

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

Result solve(const rules::PlayState& numbered, const Options& options) {
  Result result;
  if (!numbered.hasPiece()) {
    result.verdict = Verdict::kNoPiece;
    if (numbered.isCleared()) result.moves = 0;
    return result;
  }
  if (numbered.isCleared()) {
    result.verdict = Verdict::kSolvable;
    result.moves = 0;
    return result;
  }
  const Codec codec(numbered);
  const int words = codec.words();
  StateTable table(words);
  std::vector<uint32_t> parent;
  std::vector<uint8_t> aimOf;
  std::vector<uint64_t> key(words);

  rules::PlayState ps = numbered;
  ps.turnPass();
  codec.encode(ps, 0, key.data());
  table.insert(key.data());
  parent.push_back(StateTable::kNone);
  aimOf.push_back(0);

  uint64_t levelEnd = 1;
  int depth = 0;
  rules::PlayState base, next;
  uint32_t closestParent = StateTable::kNone;
  int closestAim = 0;
  // The moves from the start to stored state `last`, followed by aim `a` from there.
  auto movesTo = [&](uint32_t last, int a) {
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
  };
  auto giveUp = [&](Verdict v) {
    result.verdict = v;
    result.statesExplored = table.size();
    if (closestParent != StateTable::kNone) result.closest = movesTo(closestParent, closestAim);
    return result;
  };
  for (uint64_t i = 0; i < table.size(); ++i) {
    if (i == levelEnd) {
      ++depth;
      levelEnd = table.size();
    }
    const int rotation = codec.decode(table.key(i), base);
    for (int a = 0; a < 4; ++a) {
      next = base;
      const Step step = play(next, kAims[a]);
      if (step == Step::kRefused) continue;
      if (step == Step::kCleared) {
        result.verdict = Verdict::kSolvable;
        result.moves = depth + 1;
        result.statesExplored = table.size();
        result.solution = movesTo(static_cast<uint32_t>(i), a);
        return result;
      }
      codec.encode(next, rotation + 1, key.data());
      if (table.find(key.data()) != StateTable::kNone) continue;
      if (options.trackProgress) {
        int zeros = 0;
        for (int y = 0; y < 10; ++y)
          for (int x = 0; x < 10; ++x) zeros += next.playField[x][y] == common::kUnpainted;
        if (result.fewestUnpainted < 0 || zeros < result.fewestUnpainted) {
          result.fewestUnpainted = zeros;
          closestParent = static_cast<uint32_t>(i);
          closestAim = a;
        }
      }
      if (options.prune && provablyDead(next)) {
        ++result.statesPruned;
        continue;
      }
      if (table.size() >= options.maxStates) return giveUp(Verdict::kUnknown);
      table.insert(key.data());
      parent.push_back(static_cast<uint32_t>(i));
      aimOf.push_back(static_cast<uint8_t>(a));
    }
  }
  return giveUp(Verdict::kUnsolvable);
}

Result solveStage(const common::StageSet& set, int s, const Options& options) {
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  return solve(ps, options);
}

}  // namespace solve
