// Control identifiers of the unit configuration pages: each page's controls are
// numbered from its first one (the page table's row says where its block
// starts) in the order named here.
#pragma once

#include "resources/control_ids.h"


/* Dampers (page 2): injection damper Md1, exhaust damper Md2. */
enum : int {
    IDC_DAMPERS_INJ_OFF = QTA1_FIRST_CONTROL(Dampers),
    IDC_DAMPERS_INJ_MANUAL,
    IDC_DAMPERS_INJ_AUTO,
    IDC_DAMPERS_INJ_IN,
    IDC_DAMPERS_INJ_OUT,
    IDC_DAMPERS_INJ_0_10,
    IDC_DAMPERS_INJ_2_10,
    IDC_DAMPERS_INJ_INVERT,
    IDC_DAMPERS_EXH_OFF,
    IDC_DAMPERS_EXH_MANUAL,
    IDC_DAMPERS_EXH_AUTO,
    IDC_DAMPERS_EXH_IN,
    IDC_DAMPERS_EXH_OUT,
    IDC_DAMPERS_EXH_0_10,
    IDC_DAMPERS_EXH_2_10,
    IDC_DAMPERS_EXH_INVERT,
    IDC_DAMPERS_MIN_FRESH_AIR,
    IDC_DAMPERS_READ,
    IDC_DAMPERS_WRITE,
};
QTA1_CONTROLS_FIT(Dampers, IDC_DAMPERS_WRITE);

/* Configuring QTA1+2 (page 9). */
enum : int {
    IDC_QTA12_EXCHANGER = QTA1_FIRST_CONTROL(ConfigQta12),
    IDC_QTA12_BYPASS,
    IDC_QTA12_ROTATING,
    IDC_QTA12_BATTERY,
    IDC_QTA12_DEICING,
    IDC_QTA12_HEATING_SURFACE,
    IDC_QTA12_ANTIFROST,
    IDC_QTA12_NO_UPWARMING,
    IDC_QTA12_SUMMER_STOP,
    IDC_QTA12_NIGHT_LOWERING,
    IDC_QTA12_REPLACE_AIR,
    IDC_QTA12_FREECOOLING,
    IDC_QTA12_OUTDOOR_SENSOR,
    IDC_QTA12_MORNING_HEATING,
    IDC_QTA12_PASSWORD,
    IDC_QTA12_WRITE,
};
QTA1_CONTROLS_FIT(ConfigQta12, IDC_QTA12_WRITE);

/* Configuring QTA3 (page 10). */
enum : int {
    IDC_QTA3_RECIRCULATION = QTA1_FIRST_CONTROL(ConfigQta3),
    IDC_QTA3_COOLING_SURFACE,
    IDC_QTA3_COOL_DOWN,
    IDC_QTA3_COOLING_EXCHANGER,
    IDC_QTA3_PASSWORD,
    IDC_QTA3_WRITE,
};
QTA1_CONTROLS_FIT(ConfigQta3, IDC_QTA3_WRITE);

/* Config HVAC (page 27): a grid of 7 mode rows by 4 function columns; the
   box of row r (0 HVAC_HEAT .. 6 HVAC_FREE_COOL) and column c (0 Ind, 1 Ud,
   2 Genv, 3 Varme) is IDC_HVAC_GRID + 4 r + c. */
enum : int {
    IDC_HVAC_GRID = QTA1_FIRST_CONTROL(ConfigHvac),
    IDC_HVAC_PASSWORD = IDC_HVAC_GRID + 28,
    IDC_HVAC_READ,
    IDC_HVAC_WRITE,
};
QTA1_CONTROLS_FIT(ConfigHvac, IDC_HVAC_WRITE);
#define IDC_HVAC_BOX(r, c) (IDC_HVAC_GRID + 4 * (r) + (c))
