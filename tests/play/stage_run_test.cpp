// Whole stages played from the pointer alone: fade-in, every move of a fewest-move
// solution, the banner, the fade-out, the cleared flag and clear.sav.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "tests/play/play_scene.h"
#include "tests/rules/field_text.h"
#include "tests/support/hostile_files.h"
#include "tests/support/pixels.h"
#include "tools/solve/solution_text.h"

namespace play_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) out.push_back(l);
  return out;
}

// How many fade steps have drawn their streaks: each takes 202 numbers of the stream.
int fadeStepsDrawn(game::Game& g) {
  game::FadeRandom probe = g.fadeRandom;
  const double next = probe.next();
  game::FadeRandom fresh;
  for (int steps = 0; steps <= 200; ++steps) {
    game::FadeRandom look = fresh;
    if (look.next() == next) return steps;
    for (int i = 0; i < 202; ++i) fresh.next();
  }
  return -1;
}

// The stages of the shipped stage file, as the game loads them.
common::StageSet shippedStages() {
  GameRig loader(codedRig());
  loader.g.files.loadStages();
  return loader.g.stageSet;
}

// Plays `moves` on stage s of `set` and checks everything from the first frame to clear.sav.
void playThrough(const common::StageSet& set, int s, const std::vector<Move>& moves) {
  SCOPED_TRACE("stage " + std::to_string(s));
  GameRig p(codedRig(true));
  p.enter(set, s);
  p.keepPictures = [](const Frame& f) { return f.kind == Kind::Banner; };
  std::vector<std::vector<GameRig::Action>> parts;
  for (const Move& m : moves) parts.push_back(playMove(m));
  std::vector<GameRig::Action> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  p.script(std::move(all));
  // What a crash during the banner would leave on disk.
  std::optional<std::string> recordAtBanner;
  p.onDelivery = [&](GameRig& q) {
    if (!recordAtBanner && q.frames.back().kind == Kind::Banner)
      recordAtBanner = testing_support::readFile(q.dir.file("clear.sav"));
  };

  ASSERT_TRUE(p.runMainL());
  EXPECT_TRUE(p.scriptDone());
  EXPECT_EQ(p.g.fadeMode, 2);
  EXPECT_EQ(p.g.fadeStep, 0);
  EXPECT_TRUE(p.host.wavesPlayed.empty()) << "moves make no sound";

  // 13 fade-in steps (the 13th frame already plays), six 50 ms frames a move, 51 banner
  // frames, 23 fade-out steps of which the last returns without waiting.
  const auto& f = p.frames;
  ASSERT_GE(f.size(), 13u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(f[i].kind, Kind::FadeIn) << i;
    EXPECT_EQ(f[i].fadeStep, i + 1);
  }
  EXPECT_EQ(f[12].kind, Kind::Play);
  EXPECT_EQ(p.count(Kind::Move), 6 * static_cast<int>(moves.size()));
  EXPECT_EQ(p.count(Kind::Banner), 51);
  EXPECT_EQ(p.count(Kind::FadeOut), 22);
  EXPECT_EQ(fadeStepsDrawn(p.g), 13 + 23);
  size_t firstBanner = 0;
  while (firstBanner < f.size() && f[firstBanner].kind != Kind::Banner) ++firstBanner;
  ASSERT_LT(firstBanner + 51 + 22, f.size() + 1);
  EXPECT_EQ(f[firstBanner - 1].kind, Kind::Move) << "the clearing move is animated first";
  for (size_t i = firstBanner; i < firstBanner + 51; ++i) EXPECT_EQ(f[i].kind, Kind::Banner);
  for (size_t i = firstBanner + 51; i < f.size(); ++i) {
    EXPECT_EQ(f[i].kind, Kind::FadeOut);
    EXPECT_EQ(f[i].fadeStep, static_cast<int>(i - firstBanner - 50));
  }
  for (size_t i = 0; i + 1 < f.size(); ++i)
    EXPECT_EQ(f[i + 1].start - f[i].start, f[i].kind == Kind::Move ? 51u : 101u) << i;

  // The banner stands over a field drawn once, without turn marker, arrow or buttons.
  const platform::Surface& frozen = f[firstBanner].pic;
  int field = 0;
  for (int y = 0; y < 350; ++y) {
    for (int x = 0; x < 500; ++x) {
      const platform::Rgb c = frozen.pixel(x, y);
      ASSERT_FALSE(isCodedFrom(c, 0, 288, 64, 64)) << "button at " << x << "," << y;
      ASSERT_FALSE(isCodedFrom(c, 224, 64, 96, 32)) << "turn marker at " << x << "," << y;
      ASSERT_FALSE(isCodedFrom(c, 64, 32, 64, 32)) << "arrow at " << x << "," << y;
      field += isCodedFrom(c, 64, 0, 64, 32);
      const bool banner = y >= 110 && y < 142 && ((x >= 130 && x < 258) || (x >= 278 && x < 374));
      for (size_t i = firstBanner + 1; i < firstBanner + 51 && !banner; ++i)
        ASSERT_EQ(f[i].pic.pixel(x, y), c)
            << "the field moved under the banner at " << x << "," << y;
    }
  }
  EXPECT_GT(field, 0) << "no painted floor under the banner";

  for (int i = 0; i < 31; ++i) EXPECT_EQ(p.g.clearFlag[i], i == s - 1) << i;
  std::string record;
  for (int i = 0; i < 31; ++i) record += i == s - 1 ? "True\r\n" : "False\r\n";
  EXPECT_EQ(recordAtBanner, record) << "the cleared flag was not saved before the banner";
  EXPECT_EQ(p.closeWindow(), 0);
  const auto saved = lines(testing_support::readFile(p.dir.file("clear.sav")));
  ASSERT_EQ(saved.size(), 31u);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(saved[i], i == s - 1 ? "True\r" : "False\r") << i;
}

