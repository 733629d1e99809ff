// Copying plain text to the clipboard: the clipboard is opened for as long as the copy
// takes, emptied, and handed a movable global block holding the text.
#include "setup/Clipboard.h"

#include <cstring>

#include "launch/Errors.h"

namespace setup {
namespace {

// Closes the clipboard on every path out of the copy.
struct OpenClipboardScope {
  explicit OpenClipboardScope(HWND owner) : open(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (open) CloseClipboard();
  }
  bool open;
};

}  // namespace

void CopyTextToClipboard(HWND owner, const std::string& text) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard.open) throw launch::Error("Cannot open clipboard");
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) throw launch::Error("Out of memory");
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    // Memory that could not be filled never goes to the clipboard.
    GlobalFree(memory);
    throw launch::Error("Out of memory");
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  // Once the clipboard has taken the memory it is the clipboard's to free.
  if (!SetClipboardData(CF_TEXT, memory)) {
    GlobalFree(memory);
    throw launch::Error("Cannot copy to the clipboard");
  }
}

}  // namespace setup
