// The help beside the field: the hint, the assist view's count and arrow, and the words when
// the stage can no longer be cleared or the piece cannot move.
#include "game/base/to_pixel.h"
#include "game/play/play_screen.h"
#include "game/render/texts.h"

namespace game {

namespace {

constexpr platform::Rgb kHintColour{0, 255, 255};

// The diamond of a tile box, traced twice so it stands out on any floor.
void outlineDiamond(platform::Surface& s, const layout::TileBox& box, platform::Rgb c) {
  const int l = toPixel(box.left), t = toPixel(box.top);
  for (int d = 0; d <= 1; ++d) {
    platform::drawLine(s, l + 32, t + d, l + 63, t + 16 + d - 1, c);
    platform::drawLine(s, l + 63, t + 16 - d, l + 32, t + 31 - d, c);
    platform::drawLine(s, l + 32, t + 31 - d, l, t + 16 - d, c);
    platform::drawLine(s, l, t + 16 + d - 1, l + 32, t + d, c);
  }
}

}  // namespace

void PlayScreen::positionChanged() {
  g.hintAsked = false;
  g.hintShown = false;
  g.note = PlayNote::kNone;
}

void PlayScreen::followHints() {
  const rules::PlayState& now = g.playState();
  if (g.assistOn) hints.askFewest(g.curStage + 1);
  if (g.assistOn || g.hintAsked) hints.ask(now);
  if (const solve::Result* answer = hints.answerFor(now)) {
    if (g.hintAsked) {
      g.hintAsked = false;
      if (answer->verdict == solve::Verdict::kSolvable && !answer->solution.empty()) {
        const solve::Move& m = answer->solution.front();
        g.hintShown = true;
        g.hintX = m.x, g.hintY = m.y, g.hintDX = m.dx, g.hintDY = m.dy;
      } else {
        g.note =
            answer->verdict == solve::Verdict::kUnknown ? PlayNote::kNoAnswer : PlayNote::kNoWay;
      }
    }
    if (g.assistOn && g.note == PlayNote::kNone && answer->verdict != solve::Verdict::kSolvable &&
        answer->verdict != solve::Verdict::kUnknown)
      g.note = PlayNote::kNoWay;
  }
  if (g.assistOn && g.hasPiece() && !g.canMoveAtAll()) g.note = PlayNote::kStuck;
}

void PlayScreen::drawHelp() {
  platform::Surface& pic = g.Pic.image;
  if (g.hintShown) {
    // The cell the piece lands on, and the arrow toward it on every frame.
    rules::PlayState trial = g.playState();
    trial.aimDX = static_cast<int16_t>(g.hintDX), trial.aimDY = static_cast<int16_t>(g.hintDY);
    const int d = trial.moveAttempt() ? trial.moveDistance() : 1;
    outlineDiamond(pic, render.tileBox(g.hintX + d * g.hintDX, g.hintY + d * g.hintDY),
                   kHintColour);
    const auto [X, Y] = render.tileBox(g.hintX, g.hintY);
    const layout::Offset at = layout::aimArrowOffset(g.hintDX, g.hintDY);
    render.drawSprite(toPixel(X + at.dx), toPixel(Y + at.dy), layout::aimArrow(g.hintDX, g.hintDY));
    render.printCentred(kHintLine, 0, kPicWidth, kPicHeight - 26);
  }
  if (g.assistOn) {
    // Moves made, and the fewest for the stage once known, between the two buttons.
    std::vector<std::string> parts{kMovesWord, countText(g.movesMade)};
    const int s = g.curStage;
    if (g.fewestKnown[s] && g.fewestMoves[s] >= 0)
      parts.insert(parts.end(), {kFewestWord, countText(g.fewestMoves[s])});
    int width = 0;
    for (const std::string& p : parts) width += render.font.textWidth(p) + 8;
    int x = (kPicWidth - width) / 2;
    for (const std::string& p : parts) {
      render.printOutlined(p, x, 6, kLabelOutline, platform::kWhite);
      x += render.font.textWidth(p) + 8;
    }
  }
  const char* const* lines = g.note == PlayNote::kNoWay      ? kNoWayLines
                             : g.note == PlayNote::kStuck    ? kStuckLines
                             : g.note == PlayNote::kNoAnswer ? kNoAnswerLines
                                                             : nullptr;
  if (lines) {
    render.printCentred(lines[0], 0, kPicWidth, kPicHeight - 50);
    render.printCentred(lines[1], 0, kPicWidth, kPicHeight - 28);
  }
}

}  // namespace game
