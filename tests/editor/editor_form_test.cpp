// The editor's handlers driven directly: palette, brush, pointer, stage, redraw, load, save.
#include "editor/editor_form.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "platform/bmp.h"
#include "tests/support/coded_pictures.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/unprivileged.h"

namespace fs = std::filesystem;
using editor::EditorForm;
using platform::Rgb;
using platform::Surface;
using testing_support::distinctPalette;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Every cell gets a code from its position, so each stage differs from the others.
common::StageSet patternSet() {
  common::StageSet set;
  for (int s = 1; s <= 30; ++s)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) set(x, y, s) = static_cast<uint8_t>((x + 2 * y + s) % 8);
  return set;
}

bool sameSquare(const Surface& a, int ax, int ay, const Surface& b, int bx, int by) {
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i)
      if (!(a.pixel(ax + i, ay + j) == b.pixel(bx + i, by + j))) return false;
  return true;
}

// The one-pixel outline of palette square `c`, and nothing else, is red.
void expectFrameOnlyOn(const Surface& mapC, const Surface& palette, int c) {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 128; ++x) {
      const bool onFrame = x / 16 == c && (x % 16 == 0 || x % 16 == 15 || y == 0 || y == 15);
      if (onFrame) {
        ASSERT_EQ(mapC.pixel(x, y), editor::kFrameColor) << x << "," << y;
      } else {
        ASSERT_EQ(mapC.pixel(x, y), palette.pixel(x, y)) << x << "," << y;
      }
    }
  }
}

class EditorFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = dir / "stage.stg";
    fileSet = patternSet();
    fileSet(4, 4, 7) = 8;  // codes only a file made elsewhere can hold
    fileSet(5, 4, 7) = 9;
    writeFile(file, common::formatStageText(fileSet));
    form = makeForm();
  }
  std::unique_ptr<EditorForm> makeForm() {
    return std::make_unique<EditorForm>(
        common::inFolder(dir.string(), "\\stage.stg"), palette,
        [this](const common::FileError& e) { failures.push_back(e.file() + ": " + e.cause()); });
  }
  void loaded() {
    form->Form_Load();
    ASSERT_TRUE(failures.empty()) << failures.front();
  }

  testing_support::TempDir temp{"quorlin form"};
  fs::path dir = temp.path(), file;
  Surface palette = distinctPalette(editor::kPaletteWidth, editor::kPaletteHeight);
  common::StageSet fileSet;
  std::vector<std::string> failures;
  std::unique_ptr<EditorForm> form;
};

TEST_F(EditorFormTest, PalettePressPicksTheSquareUnderThePointerAndFramesItAtOnce) {
  struct Case {
    float x;
    float code;
  };
  for (Case c : {Case{0, 0}, Case{15.9f, 0}, Case{16, 1}, Case{127, 7}, Case{50.5f, 3}}) {
    form->map_c_MouseDown(1, c.x);
    EXPECT_EQ(form->selCode, c.code) << c.x;
    EXPECT_EQ(form->paletteX, c.x);
  }
  // Only the last press is framed when the palette was fresh; earlier frames stay until
  // the next redraw.
  auto fresh = makeForm();
  fresh->map_c_MouseDown(2, 127);
  expectFrameOnlyOn(fresh->map_c.image, palette, 7);
  fresh->map_c_MouseDown(1, 20);
  EXPECT_EQ(fresh->map_c.image.pixel(112, 0), editor::kFrameColor);
  EXPECT_EQ(fresh->map_c.image.pixel(16, 0), editor::kFrameColor);
  fresh->dsp();
  expectFrameOnlyOn(fresh->map_c.image, palette, 1);
}

TEST_F(EditorFormTest, BrushIsASquareFromThePointerCellClippedAtTheFieldEdge) {
  loaded();
  form->map_c_MouseDown(1, 40);  // code 2
  struct Case {
    int brush;
    float x, y;
    std::vector<std::pair<int, int>> cells;
  };
  const std::vector<Case> cases = {
      {4, 8 * 16 + 3.5f, 8 * 16 + 15.9f, {{8, 8}, {9, 8}, {8, 9}, {9, 9}}},
      {2, 3 * 16, 5 * 16 + 1, {{3, 5}, {4, 5}, {3, 6}, {4, 6}}},
      {1, 159, 0, {{9, 0}}},
      {3, 0, 9 * 16, {{0, 9}, {1, 9}, {2, 9}}},
  };
  for (const Case& c : cases) {
    form->stageSet = fileSet;
    form->ryo = c.brush;
    common::StageSet expected = fileSet;
    for (auto [x, y] : c.cells) expected(x, y, 1) = 2;
    form->Pic_MouseDown(1, c.x, c.y);
    form->Pic_MouseUp(1);
    EXPECT_TRUE(form->stageSet == expected) << "brush " << c.brush << " at " << c.x << "," << c.y;
  }
}

