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
// A count in the assist view, 0 to kMostCounted.
std::string countText(int n);
constexpr int kMostCounted = 999;

// The rules card: the goal, one line pair for each piece (by code, walker to jumper), how
// to move, the keys, and how to close it.
extern const char* const kCardGoal;
extern const char* const kCardPieces[4][2];
extern const char* const kCardMove;
extern const char* const kCardKeys[3];
extern const char* const kCardClose;

// What play says beside the field.
extern const char* const kHintLine;          // while a hint is shown
extern const char* const kNoWayLines[2];     // the stage can no longer be cleared
extern const char* const kStuckLines[2];     // the active piece has no legal move
extern const char* const kNoAnswerLines[2];  // the search gave up before an answer
extern const char* const kMovesWord;         // the assist view's moves made
extern const char* const kFewestWord;        // and the fewest for the stage

// Every string the game can draw, each once.
std::vector<std::string> everyDrawnText();

}  // namespace game
