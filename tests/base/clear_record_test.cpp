// clear.sav: which values read as cleared, where reading stops, and the 31 lines written.
#include "game/base/clear_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lines(std::initializer_list<const char*> values) {
  std::string text;
  for (const char* v : values) text += std::string(v) + "\r\n";
  return text;
}

TEST(ClearRecordRead, WordsInAnyCaseNumbersCommasAndBlanks) {
  bool flags[31] = {};
  flags[3] = true;  // the 0 read into it must clear it
  const std::string text =
      lines({"True", "FALSE", "tRuE", "0", "-1", " 2 ", "0,1", " true ,False", "3.5"});
  EXPECT_EQ(game::parseClearRecord(text, flags), 11);
  const bool want[11] = {true, false, true, false, true, true, false, true, true, false, true};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(flags[i], want[i]) << "flag " << i;
}

TEST(ClearRecordRead, ALetterStopsTheRead) {
  bool flags[31] = {};
  std::string text = lines({"True", "-1", "x", "True"});
  for (int i = 4; i < 31; ++i) text += "True\r\n";
  EXPECT_EQ(game::parseClearRecord(text, flags), 2);
  EXPECT_TRUE(flags[0]);
  EXPECT_TRUE(flags[1]);
  for (int i = 2; i < 31; ++i) EXPECT_FALSE(flags[i]) << "flag " << i;
}

// An empty value stops the read like any other value that is no truth value, so a blank
// line never shifts later flags onto earlier stages. CR LF, a lone CR and a lone LF each
// end one line; ending after the last line end is the normal end of the file.
TEST(ClearRecordRead, EmptyValuesStopTheReadAndEveryLineEndCountsOnce) {
  const struct {
    const char* text;
    int read;
  } cases[] = {
      {"True\r\n\r\nTrue\r\nTrue\r\n", 1},
      {"True\r\n  \t \r\nTrue\r\n", 1},
      {"True\n\nTrue\n", 1},
      {"True\r\rTrue\r", 1},
      {"True\r\r\nTrue\r\n", 1},
      {"True,\r\nTrue\r\n", 1},
      {"True, ,True\r\n", 1},
      {"\r\nTrue\r\n", 0},
      {"True\rTrue\nTrue\r\nTrue", 4},
      {"True\r\nTrue\r\n", 2},
      {"True\nTrue\n", 2},
  };
  for (const auto& c : cases) {
    bool flags[31] = {};
    EXPECT_EQ(game::parseClearRecord(c.text, flags), c.read) << c.text;
    for (int i = 0; i < 31; ++i) EXPECT_EQ(flags[i], i < c.read) << c.text << " flag " << i;
  }
}

TEST(ClearRecordRead, TenLinesFillTenFlags) {
  bool flags[31] = {};
  const std::string text =
      lines({"True", "True", "True", "True", "True", "True", "True", "True", "True", "True"});
  EXPECT_EQ(game::parseClearRecord(text, flags), 10);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(flags[i], i < 10) << "flag " << i;
}

TEST(ClearRecordRead, BinaryJunkReadsNothing) {
  bool flags[31] = {};
  EXPECT_EQ(game::parseClearRecord(std::string("\x89PNG\r\n\x1a\n\0\0True", 14), flags), 0);
  EXPECT_EQ(game::parseClearRecord("", flags), 0);
  for (bool f : flags) EXPECT_FALSE(f);
}

TEST(ClearRecordWrite, ThirtyOneCrLfLinesThatReadBackTheSame) {
  bool flags[31] = {};
  flags[0] = flags[2] = flags[30] = true;
  const std::string text = game::formatClearRecord(flags);
  std::string want = "True\r\nFalse\r\nTrue\r\n";
  for (int i = 3; i < 30; ++i) want += "False\r\n";
  want += "True\r\n";
  EXPECT_EQ(text, want);

  bool back[31] = {};
  EXPECT_EQ(game::parseClearRecord(text, back), 31);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(back[i], flags[i]) << "flag " << i;
}

}  // namespace
