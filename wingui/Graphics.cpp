#include "wingui/Graphics.h"

#include "launch/Errors.h"

namespace wingui {

void Icon::Assign(const Icon& source) {
  if (&source == this) return;
  LoadFromHandle(source.Handle());
}

void Icon::LoadFromHandle(HICON icon) {
  // CopyIcon keeps the size and colours of the source; an empty source empties us.
  handle_.reset(icon ? CopyIcon(icon) : nullptr);
  Changed();
}

void Icon::Adopt(HICON icon) {
  handle_.reset(icon);
  Changed();
}

void Icon::LoadFromResource(HINSTANCE module, const char* name, int size) {
  // No LR_SHARED: the handle is ours to destroy.
  auto icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, size, size, 0));
  if (!icon) throw launch::Error("Cannot load the icon resource");
  Adopt(icon);
}

void Icon::Clear() {
  handle_.reset();
  Changed();
}

void Icon::Changed() {
  if (OnChange) OnChange();
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
  if (index < 0 || index >= Count() || ImageList_ReplaceIcon(list_.get(), index, icon) < 0) {
    throw launch::Error("Image index out of range");
  }
}

void ImageList::GetIcon(int index, Icon& dest) const {
  if (index < 0 || index >= Count()) {
    dest.Clear();
    return;
  }
  dest.Adopt(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

}  // namespace wingui
