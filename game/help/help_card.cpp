// The rules card over the current screen.
#include "game/help/help_card.h"

#include "game/render/texts.h"

namespace game {

namespace {

constexpr platform::Rgb kCardColour{16, 24, 56};
constexpr platform::Rgb kCardEdge{200, 200, 220};
constexpr platform::Rgb kSoftText{200, 200, 200};

// The card's box on the play surface.
constexpr int kLeft = 8, kTop = 8, kWidth = 484, kHeight = 334;

}  // namespace

void HelpCard::drawCard() {
  platform::Surface& pic = g.Pic.image;
  platform::fillRect(pic, kLeft, kTop, kWidth, kHeight, kCardEdge);
  platform::fillRect(pic, kLeft + 2, kTop + 2, kWidth - 4, kHeight - 4, kCardColour);
  render.printCentred(kCardGoal, kLeft, kWidth, kTop + 8);
  // The four pieces in two columns, each standing on painted floor with its rule beside it.
  for (int i = 0; i < 4; ++i) {
    const uint8_t code = static_cast<uint8_t>(common::kWalker + i);
    const int x = kLeft + 16 + 236 * (i % 2), y = kTop + 74 + 80 * (i / 2);
    render.drawSprite(x, y, layout::kEarthTile);
    const layout::Offset at = layout::standingOffset(code);
    render.drawSprite(x + at.dx, y + at.dy, layout::standingPiece(code, g.animPhase));
    render.printOutlined(kCardPieces[i][0], x + 64, y - 18, kLabelOutline, platform::kWhite);
    render.printOutlined(kCardPieces[i][1], x + 64, y + 4, kLabelOutline, platform::kWhite);
  }
  render.printCentred(kCardMove, kLeft, kWidth, kTop + 200);
  for (int i = 0; i < 3; ++i)
    render.printCentred(kCardKeys[i], kLeft, kWidth, kTop + 232 + 22 * i, kSoftText);
  render.printCentred(kCardClose, kLeft, kWidth, kTop + 304);
}

void HelpCard::show() {
  const platform::Surface under = g.Pic.image;
  for (;;) {
    g.frameStart = host.tickCount();
    g.Pic.image = under;
    drawCard();
    pacing.waitFrame(100);
    if (input.takeKey() || g.leftDown || g.rightDown) break;
  }
  g.leftDown = g.rightDown = false;
}

}  // namespace game
