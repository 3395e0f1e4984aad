// Test helpers for windows of this process: a watcher that answers message boxes from a
// second thread and records what they said, and waiting for a condition.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct KyShownBox {
  std::string caption;
  std::string text;
};

// Closes every message box of this process (a dialog with the text static 0xFFFF) as soon
// as it appears, after recording its caption and text.
class KyMessageBoxWatcher {
 public:
  KyMessageBoxWatcher();
  ~KyMessageBoxWatcher();
  std::vector<KyShownBox> GetBoxes() const;

 private:
  void Run();

  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::vector<KyShownBox> m_boxes;
  std::thread m_thread;
};

// Polls condition until it holds or timeoutMs passed; the result of the last poll.
bool KyWaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// A top-level window of this process with the given caption, or null.
HWND KyFindOwnWindow(const std::string& caption);
