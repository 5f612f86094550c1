// The background music: the command texts sent to the media device, and when none are.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/render/sprite_sheet.h"
#include "tests/support/game/game_rig.h"

namespace {

using testing_support::GameRig;

struct Sent {
  std::string command;
  bool viaExecute;
  bool operator==(const Sent&) const = default;
};

std::vector<Sent> sent(const platform::ScriptedHost& h, size_t from = 0) {
  std::vector<Sent> out;
  for (size_t i = from; i < h.mciCalls.size(); ++i)
    out.push_back({h.mciCalls[i].command, h.mciCalls[i].viaExecute});
  return out;
}

TEST(Music, StartLoopAndStopSendTheseTexts) {
  GameRig r;
  r.g.bgmFile = "run.mid";
  r.g.pacing.bgmControl(game::kBgmStart);
  // The folder is joined as it is, blank included, without quotation marks.
  EXPECT_EQ(sent(r.host), (std::vector<Sent>{{"open " + r.dir.path() + "/run.mid alias bgm", false},
                                             {"play bgm notify", false}}));
  EXPECT_TRUE(r.g.bgmPlaying);

  size_t mark = r.host.mciCalls.size();
  r.frame();
  EXPECT_EQ(sent(r.host, mark), (std::vector<Sent>{{"status bgm mode", false}}));

  // The tune ended between two frames: the next frame starts it from the beginning.
  for (const char* mode : {"stopped", "paused", "not ready"}) {
    r.host.statusMode = mode;
    mark = r.host.mciCalls.size();
    r.frame();
    EXPECT_EQ(sent(r.host, mark), (std::vector<Sent>{{"status bgm mode", false},
                                                     {"seek bgm to start", true},
                                                     {"play bgm notify", true}}))
        << "status " << mode;
  }
  r.host.statusMode = "playing and more";  // only the first seven characters count
  mark = r.host.mciCalls.size();
  r.frame();
  EXPECT_EQ(sent(r.host, mark).size(), 1u);

  mark = r.host.mciCalls.size();
  r.g.pacing.bgmControl(game::kBgmStop);
  EXPECT_EQ(sent(r.host, mark), (std::vector<Sent>{{"stop bgm", true}, {"close bgm", true}}));
  EXPECT_FALSE(r.g.bgmPlaying);

  // Closed: nothing more is sent, not even the status poll.
  mark = r.host.mciCalls.size();
  r.g.pacing.bgmControl(game::kBgmStop);
  r.frame();
  EXPECT_EQ(sent(r.host, mark).size(), 0u);
}

// M pauses the tune and stops the loop's polling; M again plays it on from there. Each is
// acted on in the frame wait after the one that delivered it, on any screen.
TEST(Music, MPausesTheTuneUntilMIsPressedAgain) {
  GameRig r;
  r.g.bgmFile = "run.mid";
  r.g.pacing.bgmControl(game::kBgmStart);
  r.host.key(platform::Key::kM);
  r.frame();
  size_t mark = r.host.mciCalls.size();
  r.host.statusMode = "stopped";
  r.frame();
  r.frame();
  EXPECT_EQ(sent(r.host, mark), (std::vector<Sent>{{"stop bgm", true}}));
  r.host.key(platform::Key::kM);
  r.frame();
  mark = r.host.mciCalls.size();
  r.host.statusMode = "playing";
  r.frame();
  EXPECT_EQ(sent(r.host, mark),
            (std::vector<Sent>{{"play bgm notify", true}, {"status bgm mode", false}}));
  EXPECT_TRUE(r.g.pendingKeys.empty());
}

TEST(Music, EmptyFileNameSendsNothing) {
  GameRig r;
  r.g.bgmFile = "";
  for (int mode : {0, 2, 1, 3, -1}) r.g.pacing.bgmControl(static_cast<game::BgmMode>(mode));
  r.frame();
  EXPECT_TRUE(r.host.mciCalls.empty());
}

TEST(Music, StopOrPollWithoutAStartSendsNothing) {
  GameRig r;
  r.g.bgmFile = "run.mid";
  r.g.pacing.bgmControl(game::kBgmStop);
  r.g.pacing.bgmControl(game::kBgmKeepPlaying);
  r.frame();
  EXPECT_TRUE(r.host.mciCalls.empty());
}

// Without run.mid the open fails: the whole run, closing included, sends nothing else.
TEST(Music, MissingTuneLeavesTheRunSilent) {
  GameRig r;
  std::filesystem::remove(r.dir.file("run.mid"));
  int frames = 0;
  r.host.onDeliver = [&](platform::ScriptedHost& h) {
    if (++frames == 10) h.close();
  };
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(sent(r.host),
            (std::vector<Sent>{{"open " + r.dir.path() + "/run.mid alias bgm", false}}));
}

// A device that opens but will not play is closed again.
class NoPlayHost : public platform::ScriptedHost {
 public:
  using ScriptedHost::ScriptedHost;
  int mciSendString(const std::string& command, std::string* reply) override {
    const int result = ScriptedHost::mciSendString(command, reply);
    return command.rfind("play ", 0) == 0 ? 263 : result;
  }
};

TEST(Music, DeviceThatWillNotPlayIsClosedAgain) {
  testing_support::TempDir dir("brackle music");
  testing_support::copyRuntimeFiles(dir.path());
  NoPlayHost host(dir.path(), testing_support::gameFont(), testing_support::pictureReader());
  game::Game g(host, game::spriteSheet());
  g.bgmFile = "run.mid";
  g.pacing.bgmControl(game::kBgmStart);
  EXPECT_EQ(sent(host), (std::vector<Sent>{{"open " + dir.path() + "/run.mid alias bgm", false},
                                           {"play bgm notify", false},
                                           {"close bgm", true}}));
  EXPECT_FALSE(g.bgmPlaying);
  const size_t mark = host.mciCalls.size();
  g.pacing.bgmControl(game::kBgmKeepPlaying);
  g.pacing.bgmControl(game::kBgmStop);
  EXPECT_EQ(sent(host, mark).size(), 0u);
}

}  // namespace
