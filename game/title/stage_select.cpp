// The stage-select screen: tile wave, heading, preview, the 30 labels, starting a stage.
#include "game/title/stage_select.h"

#include <cmath>
#include <string>

#include "game/render/texts.h"

namespace game {

namespace {

constexpr platform::Rgb kBlueOutline{0, 20, 140};
constexpr platform::Rgb kPurpleOutline{90, 20, 140};
constexpr platform::Rgb kGreyText{128, 128, 128};

}  // namespace

void StageSelect::printStageLabel(const std::string& text, int x, int y) {
  printOutlined(text, x, y, kBlueOutline, kGreyText);
}

void StageSelect::printClearedLabel(const std::string& text, int x, int y) {
  printOutlined(text, x, y, kPurpleOutline, kGreyText);
}

void StageSelect::printHoverLabel(const std::string& text, int x, int y) {
  printOutlined(text, x, y, kBlueOutline, platform::kWhite);
}

void StageSelect::menu() {
  fadeMode = kFadingIn;
  fadeStep = 0;
  platform::fillRect(back.image, 0, 0, kPicWidth, kPicHeight, platform::kBlack);
  for (;;) {
    frameStart = host.tickCount();
    Pic.clear();

    for (int i = 0; i <= 2; ++i) {
      for (int j = 0; j <= 4; ++j) {
        const double v = (titleWavePhase + i + 7 - j) / 3.0;
        const int x = 310 + 32 * i - 96 * j;
        const int y = toPixel(100 + 20 * i + 16 * j - 50 * std::tan(v));
        drawSprite(x, y, layout::kGrassTile);
      }
    }
    blitChr(20, 40, layout::stageSelectHeading(animPhase), platform::Rop::SrcPaint);

    if (20 < mouseX && mouseX < 490 && 110 < mouseY && mouseY < 337) {
      hoverStage = 1 + static_cast<int>(std::floor((mouseY - 110.0) / 23)) +
                   10 * static_cast<int>(std::floor((mouseX - 20.0) / 175));
    } else {
      hoverStage = 0;
    }

    if (hoverStage != 0 && fadeMode == kNoFade) {
      for (int y = 0; y <= 9; ++y) {
        for (int x = 0; x <= 9; ++x) {
          const int c = stageSet(x, y, hoverStage);
          if (c == common::kEmpty) continue;
          blitChr(380 + 8 * x, 20 + 8 * y, layout::previewCell(c), platform::Rop::SrcCopy);
        }
      }
    }

    for (int k = 0; k <= 2; ++k) {
      for (int r = 0; r <= 9; ++r) {
        const int n = 10 * k + r + 1;
        const std::string text = stageLabelText(n);
        const int x = 20 + 175 * k, y = 110 + 23 * r;
        if (clearFlag[n - 1])
          printClearedLabel(text, x, y);
        else
          printStageLabel(text, x, y);
        // The highlight box is a little smaller than the label's cell in the list.
        if (fadeMode == kNoFade && x < mouseX && mouseX < 194 + 175 * k && y < mouseY &&
            mouseY < 130 + 23 * r)
          printHoverLabel(text, x, y);
      }
    }

    titleWavePhase += titleWaveStep;
    if (titleWavePhase >= 19 || titleWavePhase <= 0) titleWavePhase = 0;

    if (fadeMode == kFadingIn && !fadeInEnded()) {
      waitFrame(100);
      continue;
    }
    if (fadeMode == kFadingOut) {
      if (!fadeOutEnded()) {
        waitFrame(100);
        continue;
      }
      MainL();
    }

    if (leftDown && hoverStage != 0) {
      playClick();
      leftDown = false;
      fadeMode = kFadingOut;
      curStage = static_cast<int16_t>(hoverStage - 1);
      loadStage(stageSet, hoverStage);
    }
    // The list has no keys of its own; play must not inherit them.
    while (takeKey()) {
    }
    waitFrame(100);
  }
}

}  // namespace game
