// A top-level window owned by the application window. The first form created becomes the
// application's main form: closing it ends the application, minimising it minimises the
// application; closing any other form only hides it. A form makes its window in its
// constructor; a derived form builds its controls between BeginLoading and EndCreation,
// which completes loading, arranges the tab order and runs the creation handler.
// Sizes are designed (Dpi.h): a form drawn at another dpi, or moved to a display of another
// scale, lays itself out again from its design, its icons included.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "wingui/Graphics.h"
#include "wingui/WinControl.h"

namespace wingui {

enum class FormStyle { Normal, MDIForm };

enum class BorderStyle {
  Single,      // fixed size, system menu and minimise box
  ToolWindow,  // small caption, fixed size, close box only
};

class Form : public WinControl {
 public:
  explicit Form(Component* owner, BorderStyle border = BorderStyle::Single);
  ~Form() override;

  FormStyle Style() const { return style_; }
  void SetStyle(FormStyle style) { style_ = style; }

  // Asks the form to close (WM_CLOSE): the main form ends the application, others hide.
  void Close();

  // Designed sizes: the outer width, or the client area's width or height.
  void SetWidth(int width);
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  // The client area's size in pixels.
  int ClientWidth() const;
  int ClientHeight() const;
  // Top-left corner on the screen, in screen pixels (a new form sits where the window system
  // puts it).
  void SetPosition(int left, int top);

  // The icons: the big one for the taskbar and Alt+Tab, the small one for the caption (the
  // system shrinks the big one while the small one is empty). Each holds its own copy.
  Icon& FormIcon() { return icon_; }
  Icon& SmallFormIcon() { return smallIcon_; }
  // Takes both icons from an icon resource, each image at the size the system asks for at
  // the form's dpi, and again whenever the dpi changes.
  void SetIconResource(HINSTANCE module, WORD id);

  // Keeps a child window that is not one of our controls (the window of a hosted
  // component) at a designed rectangle of the client area, at every dpi.
  void PlaceWindow(HWND child, const DesignedRect& bounds);

  void SetVisible(bool visible) override;
  // Shows the form and brings it in front of the other windows.
  void BringToFront();

  // Shown as soon as EndCreation has run.
  bool VisibleAtCreation = false;

  // Ends the building of the form: EndLoading, tab order, creation handler, then shows the
  // form when VisibleAtCreation is set.
  void EndCreation();
  // Sorts the child windows' z-order by TabOrder and sets the tab-stop and group styles
  // the dialog keyboard handling relies on.
  void ArrangeTabOrder();

  // Keyboard handling before a message of this form's thread is dispatched while the form
  // is active; true when the message was used up. Default: IsDialogMessage (Tab order,
  // Alt+letter accelerators, arrow keys inside radio-button groups).
  virtual bool PreTranslateMessage(MSG& msg);

  // The form's tooltip window, made with the form.
  HWND TooltipHandle() const { return tooltip_; }

 protected:
  // The creation hook: runs inside EndCreation, once the controls are made; an error in it goes
  // to the error box and creation goes on. The default does nothing.
  virtual void FormCreate() {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void ApplyDpi() override;

 private:
  // A designed length of the form: of the whole window, or of its client area.
  struct Length {
    int value;
    bool client;
  };

  // The outer size the design gives at a dpi, with the frame the window has there.
  SIZE OuterSize(int dpi, SIZE frame) const;
  void ApplySize();
  // Everything inside the frame at the current dpi: fonts, controls, placed windows, icons.
  void ApplyDpiInside();
  void LoadIcons();
  void DpiChanged(int dpi, const RECT& suggested);
  SIZE NonClientSize() const;

  FormStyle style_ = FormStyle::Normal;
  Length width_{320, false};
  Length height_{240, false};
  Icon icon_;
  Icon smallIcon_;
  HINSTANCE iconModule_ = nullptr;
  WORD iconId_ = 0;
  std::vector<std::pair<HWND, DesignedRect>> placed_;
  HWND tooltip_ = nullptr;  // owned by the form's window, destroyed with it
  void MakeTooltip();
  HWND lastFocus_ = nullptr;
};

}  // namespace wingui
