// The editor's FLTK window on a real X display: layout, captions, event wiring, drawing, the
// status, the editor's keys, the side buttons and the close.
#include <gtest/gtest.h>
// After gtest: the X11 headers under FLTK define None and Bool as macros.
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "editor/editor_form.h"
#include "editor/editor_window.h"
#include "tests/editor/xvfb_display.h"
#include "tests/support/coded_pictures.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/hostile_files.h"
#include "tools/stage_design/stage_text.h"

namespace fs = std::filesystem;
using platform::Rgb;
using platform::Surface;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

[[maybe_unused]] auto* const xvfb =
    ::testing::AddGlobalTestEnvironment(new testing_x::XvfbEnvironment);

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int s = 1; s <= 30; ++s)
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) fileSet(x, y, s) = static_cast<uint8_t>((3 * x + y + s) % 8);
    writeFile(dir / "stage.stg", common::formatStageText(fileSet));
    form = std::make_unique<editor::EditorForm>(
        common::inFolder(dir.string(), "\\stage.stg"), palette,
        [this](const common::FileError& e) { failures.push_back(e.what()); });
    form->Form_Load();
    ASSERT_TRUE(failures.empty());
    window = std::make_unique<editor::EditorWindow>(*form);
  }
  void TearDown() override {
    window.reset();
    Fl::flush();
  }

  void showWindow() {
    window->show();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((!window->shown() || !window->visible()) && std::chrono::steady_clock::now() < until)
      Fl::wait(0.05);
    ASSERT_TRUE(window->visible());
  }

  // Runs the event loop for `seconds`, as the program would between user actions.
  void runFor(double seconds) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (std::chrono::steady_clock::now() < until) Fl::wait(0.02);
    Fl::flush();
  }

  // Delivers a mouse event at window pixel (x, y) through FLTK's own dispatch; the button
  // state holds every button pressed and not yet released, as X reports it.
  void mouse(int event, int x, int y, int button = 1) {
    if (event == FL_PUSH) held |= FL_BUTTON(button);
    if (event == FL_RELEASE) held &= ~FL_BUTTON(button);
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = window->x() + x;
    Fl::e_y_root = window->y() + y;
    Fl::e_keysym = FL_Button + button;
    Fl::e_state = held;
    Fl::handle(event, window.get());
  }
  // A key as X reports it, with the modifier bits of FLTK's event state.
  void key(int keysym, int state = 0) {
    Fl::e_keysym = keysym;
    Fl::e_state = state;
    Fl::handle(FL_KEYBOARD, window.get());
  }
  void click(int x, int y, int button = 1) {
    mouse(FL_PUSH, x, y, button);
    mouse(FL_RELEASE, x, y, button);
  }

  // The close prompt answers `choice` and counts the questions.
  void answerClose(editor::CloseChoice choice, int* asked) {
    window->askToClose = [choice, asked] {
      ++*asked;
      return choice;
    };
  }

  // What the X server shows at window pixels (x, y, w, h).
  Surface screen(int x, int y, int w, int h) {
    window->make_current();
    std::unique_ptr<uchar[]> buf(fl_read_image(nullptr, x, y, w, h));
    Surface s(w, h);
    std::memcpy(s.data(), buf.get(), static_cast<size_t>(w) * h * 3);
    return s;
  }

  testing_support::TempDir temp{"quorlin window"};
  fs::path dir = temp.path();
  Surface palette = testing_support::distinctPalette();
  common::StageSet fileSet;
  std::vector<std::string> failures;
  std::unique_ptr<editor::EditorForm> form;
  std::unique_ptr<editor::EditorWindow> window;
  int held = 0;  // FLTK's bits of the mouse buttons down
};