TEST_F(EditorFormTest, BeforeAnyPalettePressTheBrushPaintsFloorAndTheFirstSquareIsFramed) {
  loaded();
  ASSERT_NE(form->stageSet(2, 0, 1), 0);  // the pattern puts code 3 there
  form->Pic_MouseDown(1, 2 * 16 + 4, 4);
  EXPECT_EQ(form->stageSet(2, 0, 1), 0);
  form->dsp();
  expectFrameOnlyOn(form->map_c.image, palette, 0);
}

TEST_F(EditorFormTest, AnyButtonPaintsAndTheReleaseOfAnyButtonStopsPainting) {
  loaded();
  auto other = makeForm();
  other->Form_Load();
  for (EditorForm* f : {form.get(), other.get()}) {
    f->map_c_MouseDown(1, 100);
    f->ryo = 2;
  }
  form->Pic_MouseDown(1, 70, 90);
  form->Pic_MouseMove(100, 30);
  other->Pic_MouseDown(3, 70, 90);
  other->Pic_MouseMove(100, 30);
  EXPECT_EQ(form->stageSet(4, 5, 1), 6);
  EXPECT_TRUE(form->stageSet == other->stageSet);
  EXPECT_EQ(form->Label2, other->Label2);

  other->Pic_MouseUp(2);
  EXPECT_FALSE(other->painting);
  const common::StageSet before = other->stageSet;
  other->Pic_MouseMove(150, 150);
  EXPECT_TRUE(other->stageSet == before);
  EXPECT_EQ(other->Label2, "x=9: y=9");  // moves still show the cell
}

TEST_F(EditorFormTest, DraggingOutOfTheAreaKeepsPaintingTheBorderCells) {
  loaded();
  form->map_c_MouseDown(1, 5 * 16 + 2);
  form->Pic_MouseDown(1, 40, 50);
  EXPECT_EQ(form->Label2, "x=2: y=3");
  form->Pic_MouseMove(-30, 50);
  EXPECT_EQ(form->Label2, "x=0: y=3");
  EXPECT_EQ(form->stageSet(0, 3, 1), 5);
  form->Pic_MouseMove(-200, -7);
  EXPECT_EQ(form->Label2, "x=0: y=0");
  EXPECT_EQ(form->stageSet(0, 0, 1), 5);
  form->Pic_MouseMove(400, 170);
  EXPECT_EQ(form->Label2, "x=9: y=9");
  EXPECT_EQ(form->stageSet(9, 9, 1), 5);
  // Below 2 snaps to 0; 2 itself stays.
  form->Pic_MouseMove(1.99f, 2);
  EXPECT_EQ(form->Label2, "x=0: y=0");
  // The press shows the pointer as given, without clamping; nothing lands past column 9.
  form->stageSet = fileSet;
  form->Pic_MouseDown(1, 170, 20);
  EXPECT_EQ(form->Label2, "x=10: y=1");
  EXPECT_TRUE(form->stageSet == fileSet);
}

TEST_F(EditorFormTest, StageChangeRewritesTheCaptionAtOnceAndTheAreaAtTheNextTick) {
  loaded();
  EXPECT_EQ(form->Label3, "編集ステージ 1");
  form->Timer1_Timer();
  const Surface stage1 = form->Pic.image;
  form->stage = 2;
  form->stage_Change();
  EXPECT_EQ(form->Label3, "編集ステージ 2");
  EXPECT_EQ(form->Pic.image, stage1);
  form->Timer1_Timer();
  EXPECT_NE(form->Pic.image, stage1);
  const int c = form->stageSet(6, 1, 2);
  EXPECT_TRUE(sameSquare(form->Pic.image, 6 * 16, 16, palette, 16 * c, 0));
  // Painting goes to the stage shown.
  form->map_c_MouseDown(1, 7 * 16);
  form->Pic_MouseDown(1, 0, 0);
  EXPECT_EQ(form->stageSet(0, 0, 2), 7);
  EXPECT_EQ(form->stageSet(0, 0, 1), fileSet(0, 0, 1));
  form->stage = 30;
  form->stage_Change();
  EXPECT_EQ(form->Label3, "編集ステージ 30");
}

