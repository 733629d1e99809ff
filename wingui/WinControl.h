// A component with a window, owned the one way every window is (WindowBinding.h): destroying
// the object destroys the window, a window Windows already destroyed with its parent is never
// destroyed twice, and never made again: asking a control for a window it no longer has is a
// programming error. Parents pass WM_COMMAND and WM_CTLCOLOR* back to the child they concern,
// and every message runs under CallGuarded.
// Bounds and fonts are set in designed units (pixels at 96 dpi, Dpi.h) and kept: the window
// gets them scaled to the dpi of its top-level window, again whenever that changes. What is
// read back (Bounds, Width ...) is the window's, in pixels.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "wingui/Component.h"
#include "wingui/Dpi.h"
#include "wingui/Handles.h"
#include "wingui/WindowBinding.h"

namespace wingui {

class Form;

// The style of every child control: a child window, shown with its parent.
inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

class WinControl : public Component, public WindowOwner {
 public:
  // parent: the window this control sits in; nullptr for a top-level window. A control class
  // whose owner may be its parent window passes ParentWindow(owner, parent).
  WinControl(Component* owner, WinControl* parent);
  ~WinControl() override;

  // The object behind one of our windows, or nullptr.
  static WinControl* FromHandle(HWND hwnd);

  WinControl* Parent() const { return parent_; }
  // The form this control sits on (itself for a form).
  Form* ParentForm();

  // Its own visibility flag (WS_VISIBLE), whether or not its parent is shown.
  bool Visible() const;
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // A child control's position and size in designed units relative to the parent's client
  // area. (A form is placed with Form::SetPosition, in screen pixels, and sized by its design.)
  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;

  std::string Text() const;
  void SetText(const std::string& text);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void SetFocus();

  // A font of its own, its character height in designed pixels; without one a control uses
  // its parent's font.
  void SetFont(const std::string& face, int pixelHeight, int weight = FW_NORMAL);
  HFONT Font() const;

  // The dpi the control is drawn at: that of its top-level window.
  int Dpi() const;

  // Tooltip shown while the pointer rests on the control.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  // Position in the tab order among the parent's controls; the form arranges the windows'
  // z-order by it (the dialog keyboard handling follows z-order).
  int TabOrder = 0;

 protected:
  // The window a child control sits in: the given parent, else the owner when it is a
  // window; throws when there is neither.
  static WinControl* ParentWindow(Component* owner, WinControl* parent);

  // Creates the window, of one of our own classes or a standard control. A child's parent
  // window and identifier are filled in here.
  void CreateHandle(WindowArgs args);

  // Every message: a control class handles what it must and passes the rest on to its base
  // class's HandleMessage, down to this one (the hint, WM_COMMAND and WM_CTLCOLOR* handed to
  // the child they concern, then the window's own procedure).
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A notification code of WM_COMMAND sent about this control to its parent.
  virtual void Command(WORD code);
  // WM_CTLCOLOR* about this control: a brush, or nullptr for the parent's default.
  virtual HBRUSH ControlColor(HDC dc);
  // Gives the window everything designed again at the current dpi: its font (its own, or its
  // parent's new one), its bounds, then the same for each child control. Controls with more
  // designed sizes of their own add them.
  virtual void ApplyDpi();
  // A top-level window's dpi has changed (WM_DPICHANGED) or is known only now.
  void SetDpi(int dpi) { dpi_ = dpi; }

 private:
  // The window while there is one; nullptr before and after.
  HWND Window() const { return HandleAllocated() ? Handle() : nullptr; }
  void UpdateHintTool();
  void ShowHintOnHover(UINT msg, WPARAM wParam, LPARAM lParam);
  void ApplyBounds();

  WinControl* parent_ = nullptr;
  UniqueHfont font_;
  // As designed; unset until given.
  std::optional<DesignedRect> bounds_;
  std::string fontFace_;
  int fontHeight_ = 0;
  int fontWeight_ = FW_NORMAL;
  // A top-level window's dpi; children take their top-level window's.
  int dpi_ = kDesignDpi;
  std::string hint_;
  bool hintTool_ = false;  // the hint is a tool of the form's tooltip
};

// A control just made, at its designed place and tab position: how a form builds itself.
template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height, int tabOrder = 0) {
  control->SetBounds(left, top, width, height);
  control->TabOrder = tabOrder;
  return control;
}

}  // namespace wingui
