// The editor's strokes and loads as steps that can be taken back and made again.
#pragma once

#include <cstdint>
#include <vector>

#include "common/stage_set.h"

namespace editor {

class EditHistory {
 public:
  // Records the step that turned `before` into `after`, made with stage `stage` shown, and
  // forgets the steps taken back. A step that changed no cell is not recorded.
  void record(const common::StageSet& before, const common::StageSet& after, int stage);
  // Takes the last step back on `set` (or makes the last one taken back again) and returns
  // the stage it was made on; 0 when there is none.
  int undo(common::StageSet& set);
  int redo(common::StageSet& set);

  bool canUndo() const { return !done_.empty(); }
  bool canRedo() const { return !undone_.empty(); }

 private:
  struct Cell {
    uint8_t x, y, s, before, after;
  };
  // Only the cells a step changed are kept, so a long session stays small.
  struct Step {
    int stage;
    std::vector<Cell> cells;
  };
  static int apply(std::vector<Step>& from, std::vector<Step>& to, common::StageSet& set,
                   bool forward);

  std::vector<Step> done_, undone_;
};

}  // namespace editor
