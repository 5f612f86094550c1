// Exact fewest-move solver: breadth-first search over play states, driven by the game's rules.
#include "tools/solve/solver.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

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

// ---------------------------------------------------------------------------------------------
// Compact play states. Cells that are blocks or empty space never change, so a state is: one
// bit per other cell (painted or not; 0 under a piece), the cell of each piece in rank order
// 2..k+1 (the last one active), and which piece of the fixed cyclic order is active, taken
// modulo the period of the kind sequence, since the rules see only codes and ranks.
class Codec {
 public:
  explicit Codec(const rules::PlayState& numbered) {
    std::vector<std::pair<int, uint8_t>> byRank;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const uint8_t c = numbered.playField[x][y];
        if (c == common::kBlock || c == common::kEmpty) {
          base_.playField[x][y] = c;
        } else {
          floorCells_.push_back(static_cast<uint8_t>(10 * y + x));
        }
        if (rules::isPiece(c)) byRank.emplace_back(numbered.turnRank[x][y], c);
      }
    }
    std::sort(byRank.begin(), byRank.end());
    for (const auto& [rank, code] : byRank) kinds_.push_back(code);
    k_ = static_cast<int>(kinds_.size());
    period_ = k_;
    for (int q = 1; q < k_; ++q) {
      if (k_ % q) continue;
      bool same = true;
      for (int i = 0; i < k_ && same; ++i) same = kinds_[i] == kinds_[(i + q) % k_];
      if (same) {
        period_ = q;
        break;
      }
    }
    rotationBits_ = period_ > 1 ? std::bit_width(static_cast<unsigned>(period_ - 1)) : 0;
    const int bits = static_cast<int>(floorCells_.size()) + 7 * k_ + rotationBits_;
    words_ = std::max(1, (bits + 63) / 64);
    base_.turnCycle = k_ + 1;
  }

  int words() const { return words_; }
  int pieces() const { return k_; }
  int period() const { return period_; }

  // `rotation` is the index, in the cyclic order, of the active piece.
  void encode(const rules::PlayState& ps, int rotation, uint64_t* out) const {
    std::memset(out, 0, sizeof(uint64_t) * words_);
    const int pieceBits = static_cast<int>(floorCells_.size());
    for (size_t i = 0; i < floorCells_.size(); ++i) {
      const int x = floorCells_[i] % 10, y = floorCells_[i] / 10;
      const uint8_t c = ps.playField[x][y];
      if (c == common::kPainted) {
        out[i / 64] |= uint64_t{1} << (i % 64);
      } else if (rules::isPiece(c)) {
        put(out, pieceBits + 7 * (ps.turnRank[x][y] - 2), 7, floorCells_[i]);
      }
    }
    put(out, pieceBits + 7 * k_, rotationBits_, static_cast<uint64_t>(rotation % period_));
  }

  // Rebuilds the play state; returns the rotation.
  int decode(const uint64_t* in, rules::PlayState& ps) const {
    ps = base_;
    int at = 0;
    for (const uint8_t cell : floorCells_) {
      if (get(in, at, 1)) ps.playField[cell % 10][cell / 10] = common::kPainted;
      ++at;
    }
    const int rotation = static_cast<int>(get(in, at + 7 * k_, rotationBits_));
    for (int r = 2; r <= k_ + 1; ++r) {
      const int cell = static_cast<int>(get(in, at, 7));
      at += 7;
      const int x = cell % 10, y = cell / 10;
      ps.playField[x][y] = kinds_[(rotation + r - 1) % k_];
      ps.turnRank[x][y] = static_cast<uint8_t>(r);
      if (r == k_ + 1) {
        ps.activeX = x;
        ps.activeY = y;
      }
    }
    return rotation;
  }

 private:
  static void put(uint64_t* w, int at, int n, uint64_t v) {
    if (n == 0) return;
    w[at / 64] |= v << (at % 64);
    if (at % 64 + n > 64) w[at / 64 + 1] |= v >> (64 - at % 64);
  }
  static uint64_t get(const uint64_t* w, int at, int n) {
    if (n == 0) return 0;
    uint64_t v = w[at / 64] >> (at % 64);
    if (at % 64 + n > 64) v |= w[at / 64 + 1] << (64 - at % 64);
    return v & ((uint64_t{1} << n) - 1);
  }

  rules::PlayState base_;
  std::vector<uint8_t> floorCells_;  // 10·y + x of every cell that is not block or empty space
  std::vector<uint8_t> kinds_;       // piece codes in the cyclic turn order
  int k_ = 0, period_ = 1, rotationBits_ = 0, words_ = 1;
};