TEST_F(EditorWindowTest, ControlsSitWhereTheLayoutPutsThemWithTheirCaptions) {
  EXPECT_EQ(window->w(), 210);
  // The controls keep their 296 rows; the status lines are added below them.
  EXPECT_EQ(window->h(), 296 + editor::kStatusHeight);
  EXPECT_STREQ(window->label(), "Brackleエディタ");
  struct Row {
    Fl_Widget* w;
    int x, y, width, height;
    const char* caption;
  };
  const Row rows[] = {
      {window->Command2, 0, 0, 73, 25, "load"},
      {window->Command1, 136, 0, 73, 25, "save"},
      {window->Label1, 168, 32, 97, 17, "太さ"},
      {window->map_c, 8, 48, 128, 16, nullptr},
      {window->ryo, 176, 48, 17, 89, nullptr},
      {window->Pic, 8, 72, 160, 160, nullptr},
      {window->Label2, 8, 232, 153, 33, ""},
      {window->Label3, 8, 256, 97, 17, "編集ステージ 1"},
      {window->stage, 8, 272, 185, 17, nullptr},
      {window->Label4, 8, 299, 194, editor::kStatusHeight - 6, nullptr},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.w->parent(), window.get());
    EXPECT_EQ(r.w->x(), r.x);
    EXPECT_EQ(r.w->y(), r.y);
    EXPECT_EQ(r.w->w(), r.width);
    EXPECT_EQ(r.w->h(), r.height);
    if (r.caption) {
      EXPECT_STREQ(r.w->label(), r.caption);
      EXPECT_EQ(r.w->labelfont(), FL_FREE_FONT);
    }
  }
  EXPECT_EQ(window->ryo->type(), FL_VERTICAL);
  EXPECT_EQ(window->ryo->minimum(), 1);
  EXPECT_EQ(window->ryo->maximum(), 4);
  EXPECT_EQ(window->ryo->value(), 1);
  EXPECT_EQ(window->stage->type(), FL_HORIZONTAL);
  EXPECT_EQ(window->stage->minimum(), 1);
  EXPECT_EQ(window->stage->maximum(), 30);
  EXPECT_EQ(window->stage->value(), 1);
}

TEST_F(EditorWindowTest, TheCaptionFaceIsInstalledAndHoldsEveryJapaneseCaption) {
  EXPECT_STREQ(Fl::get_font(FL_FREE_FONT), editor::kCaptionFace);
  ASSERT_TRUE(FcInit());
  FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>(editor::kCaptionFace + 1));
  FcConfigSubstitute(nullptr, want, FcMatchPattern);
  FcDefaultSubstitute(want);
  FcResult result;
  FcPattern* got = FcFontMatch(nullptr, want, &result);
  ASSERT_NE(got, nullptr);
  FcChar8* family = nullptr;
  ASSERT_EQ(FcPatternGetString(got, FC_FAMILY, 0, &family), FcResultMatch);
  EXPECT_STREQ(reinterpret_cast<char*>(family), "IPAPGothic");
  FcCharSet* chars = nullptr;
  ASSERT_EQ(FcPatternGetCharSet(got, FC_CHARSET, 0, &chars), FcResultMatch);
  const std::string text = "Brackleエディタ太さ編集ステージ 1";
  const FcChar8* p = reinterpret_cast<const FcChar8*>(text.data());
  int left = static_cast<int>(text.size());
  while (left > 0) {
    FcChar32 ch;
    const int n = FcUtf8ToUcs4(p, &ch, left);
    ASSERT_GT(n, 0);
    EXPECT_TRUE(FcCharSetHasChar(chars, ch)) << std::hex << ch;
    p += n;
    left -= n;
  }
  FcPatternDestroy(got);
  FcPatternDestroy(want);
}

TEST_F(EditorWindowTest, MouseEventsReachTheHandlersInPicturePixels) {
  showWindow();
  click(8 + 2 * 16 + 5, 48 + 3);  // palette picture 2
  EXPECT_EQ(form->selCode, 2);
  EXPECT_EQ(form->paletteX, 2 * 16 + 5);

  // Right button, then a drag out to the left of the window.
  mouse(FL_PUSH, 8 + 5 * 16 + 1, 72 + 4 * 16 + 1, 3);
  EXPECT_STREQ(window->Label2->label(), "x=5: y=4");
  EXPECT_EQ(form->stageSet(5, 4, 1), 2);
  mouse(FL_DRAG, -20, 72 + 4 * 16 + 1, 3);
  EXPECT_STREQ(window->Label2->label(), "x=0: y=4");
  EXPECT_EQ(form->stageSet(0, 4, 1), 2);
  mouse(FL_RELEASE, -20, 72 + 4 * 16 + 1, 3);
  EXPECT_FALSE(form->painting);
  mouse(FL_MOVE, 8 + 9 * 16, 72 + 9 * 16);
  EXPECT_STREQ(window->Label2->label(), "x=9: y=9");
  EXPECT_NE(form->stageSet(9, 9, 1), 2);  // moves without a button do not paint
}

