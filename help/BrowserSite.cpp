// A deliberately small container: the control gets a window to live in and the area's
// rectangle, and the object it names active is kept for the keyboard; menus, borders, status
// text and accelerators of a frame are declined, since the help window has none of them.
#include "help/BrowserSite.h"

namespace help {

BrowserSite::BrowserSite(HWND area) : area_(area) {}

HRESULT BrowserSite::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IOleClientSite))) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(riid, __uuidof(IOleWindow)) ||
             IsEqualIID(riid, __uuidof(IOleInPlaceSite))) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(riid, __uuidof(IOleInPlaceUIWindow)) ||
             IsEqualIID(riid, __uuidof(IOleInPlaceFrame))) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG BrowserSite::AddRef() { return ++references_; }

ULONG BrowserSite::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT BrowserSite::SaveObject() { return E_NOTIMPL; }
HRESULT BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HRESULT BrowserSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}
HRESULT BrowserSite::ShowObject() { return S_OK; }
HRESULT BrowserSite::OnShowWindow(BOOL) { return S_OK; }
HRESULT BrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT BrowserSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = area_;
  return area_ ? S_OK : E_FAIL;
}
HRESULT BrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT BrowserSite::CanInPlaceActivate() { return area_ ? S_OK : S_FALSE; }
HRESULT BrowserSite::OnInPlaceActivate() { return S_OK; }
HRESULT BrowserSite::OnUIActivate() { return S_OK; }

HRESULT BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                      LPRECT position, LPRECT clip,
                                      LPOLEINPLACEFRAMEINFO frameInfo) {
  if (!frame || !doc || !position || !clip || !frameInfo) return E_POINTER;
  if (!area_) return E_FAIL;
  // The frame and the document window are the same object here; no separate document.
  *frame = this;
  AddRef();
  *doc = nullptr;
  GetClientRect(area_, position);
  *clip = *position;
  // Not an MDI frame, and no accelerators.
  *frameInfo = {sizeof(OLEINPLACEFRAMEINFO), FALSE, GetAncestor(area_, GA_ROOT), nullptr, 0};
  return S_OK;
}

HRESULT BrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT BrowserSite::OnUIDeactivate(BOOL) { return S_OK; }
HRESULT BrowserSite::OnInPlaceDeactivate() { return S_OK; }
HRESULT BrowserSite::DiscardUndoState() { return E_NOTIMPL; }
HRESULT BrowserSite::DeactivateAndUndo() { return E_NOTIMPL; }
HRESULT BrowserSite::OnPosRectChange(LPCRECT) { return S_OK; }

HRESULT BrowserSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
HRESULT BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
HRESULT BrowserSite::SetBorderSpace(LPCBORDERWIDTHS widths) {
  return widths ? OLE_E_INVALIDRECT : S_OK;
}
HRESULT BrowserSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (object) object->AddRef();
  *activeObject_.Put() = object;
  return S_OK;
}

HRESULT BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
HRESULT BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
HRESULT BrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT BrowserSite::SetStatusText(LPCOLESTR) { return S_OK; }
HRESULT BrowserSite::EnableModeless(BOOL) { return S_OK; }
HRESULT BrowserSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace help
