// Move-only owners of GDI and USER objects (fonts, bitmaps, cursors, image lists, windows),
// built on the handle template of the foundation, and a scoped object selection.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "kybase/KyHandle.h"

namespace KyHandlePolicy {

template <class THandle>
struct GdiObject {
  using Handle = THandle;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};

// Only for cursors this program owns (CopyIcon, CreateCursor), never for shared ones.
struct Cursor {
  using Handle = HCURSOR;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyCursor(h); }
};

struct Icon {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};

struct ImageList {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::ImageList_Destroy(h); }
};

struct Window {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) {
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
};

}  // namespace KyHandlePolicy

using KyFont = KyHandleT<KyHandlePolicy::GdiObject<HFONT>>;
using KyBitmap = KyHandleT<KyHandlePolicy::GdiObject<HBITMAP>>;
using KyPen = KyHandleT<KyHandlePolicy::GdiObject<HPEN>>;
using KyBrush = KyHandleT<KyHandlePolicy::GdiObject<HBRUSH>>;
using KyCursor = KyHandleT<KyHandlePolicy::Cursor>;
using KyIcon = KyHandleT<KyHandlePolicy::Icon>;
using KyImageList = KyHandleT<KyHandlePolicy::ImageList>;
using KyWindow = KyHandleT<KyHandlePolicy::Window>;

// Selects an object into a device context and selects the previous one back on scope exit.
class KySelectObject {
 public:
  KySelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
  KySelectObject(const KySelectObject&) = delete;
  KySelectObject& operator=(const KySelectObject&) = delete;
  ~KySelectObject() {
    if (m_previous != nullptr && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
  }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};