// Stored states in insertion order (so the breadth-first queue is the store itself) with an
// open-addressing index over them.
class StateTable {
 public:
  static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

  explicit StateTable(int words) : words_(words), slots_(1 << 12, kNone) {}

  uint64_t size() const { return count_; }
  const uint64_t* key(uint64_t i) const { return &keys_[i * words_]; }

  // Index of the key, or kNone.
  uint32_t find(const uint64_t* k) const {
    const size_t mask = slots_.size() - 1;
    for (size_t s = hash(k) & mask;; s = (s + 1) & mask) {
      const uint32_t i = slots_[s];
      if (i == kNone) return kNone;
      if (std::memcmp(key(i), k, sizeof(uint64_t) * words_) == 0) return i;
    }
  }

  // Stores a key known to be absent; returns its index.
  uint32_t insert(const uint64_t* k) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const uint32_t index = static_cast<uint32_t>(count_++);
    keys_.insert(keys_.end(), k, k + words_);
    place(index);
    return index;
  }

 private:
  size_t hash(const uint64_t* k) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < words_; ++i) {
      h ^= k[i];
      h *= 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 29;
    return static_cast<size_t>(h);
  }
  void place(uint32_t index) {
    const size_t mask = slots_.size() - 1;
    size_t s = hash(key(index)) & mask;
    while (slots_[s] != kNone) s = (s + 1) & mask;
    slots_[s] = index;
  }
  void grow() {
    slots_.assign(slots_.size() * 2, kNone);
    for (uint64_t i = 0; i < count_; ++i) place(static_cast<uint32_t>(i));
  }

  int words_;
  uint64_t count_ = 0;
  std::vector<uint64_t> keys_;
  std::vector<uint32_t> slots_;
};

// One move of the active piece by the game's own rules, up to and including the turn pass.
enum class Step { kRefused, kCleared, kMoved };
Step play(rules::PlayState& ps, const Move& aim) {
  ps.aimDX = static_cast<int16_t>(aim.dx);
  ps.aimDY = static_cast<int16_t>(aim.dy);
  if (!ps.moveAttempt()) return Step::kRefused;
  ps.arrive(ps.moveDistance());
  if (ps.isCleared()) return Step::kCleared;
  ps.turnPass();
  return Step::kMoved;
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

Survey survey(const rules::PlayState& numbered, uint64_t maxStates) {
  Survey out;
  if (!numbered.hasPiece() || numbered.isCleared()) {
    out.complete = true;
    return out;
  }
  const Codec codec(numbered);
  StateTable table(codec.words());
  std::vector<uint64_t> key(codec.words());
  constexpr uint32_t kClears = StateTable::kNone - 1;
  std::vector<uint32_t> successors;  // four per state: a state index, kClears or kNone

  rules::PlayState ps = numbered;
  ps.turnPass();
  codec.encode(ps, 0, key.data());
  table.insert(key.data());
  rules::PlayState base, next;
  out.complete = true;
  for (uint64_t i = 0; i < table.size(); ++i) {
    const int rotation = codec.decode(table.key(i), base);
    for (int a = 0; a < 4; ++a) {
      next = base;
      uint32_t to = StateTable::kNone;
      const Step step = play(next, kAims[a]);
      if (step == Step::kCleared) {
        to = kClears;
        ++out.clearingMoves;
      } else if (step == Step::kMoved) {
        codec.encode(next, rotation + 1, key.data());
        to = table.find(key.data());
        if (to == StateTable::kNone) {
          if (table.size() >= maxStates) {
            out.complete = false;
          } else {
            to = table.insert(key.data());
          }
        }
      }
      successors.push_back(to);
    }
  }
  const uint64_t n = table.size();
  std::vector<uint8_t> alive(n, 0);
  for (bool changed = true; changed;) {
    changed = false;
    for (uint64_t i = n; i-- > 0;) {
      if (alive[i]) continue;
      for (int a = 0; a < 4; ++a) {
        const uint32_t to = successors[i * 4 + a];
        if (to == kClears || (to != StateTable::kNone && alive[to])) {
          alive[i] = 1;
          changed = true;
          break;
        }
      }
    }
  }
  out.reachable = n;
  for (uint64_t i = 0; i < n; ++i) {
    if (!alive[i]) ++out.dead;
    bool any = false;
    for (int a = 0; a < 4; ++a) any = any || successors[i * 4 + a] != StateTable::kNone;
    if (!any) ++out.stalled;
  }
  return out;
}

}  // namespace solve
