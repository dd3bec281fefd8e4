// Control identifiers of the housekeeping pages: each page's controls are
// numbered from its first one (the page table's row says where its block
// starts) in the order named here.
#pragma once

#include "resources/control_ids.h"

/* Node Information (page 12). */
enum : int {
    IDC_NODEINFO_NAME = QTA1_FIRST_CONTROL(NodeInformation),
    IDC_NODEINFO_USER,
    IDC_NODEINFO_TECHNICIAN,
    IDC_NODEINFO_VERSION,
};
QTA1_CONTROLS_FIT(NodeInformation, IDC_NODEINFO_VERSION);

/* Set Time (page 16). */
enum : int {
    IDC_SETTIME_PC_DATE = QTA1_FIRST_CONTROL(SetTime),
    IDC_SETTIME_PC_TIME,
    IDC_SETTIME_NODE_DATE,
    IDC_SETTIME_NODE_TIME,
    IDC_SETTIME_SYNC,
};
QTA1_CONTROLS_FIT(SetTime, IDC_SETTIME_SYNC);

/* Import / Export (page 25). */
enum : int {
    IDC_IMPEXP_NODENAME = QTA1_FIRST_CONTROL(ImportExport),
    IDC_IMPEXP_FILENAME,
    IDC_IMPEXP_DEFAULT,
    IDC_IMPEXP_SAVE,
    IDC_IMPEXP_READ,
    IDC_IMPEXP_FACTORY,
    IDC_IMPEXP_PASSWORD,
    IDC_IMPEXP_COMPARE,
    IDC_IMPEXP_COMPARE_NODE,
    IDC_IMPEXP_COMPARE_FACTORY,
    IDC_IMPEXP_BACKUPS,
    IDC_IMPEXP_BACKUP_PREVIEW,
    IDC_IMPEXP_VERIFY,
    IDC_IMPEXP_CHANGES,
};
QTA1_CONTROLS_FIT(ImportExport, IDC_IMPEXP_CHANGES);
