// The header band of pages and dialogs.
#include "kyui/KyDialogHeaderDrawer.h"

#include <commctrl.h>

KyDialogHeaderDrawer::KyDialogHeaderDrawer() {
  // Tahoma with a cell height of 13 pixels, normal weight.
  LOGFONTA font = {};
  font.lfHeight = 13;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
  m_font.Reset(CreateFontIndirectA(&font));
}

void KyDialogHeaderDrawer::Init(HWND window, int height, const std::string& text) {
  m_window = window;
  m_height = height;
  m_text = text;
}

void KyDialogHeaderDrawer::Init(HWND window, int height, const std::string& text, HBITMAP bitmap,
                                COLORREF transparent) {
  Init(window, height, text);
  BITMAP description = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof(description), &description) == 0) return;
  m_images.Reset(ImageList_Create(description.bmWidth, description.bmHeight, ILC_COLOR32 | ILC_MASK, 0, 1));
  if (!m_images || ImageList_AddMasked(m_images.Get(), bitmap, transparent) < 0) {
    m_images.Reset();
    return;
  }
  m_pictureSize.cx = description.bmWidth;
  m_pictureSize.cy = description.bmHeight;
}

KyDialogHeaderDrawer::Layout KyDialogHeaderDrawer::GetLayout(const RECT& client) const {
  Layout layout = {};
  layout.band = client;
  layout.band.bottom = layout.band.top + m_height;
  layout.textArea = layout.band;
  InflateRect(&layout.textArea, -10, -10);
  layout.hasPicture = m_pictureSize.cx > 0 && m_pictureSize.cy > 0;
  if (layout.hasPicture) {
    const int bandWidth = layout.band.right - layout.band.left;
    layout.picture.x = bandWidth - m_pictureSize.cx - 10;
    layout.picture.y = (m_height - m_pictureSize.cy) / 2;
    layout.textArea.right -= m_pictureSize.cx + 20;
  }
  return layout;
}

void KyDialogHeaderDrawer::Paint(HDC dc) const {
  if (m_window == nullptr || dc == nullptr) return;
  RECT client = {};
  GetClientRect(m_window, &client);
  Layout layout = GetLayout(client);

  KyBrush background(CreateSolidBrush(RGB(254, 254, 254)));
  FillRect(dc, &layout.band, background.Get());

  KyPen rule(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
  {
    KySelectObject pen(dc, rule.Get());
    MoveToEx(dc, layout.band.left, m_height - 2, nullptr);
    LineTo(dc, layout.band.right - 1, m_height - 2);
  }

  if (layout.hasPicture) ImageList_Draw(m_images.Get(), 0, dc, layout.picture.x, layout.picture.y, ILD_TRANSPARENT);

  KySelectObject font(dc, m_font.Get());
  DrawTextA(dc, m_text.c_str(), -1, &layout.textArea, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
}

int KyGetControlClientHeight(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT rect = {};
  if (control == nullptr || !GetClientRect(control, &rect)) return 0;
  return rect.bottom - rect.top;
}
