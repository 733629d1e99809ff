// The standard controls with a caption (labels, push buttons, radio buttons, check boxes,
// group frames) and the edit: how each is made, what it tells its handlers, and how a caption
// too wide for its room is drawn narrower. The list box has a file of its own.
#include "wingui/Controls.h"

#include <commctrl.h>

#include <algorithm>

#include "launch/Errors.h"
#include "wingui/Commands.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/TextConversion.h"

namespace wingui {

// --- CaptionedControl ----------------------------------------------------------------

CaptionedControl::CaptionedControl(Component* owner, WinControl* parent)
    : WinControl(owner, ParentWindow(owner, parent)) {}

std::optional<int> CaptionedControl::CaptionWidth(HFONT font) {
  const WindowDC dc(Handle(), font);
  if (!dc) return std::nullopt;
  const std::string text = Text();
  RECT extent{0, 0, 0, 0};
  DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
            DT_CALCRECT | DT_SINGLELINE);
  return extent.right - extent.left;
}

void CaptionedControl::FitCaption() {
  HFONT given = Font();
  if (fitting_ || !given) return;
  HWND hwnd = Handle();
  RECT client;
  GetClientRect(hwnd, &client);
  // An empty caption needs no room, whatever the control draws around it.
  const bool captioned = GetWindowTextLengthA(hwnd) > 0;
  const std::optional<int> needed = NeededWidth(given);
  HFONT use = given;
  UniqueHfont narrowed;
  if (captioned && needed && *needed > client.right && client.right > 0) {
    LOGFONTA lf;
    TEXTMETRICA metrics;
    bool measured = false;
    {
      const WindowDC dc(hwnd, given);
      measured = dc && GetObjectA(given, sizeof lf, &lf) && GetTextMetricsA(dc.get(), &metrics);
    }
    // The average letter width in proportion to the room, then narrower by one pixel at a
    // time until the caption fits (a bitmap font cannot be narrowed and stays as it is).
    for (LONG width = measured ? metrics.tmAveCharWidth * client.right / *needed : 0; width > 0;
         --width) {
      lf.lfWidth = width;
      narrowed.reset(CreateFontIndirectA(&lf));
      if (!narrowed) continue;
      const std::optional<int> fitted = NeededWidth(narrowed.get());
      if (fitted && *fitted <= client.right) {
        use = narrowed.get();
        break;
      }
    }
  }
  if (reinterpret_cast<HFONT>(DefaultMessage(WM_GETFONT, 0, 0)) != use) {
    fitting_ = true;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(use), TRUE);
    fitting_ = false;
  }
  // The font the window no longer uses can go.
  if (use == narrowed.get()) narrowed_ = std::move(narrowed);
  else if (use == given) narrowed_.reset();
}

LRESULT CaptionedControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = WinControl::HandleMessage(msg, wParam, lParam);
  if (msg == WM_SETTEXT) CaptionChanged();
  if (msg == WM_SETTEXT || msg == WM_SETFONT || msg == WM_SIZE) FitCaption();
  return result;
}

// --- Label ---------------------------------------------------------------------------

Label::Label(Component* owner, const std::string& caption, WinControl* parent)
    : CaptionedControl(owner, parent) {
  // SS_NOTIFY makes the label answer hit tests, so it gets mouse messages and clicks.
  CreateHandle({.className = "STATIC", .text = caption, .style = kChildStyle | SS_NOTIFY | SS_LEFT});
}

