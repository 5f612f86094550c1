// Compact play states, the table that stores them and one move by the rules: shared by the
// fewest-move search and the survey of the whole state graph.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "game/rules/rules.h"
#include "game/solve/solver.h"

namespace solve::store {

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
  // The memory its keys and index take.
  uint64_t bytes() const {
    return keys_.capacity() * sizeof(uint64_t) + slots_.capacity() * sizeof(uint32_t);
  }
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
inline Step play(rules::PlayState& ps, const Move& aim) {
  ps.aimDX = static_cast<int16_t>(aim.dx);
  ps.aimDY = static_cast<int16_t>(aim.dy);
  if (!ps.moveAttempt()) return Step::kRefused;
  ps.arrive(ps.moveDistance());
  if (ps.isCleared()) return Step::kCleared;
  ps.turnPass();
  return Step::kMoved;
}

}  // namespace solve::store
