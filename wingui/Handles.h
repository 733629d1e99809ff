// Move-only owners for the Win32 handles the program creates. Never wrap what LoadIcon,
// LoadCursor or LR_SHARED returned: those belong to the system.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace wingui {

template <typename H, BOOL(WINAPI* Close)(H)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    H old = std::exchange(h_, h);
    if (old) Close(old);
  }

 private:
  H h_ = nullptr;
};

inline BOOL WINAPI DeleteFontObject(HFONT h) { return DeleteObject(h); }
inline BOOL WINAPI DeleteBrushObject(HBRUSH h) { return DeleteObject(h); }
inline BOOL WINAPI CloseKernelHandle(HANDLE h) { return CloseHandle(h); }

using UniqueHwnd = UniqueHandle<HWND, DestroyWindow>;
using UniqueHicon = UniqueHandle<HICON, DestroyIcon>;
using UniqueHmenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueHfont = UniqueHandle<HFONT, DeleteFontObject>;
using UniqueHbrush = UniqueHandle<HBRUSH, DeleteBrushObject>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
// A FindFirstFile search; only ever given a valid one (its failure is INVALID_HANDLE_VALUE).
using UniqueFindHandle = UniqueHandle<HANDLE, FindClose>;

// A window's device context for measuring text, with a font selected into it (when given)
// for the scope; false when the system gave none. Everything is put back at the end.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd, HFONT font = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_ && font) previous_ = SelectObject(dc_, font);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (!dc_) return;
    if (previous_) SelectObject(dc_, previous_);
    ReleaseDC(hwnd_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Owning COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters of CoCreateInstance and QueryInterface; releases what was held.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

}  // namespace wingui
