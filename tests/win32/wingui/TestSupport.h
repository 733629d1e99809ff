// Shared helpers of the framework tests: the program's look told to the framework as the
// program tells it (its icon, its windows' font), an error-box recorder that replaces the
// message box for the duration of a test, and message pumping until a condition holds.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "setup/ProgramLook.h"
#include "wingui/Application.h"
#include "wingui/ErrorBox.h"

namespace wingui_test {

// Every test program that builds windows looks as the program does, from its start.
inline const bool kProgramLook = (setup::TellTheFramework(), true);

struct RecordedBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

inline std::vector<RecordedBox>& RecordedBoxes() {
  static std::vector<RecordedBox> boxes;
  return boxes;
}

// How a recorded Yes/No box is answered (Yes unless a test says otherwise).
inline int& YesNoAnswer() {
  static int answer = IDYES;
  return answer;
}

// Runs once while the next recorded box is "open" (as the user could act while a real box
// waits for an answer), then is cleared.
inline std::function<void()>& WhileNextBoxIsOpen() {
  static std::function<void()> action;
  return action;
}

inline int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  RecordedBoxes().push_back({owner, text ? text : "", caption ? caption : "", type});
  if (std::function<void()> action = std::exchange(WhileNextBoxIsOpen(), nullptr)) action();
  return (type & MB_TYPEMASK) == MB_YESNO ? YesNoAnswer() : IDOK;
}

// Replaces the message box with the recorder, and initialises the application (whose
// error handler would otherwise show real, blocking boxes).
class BoxRecorder {
 public:
  BoxRecorder() {
    wingui::App().Initialize();
    scope_->ShowMessageBox = &RecordBox;
    RecordedBoxes().clear();
    YesNoAnswer() = IDYES;
    WhileNextBoxIsOpen() = nullptr;
  }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  const std::vector<RecordedBox>& Boxes() const { return RecordedBoxes(); }

 private:
  launch::SeamScope<wingui::BoxCalls> scope_{wingui::BoxSeam()};
};

// Dispatches messages until pred() holds or the time is up; answers pred().
template <typename Pred>
bool PumpUntil(Pred pred, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > timeoutMs) return pred();
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

// The font a control draws with now: its own, or the narrowed form it chose for its caption.
inline HFONT FontInUse(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

// A font's description (face, height, width ...); that of the font in use for a control.
inline LOGFONTA FontOf(HFONT font) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}
inline LOGFONTA FontOf(HWND control) { return FontOf(FontInUse(control)); }

// The width of one line of text in the control's font in use.
inline int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, FontInUse(control));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

inline void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

}  // namespace wingui_test