TEST(StageRun, HandMadeStageClearsThroughItsFewestMoves) {
  // Eraser, jumper, walker and slider in scan order; the jumper leaps over the walker and
  // then over grass, the slider slides two cells once, the eraser unpaints twice.
  const auto set = stageFrom({"ooEo", "o.o#", "JW..", "#S.."}, 7);
  playThrough(set, 7,
              solve::parseMoveList("2,0 up-left; 0,2 down-right; 1,2 up-right; 1,3 down-right; "
                                   "1,0 up-left; 2,2 up-right; 1,1 up-right; 3,3 up-right"));
}

// The save right after the flag is set fails as the save at close does: the report names
// the file, the old record stays, and the game ends before the banner.
TEST(StageRun, AFailedSaveOfTheClearedFlagEndsTheGame) {
  GameRig p(codedRig());
  p.enter(stageFrom({"oWo", "o#o"}, 3), 3);
  const std::string path = p.dir.file("clear.sav");
  testing_support::writeFile(path, "True\r\n");
  {
    testing_support::FullDisk full;
    EXPECT_FALSE(p.runMainL());
  }
  EXPECT_EQ(p.host.errorFile, path);
  EXPECT_FALSE(p.host.errorCause.empty());
  EXPECT_EQ(testing_support::readFile(path), "True\r\n");
  EXPECT_EQ(p.count(Kind::Banner), 0);
}

