// Resource identifiers of the dialog-layer tests.
#pragma once

#define IDD_EXCHANGE 300
#define IDD_PAGE_A 301
#define IDD_PAGE_B 302
#define IDD_PAGE_C 303
#define IDS_TITLE 310
#define IDS_SUBTITLE 311

#define IDC_TEXT 400
#define IDC_RADIO_FIRST 401
#define IDC_LABEL 402
#define IDC_RADIO_SECOND 403
#define IDC_RADIO_THIRD 404
#define IDC_NUMBER 405
#define IDC_CHECK 406
#define IDC_COMBO 407
