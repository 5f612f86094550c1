// The media command texts and the wave player, on SDL's silent audio driver, also with
// broken files.
#include "platform/sdl/media.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/platform/sdl/media_files.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/hostile_files.h"

namespace {

using media_test::waitFor;
using media_test::writeFile;
using testing_support::shippedFile;
using testing_support::TempDir;

// ctest chooses the silent driver; a run by hand does the same unless told otherwise.
const bool silentByDefault = setenv("SDL_AUDIODRIVER", "dummy", 0) == 0;

class MediaCommands : public testing::Test {
 protected:
  int send(const std::string& command) { return media.mciSendString(command, &reply); }
  std::string status(const std::string& alias = "bgm") {
    if (send("status " + alias + " mode") != 0) return "(failed)";
    return reply;
  }

  platform::Media media;
  std::string reply;
  TempDir dir;
};

TEST_F(MediaCommands, TheShippedTuneOpensPlaysStopsAndCloses) {
  ASSERT_TRUE(media.hasAudio());
  EXPECT_EQ(media.midiBackEnd(), "FLUIDSYNTH");
  ASSERT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  EXPECT_EQ(status(), "stopped");  // opening does not start it
  ASSERT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
  EXPECT_EQ(send("stop bgm"), 0);
  EXPECT_EQ(status(), "stopped");
  EXPECT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
  EXPECT_EQ(send("play bgm notify"), 0);  // playing again while playing is harmless
  EXPECT_EQ(status(), "playing");
  EXPECT_EQ(send("close bgm"), 0);
  EXPECT_NE(send("status bgm mode"), 0);
  EXPECT_NE(send("play bgm notify"), 0);
  EXPECT_NE(send("close bgm"), 0);
}

// The game's loop: poll the mode, and when it is not "playing" rewind and play again.
TEST_F(MediaCommands, ATuneThatEndedStaysStoppedUntilRewoundAndPlayed) {
  writeFile(dir.file("short.mid"), media_test::shortTune());
  ASSERT_EQ(send("open " + dir.file("short.mid") + " alias bgm"), 0);
  ASSERT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(waitFor([&] { return status() != "playing"; }, 5000));
  // At the end of its half second, not when the synthesiser's release has died away.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
  EXPECT_EQ(status(), "stopped");
  // It plays once: it does not come back by itself.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(status(), "stopped");

  ASSERT_EQ(send("seek bgm to start"), 0);
  EXPECT_EQ(status(), "stopped");
  ASSERT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
  // From the start again: the whole half-second note plays before it ends.
  started = std::chrono::steady_clock::now();
  ASSERT_TRUE(waitFor([&] { return status() != "playing"; }, 5000));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));
}

TEST_F(MediaCommands, SeekWhilePlayingStopsAndPlayStartsAgain) {
  ASSERT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  ASSERT_EQ(send("play bgm notify"), 0);
  ASSERT_EQ(send("stop bgm"), 0);
  ASSERT_EQ(send("seek bgm to start"), 0);
  EXPECT_EQ(status(), "stopped");
  ASSERT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
}

TEST_F(MediaCommands, MissingAndNonMidiFilesDoNotOpen) {
  const std::string bad[] = {
      dir.file("no such file.mid"),   shippedFile("CLICK.WAV"),
      shippedFile("title.jpg"),       dir.path(),
      dir.file("empty.mid"),          dir.file("header-only.mid"),
      dir.file("overlong-chunk.mid"),
  };
  writeFile(dir.file("empty.mid"), {});
  std::vector<uint8_t> tune = media_test::shortTune();
  writeFile(dir.file("header-only.mid"), std::vector<uint8_t>(tune.begin(), tune.begin() + 14));
  tune[21] = 0xff;  // the track claims far more bytes than the file holds
  writeFile(dir.file("overlong-chunk.mid"), tune);
  for (const std::string& path : bad) {
    EXPECT_NE(send("open " + path + " alias bgm"), 0) << path;
    EXPECT_NE(send("status bgm mode"), 0) << "a failed open left the alias behind: " << path;
  }
  // The alias is still free for a good file.
  EXPECT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
}

TEST_F(MediaCommands, AProgramFolderWithBlanksWorks) {
  for (const std::string inner : {"my games/brackle folder", "odd alias name/x"}) {
    TempDir root;
    const std::string tune = root.file(inner) + "/run.mid";
    std::filesystem::create_directories(root.file(inner));
    std::filesystem::copy_file(shippedFile("run.mid"), tune);
    ASSERT_EQ(send("open " + tune + " alias bgm"), 0) << inner;
    ASSERT_EQ(send("play bgm notify"), 0);
    EXPECT_EQ(status(), "playing");
    ASSERT_EQ(send("close bgm"), 0);
    // A quoted path names the same file.
    ASSERT_EQ(send("open \"" + tune + "\" alias bgm"), 0) << inner;
    ASSERT_EQ(send("close bgm"), 0);
  }
}

