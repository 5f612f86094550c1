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

void PlayScreen::stepBack(std::vector<PlayStep>& from, std::vector<PlayStep>& to) {
  if (from.empty()) return;
  // The aim is the pointer's, not the past's.
  const int16_t dx = g.aimDX, dy = g.aimDY;
  to.push_back({g.playState(), g.movesMade});
  g.playState() = from.back().position;
  g.movesMade = from.back().movesMade;
  from.pop_back();
  g.aimDX = dx, g.aimDY = dy;
  positionChanged();
}

void PlayScreen::undoMove() {
  stepBack(g.moveHistory, g.redoHistory);
}

void PlayScreen::redoMove() {
  stepBack(g.redoHistory, g.moveHistory);
}

void PlayScreen::drawButtons() {
  render.blitChr(kGiveUp.x, kGiveUp.y, layout::kGiveUpButton, platform::Rop::SrcPaint);
  render.blitChr(kRetry.x, kRetry.y, layout::kRetryButton, platform::Rop::SrcPaint);
}

void PlayScreen::MainL() {
  enum class Phase { SetUp, TurnChange, Frame };
  Phase phase = Phase::SetUp;
  // Keys pressed before the stage showed (in the list's fade-out) are not meant for it.
  std::erase_if(g.pendingKeys, [](platform::Key k) { return k != platform::Key::kM; });
  g.moveHistory.clear();
  g.redoHistory.clear();
  g.movesMade = 0;
  for (;;) {
    if (phase == Phase::SetUp) {
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
      positionChanged();
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
      // The assist view points only where the piece can go.
      if (!g.assistOn || g.canMove(g.aimDX, g.aimDY)) {
        const layout::Offset at = layout::aimArrowOffset(g.aimDX, g.aimDY);
        render.drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy),
                          layout::aimArrow(g.aimDX, g.aimDY));
      }
    }
    followHints();
    drawHelp();

    Ask ask = Ask::kNothing;
    const int16_t aimX = g.aimDX, aimY = g.aimDY;
    bool byKey = false;
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
      using platform::Key;
      byKey = true;
      if (*key == Key::kBackspace || *key == Key::kZ || *key == Key::kU) {
        undoMove();
      } else if (*key == Key::kY || *key == Key::kShiftCtrlZ) {
        redoMove();
      } else if (*key == Key::kR) {
        ask = Ask::kRetry;
      } else if (*key == Key::kEscape) {
        ask = Ask::kGiveUp;
      } else if (*key == Key::kH) {
        if (g.hintShown) {
          g.aimDX = static_cast<int16_t>(g.hintDX), g.aimDY = static_cast<int16_t>(g.hintDY);
          ask = Ask::kMove;
        } else {
          g.hintAsked = true;
        }
      } else if (*key == Key::kA) {
        g.assistOn = !g.assistOn;
      } else if (*key == Key::kF1 || *key == Key::kQuestion) {
        card.show();
      } else if (keyDirection(*key, g.aimDX, g.aimDY)) {
        ask = Ask::kMove;
      }
    }
    if (ask == Ask::kGiveUp) {
      pacing.playClick();
      g.fadeMode = kFadingOut;
      pacing.waitFrame(100);
      continue;
    }
    if (ask == Ask::kRetry) {
      pacing.playClick();
      // A step of the history like a move, so Backspace gives back the position before it.
      g.moveHistory.push_back({g.playState(), g.movesMade});
      g.redoHistory.clear();
      g.movesMade = 0;
      g.loadStage(g.stageSet, g.curStage + 1);
      phase = Phase::SetUp;
      continue;
    }
    if (ask == Ask::kMove) {
      const PlayStep before{g.playState(), g.movesMade};
      if (g.moveAttempt()) {
        g.moveHistory.push_back(before);
        g.redoHistory.clear();
        ++g.movesMade;
        animateMove();
        phase = Phase::TurnChange;
        continue;
      }
      // A refused key leaves the aim the frames last showed, for the next click.
      if (byKey) g.aimDX = aimX, g.aimDY = aimY;
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
