// Frame pacing, the looping background music, and the click.
#include "game/base/pacing.h"

#include "common/atomic_file.h"

namespace game {

namespace {

// A loudspeaker struck through, at the lower right: the music is off.
void drawMuteMark(platform::Surface& s) {
  using platform::kBlack, platform::kWhite;
  const int x = kPicWidth - 22, y = kPicHeight - 20;
  platform::fillRect(s, x - 1, y - 1, 20, 18, kBlack);
  platform::fillRect(s, x + 2, y + 5, 4, 6, kWhite);
  for (int i = 0; i < 5; ++i)
    platform::drawLine(s, x + 6 + i, y + 5 - i, x + 6 + i, y + 11 + i, kWhite);
  platform::drawLine(s, x + 1, y + 15, x + 16, y, {230, 40, 40});
  platform::drawLine(s, x + 2, y + 15, x + 17, y, {230, 40, 40});
}

}  // namespace

void Pacing::waitFrame(int period) {
  g.animPhase += g.animStep;
  if (g.animPhase >= 2 || g.animPhase <= 0) g.animStep = -g.animStep;
  // A press released within the wait before this frame was seen by it as a held press
  // would be; now it is over.
  if (g.releaseWaits) g.leftDown = g.rightDown = g.releaseWaits = false;
  g.pressedInWait = false;
  muteKeys();
  if (g.musicMuted) drawMuteMark(g.Pic.image);
  bgmControl(kBgmKeepPlaying);
  // Events are delivered at least once, also when the frame is already over. The
  // wait sleeps in the platform instead of spinning, so an idle game costs nothing.
  const uint32_t p = static_cast<uint32_t>(period);
  for (;;) {
    host.deliverEvents();
    const uint32_t elapsed = host.tickCount() - g.frameStart;  // wrap-safe
    if (elapsed > p) break;
    if (idleWork && idleWork()) continue;
    host.waitForEvents(p - elapsed + 1);
  }
}

void Pacing::bgmControl(BgmMode mode) {
  if (g.bgmFile.empty()) return;
  platform::Sound& sound = host.sound();
  switch (mode) {
    case kBgmStart:
      g.bgmPlaying = false;
      if (sound.mciSendString("open " + host.programFolder() + "/" + g.bgmFile + " alias bgm",
                              nullptr) != 0)
        return;
      if (sound.mciSendString("play bgm notify", nullptr) == 0)
        g.bgmPlaying = true;
      else
        sound.mciExecute("close bgm");
      break;
    case kBgmStop:
      if (!g.bgmPlaying) return;
      sound.mciExecute("stop bgm");
      sound.mciExecute("close bgm");
      g.bgmPlaying = false;
      break;
    case kBgmKeepPlaying: {
      if (!g.bgmPlaying || g.musicMuted) return;
      std::string reply;
      if (sound.mciSendString("status bgm mode", &reply) == 0 && reply.substr(0, 7) != "playing") {
        sound.mciExecute("seek bgm to start");
        sound.mciExecute("play bgm notify");
      }
      break;
    }
    default:
      break;
  }
}

void Pacing::muteKeys() {
  for (auto k = g.pendingKeys.begin(); k != g.pendingKeys.end();) {
    if (*k != platform::Key::kM) {
      ++k;
      continue;
    }
    k = g.pendingKeys.erase(k);
    g.musicMuted = !g.musicMuted;
    // Paused rather than closed, so the tune goes on where it stopped.
    if (g.bgmPlaying) host.sound().mciExecute(g.musicMuted ? "stop bgm" : "play bgm notify");
  }
}

void Pacing::playClick() {
  host.sound().playWave(common::inFolder(host.programFolder(), "\\CLICK.WAV"));
}

}  // namespace game
