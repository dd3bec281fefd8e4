/* Control identifiers of the regulation pages (plain defines for the resource
   compiler). */
#ifndef QTA1_RESOURCE_IDS_REGULATION_H
#define QTA1_RESOURCE_IDS_REGULATION_H

/* PID (page 11): the grid in screen order, rows Heat, Recirculation,
   Exchanger, Cooling; columns P, I, D. */
#define IDC_PID_HEAT_P 2101
#define IDC_PID_HEAT_I 2102
#define IDC_PID_HEAT_D 2103
#define IDC_PID_RECIRC_P 2104
#define IDC_PID_RECIRC_I 2105
#define IDC_PID_RECIRC_D 2106
#define IDC_PID_EXCH_P 2107
#define IDC_PID_EXCH_I 2108
#define IDC_PID_EXCH_D 2109
#define IDC_PID_COOL_P 2110
#define IDC_PID_COOL_I 2111
#define IDC_PID_COOL_D 2112
#define IDC_PID_PASSWORD 2113
#define IDC_PID_READ 2114
#define IDC_PID_WRITE 2115

#endif