TEST_F(EditorWindowTest, AStrokeKeepsThePointerUntilEveryButtonIsUp) {
  showWindow();
  click(8 + 7 * 16 + 5, 48 + 5);  // palette picture 7, held by none of the cells below
  common::StageSet want = form->stageSet;
  auto painted = [&](int x, int y) {
    ASSERT_NE(want(x, y, 1), 7) << x << "," << y;
    want(x, y, 1) = 7;
  };
  // Left press on a cell, drag onto another control or the grey area, a right press and
  // release there, the left release: only the edit area sees them, and a press from outside
  // stays on the border cell the drag reached.
  struct Chord {
    const char* over;
    int x, y;              // window pixel of the chord
    int startX, startY;    // cell of the left press
    int borderX, borderY;  // cell the drag is clamped to
  };
  const Chord chords[] = {
      {"grey area", 190, 200, 2, 5, 9, 8},
      {"palette picture 6", 8 + 6 * 16 + 5, 48 + 5, 4, 7, 6, 0},
      {"load", 30, 12, 7, 3, 1, 0},
  };
  for (const Chord& c : chords) {
    SCOPED_TRACE(c.over);
    mouse(FL_PUSH, 8 + 16 * c.startX + 3, 72 + 16 * c.startY + 3, 1);
    mouse(FL_DRAG, c.x, c.y, 1);
    mouse(FL_PUSH, c.x, c.y, 3);
    EXPECT_EQ(window->Label2->label(),
              "x=" + std::to_string(c.borderX) + ": y=" + std::to_string(c.borderY));
    Fl::e_dy = 1;
    mouse(FL_MOUSEWHEEL, 176 + 8, 48 + 40);  // over the brush bar
    mouse(FL_RELEASE, c.x, c.y, 3);
    mouse(FL_RELEASE, c.x, c.y, 1);
    EXPECT_FALSE(form->painting);
    mouse(FL_MOVE, 8 + 5 * 16 + 3, 72 + 9 * 16 + 3);  // no button: paints nothing
    EXPECT_STREQ(window->Label2->label(), "x=5: y=9");
    painted(c.startX, c.startY);
    painted(c.borderX, c.borderY);
    EXPECT_EQ(form->selCode, 7);
    EXPECT_EQ(form->ryo, 1);
    EXPECT_TRUE(failures.empty());
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        EXPECT_EQ(form->stageSet(x, y, 1), want(x, y, 1)) << x << "," << y;
  }
  // With every button up, the controls work again.
  click(30, 12);
  EXPECT_EQ(form->stageSet(2, 5, 1), fileSet(2, 5, 1));
}

