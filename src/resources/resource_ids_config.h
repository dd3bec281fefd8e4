/* Control identifiers of the unit configuration pages (plain defines for the resource
   compiler). */
#ifndef QTA1_RESOURCE_IDS_CONFIG_H
#define QTA1_RESOURCE_IDS_CONFIG_H

#endif
