// The light header band across the top of a page or dialog: a description text and an
// optional picture on the right.
#pragma once

#include <windows.h>

#include <string>

#include "kyui/KyGdi.h"

class KyDialogHeaderDrawer {
 public:
  // Where Paint puts things for a client rectangle (all in client coordinates).
  struct Layout {
    RECT band;
    RECT textArea;
    POINT picture;  // meaningful only when there is a picture
    bool hasPicture;
  };

  KyDialogHeaderDrawer();
  KyDialogHeaderDrawer(const KyDialogHeaderDrawer&) = delete;
  KyDialogHeaderDrawer& operator=(const KyDialogHeaderDrawer&) = delete;
  virtual ~KyDialogHeaderDrawer() = default;

  void Init(HWND window, int height, const std::string& text);
  // Also the picture: the bitmap is copied into an image list with transparent as its mask
  // colour; the caller keeps the bitmap.
  void Init(HWND window, int height, const std::string& text, HBITMAP bitmap, COLORREF transparent);

  void Paint(HDC dc) const;

  Layout GetLayout(const RECT& client) const;
  int GetHeight() const { return m_height; }
  const std::string& GetText() const { return m_text; }
  HFONT GetFont() const { return m_font.Get(); }
  SIZE GetPictureSize() const { return m_pictureSize; }

 private:
  HWND m_window = nullptr;
  int m_height = 100;
  SIZE m_pictureSize = {0, 0};
  KyImageList m_images;
  std::string m_text;
  KyFont m_font;
};

// The client height of a dialog's control (the hidden frame that marks the header area); 0
// when the control is missing.
int KyGetControlClientHeight(HWND dialog, int id);
