// The browser build's stand-ins read back exactly what the desktop draws: the baked masks of
// every string, the baked pictures; and event scripts read back what a host wrote down.
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/file_error.h"
#include "game/render/texts.h"
#include "platform/baked/baked_pictures.h"
#include "platform/baked/mask_file.h"
#include "platform/bmp.h"
#include "platform/event_script.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/game/game_rig.h"
#include "tools/web_bake/bake.h"

namespace {

using platform::Surface;

TEST(BakedFont, DrawsEveryStringAsTheDesktopFontAndNothingElse) {
  const std::string file =
      platform::encodeMaskFile(web_bake::bakeTexts(testing_support::gameFont()));
  platform::BakedFont baked(platform::decodeMaskFile(file));
  for (const std::string& text : game::everyDrawnText()) {
    Surface desktop(80, 30), web(80, 30);
    testing_support::gameFont().drawText(desktop, text, 3, 4, platform::kWhite);
    baked.drawText(web, text, 3, 4, platform::kWhite);
    ASSERT_EQ(web, desktop) << '"' << text << '"';
    ASSERT_EQ(baked.textWidth(text), testing_support::gameFont().textWidth(text));
  }
  EXPECT_EQ(baked.missing(), 0);
  // A string the bake did not make is drawn as nothing and counted, never guessed.
  Surface s(80, 30);
  baked.drawText(s, "not drawn by the game", 0, 0, platform::kWhite);
  EXPECT_EQ(s, Surface(80, 30));
  EXPECT_EQ(baked.missing(), 1);
  // A cut-off file or a bad count is refused, not read past.
  EXPECT_THROW(platform::decodeMaskFile(file.substr(0, file.size() - 1)), std::runtime_error);
  std::string huge = file;
  huge[8] = '\xff', huge[9] = '\xff', huge[10] = '\xff';
  EXPECT_THROW(platform::decodeMaskFile(huge), std::runtime_error);
  EXPECT_THROW(platform::decodeMaskFile(file + "x"), std::runtime_error);
}

TEST(BakedPictures, ReadTheDesktopDecodersPixelsUnderTheJpegName) {
  testing_support::TempDir dir;
  testing_support::copyRuntimeFiles(dir.path());
  const Surface desktop = testing_support::pictureReader().readPicture(dir.file("title.jpg"));
  testing_support::writeFile(dir.file("title.bmp"), platform::encodeBmp24(desktop));
  platform::BakedPictures baked;
  EXPECT_EQ(baked.readPicture(dir.file("title.jpg")), desktop);
  try {
    baked.readPicture(dir.file("missing.jpg"));
    FAIL() << "a missing bitmap was read";
  } catch (const common::FileError& e) {
    EXPECT_EQ(e.file(), dir.file("missing.jpg"));
  }
  testing_support::writeFile(dir.file("back.bmp"), "BM not a bitmap");
  EXPECT_THROW(baked.readPicture(dir.file("back.jpg")), common::FileError);
}

TEST(EventScript, ReadsBackWhatItWritesAndNamesABadLine) {
  using T = platform::ScriptEvent::Type;
  const std::vector<platform::ScriptEvent> events = {
      {1, T::kMove, 0, 249.5f, 0.1f},
      {1, T::kDown, 1, 13.333333f, 7},
      {3, T::kUp, 2, -1, 351},
      {3, T::kKey, 0, 0, 0, platform::Key::kPad9},
      {4, T::kKey, 0, 0, 0, platform::Key::kBackspace},
      {9, T::kClose},
  };
  std::string text = "# a run\n\n";
  for (const auto& e : events) text += platform::formatEvent(e) + "\n";
  EXPECT_EQ(platform::parseEventScript(text), events);
  for (const char* bad :
       {"4 key Q", "4 down 1 5", "0 close", "4 close 3", "x move 0 1 1", "2 close"}) {
    try {
      platform::parseEventScript(std::string("3 close\n") + bad);
      ADD_FAILURE() << bad << " was read";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
