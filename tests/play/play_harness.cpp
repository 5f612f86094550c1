// Playing a stage on the scripted host: coded sheet, stage letters, frame log, pointer script.
#include "tests/play/play_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <stdexcept>

#include "platform/sdl/jpeg.h"
#include "tools/stage_design/stage_text.h"

namespace play_test {

using platform::Rgb;
using platform::Surface;

namespace {

// Why a script stopped the run: the game is not where the script expected it.
struct Abort {
  std::string why;
};

}  // namespace

Rgb coded(int sx, int sy) {
  return {static_cast<uint8_t>(sx & 255), static_cast<uint8_t>(sy & 255),
          static_cast<uint8_t>(0x80 | (sx >> 8) | ((sy >> 8) << 1))};
}

bool isCodedFrom(Rgb c, int x, int y, int w, int h) {
  if ((c.b & 0xfc) != 0x80) return false;
  const int sx = c.r | ((c.b & 1) << 8), sy = c.g | (((c.b >> 1) & 1) << 8);
  return sx >= x && sx < x + w && sy >= y && sy < y + h;
}

const Surface& codedSheet() {
  static const Surface sheet = [] {
    Surface s(320, 416);
    for (int y = 0; y < 416; ++y)
      for (int x = 0; x < 320; ++x) s.setPixel(x, y, coded(x, y));
    // Every mask of the sheet, opaque all over.
    const int masks[][4] = {{0, 32, 64, 32},  {128, 32, 64, 32},  {0, 96, 320, 32},
                            {0, 192, 96, 64}, {96, 160, 128, 32}, {96, 224, 128, 32},
                            {0, 272, 48, 16}, {0, 384, 224, 32}};
    for (const auto& m : masks) platform::fillRect(s, m[0], m[1], m[2], m[3], platform::kBlack);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x)
        s.setPixel(128 + x, 16 + y, (x + y) % 2 == 0 ? platform::kBlack : platform::kWhite);
    return s;
  }();
  return sheet;
}

common::StageSet stageFrom(std::initializer_list<const char*> rows, int s) {
  common::StageSet set;
  stage_design::fillStage(set, s, {rows.begin(), rows.end()});
  return set;
}

Play::Play(const Surface& sheet)
    : dir("brackle play"),
      host(dir.path(), testing_support::gameFont(), testing_support::pictureReader()),
      g(host, sheet) {
  testing_support::copyRuntimeFiles(dir.path());
  host.showWindow(g.Pic.image, g);
  host.onDeliver = [this](platform::ScriptedHost&) { deliver(); };
}

void Play::enter(const common::StageSet& set, int s) {
  g.stageSet = set;
  g.Pic.setBackground(platform::decodeJpegFile(dir.file("back.jpg")));
  g.Pic.clear();
  g.loadStage(g.stageSet, s);
  g.curStage = static_cast<int16_t>(s - 1);
  g.fadeMode = game::kNoFade;
  g.fadeStep = 0;
}

void Play::flatBackground() {
  g.Pic.setBackground(Surface(game::kPicWidth, game::kPicHeight, kFlat));
  g.Pic.clear();
}

bool Play::run(const std::function<void()>& body) {
  lastPhase_ = g.animPhase;
  lastStep_ = g.animStep;
  try {
    body();
  } catch (const platform::ProcessEnded&) {
    return false;
  } catch (const RunAway&) {
    ADD_FAILURE() << "the run went on for more than " << frameLimit << " frames";
    return false;
  } catch (const Abort& a) {
    ADD_FAILURE() << "script stopped at frame " << frames.size() << ": " << a.why;
    return false;
  }
  return true;
}

bool Play::runMainL() {
  return run([this] { g.play.MainL(); });
}

