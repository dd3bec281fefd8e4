// Control identifiers of the status and alarm pages: each page's controls are
// numbered from its first one (the page table's row says where its block
// starts) in the order named here.
#pragma once

#include "resources/control_ids.h"

/* Running Hours (page 3): the five counters and their "Reset" buttons. */
enum : int {
    IDC_HOURS_VENTILATING = QTA1_FIRST_CONTROL(RunningHours),
    IDC_HOURS_PUMP,
    IDC_HOURS_INJECTION_MOTOR,
    IDC_HOURS_EXHAUST_MOTOR,
    IDC_HOURS_EXCHANGER,
    IDC_HOURS_RESET_VENTILATING,
    IDC_HOURS_RESET_PUMP,
    IDC_HOURS_RESET_INJECTION_MOTOR,
    IDC_HOURS_RESET_EXHAUST_MOTOR,
    IDC_HOURS_RESET_EXCHANGER,
};
QTA1_CONTROLS_FIT(RunningHours, IDC_HOURS_RESET_EXCHANGER);

/* Status - Regulator (page 7): the four outputs, heating or cooling, and the
   button that opens the trend. */
enum : int {
    IDC_REGULATOR_HEATING = QTA1_FIRST_CONTROL(StatusRegulator),
    IDC_REGULATOR_EXCHANGER,
    IDC_REGULATOR_RECYCLING,
    IDC_REGULATOR_COOLING,
    IDC_REGULATOR_MODE,
    IDC_REGULATOR_TREND,
};
QTA1_CONTROLS_FIT(StatusRegulator, IDC_REGULATOR_TREND);

/* Alarms (page 8): flags of the injection and exhaust sides, and counters. */
enum : int {
    IDC_ALARMS_FIRE_INJECTION = QTA1_FIRST_CONTROL(Alarms),
    IDC_ALARMS_FIRE_EXHAUST,
    IDC_ALARMS_FROST_INJECTION,
    IDC_ALARMS_FROST_COUNT,
    IDC_ALARMS_ICED_EXHAUST,
    IDC_ALARMS_ICED_COUNT,
    IDC_ALARMS_MOTOR_INJECTION,
    IDC_ALARMS_MOTOR_EXHAUST,
    IDC_ALARMS_EXCHANGER_ERROR,
    IDC_ALARMS_PUMP_FAULT,
    IDC_ALARMS_LOW_INJECTION,
    IDC_ALARMS_COMMUNICATION,
    IDC_ALARMS_COMMUNICATION_COUNT,
};
QTA1_CONTROLS_FIT(Alarms, IDC_ALARMS_COMMUNICATION_COUNT);

/* Status (page 15): the rotary switch, the unit mode and the override. */
enum : int {
    IDC_STATUS_ROTARY_SWITCH = QTA1_FIRST_CONTROL(Status),
    IDC_STATUS_UNIT,
    IDC_STATUS_VENTILATION,
    IDC_STATUS_NIGHT,
    IDC_STATUS_DAY,
    IDC_STATUS_OFF,
    IDC_STATUS_EXTERNAL,
    IDC_STATUS_AUTO,
    IDC_STATUS_RESET_ALARM,
    IDC_STATUS_MANUAL_SWITCH,
    IDC_STATUS_READ,
    IDC_STATUS_WRITE,
};
QTA1_CONTROLS_FIT(Status, IDC_STATUS_WRITE);
