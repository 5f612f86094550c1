// The editor's FLTK window: the controls at their pixel positions, wired to EditorForm.
#include "editor/editor_window.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace editor {

namespace {

constexpr const char* kWindowCaption = "Brackleエディタ";

void styleCaption(Fl_Widget* w) {
  w->labelfont(FL_FREE_FONT);
  w->labelsize(kCaptionSize);
}

Fl_Box* makeLabel(int x, int y, int w, int h, const char* text) {
  auto* box = new Fl_Box(FL_NO_BOX, x, y, w, h, nullptr);
  box->copy_label(text);
  box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  styleCaption(box);
  return box;
}

LineScrollbar* makeScrollbar(int x, int y, int w, int h, int type, int lo, int hi) {
  auto* bar = new LineScrollbar(x, y, w, h);
  bar->type(type);
  bar->bounds(lo, hi);
  bar->step(1);
  bar->linesize(1);
  bar->value(lo);
  // A square thumb, as wide as the bar is thick.
  const int track = std::max(w, h) - 2 * std::min(w, h);
  bar->slider_size(std::min(1.0, static_cast<double>(std::min(w, h)) / std::max(track, 1)));
  return bar;
}

void closeWindow(Fl_Widget* w, void*) {
  // Escape does not close the editor; only the window's close request does.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  w->hide();
}

}  // namespace

SurfaceBox::SurfaceBox(int x, int y, int w, int h, const platform::Surface& picture)
    : Fl_Widget(x, y, w, h), picture_(picture) {
  box(FL_NO_BOX);
}

void SurfaceBox::draw() {
  const int w = std::min(this->w(), picture_.width());
  const int h = std::min(this->h(), picture_.height());
  if (w > 0 && h > 0) fl_draw_image(picture_.data(), x(), y(), w, h, 3, picture_.width() * 3);
}

int SurfaceBox::handle(int event) {
  const float ex = static_cast<float>(Fl::event_x() - x());
  const float ey = static_cast<float>(Fl::event_y() - y());
  switch (event) {
    case FL_PUSH:
      if (onDown) onDown(Fl::event_button(), ex, ey);
      return 1;
    case FL_ENTER:  // FLTK turns the first move over the box into this
    case FL_DRAG:
    case FL_MOVE:
      if (onMove) onMove(ex, ey);
      return 1;
    case FL_RELEASE:
      if (onUp) onUp(Fl::event_button());
      return 1;
    case FL_LEAVE:
      return 1;
    default:
      return Fl_Widget::handle(event);
  }
}

void useCaptionFace() {
  static bool done = false;
  if (done) return;
  Fl::set_font(FL_FREE_FONT, kCaptionFace);
  done = true;
}

EditorWindow::EditorWindow(EditorForm& form)
    : Fl_Double_Window(kClientWidth, kClientHeight, kWindowCaption), form_(form) {
  useCaptionFace();
  callback(closeWindow);

  Command2 = new Fl_Button(0, 0, 73, 25, "load");
  Command1 = new Fl_Button(136, 0, 73, 25, "save");
  styleCaption(Command2);
  styleCaption(Command1);
  Label1 = makeLabel(168, 32, 97, 17, "太さ");
  map_c = new SurfaceBox(8, 48, kPaletteWidth, kPaletteHeight, form.map_c.image);
  ryo = makeScrollbar(176, 48, 17, 89, FL_VERTICAL, 1, kMaxBrush);
  Pic = new SurfaceBox(8, 72, kEditPixels, kEditPixels, form.Pic.image);
  Label2 = makeLabel(8, 232, 153, 33, form.Label2.c_str());
  Label3 = makeLabel(8, 256, 97, 17, form.Label3.c_str());
  stage = makeScrollbar(8, 272, 185, 17, FL_HORIZONTAL, 1, common::kStageCount);
  end();
  size_range(kClientWidth, kClientHeight, kClientWidth, kClientHeight);

  ryo->value(form.ryo);
  stage->value(form.stage);

  Command2->callback(clicked<&EditorForm::Command2_Click>, this);
  Command1->callback(clicked<&EditorForm::Command1_Click>, this);
  ryo->callback(
      [](Fl_Widget* w, void* p) {
        static_cast<EditorWindow*>(p)->form_.ryo =
            static_cast<int>(static_cast<Fl_Scrollbar*>(w)->value());
      },
      this);
  stage->callback(
      [](Fl_Widget* w, void* p) {
        auto* self = static_cast<EditorWindow*>(p);
        const int value = static_cast<int>(static_cast<Fl_Scrollbar*>(w)->value());
        if (value == self->form_.stage) return;
        self->form_.stage = value;
        self->form_.stage_Change();
        self->refresh();
      },
      this);

  map_c->onDown = [this](int button, float x, float) {
    form_.map_c_MouseDown(button, x);
    refresh();
  };
  Pic->onDown = [this](int button, float x, float y) {
    stroke_ = true;
    form_.Pic_MouseDown(button, x, y);
    refresh();
  };
  Pic->onMove = [this](float x, float y) {
    form_.Pic_MouseMove(x, y);
    refresh();
  };
  Pic->onUp = [this](int button) {
    if (Fl::event_buttons() == 0) stroke_ = false;
    form_.Pic_MouseUp(button);
  };

  Fl::add_timeout(kTimerSeconds, onTimer, this);
}

EditorWindow::~EditorWindow() {
  Fl::remove_timeout(onTimer, this);
}

int EditorWindow::handle(int event) {
  // FLTK forgets the pushed widget at the first release of any button, so the rest of a
  // chord would reach whatever control lies under the pointer.
  if (!stroke_) return Fl_Double_Window::handle(event);
  switch (event) {
    case FL_PUSH:
      // A press from outside the area joins the stroke on the border cell a move would
      // reach, so every cell index stays inside the field.
      Pic->onDown(Fl::event_button(), clampToEditArea(static_cast<float>(Fl::event_x() - Pic->x())),
                  clampToEditArea(static_cast<float>(Fl::event_y() - Pic->y())));
      return 1;
    case FL_ENTER:
    case FL_MOVE:
    case FL_DRAG:
      return Pic->handle(FL_DRAG);
    case FL_RELEASE:
      return Pic->handle(FL_RELEASE);
    case FL_MOUSEWHEEL:
      return 1;  // no other control acts during a stroke
    default:
      return Fl_Double_Window::handle(event);
  }
}

void EditorWindow::onTimer(void* p) {
  auto* self = static_cast<EditorWindow*>(p);
  self->form_.Timer1_Timer();
  self->refresh();
  Fl::repeat_timeout(kTimerSeconds, onTimer, p);
}

void EditorWindow::setCaption(Fl_Box* box, const std::string& text) {
  if (box->label() && text == box->label()) return;
  box->copy_label(text.c_str());
  box->redraw_label();  // a box-less label needs the window to repaint behind it
}

void EditorWindow::refresh() {
  setCaption(Label2, form_.Label2);
  setCaption(Label3, form_.Label3);
  map_c->redraw();
  Pic->redraw();
}

[[noreturn]] void reportAndExit(const std::string& file, const std::string& cause) {
  const std::string line = file + ": " + cause;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  useCaptionFace();
  fl_message_font(FL_FREE_FONT, kCaptionSize);
  fl_message_title("quorlin");
  fl_alert("%s", line.c_str());
  throw platform::ProcessEnded{1};
}

}  // namespace editor