TEST_F(EditorFormTest, RedrawShowsEveryCellAsItsPaletteSquareAndFramesOnlyThePalette) {
  loaded();
  form->map_c_MouseDown(1, 6 * 16 + 9);
  for (int s : {1, 2, 29}) {
    form->stage = s;
    form->dsp();
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const int c = form->stageSet(x, y, s);
        ASSERT_TRUE(sameSquare(form->Pic.image, 16 * x, 16 * y, palette, 16 * c, 0))
            << "stage " << s << " cell " << x << "," << y;
      }
    }
    expectFrameOnlyOn(form->map_c.image, palette, 6);
  }
  // The frame never reaches the edit area, even on the cells of the framed code.
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 160; ++x) ASSERT_NE(form->Pic.image.pixel(x, y), editor::kFrameColor);
}

TEST_F(EditorFormTest, CodesWithoutAPaletteSquareShowAMarkerAndNeverReadPastThePalette) {
  loaded();
  form->stage = 7;
  form->stageSet(0, 0, 7) = 12;   // past the palette's width
  form->stageSet(1, 0, 7) = 200;  // past its height
  form->dsp();
  auto marker = [](int code) {
    Surface s(16, 16, Rgb{1, 2, 3});
    editor::drawCodeWithoutPicture(s, 0, 0, code);
    return s;
  };
  const Surface eight = marker(8), nine = marker(9);
  EXPECT_NE(eight, nine);
  EXPECT_TRUE(sameSquare(form->Pic.image, 4 * 16, 4 * 16, eight, 0, 0));
  EXPECT_TRUE(sameSquare(form->Pic.image, 5 * 16, 4 * 16, nine, 0, 0));
  EXPECT_TRUE(sameSquare(form->Pic.image, 0, 0, marker(12), 0, 0));
  EXPECT_TRUE(sameSquare(form->Pic.image, 16, 0, marker(200), 0, 0));
  // The marker covers its whole square and looks like no palette picture.
  for (int c = 0; c < 8; ++c) EXPECT_FALSE(sameSquare(eight, 0, 0, palette, 16 * c, 0));
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) ASSERT_NE(eight.pixel(i, j), (Rgb{1, 2, 3}));
  // Their neighbours are untouched by the marker.
  const int c = form->stageSet(6, 4, 7);
  EXPECT_TRUE(sameSquare(form->Pic.image, 6 * 16, 4 * 16, palette, 16 * c, 0));
}

TEST_F(EditorFormTest, SaveAfterStartWritesWhatLoadReadsBack) {
  loaded();
  EXPECT_TRUE(form->stageSet == fileSet);
  fs::remove(file);
  form->Command1_Click();
  ASSERT_TRUE(failures.empty());
  EXPECT_EQ(readFile(file), common::formatStageText(fileSet));  // 8 and 9 kept as they were
  form->stageSet = common::StageSet();
  form->Command2_Click();
  EXPECT_TRUE(form->stageSet == fileSet);
}

TEST_F(EditorFormTest, LoadDiscardsUnsavedPaintAndKeepsTheCellsTheFileDoesNotHold) {
  loaded();
  form->map_c_MouseDown(1, 7 * 16);
  form->Pic_MouseDown(1, 50, 50);
  form->Pic_MouseUp(1);
  ASSERT_EQ(form->stageSet(3, 3, 1), 7);
  form->stageSet(10, 3, 4) = 6;
  form->stageSet(2, 2, 0) = 5;
  form->Command2_Click();
  EXPECT_EQ(form->stageSet(3, 3, 1), fileSet(3, 3, 1));
  EXPECT_EQ(form->stageSet(10, 3, 4), 6);
  EXPECT_EQ(form->stageSet(2, 2, 0), 5);
  // Selection and controls stay as they were.
  EXPECT_EQ(form->selCode, 7);
  EXPECT_EQ(form->Label2, "x=3: y=3");
}

TEST_F(EditorFormTest, LongLinesLoadAndSaveBackAsHundredDigits) {
  std::string text;
  for (int s = 1; s <= 30; ++s) {
    std::string line;
    for (int p = 0; p < 100; ++p) line += static_cast<char>('0' + (p + s) % 8);
    text += line + "9999abc" + "\r\n";
  }
  writeFile(file, text);
  loaded();
  EXPECT_EQ(form->stageSet(9, 9, 1), (99 + 1) % 8);
  form->Command1_Click();
  const std::string saved = readFile(file);
  ASSERT_EQ(saved.size(), 3060u);
  std::istringstream lines(saved);
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) {
    ++n;
    ASSERT_EQ(line.size(), 101u);  // 100 digits and the CR
    for (int p = 0; p < 100; ++p) EXPECT_EQ(line[p], '0' + (p + n) % 8);
  }
  EXPECT_EQ(n, 30);
}

