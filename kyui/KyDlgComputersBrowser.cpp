// The network computers browser.
#include "kyui/KyDlgComputersBrowser.h"

#include <windows.h>
#include <commctrl.h>
#include <lm.h>
#include <mbstring.h>

#include <vector>

#include "kyui/KyWaitCursor.h"
#include "kyui/KyWinApp.h"
#include "kyui/res/KyResIds.h"

namespace {

const std::vector<std::string> kLibraries = {"KyRes.dll", "KyResEN.dll"};
const UINT kIconId = 146;
const COLORREF kTransparent = RGB(0, 255, 0);
const int kColumnMargin = 16;
const size_t kMaxItemText = 65536;

std::string AnsiFromWide(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size) - 1);
  return result;
}

// Frees the buffer NetServerEnum hands out, also on the error paths that return one.
class KyNetApiBuffer {
 public:
  KyNetApiBuffer() = default;
  KyNetApiBuffer(const KyNetApiBuffer&) = delete;
  KyNetApiBuffer& operator=(const KyNetApiBuffer&) = delete;
  ~KyNetApiBuffer() {
    if (m_buffer != nullptr) NetApiBufferFree(m_buffer);
  }
  LPBYTE* Receive() { return &m_buffer; }
  const SERVER_INFO_100* GetServers() const { return reinterpret_cast<const SERVER_INFO_100*>(m_buffer); }

 private:
  LPBYTE m_buffer = nullptr;
};

}  // namespace

bool KyComputerNameLess::operator()(const std::string& a, const std::string& b) const {
  return _mbscmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b.c_str())) <
         0;
}

KyDlgComputersBrowser::KyDlgComputersBrowser(HWND parent)
    : KyLoadedDialog(kLibraries, IDD_COMPUTERS_BROWSER, parent), m_resources(new KyResourceModule(kLibraries)) {
  Init();
}

KyDlgComputersBrowser::KyDlgComputersBrowser(const KyComputerNames& names, HWND parent)
    : KyLoadedDialog(kLibraries, IDD_COMPUTERS_BROWSER, parent),
      m_resources(new KyResourceModule(kLibraries)),
      m_names(names) {
  Init();
}

void KyDlgComputersBrowser::Init() {
  m_icon = LoadIconA(KyGetResourceHandle(), MAKEINTRESOURCEA(kIconId));
  m_images.Reset(ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 1));
  KyBitmap picture(m_resources->LoadBitmap(IDB_COMPUTER));
  if (m_images.IsValid() && picture.IsValid()) ImageList_AddMasked(m_images.Get(), picture.Get(), kTransparent);
}

void KyDlgComputersBrowser::DoDataExchange(KyDataExchange& dx) {
  if (m_list == nullptr) m_list = dx.PrepareControl(IDC_COMPUTER_LIST);
  KyDdxText(dx, IDC_COMPUTER_NAME, m_selectedName);
}

BOOL KyDlgComputersBrowser::OnInitDialog() {
  KyLoadedDialog::OnInitDialog();
  SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

  std::string heading = m_resources->LoadString(IDS_COMPUTER_COLUMN);
  RECT client = {};
  GetClientRect(m_list, &client);
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
  column.fmt = LVCFMT_LEFT;
  column.cx = client.right - client.left - kColumnMargin;
  column.pszText = &heading[0];
  SendMessageA(m_list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

  ListView_SetImageList(m_list, m_images.Get(), LVSIL_SMALL);
  ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT);

  for (const std::string& name : m_names) InsertName(name);
  if (ListView_GetItemCount(m_list) == 0) {
    Refresh();
    // Nothing to choose from: the caller tells the user to type the name instead.
    if (m_error != 0) EndDialog(IDABORT);
  } else {
    SelectFirstItem();
    m_selectedName = GetItemText(0);
  }
  return TRUE;
}

void KyDlgComputersBrowser::OnDestroy() {
  // The list would destroy the image list it holds; the member owns it.
  if (m_list != nullptr) ListView_SetImageList(m_list, nullptr, LVSIL_SMALL);
  m_list = nullptr;
}

void KyDlgComputersBrowser::Refresh() {
  KyWaitCursor wait;
  m_names.clear();
  ListView_DeleteAllItems(m_list);

  KyNetApiBuffer buffer;
  DWORD read = 0;
  DWORD total = 0;
  m_error = static_cast<int>(
      NetServerEnum(nullptr, 100, buffer.Receive(), MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_NT, nullptr, nullptr));
  if (m_error != 0) return;

  const SERVER_INFO_100* servers = buffer.GetServers();
  for (DWORD i = 0; servers != nullptr && i < read; ++i) {
    const std::string name = AnsiFromWide(servers[i].sv100_name);
    InsertName(name);
    m_names.insert(name);
  }
  if (ListView_GetItemCount(m_list) == 0) return;
  SelectFirstItem();
  const int selected = GetSelectedIndex();
  if (selected < 0) return;
  m_selectedName = GetItemText(selected);
  SetDlgItemTextA(m_hwnd, IDC_COMPUTER_NAME, m_selectedName.c_str());
}

bool KyDlgComputersBrowser::OnCommand(int id, int code, HWND control) {
  if (id == IDC_REFRESH && code == BN_CLICKED) {
    Refresh();
    return true;
  }
  return false;
}

bool KyDlgComputersBrowser::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->hwndFrom != m_list || m_list == nullptr) return false;
  if (header->code == LVN_ITEMCHANGED) {
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0) {
      const int selected = GetSelectedIndex();
      if (selected >= 0) {
        m_selectedName = GetItemText(selected);
        SetDlgItemTextA(m_hwnd, IDC_COMPUTER_NAME, m_selectedName.c_str());
      }
    }
    result = 0;
    return true;
  }
  if (header->code == NM_DBLCLK) {
    OnOK();
    result = 0;
    return true;
  }
  return false;
}

void KyDlgComputersBrowser::OnOK() {
  const int selected = GetSelectedIndex();
  if (selected >= 0) m_selectedName = GetItemText(selected);
  // The edit field is read last: a name typed after the selection wins.
  KyLoadedDialog::OnOK();
}

void KyDlgComputersBrowser::InsertName(const std::string& name) {
  std::string text = name;
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = ListView_GetItemCount(m_list);
  item.iImage = 0;
  item.pszText = &text[0];
  SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void KyDlgComputersBrowser::SelectFirstItem() {
  ListView_SetItemState(m_list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int KyDlgComputersBrowser::GetSelectedIndex() const {
  if (m_list == nullptr) return -1;
  return static_cast<int>(ListView_GetNextItem(m_list, -1, LVNI_SELECTED));
}

std::string KyDlgComputersBrowser::GetItemText(int index) const {
  std::vector<char> buffer(256);
  for (;;) {
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length = SendMessageA(m_list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= kMaxItemText) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}
