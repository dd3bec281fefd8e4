/* The pages of the sheet, one row each: the page's identifier (which also
   names its layout, IdControls(), and the function its unit defines to make
   it, MakeIdPage()), its number n (its class is CPage<n>PropPage, its dialog
   and caption string 100 + n, its controls the block 1000 + 100 n), and its
   tab caption. Plain macros, so that the resource compiler builds the string
   table of tab captions from the same rows as the code builds the sheet.

   The two sets a password opens list their pages in tab order after Node
   Information, which belongs to neither: a new page goes where its tab goes,
   and no other entry moves. */
#ifndef QTA1_PAGE_TABLE_H
#define QTA1_PAGE_TABLE_H

/* clang-format off */
#define QTA1_PAGES(PAGE)                                  \
/*       id                 n   caption                */ \
    PAGE(Dampers,           2,  "Dampers")                \
    PAGE(RunningHours,      3,  "Running Hours")          \
    PAGE(HeatingSurface,    4,  "Heating surface")        \
    PAGE(Temperatures,      5,  "Temperatures")           \
    PAGE(Calender,          6,  "Calender")               \
    PAGE(StatusRegulator,   7,  "Status - Regulator")     \
    PAGE(Alarms,            8,  "Alarms")                 \
    PAGE(ConfigQta12,       9,  "Configuring QTA1+2")     \
    PAGE(ConfigQta3,        10, "Configuring QTA3")       \
    PAGE(Pid,               11, "PID")                    \
    PAGE(NodeInformation,   12, "Node Information")       \
    PAGE(Freecool,          13, "Freecool")               \
    PAGE(Pir,               14, "PIR")                    \
    PAGE(Status,            15, "Status")                 \
    PAGE(SetTime,           16, "Set Time")               \
    PAGE(CalcInjection,     17, "Calc injection temp")    \
    PAGE(Exchanger,         18, "Exchanger")              \
    PAGE(CalcSpace,         19, "Calc. space temp")       \
    PAGE(Antifrost,         20, "Antifrost")              \
    PAGE(ExtendedOperation, 21, "Extended operation")     \
    PAGE(ExerciseDeicing,   22, "Exercise - Deicing")     \
    PAGE(TempStartup,       23, "Temp Start-up")          \
    PAGE(LowTempInjection,  24, "Low temp injection")     \
    PAGE(ImportExport,      25, "Import / Export")        \
    PAGE(OpenCloseTimer,    26, "Open/Close Timer")       \
    PAGE(ConfigHvac,        27, "Config HVAC")

/* The user password's pages. */
#define QTA1_USER_SET(PAGE)                                                   \
    PAGE(SetTime) PAGE(Calender) PAGE(Pir) PAGE(Freecool) PAGE(Status)        \
    PAGE(Alarms) PAGE(Temperatures) PAGE(Dampers) PAGE(Exchanger)             \
    PAGE(HeatingSurface) PAGE(ExtendedOperation) PAGE(RunningHours)

/* The technician password's pages. */
#define QTA1_TECHNICIAN_SET(PAGE)                                             \
    PAGE(ImportExport) PAGE(SetTime) PAGE(ConfigQta12) PAGE(ConfigQta3)       \
    PAGE(OpenCloseTimer) PAGE(Temperatures) PAGE(CalcInjection)               \
    PAGE(CalcSpace) PAGE(TempStartup) PAGE(LowTempInjection) PAGE(Antifrost)  \
    PAGE(Dampers) PAGE(Exchanger) PAGE(HeatingSurface) PAGE(ExerciseDeicing)  \
    PAGE(Calender) PAGE(Pir) PAGE(Freecool) PAGE(Status)                      \
    PAGE(ExtendedOperation) PAGE(Alarms) PAGE(RunningHours) PAGE(Pid)         \
    PAGE(StatusRegulator) PAGE(ConfigHvac)
/* clang-format on */

/* Page n's dialog and tab caption string. */
#define QTA1_PAGE_DIALOG(n) (100 + (n))

#endif
