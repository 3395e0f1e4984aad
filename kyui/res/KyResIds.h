// Resource identifiers of the dialog library's resource libraries (KyRes.dll, KyResEN.dll).
#pragma once

#define IDD_COMPUTERS_BROWSER 133
#define IDB_COMPUTER 134
#define IDS_COMPUTER_COLUMN 156

#define IDC_COMPUTER_LIST 1007
#define IDC_COMPUTER_NAME 1009
#define IDC_REFRESH 1010
