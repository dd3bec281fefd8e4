/* Control identifiers of the status and alarm pages (plain defines for the resource
   compiler). */
#ifndef QTA1_RESOURCE_IDS_STATUS_H
#define QTA1_RESOURCE_IDS_STATUS_H

#endif
