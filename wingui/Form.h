// A top-level window owned by the application window. The first form created becomes the
// application's main form: closing it ends the application, minimising it minimises the
// application; closing any other form only hides it. A form makes its window in its
// constructor; a derived form builds its controls between BeginLoading and EndCreation,
// which completes loading, arranges the tab order and runs the creation handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "wingui/Graphics.h"
#include "wingui/Handles.h"
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

  void SetWidth(int width);  // outer width
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  int ClientWidth() const;
  int ClientHeight() const;
  // Top-left corner on the screen (a new form sits where the window system puts it).
  void SetPosition(int left, int top);

  // The title-bar and taskbar icon (copied).
  Icon& FormIcon() { return icon_; }

  void SetVisible(bool visible) override;
  // Shows the form and brings it in front of the other windows.
  void BringToFront();

  // Shown as soon as EndCreation has run.
  bool VisibleAtCreation = false;
  // Runs inside EndCreation; an error in it goes to the error box and creation goes on.
  std::function<void()> OnCreate;

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

  // The form's tooltip window (created on first use).
  HWND TooltipHandle();

 protected:
  // The creation handler; the default runs OnCreate.
  virtual void FormCreate();
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetOuterSize(int width, int height);
  SIZE NonClientSize() const;

  FormStyle style_ = FormStyle::Normal;
  Icon icon_;
  HWND tooltip_ = nullptr;  // owned by the form's window, destroyed with it
  HWND lastFocus_ = nullptr;
};

}  // namespace wingui
