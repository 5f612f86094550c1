// The start-view check of tools/view_check: what it names out of view, and that the shipped
// stages show all the player needs at the start.
#include "tools/view_check/view_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/stage_file.h"
#include "platform/sdl/ttf_font.h"
#include "tests/rules/field_text.h"
#include "tools/view_check/label_ink.h"

namespace {

// Each box worked out by hand from the start offsets: cell (x, y) has its tile at
// 32(x - y) + 220, 16(x + y) + 30.
TEST(ViewCheck, NamesWhatIsOutOfViewAtTheStart) {
  const auto font = platform::TtfFont::openGameFont();
  const view_check::LabelInk ink = view_check::fontLabelInk(*font);
  EXPECT_EQ(view_check::tileBox(9, 9), (view_check::Box{220, 318, 64, 32}));
  EXPECT_EQ(view_check::pieceBox(common::kSlider, 2, 1), (view_check::Box{268, 30, 32, 64}));
  EXPECT_EQ(view_check::pieceBox(common::kEraser, 2, 1), (view_check::Box{276, 78, 16, 16}));
  EXPECT_EQ(view_check::markerBox(common::kSlider, 2, 1), (view_check::Box{245, -2, 32, 32}));
  const view_check::Box one = ink(1), twelve = ink(12);
  EXPECT_GT(one.width, 2);
  EXPECT_GT(twelve.width, one.width);
  EXPECT_GT(one.height, 8);
  struct Case {
    std::vector<std::string> rows;
    std::vector<std::string> problems;
  };
  const std::vector<Case> cases = {
      {{"--.", "-.W", "..."}, {}},
      {{"S.", ".."},
       {"slider at 0,0: picture cut at the top edge",
        "slider at 0,0: turn marker cut at the top edge"}},
      {{"--W....J."},
       {"jumper at 7,0: tile cut at the right edge", "floor at 8,0: tile cut at the right edge"}},
      {{"--W....-J"},
       {"jumper at 8,0: tile cut at the right edge", "jumper at 8,0: picture cut at the right edge",
        "jumper at 8,0: turn label cut at the right edge"}},
      {{"-", "-", "W.", "-", "-", "-", "-", "#"}, {"block at 0,7: tile cut at the left edge"}},
  };
  for (const Case& c : cases) {
    const rules::PlayState field = rules_test::field(c.rows);
    common::StageSet set;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) set(x, y, 1) = field.playField[x][y];
    EXPECT_EQ(view_check::problems(set, 1, ink), c.problems) << c.rows[0];
  }
}

TEST(ShippedStages, AllThePlayerNeedsIsInViewAtTheStart) {
  const auto font = platform::TtfFont::openGameFont();
  const view_check::LabelInk ink = view_check::fontLabelInk(*font);
  common::StageSet set;
  common::loadStageFile(set, std::string(BRACKLE_SOURCE_DIR) + "/assets/stage.stg");
  for (int s = 1; s <= common::kStageCount; ++s) {
    const std::vector<std::string> found = view_check::problems(set, s, ink);
    EXPECT_TRUE(found.empty()) << "stage " << s << ": " << found.front();
  }
}

}  // namespace
