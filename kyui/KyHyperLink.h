// A static text control turned into a link that opens a web page: underlined text, link
// and hover colours, a hand cursor and a tooltip.
#pragma once

#include <windows.h>

#include <string>

#include "kyui/KyDialogBase.h"
#include "kyui/KyGdi.h"

class KyHyperLink {
 public:
  // Room for the fallback browser command line, terminating zero included.
  static constexpr size_t kCommandBufferSize = MAX_PATH;
  static constexpr UINT_PTR kTimerId = 100;

  KyHyperLink();
  KyHyperLink(const KyHyperLink&) = delete;
  KyHyperLink& operator=(const KyHyperLink&) = delete;
  virtual ~KyHyperLink();

  // Takes over the dialog's control id; false when there is no such control or it is
  // taken over already.
  bool SubclassDlgItem(int id, HWND parent);
  bool SubclassWindow(HWND window);
  HWND GetSafeHwnd() const { return m_hwnd; }

  // What a click opens, and the tooltip text (the target when empty).
  void SetURL(const std::string& target, const std::string& tooltip);
  const std::string& GetURL() const { return m_target; }
  HWND GetToolTip() const { return m_toolTip.Get(); }

  // Opens target through the shell, else through the open command registered for ".htm";
  // the result is the shell's (or WinExec's) code, greater than 32 on success.
  static int GotoURL(const std::string& target, int showCommand);
  // The ".htm" open command cut before its "%1" placeholder, a blank and target; false
  // when the result would not fit kCommandBufferSize.
  static bool BuildOpenCommandLine(const std::string& command, const std::string& target, std::string& commandLine);
  // "Unable to open hyperlink:\n\n" and the description of code.
  static std::string GetErrorText(int code);
  void ReportError(int code) const;

  void PositionWindow();
  void SetDefaultCursor();
  void SetUnderline(int mode);

  bool IsOverControl() const { return m_overControl; }
  bool IsVisited() const { return m_visited; }
  COLORREF GetCurrentColour() const { return m_overControl ? m_hoverColour : m_linkColour; }
  HCURSOR GetLinkCursor() const { return m_linkCursor.Get(); }
  HFONT GetUnderlinedFont() const { return m_underlinedFont.Get(); }

 protected:
  virtual void PreSubclassWindow();
  virtual void OnClicked();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  void RedrawUnderControl();
  void OnMouseMove();
  void OnTimer(UINT_PTR id);
  void OnPaint();

  HWND m_hwnd = nullptr;
  WNDPROC m_originalProc = nullptr;

  std::string m_target;
  KyFont m_underlinedFont;
  KyFont m_normalFont;
  KyCursor m_linkCursor;
  KyWindow m_toolTip;
  COLORREF m_linkColour = RGB(0, 66, 255);
  COLORREF m_visitedColour = RGB(0, 66, 255);
  COLORREF m_hoverColour = RGB(178, 32, 38);
  bool m_overControl = false;
  bool m_visited = false;
  bool m_adjustToFit = true;
  UINT_PTR m_timerId = kTimerId;
  DWORD m_toolTipStyle = 0;
  RECT m_textRect = {};
  std::string m_text;
};
