// Identifiers of the window's resources and controls, read by the resource
// script and by the code.
#ifndef FENMARQ_APP_WIN32_RESOURCE_H_
#define FENMARQ_APP_WIN32_RESOURCE_H_

// The main dialog's controls, shared with the Qt window.
#include "app/dialog_layout.h"

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101  // the system-menu item that opens the version dialog
#define IDD_ORVATCH_DIALOG 102
#define IDR_MAINFRAME 128  // the application icon
#define IDS_FILE_FILTER 201

#endif  // FENMARQ_APP_WIN32_RESOURCE_H_
