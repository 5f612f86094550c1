// The editor's handlers driven directly: palette, brush, pointer, stage, redraw, load, save,
// the status's proof, undo and redo, a try of the stage and its turn order.
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
#include "tests/support/hostile_files.h"
#include "tests/support/unprivileged.h"
#include "tools/solve/solution_text.h"
#include "tools/stage_design/stage_text.h"

namespace fs = std::filesystem;
using editor::EditorForm;
using editor::Key;
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

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

std::string lastLine(const std::string& text) {
  return text.substr(text.rfind('\n') + 1);
}

// The key that moves the active piece in direction (dx, dy), as in play.
Key keyFor(const solve::Move& m) {
  if (m.dx == 1) return Key::kRight;
  if (m.dy == 1) return Key::kDown;
  return m.dx == -1 ? Key::kLeft : Key::kUp;
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
  std::unique_ptr<EditorForm> makeForm(
      EditorForm::Proving proving = EditorForm::Proving::kInBackground) {
    return std::make_unique<EditorForm>(
        common::inFolder(dir.string(), "\\stage.stg"), palette,
        [this](const common::FileError& e) { failures.push_back(e.file() + ": " + e.cause()); },
        proving);
  }
  void loaded() {
    form->Form_Load();
    ASSERT_TRUE(failures.empty()) << failures.front();
  }
  // The file holds these stages from stage 1 on (rows of the stage grid's letters), the rest
  // as the pattern.
  void writeStages(const std::vector<std::vector<std::string>>& stages) {
    for (size_t i = 0; i < stages.size(); ++i)
      stage_design::fillStage(fileSet, static_cast<int>(i) + 1, stages[i]);
    writeFile(file, common::formatStageText(fileSet));
  }
  // The status once the proof of what is shown has come back and a tick has shown it.
  const std::string& proven() {
    form->finishProof();
    form->Timer1_Timer();
    return form->Label4;
  }
  void press(Key key) { EXPECT_TRUE(form->Form_KeyDown(key)); }
  void showStage(int s) {
    form->stage = s;
    form->stage_Change();
  }
  // A one-cell stroke of `code` on cell (x, y) with a brush of 1.
  void paint(int x, int y, int code) {
    form->ryo = 1;
    form->map_c_MouseDown(1, 16.0f * code + 1);
    form->Pic_MouseDown(1, 16.0f * x + 3, 16.0f * y + 3);
    form->Pic_MouseUp(1);
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

  // The new content cannot be written beside the file (a full disk stops root too): the
  // old file stays exactly as it was.
  {
    testing_support::FullDisk full;
    form->Command1_Click();
  }
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].rfind(file.string() + ": ", 0), 0u) << failures[0];
  EXPECT_EQ(readFile(file), before);
  EXPECT_EQ(testing_support::namesIn(dir), std::vector<std::string>{"stage.stg"});

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
  EXPECT_EQ(testing_support::namesIn(dir), std::vector<std::string>{"stage.stg"});

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

// In a folder the user may not write, the file itself writable, the save cannot make its
// temporary there: the report names the folder, not the file.
TEST_F(EditorFormTest, AReadOnlyFolderIsNamedAsTheCause) {
  loaded();
  form->map_c_MouseDown(1, 40);
  form->Pic_MouseDown(1, 0, 0);
  const std::string before = readFile(file);
  fs::permissions(file, fs::perms::all);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

  const std::string answer = testing_support::runUnprivileged([&] {
    form->Command1_Click();
    return failures.empty() ? std::string("saved") : failures.front();
  });
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(answer, file.string() + ": the folder " + dir.string() +
                        " cannot be written: " + std::strerror(EACCES));
  EXPECT_EQ(readFile(file), before);
  EXPECT_EQ(testing_support::namesIn(dir), std::vector<std::string>{"stage.stg"});
}

