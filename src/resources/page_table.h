/* The pages of the sheet, one row each: the page's identifier (which also
   names its layout, IdControls(), and the function its unit defines to make
   it, MakeIdPage()), its dialog, its tab caption, and its position in the user
   set and in the technician set, counted after Node Information (0: not in
   the set). Plain macros, so that the resource compiler builds the string
   table of tab captions from the same rows as the code builds the sheet. */
#ifndef QTA1_PAGE_TABLE_H
#define QTA1_PAGE_TABLE_H

/* clang-format off */
#define QTA1_PAGES(PAGE)                                                                     \
/*       id                 dialog                  caption               user technician */ \
    PAGE(Dampers,           IDD_DAMPERS,            "Dampers",            8,   12)           \
    PAGE(RunningHours,      IDD_RUNNING_HOURS,      "Running Hours",      12,  22)           \
    PAGE(HeatingSurface,    IDD_HEATING_SURFACE,    "Heating surface",    10,  14)           \
    PAGE(Temperatures,      IDD_TEMPERATURES,       "Temperatures",       7,   6)            \
    PAGE(Calender,          IDD_CALENDER,           "Calender",           2,   16)           \
    PAGE(StatusRegulator,   IDD_STATUS_REGULATOR,   "Status - Regulator", 0,   24)           \
    PAGE(Alarms,            IDD_ALARMS,             "Alarms",             6,   21)           \
    PAGE(ConfigQta12,       IDD_CONFIG_QTA12,       "Configuring QTA1+2", 0,   3)            \
    PAGE(ConfigQta3,        IDD_CONFIG_QTA3,        "Configuring QTA3",   0,   4)            \
    PAGE(Pid,               IDD_PID,                "PID",                0,   23)           \
    PAGE(NodeInformation,   IDD_NODEINFO,           "Node Information",   0,   0)            \
    PAGE(Freecool,          IDD_FREECOOL,           "Freecool",           4,   18)           \
    PAGE(Pir,               IDD_PIR,                "PIR",                3,   17)           \
    PAGE(Status,            IDD_STATUS,             "Status",             5,   19)           \
    PAGE(SetTime,           IDD_SET_TIME,           "Set Time",           1,   2)            \
    PAGE(CalcInjection,     IDD_CALC_INJECTION,     "Calc injection temp", 0,  7)            \
    PAGE(Exchanger,         IDD_EXCHANGER,          "Exchanger",          9,   13)           \
    PAGE(CalcSpace,         IDD_CALC_SPACE,         "Calc. space temp",   0,   8)            \
    PAGE(Antifrost,         IDD_ANTIFROST,          "Antifrost",          0,   11)           \
    PAGE(ExtendedOperation, IDD_EXTENDED_OPERATION, "Extended operation", 11,  20)           \
    PAGE(ExerciseDeicing,   IDD_EXERCISE_DEICING,   "Exercise - Deicing", 0,   15)           \
    PAGE(TempStartup,       IDD_TEMP_STARTUP,       "Temp Start-up",      0,   9)            \
    PAGE(LowTempInjection,  IDD_LOW_TEMP_INJECTION, "Low temp injection", 0,   10)           \
    PAGE(ImportExport,      IDD_IMPORT_EXPORT,      "Import / Export",    0,   1)            \
    PAGE(OpenCloseTimer,    IDD_OPEN_CLOSE_TIMER,   "Open/Close Timer",   0,   5)            \
    PAGE(ConfigHvac,        IDD_CONFIG_HVAC,        "Config HVAC",        0,   25)
/* clang-format on */

#endif
