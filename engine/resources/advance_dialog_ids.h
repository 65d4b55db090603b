#pragma once
// Template and control ids of the advanced dialog (resource 2000).
#define IDD_ADVANCE 2000
#define IDC_ADVANCE_ADD_TASK 107
#define IDC_ADVANCE_EDIT_TASK 108
#define IDC_ADVANCE_REMOVE_TASK 109
#define IDC_ADVANCE_COMPANION_RUN 114
#define IDC_ADVANCE_COMPANION 2000
