// The tune and the click as they really sound: rendered through SDL's disk audio driver
// into a raw file and measured with sox.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/sdl/media.h"
#include "tests/platform/sdl/media_files.h"
#include "tests/support/folders.h"
#include "tests/support/run_program.h"

namespace {

using testing_support::shippedFile;
using testing_support::TempDir;

struct Levels {
  double seconds = -1, rms = -1, peak = -1;
};

// sox's statistics of raw 32 kHz 16-bit stereo, the format the mixer opens.
Levels measure(const std::string& raw) {
  // sox writes its statistics to standard error.
  const testing_support::ProgramRun run =
      testing_support::runProgram({"sox", "-t", "raw", "-r", "32000", "-e", "signed", "-b", "16",
                                   "-c", "2", raw, "-n", "stat"});
  Levels l;
  std::istringstream lines(run.err);
  for (std::string s; std::getline(lines, s);) {
    const auto colon = s.find(':');
    if (colon == std::string::npos) continue;
    const double value = std::atof(s.c_str() + colon + 1);
    if (s.rfind("Length (seconds)", 0) == 0) l.seconds = value;
    if (s.rfind("RMS     amplitude", 0) == 0) l.rms = value;
    if (s.rfind("Maximum amplitude", 0) == 0) l.peak = value;
  }
  return l;
}

// Every Media made in the scope writes what it plays to `raw`, in real time.
struct DiskAudio {
  explicit DiskAudio(const std::string& raw)
      : driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw.c_str()) {}
  media_test::ScopedEnv driver, file;
};

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class MusicOutput : public testing::Test {
 protected:
  void SetUp() override {
    if (testing_support::runProgram({"sox", "--version"}).status != 0)
      FAIL() << "sox is not installed";
  }
  TempDir dir;
};

TEST_F(MusicOutput, TheTuneIsAudible) {
  const std::string raw = dir.file("tune.raw");
  {
    DiskAudio disk(raw);
    platform::Media media;
    ASSERT_TRUE(media.hasAudio());
    EXPECT_EQ(media.midiBackEnd(), "FLUIDSYNTH");
    std::string reply;
    ASSERT_EQ(media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", &reply), 0);
    ASSERT_EQ(media.mciSendString("play bgm notify", &reply), 0);
    sleepMs(4000);
    ASSERT_EQ(media.mciSendString("status bgm mode", &reply), 0);
    EXPECT_EQ(reply, "playing");
    media.mciExecute("stop bgm");
    media.mciExecute("close bgm");
  }
  const Levels l = measure(raw);
  std::cout << "tune: " << l.seconds << " s, RMS " << l.rms << ", peak " << l.peak << "\n";
  RecordProperty("tune_rms", std::to_string(l.rms));
  EXPECT_GT(l.seconds, 2.0);
  EXPECT_GT(l.rms, 0.02) << "the tune rendered as (near) silence";
  EXPECT_LT(l.peak, 1.0) << "the tune clips";
}

TEST_F(MusicOutput, AnOpenedTuneIsSilentUntilPlayed) {
  const std::string raw = dir.file("idle.raw");
  {
    DiskAudio disk(raw);
    platform::Media media;
    std::string reply;
    ASSERT_EQ(media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", &reply), 0);
    sleepMs(600);
  }
  const Levels l = measure(raw);
  EXPECT_GT(l.seconds, 0.3);
  EXPECT_EQ(l.peak, 0);
}

TEST_F(MusicOutput, TheClickIsHeardAndAMissingClickIsNot) {
  const std::string clicked = dir.file("click.raw"), missing = dir.file("missing.raw");
  {
    DiskAudio disk(clicked);
    platform::Media media;
    media.playWave(shippedFile("CLICK.WAV"));
    sleepMs(400);
  }
  {
    DiskAudio disk(missing);
    platform::Media media;
    media.playWave(dir.file("CLICK.WAV"));
    sleepMs(400);
  }
  const Levels heard = measure(clicked), silent = measure(missing);
  std::cout << "click: peak " << heard.peak << ", RMS " << heard.rms << "\n";
  EXPECT_GT(heard.peak, 0.2);
  EXPECT_GT(silent.seconds, 0.2);
  EXPECT_EQ(silent.peak, 0);
}

}  // namespace