// The shipped stages, through the fewest-move solutions stored beside them.
TEST(StageRun, ShippedStagesClearThroughTheirStoredSolutions) {
  std::vector<fs::path> files;
  for (const char* folder : {"assets", "tests/rules"}) {
    const fs::path dir = fs::path(BRACKLE_SOURCE_DIR) / folder;
    if (!fs::is_directory(dir)) continue;
    for (const auto& e : fs::directory_iterator(dir)) {
      const std::string name = e.path().filename().string();
      if (name.find("solution") != std::string::npos && e.path().extension() == ".txt")
        files.push_back(e.path());
    }
  }
  ASSERT_FALSE(files.empty()) << "no stored solutions beside the shipped stages";

  const common::StageSet shipped = shippedStages();
  int played = 0;
  for (const fs::path& file : files) {
    for (const solve::StoredSolution& s :
         solve::parseSolutions(testing_support::readFile(file.string()))) {
      playThrough(shipped, s.stage, s.moves);
      ++played;
    }
  }
  EXPECT_GT(played, 0) << "the solution files hold no stage lines";
}

// Undo and redo on a shipped stage's stored solution: after one move, after three and back
// to the start, with nothing more to take back after that, then made again; a key pressed
// during a move waits for the next play frame; Retry is a step of the history that undo
// takes back and redo makes again. The view stays and nothing sounds but Retry.
TEST(StageRun, UndoGivesBackThePositionBeforeEachMove) {
  const auto solutions = solve::parseSolutions(
      testing_support::readFile(std::string(BRACKLE_SOURCE_DIR) + "/tests/rules/solutions.txt"));
  auto longer = std::find_if(solutions.begin(), solutions.end(),
                             [](const solve::StoredSolution& s) { return s.moves.size() >= 4; });
  ASSERT_NE(longer, solutions.end());
  const std::vector<Move>& m = longer->moves;
  SCOPED_TRACE("stage " + std::to_string(longer->stage));
  GameRig p(codedRig());
  p.g.viewX = -60.5;
  p.enter(shippedStages(), longer->stage);
  std::vector<rules::PlayState> seen;  // the position before move i, after the last one
  const auto record = [&] { return check([&](GameRig& q) { seen.push_back(q.g); }); };
  const auto expectPosition = [&](size_t i, const char* when) {
    return check([&, i, when](GameRig& q) {
      EXPECT_TRUE(rules_test::samePlay(q.g, seen.at(i))) << when;
      EXPECT_EQ(q.g.viewX, -60.5) << when;
    });
  };
  const auto undoWith = [&](platform::Key key) {
    return std::vector<GameRig::Action>{pressKey(key), afterFrames(2)};
  };
  const auto undoDuringMove = check([&](GameRig& q) {
    q.onDelivery = [](GameRig& r) {
      if (r.newFrame() && r.frames.back().kind == Kind::Move) {
        r.host.key(platform::Key::kBackspace);
        r.onDelivery = nullptr;
      }
    };
  });
  p.script(join({{untilPlaying(), record()},
                 playMove(m[0]),
                 {record()},
                 undoWith(platform::Key::kBackspace),
                 {expectPosition(0, "after one move")},
                 playMove(m[0]),
                 playMove(m[1]),
                 {record()},
                 playMove(m[2]),
                 undoWith(platform::Key::kZ),
                 {expectPosition(2, "after three moves")},
                 undoWith(platform::Key::kU),
                 undoWith(platform::Key::kBackspace),
                 {expectPosition(0, "all moves back")},
                 undoWith(platform::Key::kZ),
                 {expectPosition(0, "nothing more to take back")},
                 undoWith(platform::Key::kY),
                 {expectPosition(1, "one move made again")},
                 undoWith(platform::Key::kShiftCtrlZ),
                 {expectPosition(2, "two moves made again")},
                 undoWith(platform::Key::kBackspace),
                 undoWith(platform::Key::kBackspace),
                 {expectPosition(0, "taken back again")},
                 {undoDuringMove},
                 playMove(m[0]),
                 {afterFrames(2), expectPosition(0, "a key during a move")},
                 playMove(m[0]),
                 playMove(m[1]),
                 {pressKey(platform::Key::kR), afterFrames(2), untilPlaying()},
                 undoWith(platform::Key::kZ),
                 {expectPosition(2, "undo after retry gives back the position before it")},
                 undoWith(platform::Key::kY),
                 {expectPosition(0, "redo makes the retry again")},
                 playMove(m[0]),
                 undoWith(platform::Key::kY),
                 {expectPosition(1, "a new move leaves nothing to make again")},
                 {closeNow()}}));
  EXPECT_FALSE(p.runMainL());
  EXPECT_TRUE(p.scriptDone());
  EXPECT_EQ(p.host.wavesPlayed.size(), 1u) << "only retry sounds";
}

