// Damaged media beside the game: pictures stop it with a report naming the file, and
// without its sounds the game runs on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/atomic_file.h"
#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"
#include "tests/support/hostile_files.h"

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

// A picture that is no plain file is refused before it is read (a pipe used to hang the
// game before its window, or in a black one once the title had faded), so is one far too
// large to be a picture, in bytes or in pixels, and an empty one is called empty.
TEST(BadPictures, WhatIsNoPictureFileIsReportedByWhatItIs) {
  const std::string tooLarge =
      "is larger than " + std::to_string(common::kPictureFileLimit) + " bytes";
  const struct {
    const char* file;
    std::function<void(const std::string&)> make;
    std::string cause;
  } cases[] = {
      {"title.jpg", [](const std::string& p) { writeFile(p, ""); }, "is empty"},
      {"title.jpg", testing_support::makePipe,
       "is a pipe, not a plain file"},
      {"title.jpg", [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
       "is a device, not a plain file"},
      {"title.jpg",
       [](const std::string& p) {
         writeFile(p, "");
         ASSERT_EQ(::truncate(p.c_str(), common::kPictureFileLimit + 1), 0);
       },
       tooLarge},
      {"back.jpg", testing_support::makePipe,
       "is a pipe, not a plain file"},
      // A whole picture whose header claims more pixels than it holds: the decoder would make
      // room for all of them (60000 x 60000 is over 10 GB), padding the rest with grey.
      {"title.jpg",
       [](const std::string& p) {
         std::string jpeg = readFile(std::string(BRACKLE_SOURCE_DIR) + "/assets/title.jpg");
         const size_t frame = jpeg.find("\xFF\xC0");  // baseline frame header, 350 x 500
         ASSERT_NE(frame, std::string::npos);
         jpeg.replace(frame + 5, 4, "\x11\x94\x01\xF4");  // 4500 high, still 500 wide
         writeFile(p, jpeg);
       },
       "is 500 x 4500 pixels, more than 4096 on a side"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.cause);
    GameRig r;
    const std::string path = r.dir.file(c.file);
    std::filesystem::remove(path);
    c.make(path);
    clickTitleThenClose(r);
    EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 1);
    EXPECT_EQ(r.host.errorFile, path);
    EXPECT_EQ(r.host.errorCause, c.cause);
  }
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