void Label::SetAlignment(Alignment alignment) {
  LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE) & ~(SS_LEFT | SS_CENTER | SS_RIGHT);
  style |= alignment == Alignment::Center ? SS_CENTER
           : alignment == Alignment::Right ? SS_RIGHT
                                           : SS_LEFT;
  SetWindowLongPtrA(Handle(), GWL_STYLE, style);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetColor(COLORREF color) {
  if (color_ == color) return;
  color_ = color;
  brush_.reset(CreateSolidBrush(color));
  InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF Label::Color() const { return color_.value_or(GetSysColor(COLOR_BTNFACE)); }

HBRUSH Label::ControlColor(HDC dc) {
  if (!color_) return nullptr;
  SetBkColor(dc, *color_);
  return brush_.get();
}

void Label::Command(WORD code) {
  if (code == STN_CLICKED) RunCommand(OnClick);
}

void Label::CaptionChanged() {
  if (autoSize_) FitWidthToText();
}

void Label::ApplyDpi() {
  CaptionedControl::ApplyDpi();
  // The text's width at the new dpi, not the designed width scaled.
  if (fittedToText_) FitWidthToText();
}

void Label::FitWidthToText() {
  // A caption that cannot be measured leaves the label as it is.
  const std::optional<int> width = CaptionWidth(Font());
  if (!width) return;
  SetWindowPos(Handle(), nullptr, 0, 0, *width, Height(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  fittedToText_ = true;
  // The text was drawn at the old width (wrapped, or cut off) before the size changed.
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        // Ask for one WM_MOUSELEAVE; it has to be asked for again after each one.
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
      }
      Raise(OnMouseMove);
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      Raise(OnMouseLeave);
      return 0;
  }
  return CaptionedControl::HandleMessage(msg, wParam, lParam);
}

// --- ButtonControl -------------------------------------------------------------------

std::optional<int> ButtonControl::NeededWidth(HFONT font) {
  // The control's own answer for that font: the font is set for the question only, without
  // drawing, straight on the control's procedure (past the fitting that asks).
  const LRESULT current = DefaultMessage(WM_GETFONT, 0, 0);
  DefaultMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SIZE ideal{0, 0};
  const bool told = DefaultMessage(BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 0;
  DefaultMessage(WM_SETFONT, static_cast<WPARAM>(current), FALSE);
  if (told) return ideal.cx;
  // Common controls older than version 6 do not tell.
  const std::optional<int> text = CaptionWidth(font);
  if (!text) return std::nullopt;
  return *text + Scale(DesignedCaptionMargin(), Dpi());
}

// --- Edit ----------------------------------------------------------------------------

Edit::Edit(Component* owner, const std::string& text, WinControl* parent)
    : WinControl(owner, ParentWindow(owner, parent)) {
  CreateHandle({.className = "EDIT",
                .text = text,
                .style = kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL,
                .exStyle = WS_EX_CLIENTEDGE});
}

void Edit::Command(WORD code) {
  if (code == EN_CHANGE) Raise(OnChange);
}

// --- Button --------------------------------------------------------------------------

Button::Button(Component* owner, const std::string& caption, WinControl* parent)
    : ButtonControl(owner, parent) {
  CreateHandle(
      {.className = "BUTTON", .text = caption, .style = kChildStyle | WS_TABSTOP | BS_PUSHBUTTON});
}

void Button::Click() { RunCommand(OnClick); }

void Button::Command(WORD code) {
  if (code == BN_CLICKED) RunCommand(OnClick);
}

// The raised edge and the focus frame inside it, on both sides.
int Button::DesignedCaptionMargin() const { return 8; }

// --- RadioButton ---------------------------------------------------------------------

RadioButton::RadioButton(Component* owner, const std::string& caption, WinControl* parent)
    : ButtonControl(owner, parent) {
  // Automatic, so the dialog keyboard handling checks the button the arrow keys move to.
  CreateHandle(
      {.className = "BUTTON", .text = caption, .style = kChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON});
}

bool RadioButton::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<RadioButton*> RadioButton::GroupMembers() {
  std::vector<RadioButton*> members;
  if (!Parent()) return members;
  for (Component* c : Parent()->Components()) {
    auto* radio = dynamic_cast<RadioButton*>(c);
    if (radio && radio->Parent() == Parent() && radio->Group == Group) members.push_back(radio);
  }
  return members;
}

void RadioButton::SetChecked(bool checked) {
  if (checked) {
    for (RadioButton* other : GroupMembers()) {
      if (other != this) SendMessageA(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  UpdateTabStop();
}

void RadioButton::UpdateTabStop() {
  const std::vector<RadioButton*> members = GroupMembers();
  RadioButton* stop = nullptr;
  for (RadioButton* r : members) {
    if (r->Checked()) stop = r;
  }
  if (!stop && !members.empty()) {
    // None checked: the first in tab order takes the stop.
    stop = *std::ranges::min_element(members, {}, &RadioButton::TabOrder);
  }
  for (RadioButton* r : members) {
    HWND hwnd = r->Handle();
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    SetWindowLongPtrA(hwnd, GWL_STYLE, r == stop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

// The 13-pixel glyph, the gap after it and the focus frame around the text.
int RadioButton::DesignedCaptionMargin() const { return 19; }

// --- CheckBox ------------------------------------------------------------------------

CheckBox::CheckBox(Component* owner, const std::string& caption, WinControl* parent)
    : ButtonControl(owner, parent) {
  CreateHandle(
      {.className = "BUTTON", .text = caption, .style = kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX});
}

bool CheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Command(WORD code) {
  if (code == BN_CLICKED) RunCommand(OnClick);
}

// The box and its gap, as the radio button's glyph and gap.
int CheckBox::DesignedCaptionMargin() const { return 19; }

void RadioButton::Command(WORD code) {
  if (code != BN_CLICKED) return;
  // Our groups, not only the window system's WS_GROUP ranges, decide what gets unchecked.
  if (Checked()) SetChecked(true);
  RunCommand(OnClick);
}

// --- GroupBox ------------------------------------------------------------------------

GroupBox::GroupBox(Component* owner, const std::string& caption, WinControl* parent)
    : ButtonControl(owner, parent) {
  // WS_CLIPSIBLINGS keeps the frame from painting over the controls inside it.
  CreateHandle(
      {.className = "BUTTON", .text = caption, .style = kChildStyle | BS_GROUPBOX | WS_CLIPSIBLINGS});
}

std::optional<int> GroupBox::NeededWidth(HFONT font) {
  // The control's ideal size of a frame is the frame as it is, whatever its caption.
  const std::optional<int> text = CaptionWidth(font);
  if (!text) return std::nullopt;
  return *text + Scale(DesignedCaptionMargin(), Dpi());
}

// The frame's corner and the gap before the caption, at both ends.
int GroupBox::DesignedCaptionMargin() const { return 16; }

}  // namespace wingui
