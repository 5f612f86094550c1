// The stage-select screen: tile wave, heading, preview, the 30 labels, starting a stage.
#include "game/title/stage_select.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "game/base/to_pixel.h"
#include "game/render/texts.h"

namespace game {

namespace {

constexpr platform::Rgb kPurpleOutline{90, 20, 140};
constexpr platform::Rgb kGreyText{128, 128, 128};

}  // namespace

void StageSelect::printStageLabel(const std::string& text, int x, int y) {
  render.printOutlined(text, x, y, kLabelOutline, kGreyText);
}

void StageSelect::printClearedLabel(const std::string& text, int x, int y) {
  render.printOutlined(text, x, y, kPurpleOutline, kGreyText);
}

void StageSelect::printHoverLabel(const std::string& text, int x, int y) {
  render.printOutlined(text, x, y, kLabelOutline, platform::kWhite);
}

void StageSelect::menu() {
  g.fadeMode = kFadingIn;
  g.fadeStep = 0;
  platform::fillRect(g.back.image, 0, 0, kPicWidth, kPicHeight, platform::kBlack);
  for (;;) {
    g.frameStart = host.tickCount();
    g.Pic.clear();

    for (int i = 0; i <= 2; ++i) {
      for (int j = 0; j <= 4; ++j) {
        const double v = (g.titleWavePhase + i + 7 - j) / 3.0;
        const int x = 310 + 32 * i - 96 * j;
        const int y = toPixel(100 + 20 * i + 16 * j - 50 * std::tan(v));
        render.drawSprite(x, y, layout::kGrassTile);
      }
    }
    render.blitChr(20, 40, layout::stageSelectHeading(g.animPhase), platform::Rop::SrcPaint);

    if (g.keyStage != 0) {
      g.hoverStage = g.keyStage;
    } else if (20 < g.mouseX && g.mouseX < 490 && 110 < g.mouseY && g.mouseY < 337) {
      g.hoverStage = 1 + static_cast<int>(std::floor((g.mouseY - 110.0) / 23)) +
                     10 * static_cast<int>(std::floor((g.mouseX - 20.0) / 175));
    } else {
      g.hoverStage = 0;
    }

    if (g.hoverStage != 0 && g.fadeMode == kNoFade) {
      for (int y = 0; y <= 9; ++y) {
        for (int x = 0; x <= 9; ++x) {
          const int c = g.stageSet(x, y, g.hoverStage);
          if (c == common::kEmpty) continue;
          render.blitChr(380 + 8 * x, 20 + 8 * y, layout::previewCell(c), platform::Rop::SrcCopy);
        }
      }
    }

    for (int k = 0; k <= 2; ++k) {
      for (int r = 0; r <= 9; ++r) {
        const int n = 10 * k + r + 1;
        const std::string text = stageLabelText(n);
        const int x = 20 + 175 * k, y = 110 + 23 * r;
        if (g.clearFlag[n - 1])
          printClearedLabel(text, x, y);
        else
          printStageLabel(text, x, y);
        // The highlight box is a little smaller than the label's cell in the list.
        const bool pointed = g.keyStage == 0 && x < g.mouseX && g.mouseX < 194 + 175 * k &&
                             y < g.mouseY && g.mouseY < 130 + 23 * r;
        if (g.fadeMode == kNoFade && (pointed || g.keyStage == n)) printHoverLabel(text, x, y);
      }
    }

    g.titleWavePhase += g.titleWaveStep;
    if (g.titleWavePhase >= 19 || g.titleWavePhase <= 0) g.titleWavePhase = 0;

    if (g.fadeMode == kFadingIn && !fades.fadeInEnded()) {
      pacing.waitFrame(100);
      continue;
    }
    if (g.fadeMode == kFadingOut) {
      if (!fades.fadeOutEnded()) {
        pacing.waitFrame(100);
        continue;
      }
      play.MainL();
    }

    if (g.leftDown && g.hoverStage != 0) {
      g.leftDown = false;
      startStage(g.hoverStage);
    }
    // Keys the list does not take are dropped, so play never inherits them.
    while (const std::optional<platform::Key> key = input.takeKey())
      if (g.fadeMode == kNoFade) takeListKey(*key);
    pacing.waitFrame(100);
  }
}

void StageSelect::startStage(int stage) {
  pacing.playClick();
  g.fadeMode = kFadingOut;
  g.curStage = static_cast<int16_t>(stage - 1);
  g.loadStage(g.stageSet, stage);
  g.keyStage = 0;
}

void StageSelect::takeListKey(platform::Key key) {
  using platform::Key;
  int across = 0, down = 0;
  switch (key) {
    case Key::kUp:
      down = -1;
      break;
    case Key::kDown:
      down = 1;
      break;
    case Key::kLeft:
      across = -1;
      break;
    case Key::kRight:
      across = 1;
      break;
    case Key::kEnter:
    case Key::kSpace:
      if (g.keyStage != 0) startStage(g.keyStage);
      return;
    case Key::kF1:
    case Key::kQuestion:
      card.show();
      return;
    default:
      return;
  }
  // From the stage the pointer shows, within a column and across the three; with none
  // shown, the first arrow highlights stage 1.
  const int at = g.keyStage != 0 ? g.keyStage : g.hoverStage;
  if (at == 0) {
    g.keyStage = 1;
    return;
  }
  const int row = std::clamp((at - 1) % 10 + down, 0, 9);
  const int column = std::clamp((at - 1) / 10 + across, 0, 2);
  g.keyStage = 10 * column + row + 1;
}

}  // namespace game
