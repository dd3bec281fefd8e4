/* Control identifiers of the schedule pages (plain defines for the resource
   compiler). */
#ifndef QTA1_RESOURCE_IDS_SCHEDULES_H
#define QTA1_RESOURCE_IDS_SCHEDULES_H

#endif
