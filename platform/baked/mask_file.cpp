// The baked text file, and the font that draws from it.
#include "platform/baked/mask_file.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace platform {
namespace {

constexpr char kMagic[] = "BRMASK1\n";
constexpr size_t kMagicSize = sizeof kMagic - 1;

void put(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

class Reader {
 public:
  explicit Reader(const std::string& bytes) : b_(bytes) {}
  uint32_t u32() {
    need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<uint32_t>(static_cast<uint8_t>(b_[pos_++])) << (8 * i);
    return v;
  }
  // A count of items of at least `itemSize` bytes each, refused when the rest cannot hold
  // them (a bad count would otherwise reserve gigabytes).
  uint32_t count(size_t itemSize) {
    const uint32_t n = u32();
    if (itemSize && n > (b_.size() - pos_) / itemSize) fail();
    return n;
  }
  std::string text(size_t n) {
    need(n);
    std::string s = b_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  bool done() const { return pos_ == b_.size(); }

 private:
  void need(size_t n) const {
    if (b_.size() - pos_ < n) fail();
  }
  [[noreturn]] static void fail() { throw std::runtime_error("the mask file is cut short"); }
  const std::string& b_;
  size_t pos_ = 0;
};

}  // namespace

std::string encodeMaskFile(const MaskSet& masks) {
  std::string out(kMagic, kMagicSize);
  put(out, static_cast<uint32_t>(masks.size()));
  for (const auto& [text, m] : masks) {
    put(out, static_cast<uint32_t>(text.size()));
    out += text;
    put(out, static_cast<uint32_t>(m.width));
    put(out, static_cast<uint32_t>(m.height));
    put(out, static_cast<uint32_t>(m.spans.size()));
    for (const TextMask::Span& s : m.spans) {
      put(out, static_cast<uint32_t>(s.y));
      put(out, static_cast<uint32_t>(s.x));
      put(out, static_cast<uint32_t>(s.n));
    }
  }
  return out;
}

MaskSet decodeMaskFile(const std::string& bytes) {
  if (bytes.compare(0, kMagicSize, kMagic) != 0) throw std::runtime_error("not a mask file");
  Reader r(bytes);
  r.text(kMagicSize);
  MaskSet masks;
  for (uint32_t i = 0, n = r.count(16); i < n; ++i) {
    std::string text = r.text(r.count(1));
    TextMask m;
    m.width = static_cast<int>(r.u32());
    m.height = static_cast<int>(r.u32());
    m.spans.resize(r.count(12));
    for (TextMask::Span& s : m.spans) {
      s.y = static_cast<int>(r.u32());
      s.x = static_cast<int>(r.u32());
      s.n = static_cast<int>(r.u32());
    }
    masks.emplace(std::move(text), std::move(m));
  }
  if (!r.done()) throw std::runtime_error("the mask file has bytes after its last mask");
  return masks;
}

TextMask BakedFont::render(const std::string& text) {
  const auto it = masks_.find(text);
  if (it != masks_.end()) return it->second;
  ++missing_;
  std::fprintf(stderr, "no baked mask for the text \"%s\"\n", text.c_str());
  return {};
}

}  // namespace platform
