// A scroll bar whose trough steps one line a press, as its arrows do.
#include "editor/line_scrollbar.h"

#include <FL/Fl.H>

#include <algorithm>

namespace editor {

namespace {

// The arrows' own repeat timing.
constexpr double kFirstRepeat = 0.5;
constexpr double kRepeat = 0.05;

}  // namespace

LineScrollbar::LineScrollbar(int x, int y, int w, int h) : Fl_Scrollbar(x, y, w, h) {}

LineScrollbar::~LineScrollbar() {
  Fl::remove_timeout(repeat, this);
}

int LineScrollbar::pointerAlong() const {
  return horizontal() ? Fl::event_x() : Fl::event_y();
}

int LineScrollbar::troughSide(int along) const {
  // The thumb as the bar draws it: between two square arrows when the bar is long enough,
  // slider_size() of the track long but at least half the bar's thickness.
  const bool across = horizontal();
  const int thick = across ? h() : w();
  int start = across ? x() : y();
  int track = across ? w() : h();
  if (track >= 3 * thick) {
    start += thick;
    track -= 2 * thick;
  }
  const int at = along - start;
  if (at < 0 || at >= track) return 0;
  const int thumb = std::max(static_cast<int>(slider_size() * track + .5), thick / 2 + 1);
  const double span = maximum() - minimum();
  const double fraction = span != 0 ? (value() - minimum()) / span : 0.5;
  const int thumbAt = fraction >= 1   ? track - thumb
                      : fraction <= 0 ? 0
                                      : static_cast<int>(fraction * (track - thumb) + .5);
  if (at < thumbAt) return -1;
  if (at >= thumbAt + thumb) return 1;
  return 0;
}

int LineScrollbar::handle(int event) {
  switch (event) {
    case FL_PUSH:
      if (stepping_) return 1;
      // The middle button grabs the thumb wherever it presses.
      pointer_ = pointerAlong();
      if (Fl::event_button() != FL_MIDDLE_MOUSE) stepping_ = troughSide(pointer_);
      if (!stepping_) return Fl_Scrollbar::handle(event);
      handle_push();
      stepLine();
      Fl::add_timeout(kFirstRepeat, repeat, this);
      return 1;
    case FL_DRAG:
      if (!stepping_) return Fl_Scrollbar::handle(event);
      pointer_ = pointerAlong();
      return 1;
    case FL_RELEASE:
      if (stepping_) {
        Fl::remove_timeout(repeat, this);
        stepping_ = 0;
      }
      return Fl_Scrollbar::handle(event);
    default:
      return Fl_Scrollbar::handle(event);
  }
}

void LineScrollbar::stepLine() {
  const int line = maximum() >= minimum() ? linesize() : -linesize();
  handle_drag(clamp(value() + stepping_ * line));
}

void LineScrollbar::repeat(void* self) {
  auto* bar = static_cast<LineScrollbar*>(self);
  // Once the thumb has reached the pointer it waits there; it goes on if the pointer moves
  // further along while the button is held.
  if (bar->troughSide(bar->pointer_) == bar->stepping_) bar->stepLine();
  Fl::repeat_timeout(kRepeat, repeat, self);
}

}  // namespace editor
