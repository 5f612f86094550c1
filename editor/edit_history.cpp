// The editor's strokes and loads as steps that can be taken back and made again.
#include "editor/edit_history.h"

#include <utility>

namespace editor {

namespace {
constexpr int kSpan = common::kFieldSize + 1;  // every index the set declares, 0..10
}  // namespace

void EditHistory::record(const common::StageSet& before, const common::StageSet& after, int stage) {
  Step step{stage, {}};
  for (int x = 0; x < kSpan; ++x)
    for (int y = 0; y < kSpan; ++y)
      for (int s = 0; s <= common::kStageCount; ++s)
        if (before(x, y, s) != after(x, y, s))
          step.cells.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                static_cast<uint8_t>(s), before(x, y, s), after(x, y, s)});
  if (step.cells.empty()) return;
  done_.push_back(std::move(step));
  undone_.clear();
}

int EditHistory::undo(common::StageSet& set) {
  return apply(done_, undone_, set, false);
}

int EditHistory::redo(common::StageSet& set) {
  return apply(undone_, done_, set, true);
}

int EditHistory::apply(std::vector<Step>& from, std::vector<Step>& to, common::StageSet& set,
                       bool forward) {
  if (from.empty()) return 0;
  Step step = std::move(from.back());
  from.pop_back();
  for (const Cell& c : step.cells) set(c.x, c.y, c.s) = forward ? c.after : c.before;
  const int stage = step.stage;
  to.push_back(std::move(step));
  return stage;
}

}  // namespace editor
