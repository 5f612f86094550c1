// Every string the game draws.
#include "game/render/texts.h"

namespace game {

std::string turnLabelText(int value) {
  return " " + std::to_string(value) + " ";
}

std::string stageLabelText(int stage) {
  return "S T A G E  " + std::to_string(stage);
}

std::vector<std::string> everyDrawnText() {
  std::vector<std::string> texts;
  // A field holds at most 100 pieces, so a turn label counts at most 99 turns.
  for (int v = 0; v <= 100; ++v) texts.push_back(turnLabelText(v));
  for (int s = 1; s <= 30; ++s) texts.push_back(stageLabelText(s));
  return texts;
}

}  // namespace game