TEST_F(MediaCommands, AnAliasCanBeOpenedOnlyOnce) {
  ASSERT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  EXPECT_NE(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  ASSERT_EQ(send("play bgm notify"), 0);
  EXPECT_EQ(status(), "playing");
}

TEST_F(MediaCommands, OnlyTheKnownTextsAreUnderstood) {
  ASSERT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  for (const char* text :
       {"", "   ", "open", "open  alias bgm", "open x.mid alias", "open x.mid alias two words",
        "play", "play bgm now", "status bgm", "status bgm position", "seek bgm to end", "seek bgm",
        "stop", "close", "pause bgm", "record bgm",
        // A verb with only a tab or a line break after its blank names no alias.
        "play \t", "status \n", "close \t\r"}) {
    reply = "untouched";
    EXPECT_NE(send(text), 0) << '"' << text << '"';
    EXPECT_EQ(reply, "") << '"' << text << '"';
  }
  EXPECT_EQ(status(), "stopped");
  EXPECT_EQ(media.mciSendString("status bgm mode", nullptr), 0);  // a reply buffer is optional
}

TEST_F(MediaCommands, ExecuteReportsOnlyFailuresOnStandardError) {
  ASSERT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
  testing::internal::CaptureStderr();
  media.mciExecute("play bgm notify");
  media.mciExecute("stop bgm");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  media.mciExecute("close nothing");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("close nothing"), std::string::npos) << said;
}

TEST_F(MediaCommands, TheWavePlayerShrugsOffBadFiles) {
  writeFile(dir.file("empty.wav"), {});
  writeFile(dir.file("noise.wav"), {'R', 'I', 'F', 'F', 0xff, 0xff, 0xff, 0x7f, 'W', 'A', 'V',
                                    'E', 'f', 'm', 't', ' ',  0xff, 0xff, 0,    0,   1});
  writeFile(dir.file("text.wav"), {'h', 'e', 'l', 'l', 'o'});
  for (const std::string& path :
       {dir.file("missing.wav"), dir.file("empty.wav"), dir.file("noise.wav"), dir.file("text.wav"),
        dir.path(), std::string()}) {
    media.playWave(path);
  }
  // A burst of clicks, each cutting off the one before.
  for (int k = 0; k < 30; ++k) media.playWave(shippedFile("CLICK.WAV"));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  media.playWave(dir.file("missing.wav"));
  // Music still works beside it.
  EXPECT_EQ(send("open " + shippedFile("run.mid") + " alias bgm"), 0);
}

TEST(MediaWithoutSound, NoAudioDeviceIsQuietFailureNotACrash) {
  media_test::ScopedEnv none("SDL_AUDIODRIVER", "no-such-driver");
  platform::Media media;
  EXPECT_FALSE(media.hasAudio());
  EXPECT_EQ(media.midiBackEnd(), "");
  std::string reply;
  EXPECT_NE(media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", &reply), 0);
  EXPECT_NE(media.mciSendString("status bgm mode", &reply), 0);
  media.playWave(shippedFile("CLICK.WAV"));
  testing::internal::CaptureStderr();
  media.mciExecute("stop bgm");
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST(MediaWithoutSound, WhateverTheMachineOffersIsUsedConsistently) {
  media_test::ScopedEnv automatic("SDL_AUDIODRIVER", nullptr);
  platform::Media media;
  std::string reply;
  const int opened = media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", &reply);
  EXPECT_EQ(opened == 0, media.hasAudio());
  media.playWave(shippedFile("CLICK.WAV"));
  if (opened == 0) {
    EXPECT_EQ(media.mciSendString("play bgm notify", &reply), 0);
  }
}

TEST(MediaInstances, ASecondMediaAfterTheFirstStillPlays) {
  for (int round = 0; round < 2; ++round) {
    platform::Media media;
    std::string reply;
    ASSERT_EQ(media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", &reply), 0);
    ASSERT_EQ(media.mciSendString("play bgm notify", &reply), 0);
    ASSERT_EQ(media.mciSendString("status bgm mode", &reply), 0);
    EXPECT_EQ(reply, "playing") << "round " << round;
  }
}

TEST(BadSounds, MusicThatIsNotMidiAndAnEmptyClickAreSilent) {
  testing_support::TempDir dir("brackle bad sound");
  testing_support::writeFile(dir.file("run.mid"), "this is not a MIDI file\r\n");
  testing_support::writeFile(dir.file("CLICK.WAV"), "");
  platform::Media media;
  EXPECT_NE(media.mciSendString("open " + dir.file("run.mid") + " alias bgm", nullptr), 0);
  std::string reply;
  EXPECT_NE(media.mciSendString("status bgm mode", &reply), 0);
  media.playWave(dir.file("CLICK.WAV"));
  media.playWave(dir.file("missing.wav"));
  media.mciExecute("close bgm");  // reported on standard error, never fatal
}

// A pipe or a device in place of the tune or the click neither blocks the game nor is read
// without end: neither opens, and the shipped tune still does after them.
TEST(BadSounds, APipeOrADeviceIsNoSound) {
  testing_support::TempDir dir("brackle bad sound");
  testing_support::makePipe(dir.file("pipe.mid"));
  ASSERT_EQ(::symlink("/dev/zero", dir.file("zero.mid").c_str()), 0);
  platform::Media media;
  for (const char* name : {"pipe.mid", "zero.mid"}) {
    EXPECT_NE(media.mciSendString("open " + dir.file(name) + " alias bgm", nullptr), 0) << name;
    media.playWave(dir.file(name));
  }
  EXPECT_EQ(media.mciSendString("open " + shippedFile("run.mid") + " alias bgm", nullptr), 0);
}

}  // namespace
