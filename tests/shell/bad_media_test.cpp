// Damaged media beside the game: pictures stop it with a report naming the file, and
// without its sounds the game runs on.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"

namespace {

using testing_support::GameRig;
using testing_support::readFile;
using testing_support::writeFile;

// Clicks the title once, holding the button across a frame, then closes much later.
void clickTitleThenClose(GameRig& r) {
  r.host.onDeliver = [n = 0](platform::ScriptedHost& h) mutable {
    ++n;
    if (n == 3) h.press(1, 250, 200);
    if (n == 7) h.release(1);
    if (n == 400) h.close();
  };
}

TEST(BadPictures, TruncatedTitleStopsStartUpNamingTheFile) {
  GameRig r;
  const std::string title = readFile(r.dir.file("title.jpg"));
  writeFile(r.dir.file("title.jpg"), title.substr(0, title.size() / 2));
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
  EXPECT_EQ(r.host.errorFile, r.dir.file("title.jpg"));
  EXPECT_FALSE(r.host.errorCause.empty());
  EXPECT_FALSE(std::filesystem::exists(r.dir.file("clear.sav")));
}

TEST(BadPictures, PngNamedBackJpgStopsTheGameWhenTheTitleHasFaded) {
  GameRig r;
  std::filesystem::copy_file(std::string(BAD_MEDIA_DATA) + "/png-renamed.jpg",
                             r.dir.file("back.jpg"),
                             std::filesystem::copy_options::overwrite_existing);
  clickTitleThenClose(r);
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
  EXPECT_EQ(r.host.errorFile, r.dir.file("back.jpg"));
  EXPECT_EQ(r.g.fadeMode, 0);  // the fade-out had ended
}

TEST(BadPictures, MissingPictureIsReportedToo) {
  GameRig r;
  std::filesystem::remove(r.dir.file("title.jpg"));
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
  EXPECT_EQ(r.host.errorFile, r.dir.file("title.jpg"));
}

TEST(BadSounds, TheGameRunsOnWithoutMusicOrClick) {
  GameRig r;
  writeFile(r.dir.file("run.mid"), "MThd but not really");
  writeFile(r.dir.file("CLICK.WAV"), "");
  clickTitleThenClose(r);
  // The scripted host opens nothing itself; what matters is that start-up goes on
  // and the close still saves.
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(readFile(r.dir.file("clear.sav")).size(), 31u * 7);
}

}  // namespace