TEST_F(EditorWindowTest, ScrollBarArrowsAndTroughsStepTheBrushAndTheStageByOne) {
  showWindow();
  click(176 + 8, 48 + 89 - 8);  // the brush bar's lower arrow
  EXPECT_EQ(window->ryo->value(), 2);
  EXPECT_EQ(form->ryo, 2);
  for (int i = 0; i < 5; ++i) click(176 + 8, 48 + 89 - 8);
  EXPECT_EQ(form->ryo, 4);  // the bar stops at its maximum

  click(8 + 185 - 8, 272 + 8);  // the stage bar's right arrow
  EXPECT_EQ(form->stage, 2);
  EXPECT_STREQ(window->Label3->label(), "編集ステージ 2");
  click(8 + 8, 272 + 8);  // left arrow
  click(8 + 8, 272 + 8);
  EXPECT_EQ(form->stage, 1);
  EXPECT_STREQ(window->Label3->label(), "編集ステージ 1");

  // The brush the bar set reaches the paint: 4 x 4 at cell (8, 8), clipped to 2 x 2.
  form->map_c_MouseDown(1, 7 * 16);
  form->stageSet(7, 8, 1) = 0;
  click(8 + 8 * 16 + 3, 72 + 8 * 16 + 3);
  for (int y = 8; y < 10; ++y)
    for (int x = 8; x < 10; ++x) EXPECT_EQ(form->stageSet(x, y, 1), 7);
  EXPECT_EQ(form->stageSet(7, 8, 1), 0);

  // The square thumb drags to either end.
  mouse(FL_PUSH, 8 + 17 + 8, 272 + 8);
  mouse(FL_DRAG, 300, 272 + 8);
  EXPECT_EQ(form->stage, 30);
  mouse(FL_DRAG, 0, 272 + 8);
  mouse(FL_RELEASE, 0, 272 + 8);
  EXPECT_EQ(form->stage, 1);
  // A press in the trough, on either side of the thumb, steps by one like an arrow ...
  const int rightTrough = 8 + 185 - 17 - 4, leftTrough = 8 + 17 + 2;
  click(rightTrough, 272 + 8);
  EXPECT_EQ(form->stage, 2);
  click(rightTrough, 272 + 8);
  EXPECT_EQ(form->stage, 3);
  click(leftTrough, 272 + 8);
  EXPECT_EQ(form->stage, 2);
  EXPECT_STREQ(window->Label3->label(), "編集ステージ 2");
  // ... and held, repeats until it is released.
  mouse(FL_PUSH, rightTrough, 272 + 8);
  runFor(0.8);
  mouse(FL_RELEASE, rightTrough, 272 + 8);
  const int reached = form->stage;
  EXPECT_GT(reached, 3);
  runFor(0.2);
  EXPECT_EQ(form->stage, reached);
}

TEST_F(EditorWindowTest, TheTimerRedrawsAndTheScreenShowsThePictureBoxes) {
  showWindow();
  click(8 + 4 * 16, 48);  // palette picture 4, framed at once
  window->stage->value(3);
  window->stage->do_callback();
  EXPECT_STREQ(window->Label3->label(), "編集ステージ 3");
  runFor(0.35);
  // The timer has copied stage 3 into the edit area and framed picture 4 ...
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const int c = form->stageSet(x, y, 3);
      ASSERT_EQ(form->Pic.image.pixel(16 * x + 7, 16 * y + 9), palette.pixel(16 * c + 7, 9));
    }
  EXPECT_EQ(form->map_c.image.pixel(4 * 16, 5), editor::kFrameColor);
  // ... and the window shows those surfaces pixel for pixel.
  EXPECT_EQ(screen(8, 72, 160, 160), form->Pic.image);
  EXPECT_EQ(screen(8, 48, 128, 16), form->map_c.image);
}

TEST_F(EditorWindowTest, ButtonsSaveAndLoadAndAFailedLoadEndsTheEditor) {
  showWindow();
  const fs::path file = dir / "stage.stg";
  form->map_c_MouseDown(1, 16);
  click(8 + 1, 72 + 1);
  ASSERT_EQ(form->stageSet(0, 0, 1), 1);
  click(136 + 30, 12);  // save
  common::StageSet saved;
  common::loadStageFile(saved, file.string());
  EXPECT_EQ(saved(0, 0, 1), 1);
  EXPECT_EQ(readFile(file).size(), 3060u);

  form->map_c_MouseDown(1, 7 * 16);
  click(8 + 1, 72 + 1);
  click(30, 12);  // load
  EXPECT_EQ(form->stageSet(0, 0, 1), 1);

  fs::remove(file);
  click(30, 12);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find(file.string()), std::string::npos);
}

