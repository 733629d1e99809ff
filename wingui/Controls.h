// The standard controls the program's windows are built from: label, edit, push button,
// radio button, group frame and list box. Each reports its events through std::function
// handlers; they run under CallGuarded, so an error in one goes to the error box and the
// program goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "wingui/Handles.h"
#include "wingui/WinControl.h"

namespace wingui {

enum class Alignment { Left, Center, Right };

// A control with a caption, which is never cut off: a caption wider than the room the
// control has for it is drawn in a narrowed form of the control's font (same face and height,
// narrower letters), as happens where the face asked for is missing and a wider one stands in
// for it, and at display scales where a face's letters grow faster than the designed sizes.
// It is measured whenever the caption, the font or the size changes, so at the control's dpi.
class CaptionedControl : public WinControl {
 protected:
  CaptionedControl(Component* owner, WinControl* parent);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The width the control needs to show its caption whole in that font; nothing when it
  // cannot be measured.
  virtual std::optional<int> NeededWidth(HFONT font) = 0;
  // The caption's own width in that font.
  std::optional<int> CaptionWidth(HFONT font);
  // Runs after the caption has changed, before it is fitted.
  virtual void CaptionChanged() {}

 private:
  // Chooses between the control's font and a narrowed form of it for the current caption.
  void FitCaption();

  UniqueHfont narrowed_;
  bool fitting_ = false;
};

class Label : public CaptionedControl {
 public:
  Label(Component* owner, const std::string& caption = "", WinControl* parent = nullptr);

  void SetAlignment(Alignment alignment);
  // Background colour; by default the parent's (the button face).
  void SetColor(COLORREF color);
  COLORREF Color() const;
  // With AutoSize the label takes the width of its text whenever its caption changes, so a
  // longer caption is never cut off. The size it was given stands until then: the designed
  // sizes are those of the designed captions.
  void SetAutoSize(bool value) { autoSize_ = value; }
  // A label of several lines breaks its caption between words and keeps its font: a caption
  // that does not fit is never narrowed.
  void SetWordWrap(bool value) { wordWrap_ = value; }

  std::function<void()> OnClick;
  std::function<void()> OnMouseMove;
  std::function<void()> OnMouseLeave;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;
  std::optional<int> NeededWidth(HFONT font) override {
    return wordWrap_ ? std::nullopt : CaptionWidth(font);
  }
  void CaptionChanged() override;
  void ApplyDpi() override;

 private:
  void FitWidthToText();

  std::optional<COLORREF> color_;
  UniqueHbrush brush_;
  bool trackingLeave_ = false;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  // The width is the text's rather than the designed one.
  bool fittedToText_ = false;
};

// Push buttons, radio buttons and group frames: the standard button control, which knows
// the room it takes besides the caption (BCM_GETIDEALSIZE: the radio glyph and its gap, the
// edges).
class ButtonControl : public CaptionedControl {
 protected:
  using CaptionedControl::CaptionedControl;
  std::optional<int> NeededWidth(HFONT font) override;
  // What the caption needs besides its own width where the control cannot tell, at 96 dpi.
  virtual int DesignedCaptionMargin() const = 0;
};

class Edit : public WinControl {
 public:
  Edit(Component* owner, const std::string& text = "", WinControl* parent = nullptr);

  std::function<void()> OnChange;

 protected:
  void Command(WORD code) override;
};

class Button : public ButtonControl {
 public:
  Button(Component* owner, const std::string& caption = "", WinControl* parent = nullptr);

  std::function<void()> OnClick;
  // Runs OnClick as a press of the button would.
  void Click();

 protected:
  void Command(WORD code) override;
  int DesignedCaptionMargin() const override;
};

class RadioButton : public ButtonControl {
 public:
  RadioButton(Component* owner, const std::string& caption = "", WinControl* parent = nullptr);

  bool Checked() const;
  // Checking a button unchecks the others of its group.
  void SetChecked(bool checked);

  // Radio buttons of one parent with the same Group that follow each other in tab order
  // form one group: the arrow keys move between them, Tab stops at the checked one.
  int Group = 0;

  std::function<void()> OnClick;

  // Keeps the tab stop on the checked button of the group (or its first when none is).
  void UpdateTabStop();

 protected:
  void Command(WORD code) override;
  int DesignedCaptionMargin() const override;

 private:
  std::vector<RadioButton*> GroupMembers();
};

// A box the player ticks and unticks; a click flips it and then runs OnClick.
class CheckBox : public ButtonControl {
 public:
  CheckBox(Component* owner, const std::string& caption = "", WinControl* parent = nullptr);

  bool Checked() const;
  void SetChecked(bool checked);

  std::function<void()> OnClick;

 protected:
  void Command(WORD code) override;
  int DesignedCaptionMargin() const override;
};

// The frame drawn around a group of radio buttons; it takes no focus and no clicks. Its
// caption sits in the top edge of the frame, inset from both ends.
class GroupBox : public ButtonControl {
 public:
  GroupBox(Component* owner, const std::string& caption = "", WinControl* parent = nullptr);

 protected:
  std::optional<int> NeededWidth(HFONT font) override;
  int DesignedCaptionMargin() const override;
};

}  // namespace wingui
