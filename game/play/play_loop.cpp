// Playing one stage: set-up, turn change and the frame loop with aim, click, keys and scroll.
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
  if (moveHistory.empty()) return;
  // The aim is the pointer's, not the past's.
  const int16_t dx = aimDX, dy = aimDY;
  static_cast<rules::PlayState&>(*this) = moveHistory.back();
  moveHistory.pop_back();
  aimDX = dx, aimDY = dy;
}

void PlayScreen::drawButtons() {
  blitChr(kGiveUp.x, kGiveUp.y, layout::kGiveUpButton, platform::Rop::SrcPaint);
  blitChr(kRetry.x, kRetry.y, layout::kRetryButton, platform::Rop::SrcPaint);
}

void PlayScreen::MainL() {
  enum class Phase { SetUp, TurnChange, Frame };
  Phase phase = Phase::SetUp;
  for (;;) {
    if (phase == Phase::SetUp) {
      moveHistory.clear();
      numberPieces();
      fadeMode = kFadingIn;
      platform::fillRect(back.image, 0, 0, kPicWidth, kPicHeight, platform::kBlack);
      phase = Phase::TurnChange;
    }
    if (phase == Phase::TurnChange) {
      if (isCleared()) {
        Pic.clear();
        drawField();
        clearFlag[curStage] = true;
        // Saved at once as well as at close, so a crash or a kill keeps the clear.
        writeClearRecord();
        sclear();
        fadeMode = kFadingOut;
      }
      turnPass();
      phase = Phase::Frame;
    }

    frameStart = host.tickCount();
    Pic.clear();
    drawField();
    if (fadeMode == kFadingOut) {
      if (fadeOutEnded()) {
        fadeMode = kFadingIn;
        return;
      }
      waitFrame(100);
      continue;
    }
    if (fadeMode == kFadingIn && !fadeInEnded()) {
      waitFrame(100);
      continue;
    }

    // A stage saved without any piece has no active piece: no marker, no aim.
    const bool active = hasPiece();
    const auto [X, Y] = tileBox(activeX, activeY);
    if (active) {
      const layout::Offset at = layout::turnMarkerOffset(playField[activeX][activeY]);
      drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy), layout::turnMarker(animPhase));
    }
    drawButtons();

    if (animStep == 1 && active) {
      // The quadrant of the pointer around the active cell's centre, unrounded.
      const bool left = mouseX < X + 32, up = mouseY < Y + 16;
      if (left && up)
        aimDX = -1, aimDY = 0;
      else if (left)
        aimDX = 0, aimDY = 1;
      else if (up)
        aimDX = 0, aimDY = -1;
      else
        aimDX = 1, aimDY = 0;
      const layout::Offset at = layout::aimArrowOffset(aimDX, aimDY);
      drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy), layout::aimArrow(aimDX, aimDY));
    }

    Ask ask = Ask::kNothing;
    if (leftDown) {
      leftDown = false;
      if (mouseX < kGiveUp.x + kGiveUp.w && mouseY < kGiveUp.y + kGiveUp.h)
        ask = Ask::kGiveUp;
      else if (mouseX > kRetry.x && mouseY < kRetry.y + kRetry.h)
        ask = Ask::kRetry;
      else
        ask = Ask::kMove;
    } else if (const std::optional<platform::Key> key = takeKey()) {
      // One key a frame, where a click is taken; keys pressed in a move, a fade or the
      // banner wait for this point.
      if (*key == platform::Key::kBackspace || *key == platform::Key::kZ ||
          *key == platform::Key::kU)
        undoMove();
      else if (*key == platform::Key::kR)
        ask = Ask::kRetry;
      else if (*key == platform::Key::kEscape)
        ask = Ask::kGiveUp;
      else if (keyDirection(*key, aimDX, aimDY))
        ask = Ask::kMove;
    }
    if (ask == Ask::kGiveUp) {
      playClick();
      fadeMode = kFadingOut;
      waitFrame(100);
      continue;
    }
    if (ask == Ask::kRetry) {
      playClick();
      loadStage(stageSet, curStage + 1);
      phase = Phase::SetUp;
      continue;
    }
    if (ask == Ask::kMove) {
      const rules::PlayState before = *this;
      if (moveAttempt()) {
        moveHistory.push_back(before);
        animateMove();
        phase = Phase::TurnChange;
        continue;
      }
    }

    if (rightDown) {
      viewX += (250 - static_cast<double>(mouseX)) / 8;
      if (viewX < -250)
        viewX = -250;
      else if (viewX > 200)
        viewX = 200;
      viewY += (150 - static_cast<double>(mouseY)) / 5;
      if (viewY < -90)
        viewY = -90;
      else if (viewY > 200)
        viewY = 200;
    }
    waitFrame(100);
  }
}

}  // namespace game
