// Playing one stage: set-up, turn change and the frame loop with aim, click, keys and scroll.
#include "game/base/to_pixel.h"
#include "game/play/play_screen.h"

namespace game {

namespace {

// Where the buttons sit; a click on them must be strictly inside.
constexpr layout::Rect kGiveUp = layout::kGiveUpAt, kRetry = layout::kRetryAt;

// What the player asked for in a frame, by a click or by a key.
enum class Ask { kNothing, kGiveUp, kRetry, kMove };

// The direction a key moves the active piece in: the arrows turned an eighth of a turn
// clockwise, each along a row of the diamond, and the keypad's diagonals as they lie.
bool keyDirection(platform::Key key, int16_t& dx, int16_t& dy) {
  using platform::Key;
  switch (key) {
    case Key::kRight:
    case Key::kPad3:
      return dx = 1, dy = 0, true;
    case Key::kDown:
    case Key::kPad1:
      return dx = 0, dy = 1, true;
    case Key::kLeft:
    case Key::kPad7:
      return dx = -1, dy = 0, true;
    case Key::kUp:
    case Key::kPad9:
      return dx = 0, dy = -1, true;
    default:
      return false;
  }
}

}  // namespace

void PlayScreen::undoMove() {
  if (g.moveHistory.empty()) return;
  // The aim is the pointer's, not the past's.
  const int16_t dx = g.aimDX, dy = g.aimDY;
  g.playState() = g.moveHistory.back();
  g.moveHistory.pop_back();
  g.aimDX = dx, g.aimDY = dy;
}

void PlayScreen::drawButtons() {
  render.blitChr(kGiveUp.x, kGiveUp.y, layout::kGiveUpButton, platform::Rop::SrcPaint);
  render.blitChr(kRetry.x, kRetry.y, layout::kRetryButton, platform::Rop::SrcPaint);
}

void PlayScreen::MainL() {
  enum class Phase { SetUp, TurnChange, Frame };
  Phase phase = Phase::SetUp;
  for (;;) {
    if (phase == Phase::SetUp) {
      g.moveHistory.clear();
      g.numberPieces();
      g.fadeMode = kFadingIn;
      platform::fillRect(g.back.image, 0, 0, kPicWidth, kPicHeight, platform::kBlack);
      phase = Phase::TurnChange;
    }
    if (phase == Phase::TurnChange) {
      if (g.isCleared()) {
        g.Pic.clear();
        render.drawField();
        g.clearFlag[g.curStage] = true;
        // Saved at once as well as at close, so a crash or a kill keeps the clear.
        files.writeClearRecord();
        sclear();
        g.fadeMode = kFadingOut;
      }
      g.turnPass();
      phase = Phase::Frame;
    }

    g.frameStart = host.tickCount();
    g.Pic.clear();
    render.drawField();
    if (g.fadeMode == kFadingOut) {
      if (fades.fadeOutEnded()) {
        g.fadeMode = kFadingIn;
        return;
      }
      pacing.waitFrame(100);
      continue;
    }
    if (g.fadeMode == kFadingIn && !fades.fadeInEnded()) {
      pacing.waitFrame(100);
      continue;
    }

    // A stage saved without any piece has no active piece: no marker, no aim.
    const bool active = g.hasPiece();
    const auto [X, Y] = render.tileBox(g.activeX, g.activeY);
    if (active) {
      const layout::Offset at = layout::turnMarkerOffset(g.playField[g.activeX][g.activeY]);
      render.drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy), layout::turnMarker(g.animPhase));
    }
    drawButtons();

    if (g.animStep == 1 && active) {
      // The quadrant of the pointer around the active cell's centre, unrounded.
      const bool left = g.mouseX < X + 32, up = g.mouseY < Y + 16;
      if (left && up)
        g.aimDX = -1, g.aimDY = 0;
      else if (left)
        g.aimDX = 0, g.aimDY = 1;
      else if (up)
        g.aimDX = 0, g.aimDY = -1;
      else
        g.aimDX = 1, g.aimDY = 0;
      const layout::Offset at = layout::aimArrowOffset(g.aimDX, g.aimDY);
      render.drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy), layout::aimArrow(g.aimDX, g.aimDY));
    }

    Ask ask = Ask::kNothing;
    if (g.leftDown) {
      g.leftDown = false;
      if (g.mouseX < kGiveUp.x + kGiveUp.w && g.mouseY < kGiveUp.y + kGiveUp.h)
        ask = Ask::kGiveUp;
      else if (g.mouseX > kRetry.x && g.mouseY < kRetry.y + kRetry.h)
        ask = Ask::kRetry;
      else
        ask = Ask::kMove;
    } else if (const std::optional<platform::Key> key = input.takeKey()) {
      // One key a frame, where a click is taken; keys pressed in a move, a fade or the
      // banner wait for this point.
      if (*key == platform::Key::kBackspace || *key == platform::Key::kZ ||
          *key == platform::Key::kU)
        undoMove();
      else if (*key == platform::Key::kR)
        ask = Ask::kRetry;
      else if (*key == platform::Key::kEscape)
        ask = Ask::kGiveUp;
      else if (keyDirection(*key, g.aimDX, g.aimDY))
        ask = Ask::kMove;
    }
    if (ask == Ask::kGiveUp) {
      pacing.playClick();
      g.fadeMode = kFadingOut;
      pacing.waitFrame(100);
      continue;
    }
    if (ask == Ask::kRetry) {
      pacing.playClick();
      g.loadStage(g.stageSet, g.curStage + 1);
      phase = Phase::SetUp;
      continue;
    }
    if (ask == Ask::kMove) {
      const rules::PlayState before = g.playState();
      if (g.moveAttempt()) {
        g.moveHistory.push_back(before);
        animateMove();
        phase = Phase::TurnChange;
        continue;
      }
    }

    if (g.rightDown) {
      g.viewX += (250 - static_cast<double>(g.mouseX)) / 8;
      if (g.viewX < -250)
        g.viewX = -250;
      else if (g.viewX > 200)
        g.viewX = 200;
      g.viewY += (150 - static_cast<double>(g.mouseY)) / 5;
      if (g.viewY < -90)
        g.viewY = -90;
      else if (g.viewY > 200)
        g.viewY = 200;
    }
    pacing.waitFrame(100);
  }
}

}  // namespace game
