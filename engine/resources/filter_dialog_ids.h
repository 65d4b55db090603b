#pragma once
// Template and control ids of the options dialog (resource 113).
#define IDD_FILTER 113
#define IDC_FILTER_FOLDERS 101
#define IDC_FILTER_FILES 102
#define IDC_FILTER_TYPES 103
#define IDC_FILTER_AUTO_RUN 104
#define IDC_FILTER_LOGOUT 105
#define IDC_FILTER_RESTART 106
