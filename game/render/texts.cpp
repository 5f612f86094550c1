// Every string the game draws.
#include "game/render/texts.h"

#include <algorithm>

namespace game {

std::string turnLabelText(int value) {
  return " " + std::to_string(value) + " ";
}

std::string stageLabelText(int stage) {
  return "S T A G E  " + std::to_string(stage);
}

std::string countText(int n) {
  return std::to_string(std::clamp(n, 0, kMostCounted));
}

const char* const kCardGoal = "Paint every green tile to clear the stage.";
const char* const kCardPieces[4][2] = {
    {"Ball: one step,", "onto grass"},
    {"Bird: onto grass;", "two cells if it can"},
    {"Worm: one step,", "onto earth only"},
    {"Frog: two cells,", "onto grass, over all"},
};
const char* const kCardMove = "Point at a side of the marked piece and click.";
const char* const kCardKeys[3] = {
    "Arrows move   Backspace undo   Y redo",
    "R retry   Esc give up   H hint   A assist",
    "M music   F11 full screen   In the list: Enter",
};
const char* const kCardClose = "Any key or click closes this card.";

const char* const kHintLine = "Hint: H again makes this move";
const char* const kNoWayLines[2] = {"No way to clear from here:", "Backspace takes a move back"};
const char* const kStuckLines[2] = {"This piece cannot move:", "Backspace takes a move back"};
const char* const kNoAnswerLines[2] = {"No hint: this stage is too deep", "to search from here"};
const char* const kMovesWord = "Moves";
const char* const kFewestWord = "fewest";

std::vector<std::string> everyDrawnText() {
  std::vector<std::string> texts;
  // A field holds at most 100 pieces, so a turn label counts at most 99 turns.
  for (int v = 0; v <= 100; ++v) texts.push_back(turnLabelText(v));
  for (int s = 1; s <= 30; ++s) texts.push_back(stageLabelText(s));
  for (int n = 0; n <= kMostCounted; ++n) texts.push_back(countText(n));
  texts.insert(texts.end(), {kCardGoal, kCardMove, kCardClose, kHintLine, kMovesWord, kFewestWord});
  for (const auto& lines : kCardPieces) texts.insert(texts.end(), {lines[0], lines[1]});
  for (const char* line : kCardKeys) texts.push_back(line);
  for (const auto* lines : {kNoWayLines, kStuckLines, kNoAnswerLines})
    texts.insert(texts.end(), {lines[0], lines[1]});
  // Shared lines once only.
  std::sort(texts.begin(), texts.end());
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  return texts;
}

}  // namespace game
