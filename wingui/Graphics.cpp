// Icons that own a copy of their image and say when it changes, and the image list of icons
// whose indexes follow the one index policy (ListIndex.h).
#include "wingui/Graphics.h"

#include "launch/Errors.h"
#include "wingui/LateBinding.h"
#include "wingui/ListIndex.h"

namespace wingui {

void Icon::Assign(const Icon& source) {
  if (&source == this) return;
  LoadFromHandle(source.Handle());
}

void Icon::LoadFromHandle(HICON icon) {
  // CopyIcon keeps the size and colours of the source; an empty source empties us.
  Adopt(icon ? CopyIcon(icon) : nullptr);
}

void Icon::Adopt(HICON icon) {
  handle_.reset(icon);
  if (OnChange) OnChange();
}

void Icon::LoadFromResource(HINSTANCE module, const char* name, int size) {
  using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  HICON icon = nullptr;
  // For a size the resource has no image of, the common controls (version 6) shrink the next
  // larger image, which stays sharper than the nearest one stretched, as LoadImage would.
  static const auto scaleDown = NewerSystemFunction<LoadIconWithScaleDownFunction>(
      "comctl32.dll", "LoadIconWithScaleDown");
  if (size > 0 && scaleDown && IS_INTRESOURCE(name) &&
      FAILED(scaleDown(module, MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(name))), size,
                       size, &icon))) {
    icon = nullptr;
  }
  // No LR_SHARED: the handle is ours to destroy (so is the one above).
  if (!icon) icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, size, size, 0));
  if (!icon) throw launch::Error("Cannot load the icon resource");
  Adopt(icon);
}

ImageList::ImageList(Component* owner, int width, int height)
    : Component(owner),
      list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {
  if (!list_) throw launch::Error("Cannot create an image list");
}

int ImageList::Count() const { return ImageList_GetImageCount(list_.get()); }

void ImageList::Add(HICON icon) {
  if (ImageList_AddIcon(list_.get(), icon) < 0) {
    throw launch::Error("Cannot add the image to the list");
  }
}

void ImageList::Replace(int index, HICON icon) {
  CheckIndex(index, Count());
  if (ImageList_ReplaceIcon(list_.get(), index, icon) < 0) {
    throw launch::Error("Cannot replace the image in the list");
  }
}

void ImageList::GetIcon(int index, Icon& dest) const {
  CheckIndex(index, Count());
  dest.Adopt(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

}  // namespace wingui
