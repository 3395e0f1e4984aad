// The Simple MAPI mail sender and its run-time binding of "MAPI32.DLL".
#include "config/CSimpleMapiMailSender.h"

#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KySimpleArray.h"
#include "kybase/KyString.h"

CSimpleMapiWrapper::CSimpleMapiWrapper(const char* libraryName) : m_module(LoadLibraryA(libraryName)) {}

CSimpleMapiWrapper::~CSimpleMapiWrapper() {
  if (m_module != nullptr) FreeLibrary(m_module);
}

ULONG CSimpleMapiWrapper::MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags,
                                       ULONG reserved) {
  if (m_module == nullptr) return 0;
  const auto send = reinterpret_cast<LPMAPISENDMAIL>(
      reinterpret_cast<void (*)()>(GetProcAddress(m_module, "MAPISendMail")));
  if (send == nullptr) return 0;
  return send(session, uiParam, message, flags, reserved);
}

CSimpleMapiMailSender::TextPair CSimpleMapiMailSender::MakePair(const std::string& first,
                                                                const std::string& second) {
  // A cut name, address or path would send the mail to the wrong place or attach the
  // wrong file: refuse it instead.
  for (const std::string* text : {&first, &second}) {
    if (text->size() > kMaxText)
      throw Error::KyExceptionText(
          Ky::Format("The text '%s' is too long for the mail (at most %u characters).", text->c_str(),
                     static_cast<unsigned>(kMaxText)));
  }
  TextPair pair = {};  // zero-filled after the text, as strncpy leaves it
  std::memcpy(pair.first, first.data(), first.size());
  std::memcpy(pair.second, second.data(), second.size());
  return pair;
}

void CSimpleMapiMailSender::AddRecipient(std::string displayName, std::string address) {
  m_recipients.push_back(MakePair(displayName, address));
}

void CSimpleMapiMailSender::AddAttachment(std::string fileName, std::string path) {
  m_attachments.push_back(MakePair(fileName, path));
}

void CSimpleMapiMailSender::Send(HWND window, const char* libraryName) const {
  CSimpleMapiWrapper mapi(libraryName);
  if (!mapi.IsLoaded()) return;

  KySimpleArrayT<MapiRecipDesc> recipients(static_cast<uint32_t>(m_recipients.size()));
  for (size_t i = 0; i < m_recipients.size(); ++i) {
    MapiRecipDesc& recipient = recipients.GetData()[i];
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = const_cast<char*>(m_recipients[i].first);
    recipient.lpszAddress = const_cast<char*>(m_recipients[i].second);
  }
  KySimpleArrayT<MapiFileDesc> files(static_cast<uint32_t>(m_attachments.size()));
  for (size_t i = 0; i < m_attachments.size(); ++i) {
    MapiFileDesc& file = files.GetData()[i];
    file.nPosition = static_cast<ULONG>(-1);  // not placed inside the body text
    file.lpszPathName = const_cast<char*>(m_attachments[i].second);
    file.lpszFileName = const_cast<char*>(m_attachments[i].first);
  }
  MapiMessage message = {};
  message.lpszSubject = const_cast<char*>(m_subject.c_str());
  message.nRecipCount = recipients.GetCount();
  message.lpRecips = recipients.GetData();
  message.nFileCount = files.GetCount();
  message.lpFiles = files.GetData();

  // The mail program's dialogs are modal to the window: keep the mouse and the keyboard
  // away from it until the call returns.
  if (window != nullptr) SetCapture(window);
  SetFocus(nullptr);
  mapi.MAPISendMail(0, reinterpret_cast<ULONG_PTR>(window), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
  if (window != nullptr) ReleaseCapture();
}