TEST_F(EditorWindowTest, TheStatusShowsUnderTheControlsOnTheTimerAndEachLineFitsItsWidth) {
  showWindow();
  common::StageSet set = fileSet;
  stage_design::fillStage(set, 1, {".W.", "..."});
  stage_design::fillStage(set, 2, {".W.."});
  stage_design::fillStage(set, 3, {"...", "o#."});
  stage_design::fillStage(set, 4, {});
  writeFile(dir / "stage.stg", common::formatStageText(set));
  click(30, 12);  // load
  const char* verdicts[] = {"can be cleared in 5 moves", "cannot be cleared", "no piece",
                            "nothing to paint"};
  std::vector<std::string> shown;
  for (int s = 1; s <= 4; ++s) {
    window->stage->value(s);
    window->stage->do_callback();
    form->finishProof();
    runFor(0.25);  // the timer takes the proof
    ASSERT_TRUE(form->proofSettled()) << s;
    EXPECT_STREQ(window->Label4->label(), form->Label4.c_str());
    EXPECT_EQ(form->Label4.substr(0, form->Label4.find('\n')), verdicts[s - 1]);
    shown.push_back(form->Label4);
  }
  // A try's lines, and the unsaved line, go in the same place.
  window->stage->value(1);
  window->stage->do_callback();
  key(FL_F + 5);
  key(FL_Left);
  EXPECT_STREQ(window->Label4->label(), form->Label4.c_str());
  shown.push_back(form->Label4);
  key(FL_Escape);
  click(8 + 3, 72 + 3);
  shown.push_back(form->Label4);
  window->make_current();
  fl_font(window->Label4->labelfont(), window->Label4->labelsize());
  for (const std::string& status : shown) {
    size_t from = 0, lines = 0;
    for (;;) {
      const size_t end = status.find('\n', from);
      const std::string line = status.substr(from, end - from);
      EXPECT_LE(fl_width(line.c_str()), window->Label4->w()) << line;
      ++lines;
      if (end == std::string::npos) break;
      from = end + 1;
    }
    EXPECT_EQ(lines, static_cast<size_t>(editor::kStatusLines)) << status;
    EXPECT_LE(editor::kStatusLines * fl_height(), window->Label4->h());
  }
}

TEST_F(EditorWindowTest, TheEditorsKeysReachTheFormWhicheverControlHasTheFocus) {
  showWindow();
  stage_design::fillStage(form->stageSet, 1, {"W...", "...."});
  const common::StageSet start = form->stageSet;
  form->map_c_MouseDown(1, 2 * 16);
  click(8 + 16 * 4 + 3, 72 + 16 * 4 + 3);
  const common::StageSet painted = form->stageSet;
  ASSERT_FALSE(painted == start);
  Fl::focus(window->stage);
  key('z', FL_CTRL);
  EXPECT_TRUE(form->stageSet == start);
  key('z', FL_CTRL | FL_SHIFT);
  EXPECT_TRUE(form->stageSet == painted);
  key('z', FL_CTRL);
  key('y', FL_CTRL);
  EXPECT_TRUE(form->stageSet == painted);
  EXPECT_NE(std::string(window->Label4->label()).find("unsaved changes"), std::string::npos);
  key('t');
  EXPECT_TRUE(form->turnOrderShown);

  // Outside a try the arrows still go to the focused bar, as before.
  key(FL_Right);
  EXPECT_EQ(form->stage, 2);
  key(FL_Left);
  EXPECT_EQ(form->stage, 1);
  // In a try they move the piece, and Escape ends the try, not the editor.
  key(FL_F + 5);
  ASSERT_TRUE(form->trying());
  // Right is x + 1 and Down y + 1, as in play; Up meets the earth the walker left.
  for (int k : {FL_Right, FL_Down, FL_Left, FL_Up}) key(k);
  EXPECT_EQ(form->stage, 1);
  EXPECT_EQ(window->stage->value(), 1);
  EXPECT_EQ(form->trial().moves(), 3);
  EXPECT_EQ(form->trial().state().activeX, 0);
  EXPECT_EQ(form->trial().state().activeY, 1);
  key(FL_BackSpace);
  key(FL_Escape);
  EXPECT_FALSE(form->trying());
  EXPECT_TRUE(window->shown());
  EXPECT_TRUE(form->stageSet == painted);
}

TEST_F(EditorWindowTest, AnUndoOnAnotherStageBringsItIntoViewOnTheBar) {
  showWindow();
  form->map_c_MouseDown(1, 7 * 16);
  click(8 + 3, 72 + 3);
  click(8 + 185 - 8, 272 + 8);  // stage 2
  ASSERT_EQ(form->stage, 2);
  key('z', FL_CTRL);
  EXPECT_EQ(form->stage, 1);
  EXPECT_EQ(window->stage->value(), 1);
  EXPECT_STREQ(window->Label3->label(), "編集ステージ 1");
  EXPECT_EQ(form->stageSet(0, 0, 1), fileSet(0, 0, 1));
}