TEST_F(EditorFormTest, TheStatusSaysWhetherTheStageShownCanBeClearedOnceATickTakesTheProof) {
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    const char* status;
  };
  const std::vector<Case> cases = {
      {"solvable",
       {".W.", "..."},
       "can be cleared in 5 moves\n1 trap on the fewest-move way\n14 reachable positions\nsaved"},
      {"unsolvable",
       {".W.."},
       "cannot be cleared\nat best 1 grass cell is left\n4 reachable positions\nsaved"},
      {"stalled at once",
       {"W#.."},
       "cannot be cleared\nthe first piece cannot move\n1 reachable position\nsaved"},
      {"pieceless", {"...", "o#."}, "no piece\nnobody can clear this stage\n\nsaved"},
      {"empty", {}, "nothing to paint\nno grass: cleared at once\n\nsaved"},
      {"all painted", {"oWo", "J#S"}, "nothing to paint\nno grass: cleared at once\n\nsaved"},
  };
  std::vector<std::vector<std::string>> stages;
  for (const Case& c : cases) stages.push_back(c.rows);
  writeStages(stages);
  loaded();
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].what);
    showStage(static_cast<int>(i) + 1);
    // Worked out off the timer: a finished proof shows only once a tick takes it.
    form->finishProof();
    EXPECT_EQ(firstLine(form->Label4), "proving…");
    EXPECT_FALSE(form->proofSettled());
    form->Timer1_Timer();
    EXPECT_EQ(form->Label4, cases[i].status);
    EXPECT_TRUE(form->proofSettled());
  }

  // A stroke is proven anew and leaves the stages unsaved until a save.
  showStage(1);
  proven();
  paint(1, 1, common::kBlock);
  EXPECT_EQ(firstLine(form->Label4), "proving…");
  EXPECT_EQ(lastLine(form->Label4), "unsaved changes");
  EXPECT_EQ(firstLine(proven()), "cannot be cleared");
  form->Command1_Click();
  EXPECT_EQ(lastLine(form->Label4), "saved");
  press(Key::kUndo);
  EXPECT_EQ(proven(), std::string("can be cleared in 5 moves\n1 trap on the fewest-move way\n"
                                  "14 reachable positions\nunsaved changes"));
}

