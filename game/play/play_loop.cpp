// Playing one stage: set-up, turn change and the frame loop with aim, click and scroll.
#include "game/shell/game.h"

namespace game {

namespace {

// Where the buttons sit and what a click on them must be strictly inside.
constexpr float kGiveUpRight = 64, kRetryLeft = 436, kButtonsBottom = 32;

}  // namespace

void Game::MainL() {
  enum class Phase { SetUp, TurnChange, Frame };
  Phase phase = Phase::SetUp;
  for (;;) {
    if (phase == Phase::SetUp) {
      numberPieces();
      fadeMode = 2;
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
        fadeMode = 1;
      }
      turnPass();
      phase = Phase::Frame;
    }

    frameStart = host.tickCount();
    Pic.clear();
    drawField();
    if (fadeMode == 1) {
      f_out();
      if (fadeStep >= 23) {
        fadeStep = 0;
        fadeMode = 2;
        return;
      }
      waitFrame(100);
      continue;
    }
    if (fadeMode == 2 && !fadeInEnded()) {
      waitFrame(100);
      continue;
    }

    // A stage saved without any piece has no active piece: no marker, no aim.
    const bool active = hasPiece();
    const double X = 32 * (activeX - activeY) + viewX + 270;
    const double Y = 16 * (activeX + activeY) + viewY;
    if (active) {
      const int h = playField[activeX][activeY] == common::kSlider ? 30 : 0;
      drawSprite(toPixel(X - 7), toPixel(Y - 50 - h), 32, 32, 224 + 32 * animPhase, 64,
                 224 + 32 * animPhase, 96);
    }
    blitChr(0, 0, 64, 32, 0, 320, platform::Rop::SrcPaint);    // give up
    blitChr(436, 0, 64, 32, 0, 288, platform::Rop::SrcPaint);  // retry

    if (animStep == 1 && active) {
      // The quadrant of the pointer around the active cell's centre, unrounded.
      const bool left = mouseX < X + 32, up = mouseY < Y + 16;
      if (left && up) {
        drawSprite(toPixel(X - 16), toPixel(Y - 8), 32, 16, 64, 32, 128, 32);
        aimDX = -1, aimDY = 0;
      } else if (left) {
        drawSprite(toPixel(X - 16), toPixel(Y + 24), 32, 16, 64, 48, 128, 48);
        aimDX = 0, aimDY = 1;
      } else if (up) {
        drawSprite(toPixel(X + 48), toPixel(Y - 8), 32, 16, 96, 32, 160, 32);
        aimDX = 0, aimDY = -1;
      } else {
        drawSprite(toPixel(X + 48), toPixel(Y + 24), 32, 16, 96, 48, 160, 48);
        aimDX = 1, aimDY = 0;
      }
    }

    if (leftDown) {
      leftDown = false;
      if (mouseX < kGiveUpRight && mouseY < kButtonsBottom) {
        playClick();
        fadeMode = 1;
        waitFrame(100);
        continue;
      }
      if (mouseX > kRetryLeft && mouseY < kButtonsBottom) {
        playClick();
        loadStage(stageSet, curStage + 1);
        phase = Phase::SetUp;
        continue;
      }
      if (moveAttempt()) {
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
