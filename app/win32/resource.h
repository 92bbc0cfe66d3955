// Identifiers of the window's resources and controls, read by the resource
// script and by the code.
#ifndef FENMARQ_APP_WIN32_RESOURCE_H_
#define FENMARQ_APP_WIN32_RESOURCE_H_

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101  // the system-menu item that opens the version dialog
#define IDD_ORVATCH_DIALOG 102
#define IDR_MAINFRAME 128  // the application icon
#define IDS_FILE_FILTER 201

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_LOG 1000
#define IDC_START 1023
#define IDC_SBIN 1132
#define IDC_TARGETLIST 1133
#define IDC_SEARCH 1134
#define IDC_ADDTARGET 1135
#define IDC_DELETE 1136
#define IDC_FILENAME 1137
#define IDC_KIND 1138
#define IDC_INTERVAL 1139
#define IDC_YEAR 1140
#define IDC_MONTHDAY 1141
#define IDC_STATION 1142

#endif  // FENMARQ_APP_WIN32_RESOURCE_H_
