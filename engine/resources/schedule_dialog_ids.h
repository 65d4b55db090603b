#pragma once
// Template and control ids of the schedule dialog (resource 112).
#define IDD_SCHEDULE 112
// Created at run time: the volume list and the select-all box in its header.
#define IDC_SCHEDULE_VOLUMES 110
#define IDC_SCHEDULE_SELECT_ALL 111
