// The game rig: the game on the scripted host, its frame log, its script and its hooks.
#include "tests/support/game/game_rig.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/render/sprite_sheet.h"
#if BRACKLE_TESTS_DESKTOP
#include "platform/sdl/jpeg.h"
#include "platform/sdl/ttf_font.h"
#else
#include "tests/support/stand_ins.h"
#endif

namespace testing_support {

using platform::Surface;

namespace {

// Why a script stopped the run: the game is not where the script expected it.
struct Abort {
  std::string why;
};

// Thrown out of a run that went on longer than any test needs.
struct RunAway {};

}  // namespace

#if BRACKLE_TESTS_DESKTOP
platform::MaskFont& gameFont() {
  static std::unique_ptr<platform::TtfFont> font = platform::TtfFont::openGameFont();
  return *font;
}

platform::PictureReader& pictureReader() {
  static platform::JpegReader reader;
  return reader;
}
#else
platform::MaskFont& gameFont() {
  static BlockFont font;
  return font;
}

platform::PictureReader& pictureReader() {
  static FlatJpegReader reader;
  return reader;
}
#endif

GameRig::GameRig(const RigOptions& options)
    : dir("brackle game"),
      host(dir.path(), gameFont(), pictureReader(), options.startTick),
      g(host, options.sheet ? *options.sheet : game::spriteSheet()),
      background_(options.background) {
  if (options.shippedFiles) copyRuntimeFiles(dir.path());
  host.showWindow(g.Pic.image, g);
  if (background_) {
    g.Pic.setBackground(Surface(game::kPicWidth, game::kPicHeight, *background_));
    g.Pic.clear();
  }
  host.onDeliver = [this](platform::ScriptedHost&) { deliver(); };
}

int GameRig::run(const std::function<void()>& body) {
  lastPhase_ = g.animPhase;
  lastStep_ = g.animStep;
  try {
    body();
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  } catch (const StopRun&) {
    return kStopped;
  } catch (const RunAway&) {
    ADD_FAILURE() << "the run went on for more than " << frameLimit << " frames";
    return kStopped;
  } catch (const Abort& a) {
    ADD_FAILURE() << "script stopped at frame " << frames.size() << ": " << a.why;
    return kStopped;
  }
  return kReturned;
}

bool GameRig::runMainL() {
  return run([this] { g.play.MainL(); }) == kReturned;
}

int GameRig::runMenu(std::function<void(int n)> each) {
  onFrame = std::move(each);
  const int status = run([this] { g.select.menu(); });
  onFrame = nullptr;
  return status;
}

int GameRig::closeWindow() {
  host.close();
  g.frameStart = host.tickCount();
  try {
    g.pacing.waitFrame(100);
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
  return -1;
}

void GameRig::frame(int period) {
  g.frameStart = host.tickCount();
  g.pacing.waitFrame(period);
}

void GameRig::enter(const common::StageSet& set, int s) {
  g.stageSet = set;
  g.Pic.setBackground(background_ ? Surface(game::kPicWidth, game::kPicHeight, *background_)
                                  : picture("back.jpg"));
  g.Pic.clear();
  g.loadStage(g.stageSet, s);
  g.curStage = static_cast<int16_t>(s - 1);
  g.fadeMode = game::kNoFade;
  g.fadeStep = 0;
}

Surface GameRig::picture(const std::string& name) {
  return host.pictures().readPicture(dir.file(name));
}

void GameRig::script(std::vector<Action> actions) {
  actions_ = std::move(actions);
  next_ = 0;
}

int GameRig::count(Kind k) const {
  int n = 0;
  for (const Frame& f : frames) n += f.kind == k;
  return n;
}

double GameRig::centreX() const {
  return g.render.tileBox(g.activeX, g.activeY).left + 32;
}
double GameRig::centreY() const {
  return g.render.tileBox(g.activeX, g.activeY).top + 16;
}

Kind GameRig::classify() const {
  if (g.fadeMode == 1 && g.fadeStep > 0) return Kind::FadeOut;
  if (g.isCleared() && g.fadeMode != 1) return Kind::Banner;
  if (g.fadeMode == 2) return Kind::FadeIn;
  if (!g.hasPiece()) return Kind::Play;
  // Between the leaving step and the next turn pass the active cell holds no piece.
  return rules::isPiece(g.playField[g.activeX][g.activeY]) ? Kind::Play : Kind::Move;
}

void GameRig::deliver() {
  // A frame delivers events more than once; it is told by its new start tick.
  newFrame_ = frames.empty() || g.frameStart != frames.back().start;
  if (newFrame_) {
    if (frames.size() >= frameLimit) throw RunAway{};
    // The frame was drawn with the phase and the step that the previous wait left.
    const Kind kind = classify();
    Frame f;
    f.kind = kind;
    f.start = g.frameStart;
    f.fadeStep = g.fadeStep;
    f.animPhase = lastPhase_;
    f.arrow = kind == Kind::Play && lastStep_ == 1 && g.hasPiece();
    f.viewX = g.viewX, f.viewY = g.viewY;
    f.leftDown = g.leftDown, f.rightDown = g.rightDown;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) f.field[x][y] = g.playField[x][y];
    if (keepPictures(f)) f.pic = g.Pic.image;
    frames.push_back(std::move(f));
  }
  lastPhase_ = g.animPhase;
  lastStep_ = g.animStep;
  while (next_ < actions_.size() && actions_[next_](*this)) ++next_;
  if (newFrame_ && onFrame) onFrame(static_cast<int>(frames.size()));
  if (onDelivery) onDelivery(*this);
}

GameRig::Action check(std::function<void(GameRig&)> f) {
  return [f](GameRig& r) {
    f(r);
    return true;
  };
}

GameRig::Action pointAt(float x, float y) {
  return check([=](GameRig& r) { r.host.move(x, y); });
}

GameRig::Action aimToward(int dx, int dy) {
  return check([=](GameRig& r) {
    const bool right = dx == 1 || dy == -1, up = dx == -1 || dy == -1;
    r.host.move(static_cast<float>(r.centreX() + (right ? 20 : -20)),
                static_cast<float>(r.centreY() + (up ? -10 : 10)));
  });
}

GameRig::Action afterArrowFrame() {
  return [start = size_t{0}, started = false](GameRig& r) mutable {
    if (!started) start = r.frames.size(), started = true;
    for (size_t i = start; i < r.frames.size(); ++i)
      if (r.frames[i].arrow) return true;
    return false;
  };
}

GameRig::Action afterFrames(int n) {
  return [n, start = size_t{0}, started = false](GameRig& r) mutable {
    if (!started) start = r.frames.size(), started = true;
    return r.frames.size() >= start + n;
  };
}

GameRig::Action beforeHiddenArrowFrame() {
  return [](GameRig& r) { return r.newFrame() && r.g.fadeMode == 0 && r.g.animStep == -1; };
}

GameRig::Action untilPlaying() {
  return [](GameRig& r) { return r.g.fadeMode == 0 && r.frames.back().kind == Kind::Play; };
}

GameRig::Action press(int button) {
  return check([=](GameRig& r) { r.host.press(button, r.g.mouseX, r.g.mouseY); });
}

GameRig::Action release(int button) {
  return check([=](GameRig& r) { r.host.release(button); });
}

GameRig::Action pressKey(platform::Key key) {
  return check([=](GameRig& r) { r.host.key(key); });
}

GameRig::Action closeNow() {
  return check([](GameRig& r) { r.host.close(); });
}

std::vector<GameRig::Action> click() {
  return {press(1), afterFrames(1), release(1)};
}

namespace {

// Waits for the six frames of a move and the frame after them.
GameRig::Action untilMoveDone() {
  return [seen = false, waited = 0](GameRig& r) mutable {
    if (!r.newFrame()) return false;
    if (r.frames.back().kind == Kind::Move) {
      seen = true;
      return false;
    }
    if (seen) return true;
    if (++waited > 4) throw Abort{"the click moved nothing"};
    return false;
  };
}

}  // namespace

std::vector<GameRig::Action> playMove(const solve::Move& m) {
  return join({{untilPlaying(), check([m](GameRig& r) {
                  if (r.g.activeX != m.x || r.g.activeY != m.y)
                    throw Abort{"the turn is at (" + std::to_string(r.g.activeX) + ", " +
                                std::to_string(r.g.activeY) + "), not at (" + std::to_string(m.x) +
                                ", " + std::to_string(m.y) + ")"};
                }),
                aimToward(m.dx, m.dy), afterArrowFrame(), check([m](GameRig& r) {
                  EXPECT_EQ(r.g.aimDX, m.dx) << "the arrow frame took another quadrant";
                  EXPECT_EQ(r.g.aimDY, m.dy) << "the arrow frame took another quadrant";
                })},
               click(),
               {untilMoveDone()}});
}

std::vector<GameRig::Action> join(std::initializer_list<std::vector<GameRig::Action>> parts) {
  std::vector<GameRig::Action> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace testing_support