TEST_F(EditorWindowTest, TheSideButtonsDoNothingAnywhere) {
  showWindow();
  const fs::path file = dir / "stage.stg";
  const common::StageSet before = form->stageSet;
  const std::string bytes = readFile(file);
  form->map_c_MouseDown(1, 7 * 16);
  struct Spot {
    const char* what;
    int x, y;
  };
  const Spot spots[] = {{"edit area", 8 + 40, 72 + 40},
                        {"palette", 8 + 20, 48 + 5},
                        {"load", 30, 12},
                        {"save", 136 + 30, 12},
                        {"stage arrow", 8 + 185 - 8, 272 + 8}};
  fs::remove(file);  // a load would now fail, a save would write it
  for (const Spot& spot : spots) {
    SCOPED_TRACE(spot.what);
    for (int button : {8, 9}) {
      for (int event : {FL_PUSH, FL_RELEASE}) {
        Fl::e_x = spot.x;
        Fl::e_y = spot.y;
        Fl::e_x_root = window->x() + spot.x;
        Fl::e_y_root = window->y() + spot.y;
        Fl::e_keysym = FL_Button + button;
        Fl::e_state = 0;
        Fl::handle(event, window.get());
      }
    }
    EXPECT_TRUE(form->stageSet == before);
    EXPECT_EQ(form->selCode, 7);
    EXPECT_EQ(form->stage, 1);
    EXPECT_FALSE(form->painting);
    EXPECT_TRUE(failures.empty());
    EXPECT_FALSE(fs::exists(file));
  }
  writeFile(file, bytes);
  click(8 + 40, 72 + 40);  // the left button still paints
  EXPECT_EQ(form->stageSet(2, 2, 1), 7);
}

TEST_F(EditorWindowTest, ClosingWithUnsavedChangesAsksAndKeepsTheWorkUnlessSavedOrDiscarded) {
  const fs::path file = dir / "stage.stg";
  const std::string original = readFile(file);
  int asked = 0;
  answerClose(editor::CloseChoice::kGoOn, &asked);
  // Nothing changed: the window closes without a question.
  showWindow();
  Fl::handle(FL_CLOSE, window.get());
  EXPECT_FALSE(window->shown());
  EXPECT_EQ(asked, 0);

  struct Case {
    editor::CloseChoice choice;
    bool saveFails;
    bool closes;
    bool fileChanged;
  };
  const Case cases[] = {
      {editor::CloseChoice::kGoOn, false, false, false},
      {editor::CloseChoice::kSave, true, false, false},
      {editor::CloseChoice::kDiscard, false, true, false},
      {editor::CloseChoice::kSave, false, true, true},
  };
  form->map_c_MouseDown(1, 7 * 16);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.choice));
    showWindow();
    click(8 + 3, 72 + 3);
    ASSERT_TRUE(form->unsaved());
    std::optional<testing_support::FullDisk> full;
    if (c.saveFails) full.emplace();
    asked = 0;
    answerClose(c.choice, &asked);
    Fl::handle(FL_CLOSE, window.get());
    full.reset();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window->shown() != 0, !c.closes);
    EXPECT_EQ(readFile(file) != original, c.fileChanged);
    if (c.saveFails) {
      EXPECT_EQ(failures.size(), 1u);
      failures.clear();
    }
  }
  common::StageSet saved;
  common::loadStageFile(saved, file.string());
  EXPECT_EQ(saved(0, 0, 1), 7);
}

TEST_F(EditorWindowTest, AHeldTroughPressStopsWhereTheThumbReachesThePointer) {
  showWindow();
  const int y = 272 + 8;
  mouse(FL_PUSH, 8 + 17 + 60, y);
  runFor(2.2);  // long enough to run from stage 1 to 30
  const int reached = form->stage;
  EXPECT_GT(reached, 2);
  EXPECT_LT(reached, 30);
  runFor(0.3);
  EXPECT_EQ(form->stage, reached);
  // Moved further along while held, it goes on to the pointer again.
  mouse(FL_DRAG, 8 + 17 + 110, y);
  runFor(1.0);
  const int further = form->stage;
  EXPECT_GT(further, reached);
  EXPECT_LT(further, 30);
  mouse(FL_RELEASE, 8 + 17 + 110, y);
  runFor(0.2);
  EXPECT_EQ(form->stage, further);
  EXPECT_STREQ(window->Label3->label(), editor::stageCaption(further).c_str());
}

}  // namespace
