// Control identifiers of the regulation pages: each page's controls are
// numbered from its first one (the page table's row says where its block
// starts) in the order named here.
#pragma once

#include "resources/control_ids.h"

/* PID (page 11): the grid in screen order, rows Heat, Recirculation,
   Exchanger, Cooling; columns P, I, D. */
enum : int {
    IDC_PID_HEAT_P = QTA1_FIRST_CONTROL(Pid),
    IDC_PID_HEAT_I,
    IDC_PID_HEAT_D,
    IDC_PID_RECIRC_P,
    IDC_PID_RECIRC_I,
    IDC_PID_RECIRC_D,
    IDC_PID_EXCH_P,
    IDC_PID_EXCH_I,
    IDC_PID_EXCH_D,
    IDC_PID_COOL_P,
    IDC_PID_COOL_I,
    IDC_PID_COOL_D,
    IDC_PID_PASSWORD,
    IDC_PID_READ,
    IDC_PID_WRITE,
};
QTA1_CONTROLS_FIT(Pid, IDC_PID_WRITE);

/* Heating surface (page 4): valve and pump modes, the valve's manual
   position and output, the pump's state, the valve's signal settings. */
enum : int {
    IDC_HEAT_VALVE_OFF = QTA1_FIRST_CONTROL(HeatingSurface),
    IDC_HEAT_VALVE_MANUAL,
    IDC_HEAT_VALVE_AUTO,
    IDC_HEAT_VALVE_IN,
    IDC_HEAT_VALVE_OUT,
    IDC_HEAT_PUMP_OFF,
    IDC_HEAT_PUMP_MANUAL,
    IDC_HEAT_PUMP_AUTO,
    IDC_HEAT_PUMP_OUT,
    IDC_HEAT_0_10,
    IDC_HEAT_2_10,
    IDC_HEAT_INVERT,
    IDC_HEAT_READ,
    IDC_HEAT_WRITE,
};
QTA1_CONTROLS_FIT(HeatingSurface, IDC_HEAT_WRITE);

/* Temperatures (page 5): reading and offset of each sensor, the two
   calculated set-points, and the button that opens the trend. */
enum : int {
    IDC_TEMPS_BS1_ACTUAL = QTA1_FIRST_CONTROL(Temperatures),
    IDC_TEMPS_BS1_OFFSET,
    IDC_TEMPS_BS2_ACTUAL,
    IDC_TEMPS_BS2_OFFSET,
    IDC_TEMPS_BS3_ACTUAL,
    IDC_TEMPS_BS3_OFFSET,
    IDC_TEMPS_CALC_SPACE,
    IDC_TEMPS_CALC_INJECTION,
    IDC_TEMPS_READ,
    IDC_TEMPS_WRITE,
    IDC_TEMPS_TREND,
};
QTA1_CONTROLS_FIT(Temperatures, IDC_TEMPS_TREND);

/* Calc injection temp (page 17). */
enum : int {
    IDC_CALCINJ_CALC_SETPOINT = QTA1_FIRST_CONTROL(CalcInjection),
    IDC_CALCINJ_MAX,
    IDC_CALCINJ_CALC,
    IDC_CALCINJ_MIN,
    IDC_CALCINJ_NIGHT_LOWERING,
    IDC_CALCINJ_BOOST_NIGHT,
    IDC_CALCINJ_P,
    IDC_CALCINJ_I,
    IDC_CALCINJ_D,
    IDC_CALCINJ_DB_COOL,
    IDC_CALCINJ_DB_HEAT,
    IDC_CALCINJ_SETPOINT,
    IDC_CALCINJ_INJECTION_TEMP,
    IDC_CALCINJ_EXHAUST_TEMP,
    IDC_CALCINJ_READ,
    IDC_CALCINJ_WRITE,
};
QTA1_CONTROLS_FIT(CalcInjection, IDC_CALCINJ_WRITE);

/* Exchanger (page 18): mode, manual position, running state and output,
   signal settings. */
enum : int {
    IDC_EXCH_OFF = QTA1_FIRST_CONTROL(Exchanger),
    IDC_EXCH_MANUAL,
    IDC_EXCH_AUTO,
    IDC_EXCH_IN,
    IDC_EXCH_RUNNING,
    IDC_EXCH_OUT,
    IDC_EXCH_0_10,
    IDC_EXCH_2_10,
    IDC_EXCH_INVERT,
    IDC_EXCH_READ,
    IDC_EXCH_WRITE,
};
QTA1_CONTROLS_FIT(Exchanger, IDC_EXCH_WRITE);

/* Calc. space temp (page 19). */
enum : int {
    IDC_CALCSPACE_CALC_SETPOINT = QTA1_FIRST_CONTROL(CalcSpace),
    IDC_CALCSPACE_WINTER_OUTDOOR,
    IDC_CALCSPACE_WINTER_SETPOINT,
    IDC_CALCSPACE_SUMMER_OUTDOOR,
    IDC_CALCSPACE_SUMMER_SETPOINT,
    IDC_CALCSPACE_OUTDOOR_TEMP,
    IDC_CALCSPACE_CALC,
    IDC_CALCSPACE_READ,
    IDC_CALCSPACE_WRITE,
};
QTA1_CONTROLS_FIT(CalcSpace, IDC_CALCSPACE_WRITE);

/* Antifrost (page 20). */
enum : int {
    IDC_ANTIFROST_START = QTA1_FIRST_CONTROL(Antifrost),
    IDC_ANTIFROST_STOP,
    IDC_ANTIFROST_RETURN,
    IDC_ANTIFROST_OUTDOOR,
    IDC_ANTIFROST_STATUS,
    IDC_ANTIFROST_READ,
    IDC_ANTIFROST_WRITE,
};
QTA1_CONTROLS_FIT(Antifrost, IDC_ANTIFROST_WRITE);

/* Exercise - Deicing (page 22). */
enum : int {
    IDC_EXERCISE_PUMP = QTA1_FIRST_CONTROL(ExerciseDeicing),
    IDC_EXERCISE_VALVE,
    IDC_EXERCISE_DEICING,
    IDC_EXERCISE_READ,
    IDC_EXERCISE_WRITE,
};
QTA1_CONTROLS_FIT(ExerciseDeicing, IDC_EXERCISE_WRITE);

/* Temp Start-up (page 23). */
enum : int {
    IDC_STARTUP_OUTDOOR = QTA1_FIRST_CONTROL(TempStartup),
    IDC_STARTUP_RETURN,
    IDC_STARTUP_ACTUAL_OUTDOOR,
    IDC_STARTUP_STATUS,
    IDC_STARTUP_50_HEAT,
    IDC_STARTUP_0_HEAT,
    IDC_STARTUP_0_RECYCLE,
    IDC_STARTUP_READ,
    IDC_STARTUP_WRITE,
};
QTA1_CONTROLS_FIT(TempStartup, IDC_STARTUP_WRITE);

/* Low temp injection (page 24). */
enum : int {
    IDC_LOWTEMP_STOP = QTA1_FIRST_CONTROL(LowTempInjection),
    IDC_LOWTEMP_CALC,
    IDC_LOWTEMP_OFFSET,
    IDC_LOWTEMP_ACTUAL,
    IDC_LOWTEMP_TIME,
    IDC_LOWTEMP_READ,
    IDC_LOWTEMP_WRITE,
};
QTA1_CONTROLS_FIT(LowTempInjection, IDC_LOWTEMP_WRITE);