TEST(EditorProof, TheStateBoundsTurnAHugeSearchIntoAPlainAnswerAndTheVerdictComesFirst) {
  common::StageSet set;
  stage_design::fillStage(set, 1, {".W.", "..."});
  stage_design::fillStage(set, 2, {".W.."});
  struct Case {
    int stage;
    editor::ProofBounds bounds;
    editor::ProofLines early, lines;
  };
  const std::vector<Case> cases = {
      {1,
       {},
       {"can be cleared in 5 moves", "counting traps…", ""},
       {"can be cleared in 5 moves", "1 trap on the fewest-move way", "14 reachable positions"}},
      {1,
       {3, 1000},
       {},
       {"too big to prove here", "no answer in 3 positions", "brackle-solve can search further"}},
      {1,
       {1000, 5},
       {"can be cleared in 5 moves", "counting traps…", ""},
       {"can be cleared in 5 moves", "traps not counted", "5+ reachable positions"}},
      {2,
       {},
       {"cannot be cleared", "", "counting positions…"},
       {"cannot be cleared", "at best 1 grass cell is left", "4 reachable positions"}},
      {2,
       {1000, 2},
       {"cannot be cleared", "", "counting positions…"},
       {"cannot be cleared", "", "2+ reachable positions"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("stage " + std::to_string(c.stage) + " bounds " +
                 std::to_string(c.bounds.solveStates) + "/" +
                 std::to_string(c.bounds.surveyStates));
    editor::ProofLines early;
    EXPECT_EQ(editor::proveStage(set, c.stage, c.bounds,
                                 [&](const editor::ProofLines& verdict) { early = verdict; }),
              c.lines);
    EXPECT_EQ(early, c.early);
  }
}

TEST_F(EditorFormTest, AProofOfAStageNoLongerShownOrOfCellsChangedSinceIsDropped) {
  writeStages({{".W.", "..."}, {".W.."}});
  form = makeForm(EditorForm::Proving::kWhenAsked);
  loaded();
  EXPECT_EQ(firstLine(proven()), "can be cleared in 5 moves");

  // Stage 1's proof after a stroke is ready when stage 2 comes into view.
  paint(1, 1, common::kBlock);
  form->finishProof();
  showStage(2);
  form->Timer1_Timer();
  EXPECT_EQ(firstLine(form->Label4), "proving…");
  EXPECT_EQ(proven(),
            "cannot be cleared\nat best 1 grass cell is left\n4 reachable positions\n"
            "unsaved changes");

  // The proof of the cells before the latest stroke.
  paint(0, 0, common::kPainted);  // "oW..": cleared in 2 moves
  form->finishProof();
  paint(3, 0, common::kPainted);  // "oW.o": in 1
  form->Timer1_Timer();
  EXPECT_EQ(firstLine(form->Label4), "proving…");
  EXPECT_EQ(firstLine(proven()), "can be cleared in 1 move");
}

TEST_F(EditorFormTest, EachStrokeIsOneStepBackAndForthOnTheStageItWasMadeOnAsFarAsTheStart) {
  loaded();
  const common::StageSet start = form->stageSet;
  // A drag with a brush of 2 over stage 1, then a stroke on stage 2.
  form->map_c_MouseDown(1, 2 * 16 + 1);
  form->ryo = 2;
  form->Pic_MouseDown(1, 20, 20);
  form->Pic_MouseMove(60, 20);
  form->Pic_MouseMove(60, 90);
  form->Pic_MouseUp(1);
  const common::StageSet first = form->stageSet;
  ASSERT_FALSE(first == start);
  showStage(2);
  paint(5, 5, 6);
  const common::StageSet second = form->stageSet;
  ASSERT_FALSE(second == first);
  paint(5, 5, 6);  // changes nothing: no step

  struct Step {
    Key key;
    const common::StageSet& cells;
    int stage;
  };
  const Step steps[] = {
      {Key::kUndo, first, 2},     {Key::kUndo, start, 1},     {Key::kUndo, start, 1},
      {Key::kRedo, first, 1},     {Key::kRedo, second, 2},    {Key::kRedo, second, 2},
      {Key::kTakeBack, first, 2}, {Key::kTakeBack, start, 1},  // Backspace, as in play
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    press(steps[i].key);
    EXPECT_TRUE(form->stageSet == steps[i].cells);
    EXPECT_EQ(form->stage, steps[i].stage);
    EXPECT_EQ(form->Label3, editor::stageCaption(steps[i].stage));
    EXPECT_EQ(lastLine(form->Label4), &steps[i].cells == &start ? "saved" : "unsaved changes");
  }

  // A new stroke forgets the steps taken back; a stroke under way is no step yet.
  press(Key::kRedo);
  paint(9, 9, 7);
  const common::StageSet third = form->stageSet;
  press(Key::kRedo);
  EXPECT_TRUE(form->stageSet == third);
  form->map_c_MouseDown(1, 5 * 16);
  form->Pic_MouseDown(1, 0, 0);
  const common::StageSet during = form->stageSet;
  press(Key::kUndo);
  EXPECT_TRUE(form->stageSet == during);
  form->Pic_MouseUp(1);
  press(Key::kUndo);
  EXPECT_TRUE(form->stageSet == third);
  press(Key::kUndo);
  EXPECT_TRUE(form->stageSet == first);
}

TEST_F(EditorFormTest, ALoadIsOneStepSoTheWorkItDiscardedComesBack) {
  loaded();
  paint(3, 3, 7);
  showStage(4);
  paint(1, 2, 6);
  const common::StageSet work = form->stageSet;
  // The file changed meanwhile; "load" takes it.
  common::StageSet other = patternSet();
  other(9, 9, 30) = 5;
  writeFile(file, common::formatStageText(other));
  form->Command2_Click();
  const common::StageSet reloaded = form->stageSet;
  EXPECT_TRUE(reloaded == other);
  EXPECT_EQ(lastLine(form->Label4), "saved");

  press(Key::kUndo);
  EXPECT_TRUE(form->stageSet == work);
  EXPECT_EQ(form->stage, 4);
  EXPECT_EQ(lastLine(form->Label4), "unsaved changes");
  press(Key::kRedo);
  EXPECT_TRUE(form->stageSet == reloaded);
  EXPECT_EQ(lastLine(form->Label4), "saved");
  press(Key::kUndo);
  press(Key::kUndo);
  press(Key::kUndo);
  EXPECT_TRUE(form->stageSet == fileSet);
  EXPECT_EQ(form->stage, 1);
}

TEST_F(EditorFormTest, TryingEachShippedStageByItsStoredSolutionClearsItAndLeavesTheStage) {
  fs::copy_file(BRACKLE_SOURCE_DIR "/assets/stage.stg", file, fs::copy_options::overwrite_existing);
  loaded();
  const common::StageSet shipped = form->stageSet;
  const std::vector<solve::StoredSolution> solutions =
      solve::parseSolutions(readFile(BRACKLE_SOURCE_DIR "/tests/rules/solutions.txt"));
  ASSERT_EQ(solutions.size(), 30u);
  for (const solve::StoredSolution& solution : solutions) {
    SCOPED_TRACE("stage " + std::to_string(solution.stage));
    showStage(solution.stage);
    press(Key::kTry);
    ASSERT_TRUE(form->trying());
    const int n = static_cast<int>(solution.moves.size());
    for (int i = 0; i < n; ++i) {
      const solve::Move& m = solution.moves[i];
      ASSERT_FALSE(form->trial().cleared()) << "before move " << i + 1;
      ASSERT_EQ(form->trial().state().activeX, m.x) << "move " << i + 1;
      ASSERT_EQ(form->trial().state().activeY, m.y) << "move " << i + 1;
      press(keyFor(m));
      ASSERT_EQ(form->trial().moves(), i + 1) << "move " << i + 1 << " refused";
    }
    EXPECT_TRUE(form->trial().cleared());
    EXPECT_EQ(firstLine(form->Label4), "cleared in " + std::to_string(n) + " moves");
    // The field is the try's: a press there paints nothing.
    form->Pic_MouseDown(1, 5, 5);
    form->Pic_MouseUp(1);
    press(Key::kTakeBack);
    EXPECT_FALSE(form->trial().cleared());
    EXPECT_EQ(firstLine(form->Label4), "trying: " + std::to_string(n - 1) + " moves");
    press(Key::kEscape);
    EXPECT_FALSE(form->trying());
    EXPECT_TRUE(form->stageSet == shipped);
    EXPECT_EQ(lastLine(form->Label4), "saved");
  }
}

TEST_F(EditorFormTest, TheTurnOrderGoesByPlaceOnTheFieldAndATryIsDrawnAsItStandsFromAbove) {
  // Row by row: the slider moves first, the jumper second, the walker last.
  writeStages({{"-S..J", "W...."}});
  loaded();
  form->Timer1_Timer();
  const Surface plain = form->Pic.image;
  // Cell (x, y) as the edit area should show it: its code's picture, the frame of the active
  // piece, its place in the turn cycle.
  auto expectCell = [&](int x, int y, int code, int place, bool active) {
    Surface want(16, 16);
    platform::bitBlt(want, 0, 0, 16, 16, palette, 16 * code, 0, platform::Rop::SrcCopy);
    if (active) {
      platform::drawRectOutline(want, 0, 0, 15, 15, editor::kActiveColor);
      platform::drawRectOutline(want, 1, 1, 14, 14, editor::kActiveColor);
    }
    if (place) editor::drawTurnPlace(want, 0, 0, place);
    EXPECT_TRUE(sameSquare(form->Pic.image, 16 * x, 16 * y, want, 0, 0))
        << "cell " << x << "," << y << " place " << place;
  };
  press(Key::kTurnOrder);
  EXPECT_TRUE(form->turnOrderShown);
  expectCell(1, 0, common::kSlider, 1, false);
  expectCell(4, 0, common::kJumper, 2, false);
  expectCell(0, 1, common::kWalker, 3, false);
  expectCell(2, 0, common::kUnpainted, 0, false);
  press(Key::kTurnOrder);
  EXPECT_EQ(form->Pic.image, plain);

  // Tried, the slider slides two cells right; the jumper moves next and the slider last.
  press(Key::kTurnOrder);
  press(Key::kTry);
  expectCell(1, 0, common::kSlider, 1, true);
  press(Key::kRight);
  expectCell(1, 0, common::kPainted, 0, false);
  expectCell(2, 0, common::kPainted, 0, false);
  expectCell(3, 0, common::kSlider, 3, false);
  expectCell(4, 0, common::kJumper, 1, true);
  expectCell(0, 1, common::kWalker, 2, false);
  EXPECT_EQ(form->stageSet(1, 0, 1), common::kSlider);
  EXPECT_EQ(form->stageSet(2, 0, 1), common::kUnpainted);
  // The jumper has no grass two cells away: the rules refuse every move, and the line says so.
  press(Key::kUp);
  press(Key::kDown);
  EXPECT_EQ(form->trial().moves(), 1);
  EXPECT_EQ(firstLine(form->Label4), "stuck after 1 move");
  press(Key::kTakeBack);
  EXPECT_EQ(firstLine(form->Label4), "trying: 0 moves");
  expectCell(1, 0, common::kSlider, 1, true);
  press(Key::kEscape);
  expectCell(1, 0, common::kSlider, 1, false);
  expectCell(3, 0, common::kUnpainted, 0, false);
  // The arrows and Escape mean nothing to the editor outside a try.
  for (Key k : {Key::kRight, Key::kDown, Key::kLeft, Key::kUp, Key::kEscape})
    EXPECT_FALSE(form->Form_KeyDown(k));
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
