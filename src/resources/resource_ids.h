/* Identifiers shared by the core and the resource compiler: plain defines
   only. The pages' dialogs and controls follow from their rows in the page
   table (page n: dialog 100 + n, controls from 1000 + 100 n + 1); the code
   gets the controls' names from here as well. */
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


/* The pages of each subsystem keep their control identifiers beside each
   other. */
#ifndef RC_INVOKED
#include "resources/resource_ids_housekeeping.h"
#include "resources/resource_ids_schedules.h"
#include "resources/resource_ids_status.h"
#include "resources/resource_ids_config.h"
#include "resources/resource_ids_regulation.h"
#endif

#endif