TEST_F(EditorFormTest, AMissingOrShortFileEndsTheEditorWithTheFileNamed) {
  loaded();
  form->map_c_MouseDown(1, 40);
  form->Pic_MouseDown(1, 0, 0);
  const common::StageSet edited = form->stageSet;

  fs::remove(file);
  form->Command2_Click();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].rfind(file.string() + ": ", 0), 0u) << failures[0];
  EXPECT_TRUE(form->stageSet == edited);

  // 29 lines: the stages read before the failure are not taken.
  std::string text = common::formatStageText(patternSet());
  text.resize(29 * 102);
  writeFile(file, text);
  form->Command2_Click();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[1].find(file.string()), std::string::npos);
  EXPECT_TRUE(form->stageSet == edited);

  // At start, too.
  fs::remove(file);
  auto fresh = makeForm();
  fresh->Form_Load();
  EXPECT_EQ(failures.size(), 3u);
}

TEST_F(EditorFormTest, SaveRecreatesARemovedFile) {
  loaded();
  fs::remove(file);
  form->Command1_Click();
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(readFile(file), common::formatStageText(fileSet));
}

TEST_F(EditorFormTest, AFailedSaveReportsAndLeavesTheOldFileWhole) {
  loaded();
  form->map_c_MouseDown(1, 40);
  form->Pic_MouseDown(1, 0, 0);
  const std::string before = readFile(file);

  // The new content cannot be written beside the file (root can't write a directory
  // either): the old file stays exactly as it was.
  fs::create_directory(dir / "stage.stg.tmp");
  form->Command1_Click();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].rfind(file.string() + ": ", 0), 0u) << failures[0];
  EXPECT_EQ(readFile(file), before);
  fs::remove(dir / "stage.stg.tmp");

  // The file's name is taken by a folder.
  fs::remove(file);
  fs::create_directory(file);
  form->Command1_Click();
  EXPECT_EQ(failures.size(), 2u);
  EXPECT_TRUE(fs::is_directory(file));

  // The folder itself cannot exist: its parent is a regular file.
  auto lost = std::make_unique<EditorForm>(
      (dir / "stage.stg.notes" / "stage.stg").string(), palette,
      [this](const common::FileError& e) { failures.push_back(e.what()); });
  writeFile(dir / "stage.stg.notes", "text");
  lost->Command1_Click();
  EXPECT_EQ(failures.size(), 3u);
}

// A file the user may not write is refused like any failed save, even where the folder
// would let a new file be renamed over it; whoever may write it keeps its mode.
TEST_F(EditorFormTest, AReadOnlyFileIsRefusedUnlessTheUserMayWriteIt) {
  loaded();
  form->map_c_MouseDown(1, 40);
  form->Pic_MouseDown(1, 0, 0);
  const std::string before = readFile(file);
  fs::permissions(dir, fs::perms::all);  // open to the user the refusal is tried as
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const std::string answer = testing_support::runUnprivileged([&] {
    form->Command1_Click();
    return failures.empty() ? std::string("saved") : failures.front();
  });
  EXPECT_EQ(answer, file.string() + ": " + std::strerror(EACCES));
  EXPECT_EQ(readFile(file), before);
  EXPECT_FALSE(fs::exists(dir / "stage.stg.tmp"));

  // This user saves exactly when a plain open for writing succeeds (root does).
  const int fd = ::open(file.c_str(), O_WRONLY);
  const bool writable = fd >= 0;
  if (writable) ::close(fd);
  form->Command1_Click();
  EXPECT_EQ(failures.empty(), writable);
  EXPECT_EQ(readFile(file) == before, !writable);
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST(EditorPalette, TheBuiltInPaletteFillsThePaletteBox) {
  const auto bytes = assets::paletteBmp();
  const Surface image = platform::decodeBmp(bytes.data(), bytes.size());
  EXPECT_EQ(image.width(), editor::kPaletteWidth);
  EXPECT_EQ(image.height(), editor::kPaletteHeight);
  EditorForm form("/nonexistent/stage.stg", image, [](const common::FileError&) {});
  EXPECT_EQ(form.map_c.image, image);
}

}  // namespace