int Play::closeWindow() {
  host.close();
  g.frameStart = host.tickCount();
  try {
    g.pacing.waitFrame(100);
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
  return -1;
}

void Play::script(std::vector<Action> actions) {
  actions_ = std::move(actions);
  next_ = 0;
}

int Play::count(Kind k) const {
  int n = 0;
  for (const Frame& f : frames) n += f.kind == k;
  return n;
}

double Play::centreX() const {
  return g.render.tileBox(g.activeX, g.activeY).left + 32;
}
double Play::centreY() const {
  return g.render.tileBox(g.activeX, g.activeY).top + 16;
}

Kind Play::classify() const {
  if (g.fadeMode == 1 && g.fadeStep > 0) return Kind::FadeOut;
  if (g.isCleared() && g.fadeMode != 1) return Kind::Banner;
  if (g.fadeMode == 2) return Kind::FadeIn;
  if (!g.hasPiece()) return Kind::Play;
  // Between the leaving step and the next turn pass the active cell holds no piece.
  return rules::isPiece(g.playField[g.activeX][g.activeY]) ? Kind::Play : Kind::Move;
}

void Play::deliver() {
  newFrame_ = frames.empty() || g.frameStart != frames.back().start;
  if (newFrame_) {
    if (frames.size() >= frameLimit) throw RunAway{};
    Frame f{};
    f.kind = classify();
    f.start = g.frameStart;
    f.fadeMode = g.fadeMode;
    f.fadeStep = g.fadeStep;
    // The frame was drawn with the phase that the previous wait left.
    f.animPhase = lastPhase_;
    f.animStep = lastStep_;
    f.arrow = f.kind == Kind::Play && f.animStep == 1 && g.hasPiece();
    f.viewX = g.viewX;
    f.viewY = g.viewY;
    f.activeX = g.activeX;
    f.activeY = g.activeY;
    f.aimDX = g.aimDX;
    f.aimDY = g.aimDY;
    f.leftDown = g.leftDown;
    f.rightDown = g.rightDown;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) f.field[x][y] = g.playField[x][y];
    if (keepPictures(f)) f.pic = g.Pic.image;
    frames.push_back(std::move(f));
  }
  lastPhase_ = g.animPhase;
  lastStep_ = g.animStep;
  while (next_ < actions_.size() && actions_[next_](*this)) ++next_;
  if (onDelivery) onDelivery(*this);
}

Play::Action pointAt(float x, float y) {
  return [=](Play& p) {
    p.host.move(x, y);
    return true;
  };
}

Play::Action aimToward(int dx, int dy) {
  return [=](Play& p) {
    const bool right = dx == 1 || dy == -1, up = dx == -1 || dy == -1;
    p.host.move(static_cast<float>(p.centreX() + (right ? 20 : -20)),
                static_cast<float>(p.centreY() + (up ? -10 : 10)));
    return true;
  };
}

Play::Action afterArrowFrame() {
  return [start = size_t{0}, started = false](Play& p) mutable {
    if (!started) start = p.frames.size(), started = true;
    for (size_t i = start; i < p.frames.size(); ++i)
      if (p.frames[i].arrow) return true;
    return false;
  };
}

Play::Action afterFrames(int n) {
  return [n, start = size_t{0}, started = false](Play& p) mutable {
    if (!started) start = p.frames.size(), started = true;
    return p.frames.size() >= start + n;
  };
}

Play::Action beforeHiddenArrowFrame() {
  return [](Play& p) { return p.newFrame() && p.g.fadeMode == 0 && p.g.animStep == -1; };
}

Play::Action untilPlaying() {
  return [](Play& p) { return p.g.fadeMode == 0 && p.frames.back().kind == Kind::Play; };
}

Play::Action press(int button) {
  return [=](Play& p) {
    p.host.press(button, p.g.mouseX, p.g.mouseY);
    return true;
  };
}

Play::Action release(int button) {
  return [=](Play& p) {
    p.host.release(button);
    return true;
  };
}

Play::Action pressKey(platform::Key key) {
  return [=](Play& p) {
    p.host.key(key);
    return true;
  };
}

Play::Action closeNow() {
  return [](Play& p) {
    p.host.close();
    return true;
  };
}

std::vector<Play::Action> click() {
  return {press(1), afterFrames(1), release(1)};
}

Play::Action check(std::function<void(Play&)> f) {
  return [f](Play& p) {
    f(p);
    return true;
  };
}

namespace {

// Waits for the six frames of a move and the frame after them.
Play::Action untilMoveDone() {
  return [seen = false, waited = 0](Play& p) mutable {
    if (!p.newFrame()) return false;
    if (p.frames.back().kind == Kind::Move) {
      seen = true;
      return false;
    }
    if (seen) return true;
    if (++waited > 4) throw Abort{"the click moved nothing"};
    return false;
  };
}

}  // namespace

std::vector<Play::Action> playMove(const Move& m) {
  return join({{untilPlaying(), check([m](Play& p) {
                  if (p.g.activeX != m.x || p.g.activeY != m.y)
                    throw Abort{"the turn is at (" + std::to_string(p.g.activeX) + ", " +
                                std::to_string(p.g.activeY) + "), not at (" + std::to_string(m.x) +
                                ", " + std::to_string(m.y) + ")"};
                }),
                aimToward(m.dx, m.dy), afterArrowFrame(), check([m](Play& p) {
                  EXPECT_EQ(p.g.aimDX, m.dx) << "the arrow frame took another quadrant";
                  EXPECT_EQ(p.g.aimDY, m.dy) << "the arrow frame took another quadrant";
                })},
               click(),
               {untilMoveDone()}});
}

std::vector<Play::Action> join(std::initializer_list<std::vector<Play::Action>> parts) {
  std::vector<Play::Action> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace play_test
