/* Dialog and control identifiers, shared by the core and the resource
   compiler: plain defines only. Page n (CPage<n>PropPage) has the dialog
   IDD_<PAGE> = 100 + n and its controls in the block 1000 + 100 n. */
#ifndef QTA1_RESOURCE_IDS_H
#define QTA1_RESOURCE_IDS_H

#define IDC_STATIC (-1)

#define IDB_QTA1 1
#define IDI_QTA1 2
#define IDS_QTA1 1
/* String 1, the control's type name: the registry entries name the class and
   its ProgID with it. */
#define QTA1_TYPE_NAME "QTA1 Control"
#define IDS_QTA1_PPG 2
#define IDD_ABOUTBOX_QTA1 100

#define IDD_DAMPERS 102
#define IDD_RUNNING_HOURS 103
#define IDD_HEATING_SURFACE 104
#define IDD_TEMPERATURES 105
#define IDD_CALENDER 106
#define IDD_STATUS_REGULATOR 107
#define IDD_ALARMS 108
#define IDD_CONFIG_QTA12 109
#define IDD_CONFIG_QTA3 110
#define IDD_PID 111
#define IDD_NODEINFO 112
#define IDD_FREECOOL 113
#define IDD_PIR 114
#define IDD_STATUS 115
#define IDD_SET_TIME 116
#define IDD_CALC_INJECTION 117
#define IDD_EXCHANGER 118
#define IDD_CALC_SPACE 119
#define IDD_ANTIFROST 120
#define IDD_EXTENDED_OPERATION 121
#define IDD_EXERCISE_DEICING 122
#define IDD_TEMP_STARTUP 123
#define IDD_LOW_TEMP_INJECTION 124
#define IDD_IMPORT_EXPORT 125
#define IDD_OPEN_CLOSE_TIMER 126
#define IDD_CONFIG_HVAC 127

/* Node Information (page 12). */
#define IDC_NODEINFO_NAME 2201
#define IDC_NODEINFO_USER 2202
#define IDC_NODEINFO_TECHNICIAN 2203
#define IDC_NODEINFO_VERSION 2204

/* Set Time (page 16). */
#define IDC_SETTIME_PC_DATE 2601
#define IDC_SETTIME_PC_TIME 2602
#define IDC_SETTIME_NODE_DATE 2603
#define IDC_SETTIME_NODE_TIME 2604
#define IDC_SETTIME_SYNC 2605

/* Import / Export (page 25). */
#define IDC_IMPEXP_NODENAME 3501
#define IDC_IMPEXP_FILENAME 3502
#define IDC_IMPEXP_DEFAULT 3503
#define IDC_IMPEXP_SAVE 3504
#define IDC_IMPEXP_READ 3505
#define IDC_IMPEXP_FACTORY 3506
#define IDC_IMPEXP_PASSWORD 3507
#define IDC_IMPEXP_COMPARE 3508
#define IDC_IMPEXP_COMPARE_NODE 3509
#define IDC_IMPEXP_COMPARE_FACTORY 3510
#define IDC_IMPEXP_BACKUPS 3511
#define IDC_IMPEXP_BACKUP_PREVIEW 3512
#define IDC_IMPEXP_VERIFY 3513

/* The pages of each subsystem keep their control identifiers beside each
   other. */
#include "resources/resource_ids_schedules.h"
#include "resources/resource_ids_status.h"
#include "resources/resource_ids_config.h"
#include "resources/resource_ids_regulation.h"

#endif
