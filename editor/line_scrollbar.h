// A scroll bar whose trough steps one line a press, as its arrows do.
#pragma once

#include <FL/Fl_Scrollbar.H>

namespace editor {

// FLTK's scroll bar pages by an amount it derives from the thumb size (three stages on the
// stage bar); this one keeps the thumb and every other behaviour and steps by linesize().
// Held, the trough repeats until the thumb reaches the pointer.
class LineScrollbar : public Fl_Scrollbar {
 public:
  LineScrollbar(int x, int y, int w, int h);
  ~LineScrollbar() override;

  int handle(int event) override;

 private:
  // Where the pointer is along the bar, from the event being handled.
  int pointerAlong() const;
  // -1 for a point of the trough before the thumb, 1 after it, 0 on the thumb or an arrow.
  int troughSide(int along) const;
  void stepLine();
  static void repeat(void* self);

  int stepping_ = 0;  // the side of a trough press still held
  int pointer_ = 0;   // the pointer along the bar while it is held
};

}  // namespace editor
