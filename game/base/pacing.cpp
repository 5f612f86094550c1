// Frame pacing and the looping background music.
#include "game/base/game_base.h"

namespace game {

void GameBase::waitFrame(int period) {
  animPhase += animStep;
  if (animPhase >= 2 || animPhase <= 0) animStep = -animStep;
  muteKeys();
  bgmControl(kBgmKeepPlaying);
  // Events are delivered at least once, also when the frame is already over. The
  // wait sleeps in the platform instead of spinning, so an idle game costs nothing.
  const uint32_t p = static_cast<uint32_t>(period);
  for (;;) {
    host.deliverEvents();
    const uint32_t elapsed = host.tickCount() - frameStart;  // wrap-safe
    if (elapsed > p) break;
    host.waitForEvents(p - elapsed + 1);
  }
}

void GameBase::bgmControl(BgmMode mode) {
  if (bgmFile.empty()) return;
  platform::Sound& sound = host.sound();
  switch (mode) {
    case kBgmStart:
      bgmPlaying = false;
      if (sound.mciSendString("open " + host.programFolder() + "/" + bgmFile + " alias bgm",
                              nullptr) != 0)
        return;
      if (sound.mciSendString("play bgm notify", nullptr) == 0)
        bgmPlaying = true;
      else
        sound.mciExecute("close bgm");
      break;
    case kBgmStop:
      if (!bgmPlaying) return;
      sound.mciExecute("stop bgm");
      sound.mciExecute("close bgm");
      bgmPlaying = false;
      break;
    case kBgmKeepPlaying: {
      if (!bgmPlaying || musicMuted) return;
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

void GameBase::muteKeys() {
  for (auto k = pendingKeys.begin(); k != pendingKeys.end();) {
    if (*k != platform::Key::kM) {
      ++k;
      continue;
    }
    k = pendingKeys.erase(k);
    musicMuted = !musicMuted;
    // Paused rather than closed, so the tune goes on where it stopped.
    if (bgmPlaying) host.sound().mciExecute(musicMuted ? "stop bgm" : "play bgm notify");
  }
}

}  // namespace game
