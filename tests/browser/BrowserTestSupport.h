// Running the computers browser modally on the test's thread while a second thread looks at
// and drives its window, and reading its controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "kyui/KyDlgComputersBrowser.h"

// The browser's caption in KyRes.dll.
extern const char kBrowserCaption[];

// Lets the loader find KyRes.dll (KY_KYRES_DIR) by the system's search order.
void UseResourceLibraryFolder();

// DoModal on this thread; drive runs on another thread with the dialog window once it is
// visible and must end the dialog. When the dialog ends without showing, drive is not run.
// visible tells whether drive ran.
INT_PTR RunBrowser(KyDlgComputersBrowser& browser, const std::function<void(HWND)>& drive, bool* visible = nullptr);

std::vector<std::string> GetListItems(HWND dialog);
int GetSelectedItem(HWND dialog);
void SelectItem(HWND dialog, int index);
std::string GetColumnHeading(HWND dialog);
std::string GetNameField(HWND dialog);
void SetNameField(HWND dialog, const std::string& text);
// The button's click as the dialog receives it; returns when handled.
void PressButton(HWND dialog, int id);
