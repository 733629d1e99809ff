// Images: an icon object that owns its own copy of an HICON and reports every change of
// its image, and an image list of icons (a component, so owners and references to it
// follow the component tree).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "wingui/Component.h"
#include "wingui/Handles.h"

namespace wingui {

class Icon {
 public:
  Icon() = default;
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;

  // The owned image, or nullptr when the icon is empty.
  HICON Handle() const { return handle_.get(); }
  bool Empty() const { return !handle_; }

  // Copies the other icon's image (an empty source empties this one).
  void Assign(const Icon& source);
  // Copies the given image; the caller keeps its own handle.
  void LoadFromHandle(HICON icon);
  // Takes ownership of an image the caller created (for example from ImageList_GetIcon).
  void Adopt(HICON icon);
  // Loads an icon resource of the module (a private copy, never a shared system icon): the
  // image of the given size, made from a larger one where the resource has none; size 0 takes
  // the first image as it is.
  void LoadFromResource(HINSTANCE module, const char* name, int size = 0);

  // Called after every change of the image.
  std::function<void()> OnChange;

 private:
  UniqueHicon handle_;
};

inline BOOL WINAPI DestroyImageList(HIMAGELIST list) { return ImageList_Destroy(list); }
using UniqueHimagelist = UniqueHandle<HIMAGELIST, DestroyImageList>;

class ImageList : public Component {
 public:
  explicit ImageList(Component* owner, int width = 16, int height = 16);

  HIMAGELIST Handle() const { return list_.get(); }
  int Count() const;
  // Adds a copy of the icon at the end.
  void Add(HICON icon);
  void Replace(int index, HICON icon);
  // Puts a copy of image `index` into dest. An index outside the list is answered as any
  // list answers it (ListIndex.h), by Replace too.
  void GetIcon(int index, Icon& dest) const;

 private:
  UniqueHimagelist list_;
};

}  // namespace wingui
