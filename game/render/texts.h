// Every string the game draws, formed in one place: a host that cannot render text itself
// has each of them made in advance.
#pragma once

#include <string>
#include <vector>

namespace game {

// A turn label: the number with a blank before it (the sign's place) and one after it.
std::string turnLabelText(int value);
// Stage n's label in the stage list.
std::string stageLabelText(int stage);
// Every string the game can draw, each once.
std::vector<std::string> everyDrawnText();

}  // namespace game
