// The hint's search, run in slices while the frames wait.
#include "game/help/hints.h"

namespace game {

namespace {

// States one slice explores: about a millisecond.
constexpr uint64_t kSliceStates = 500;

}  // namespace

solve::Options Hints::options() {
  solve::Options o;
  // Every position of the shipped stages answers with far fewer; the cap keeps a designer's
  // huge stage from taking the memory of the machine.
  o.maxStates = 1'000'000;
  return o;
}

void Hints::ask(const rules::PlayState& position) {
  if (onField_ && rules::samePosition(onField_->position, position)) return;
  onField_.emplace(Job{position, solve::Search(position, options()), 0});
}

const solve::Result* Hints::answerFor(const rules::PlayState& position) const {
  if (!onField_ || !onField_->search.done() || !rules::samePosition(onField_->position, position))
    return nullptr;
  return &onField_->search.result();
}

void Hints::askFewest(int stage) {
  if (g.fewestKnown[stage - 1] || (fromStart_ && fromStart_->stage == stage)) return;
  rules::PlayState start;
  start.loadStage(g.stageSet, stage);
  start.numberPieces();
  if (start.hasPiece()) start.turnPass();
  fromStart_.emplace(Job{start, solve::Search(start, options()), stage});
}

bool Hints::workSlice() {
  // The position on the field first: the player is waiting for it.
  if (onField_ && !onField_->search.done()) {
    onField_->search.advance(kSliceStates);
    return true;
  }
  if (!fromStart_) return false;
  if (fromStart_->search.advance(kSliceStates)) {
    const solve::Result& r = fromStart_->search.result();
    const int s = fromStart_->stage - 1;
    g.fewestKnown[s] = true;
    g.fewestMoves[s] = r.verdict == solve::Verdict::kSolvable ? r.moves : -1;
    fromStart_.reset();
  }
  return true;
}

}  // namespace game
