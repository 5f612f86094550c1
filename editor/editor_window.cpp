// The editor's FLTK window: the controls at their pixel positions, wired to EditorForm.
#include "editor/editor_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace editor {

namespace {

constexpr const char* kWindowCaption = "Brackleエディタ";
constexpr const char* kPromptCaption = "quorlin: unsaved changes";

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
  static_cast<EditorWindow*>(w)->closeRequested();
}

// The editor's key for the key just pressed, if it is one.
std::optional<Key> pressedKey() {
  const int key = Fl::event_key();
  const int state = Fl::event_state();
  if (state & (FL_ALT | FL_META)) return std::nullopt;
  if (state & FL_CTRL) {
    if (key == 'z') return state & FL_SHIFT ? Key::kRedo : Key::kUndo;
    if (key == 'y') return Key::kRedo;
    return std::nullopt;
  }
  switch (key) {
    case FL_F + 5:
      return Key::kTry;
    case 't':
      return Key::kTurnOrder;
    case FL_Right:
    case FL_KP + '3':
      return Key::kRight;
    case FL_Down:
    case FL_KP + '1':
      return Key::kDown;
    case FL_Left:
    case FL_KP + '7':
      return Key::kLeft;
    case FL_Up:
    case FL_KP + '9':
      return Key::kUp;
    case FL_BackSpace:
    case 'z':
    case 'u':
      return Key::kTakeBack;
    case FL_Escape:
      return Key::kEscape;
    default:
      return std::nullopt;
  }
}

int liveWindows = 0;  // the dispatch stays installed while any editor window lives

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
    : Fl_Double_Window(kClientWidth, kWindowHeight, kWindowCaption), form_(form) {
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
  Label4 =
      makeLabel(8, kClientHeight + 3, kClientWidth - 16, kStatusHeight - 6, form.Label4.c_str());
  end();
  size_range(kClientWidth, kWindowHeight, kClientWidth, kWindowHeight);

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
  if (liveWindows++ == 0) Fl::event_dispatch(dispatch);
}

EditorWindow::~EditorWindow() {
  Fl::remove_timeout(onTimer, this);
  if (--liveWindows == 0) Fl::event_dispatch(nullptr);
}

int EditorWindow::dispatch(int event, Fl_Window* window) {
  auto* self = dynamic_cast<EditorWindow*>(window);
  if (self && self->takeEvent(event)) return 1;
  return Fl::handle_(event, window);
}

bool EditorWindow::takeEvent(int event) {
  // While a prompt is up, everything is its own.
  if (Fl::modal() && Fl::modal() != this) return false;
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
      // The side buttons do nothing, as in the game; the toolkit would take them for a
      // press of the control under the pointer.
      return Fl::event_button() > FL_RIGHT_MOUSE;
    case FL_KEYBOARD: {
      // Before the control with the focus: the arrows must move a tried piece, not a bar.
      const std::optional<Key> key = pressedKey();
      if (!key || !form_.Form_KeyDown(*key)) return false;
      refresh();
      return true;
    }
    default:
      return false;
  }
}

void EditorWindow::closeRequested() {
  if (form_.unsaved()) {
    switch (askToClose ? askToClose() : askAboutUnsavedChanges(this)) {
      case CloseChoice::kGoOn:
        return;
      case CloseChoice::kSave:
        form_.Command1_Click();
        refresh();
        if (form_.unsaved()) return;  // the save did not happen: keep the work
        break;
      case CloseChoice::kDiscard:
        break;
    }
  }
  hide();
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
  setCaption(Label4, form_.Label4);
  // An undo or redo may bring another stage into view.
  if (static_cast<int>(stage->value()) != form_.stage) stage->value(form_.stage);
  map_c->redraw();
  Pic->redraw();
}

CloseChoice askAboutUnsavedChanges(Fl_Window* over) {
  constexpr int kW = 300, kH = 90;
  Fl_Window prompt(kW, kH, kPromptCaption);
  auto* text = new Fl_Box(10, 8, kW - 20, 40, "The stages have changes that are not saved.");
  text->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  styleCaption(text);
  Fl_Button* buttons[] = {new Fl_Return_Button(10, 56, 80, 25, "save"),
                          new Fl_Button(100, 56, 80, 25, "discard"),
                          new Fl_Button(190, 56, 100, 25, "go on editing")};
  prompt.end();
  CloseChoice choice = CloseChoice::kGoOn;  // Escape and the prompt's own close
  struct Pick {
    CloseChoice* into;
    CloseChoice value;
    Fl_Window* prompt;
  };
  Pick picks[] = {{&choice, CloseChoice::kSave, &prompt},
                  {&choice, CloseChoice::kDiscard, &prompt},
                  {&choice, CloseChoice::kGoOn, &prompt}};
  for (int i = 0; i < 3; ++i) {
    styleCaption(buttons[i]);
    buttons[i]->callback(
        [](Fl_Widget*, void* p) {
          auto* pick = static_cast<Pick*>(p);
          *pick->into = pick->value;
          pick->prompt->hide();
        },
        &picks[i]);
  }
  if (over) prompt.position(std::max(0, over->x() + (over->w() - kW) / 2), over->y() + 60);
  prompt.set_modal();
  prompt.show();
  while (prompt.shown()) Fl::wait();
  return choice;
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