// Presses H whenever play waits for a move and no hint is on its way: the first press asks,
// the second makes the move the hint shows.
void followHintsByKey(GameRig& r) {
  if (!r.newFrame() || r.frames.back().kind != Kind::Play || r.g.fadeMode != game::kNoFade ||
      !r.g.pendingKeys.empty() || r.g.hintAsked)
    return;
  ASSERT_EQ(r.g.note, game::PlayNote::kNone) << "the hint found no way";
  r.host.key(platform::Key::kH);
}

// H, then H again, over and over, clears every shipped stage in exactly its fewest moves.
TEST(StageRunHint, HAndHAgainClearEveryShippedStageInItsFewestMoves) {
  const common::StageSet shipped = shippedStages();
  for (const solve::StoredSolution& s : solve::parseSolutions(
           testing_support::readFile(std::string(BRACKLE_SOURCE_DIR) + "/tests/rules/solutions.txt"))) {
    SCOPED_TRACE("stage " + std::to_string(s.stage));
    GameRig p(codedRig());
    p.enter(shipped, s.stage);
    p.onDelivery = followHintsByKey;
    EXPECT_TRUE(p.runMainL());
    EXPECT_TRUE(p.g.clearFlag[s.stage - 1]);
    EXPECT_EQ(p.g.movesMade, static_cast<int>(s.moves.size()));
    EXPECT_EQ(p.count(Kind::Move), 6 * static_cast<int>(s.moves.size()));
  }
}

// White is the words' colour: nothing of the coded sheet or the flat background is grey.
int wordPixels(const platform::Surface& pic) {
  return countColour(pic, 0, 290, game::kPicWidth, 60, platform::kWhite);
}

// From a position that can no longer be cleared H moves nothing and says so; the assist
// view says so without being asked, and as soon as the active piece has no legal move. The
// field, the turn and the count of moves stay.
TEST(StageRunHint, ALostPositionIsSaidInWordsAndNothingMoves) {
  struct Case {
    const char* what;
    std::initializer_list<const char*> rows;
    platform::Key key;
    game::PlayNote note;
  };
  const Case cases[] = {
      {"H where no way is left", {".W.."}, platform::Key::kH, game::PlayNote::kNoWay},
      {"the assist view where no way is left", {".W.."}, platform::Key::kA, game::PlayNote::kNoWay},
      {"the assist view where the piece cannot move", {"W#.."}, platform::Key::kA,
       game::PlayNote::kStuck},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameRig p(codedRig(true));
    p.keepPictures = [](const Frame& f) { return f.kind == Kind::Play; };
    p.enter(stageFrom(c.rows), 1);
    int before = -1;
    p.script({untilPlaying(), check([&](GameRig& q) { before = wordPixels(q.g.Pic.image); }),
              pressKey(c.key), afterFrames(3), pressKey(platform::Key::kH), afterFrames(3),
              closeNow()});
    EXPECT_FALSE(p.runMainL());
    EXPECT_EQ(before, 0) << "words before the key";
    EXPECT_EQ(p.g.note, c.note);
    EXPECT_GT(wordPixels(p.frames.back().pic), 0) << "no words on the field";
    EXPECT_EQ(p.count(Kind::Move), 0);
    EXPECT_EQ(p.g.movesMade, 0);
    EXPECT_TRUE(p.host.wavesPlayed.empty());
  }
}

}  // namespace
}  // namespace play_test
