// The editor's FLTK window: the controls at their pixel positions, wired to EditorForm.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>

#include <functional>
#include <string>

#include "editor/editor_form.h"
#include "editor/line_scrollbar.h"
#include "platform/process_ended.h"
#include "platform/raster.h"

namespace editor {

constexpr int kClientWidth = 210;
constexpr int kClientHeight = 296;  // the controls as laid out
// The status lines below them: the window grows by this much.
constexpr int kStatusLines = 4;
constexpr int kStatusLineHeight = 15;
constexpr int kStatusHeight = kStatusLines * kStatusLineHeight + 6;
constexpr int kWindowHeight = kClientHeight + kStatusHeight;
constexpr double kTimerSeconds = 0.1;
// A Japanese Gothic face for the captions; the leading blank asks for the plain style.
constexpr const char* kCaptionFace = " IPAPGothic";
constexpr int kCaptionSize = 12;  // 9 pt at 96 dpi

// A picture box: shows a Surface unscaled and reports the mouse in its own pixels.
class SurfaceBox : public Fl_Widget {
 public:
  SurfaceBox(int x, int y, int w, int h, const platform::Surface& picture);

  // button: 1 left, 2 middle, 3 right.
  std::function<void(int button, float x, float y)> onDown;
  std::function<void(float x, float y)> onMove;
  std::function<void(int button)> onUp;

  int handle(int event) override;

 protected:
  void draw() override;

 private:
  const platform::Surface& picture_;
};

// What to do with unsaved changes when the window is closed.
enum class CloseChoice { kSave, kDiscard, kGoOn };

class EditorWindow : public Fl_Double_Window {
 public:
  // The form must outlive the window. Starts the 100 ms timer and takes the editor's keys.
  explicit EditorWindow(EditorForm& form);
  ~EditorWindow() override;

  // Copies the form's captions, status and stage to the controls and redraws the picture
  // boxes.
  void refresh();
  // While a stroke lasts, sends every press, move and release to the edit area.
  int handle(int event) override;
  // The window's close: with unsaved changes it asks first, and stays open unless they are
  // saved or discarded.
  void closeRequested();

  // Asks what to do with unsaved changes; by default the modal prompt.
  std::function<CloseChoice()> askToClose;

  Fl_Button* Command2;
  Fl_Button* Command1;
  Fl_Box* Label1;
  SurfaceBox* map_c;
  LineScrollbar* ryo;
  SurfaceBox* Pic;
  Fl_Box* Label2;
  Fl_Box* Label3;
  LineScrollbar* stage;
  Fl_Box* Label4;

 private:
  static void onTimer(void* self);
  // Sees every event before the toolkit sends it on: side buttons end here, and the
  // editor's keys reach the form whichever control has the focus.
  static int dispatch(int event, Fl_Window* window);
  bool takeEvent(int event);
  // A button's callback: the form's handler, then the window shows what it changed.
  template <void (EditorForm::*handler)()>
  static void clicked(Fl_Widget*, void* self) {
    auto* window = static_cast<EditorWindow*>(self);
    (window->form_.*handler)();
    window->refresh();
  }
  void setCaption(Fl_Box* box, const std::string& text);

  EditorForm& form_;
  // A button went down on the edit area and not every button is up yet: the edit area keeps
  // the pointer, as a window system keeps it for the control that took the press.
  bool stroke_ = false;
};

// The modal prompt for unsaved changes at close: "save", "discard" or "go on editing"
// (Escape, the prompt's own close).
CloseChoice askAboutUnsavedChanges(Fl_Window* over);

// Registers the caption face with FLTK (once).
void useCaptionFace();

// The run-time error report: a message box and a standard-error line naming the file and
// the cause; then the editor ends with status 1 (platform::ProcessEnded, caught in main).
[[noreturn]] void reportAndExit(const std::string& file, const std::string& cause);

}  // namespace editor
