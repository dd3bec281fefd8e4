// Texts of the schedule pages: the week-calendar messages and the status
// texts of the live boxes.
#pragma once

namespace qta1::text {

// Week calendars: one message per calendar whose start and stop counts
// differ, then the summary, which ends in the format hint when a box did not
// hold a time.
inline constexpr const char* kCalender1Unequal = "Error in Calender 1, unequal start and stoptimes";
inline constexpr const char* kCalender2Unequal = "Error in Calender 2, unequal start and stoptimes";
inline constexpr const char* kHolidayUnequal = "Error in holiday, unequal start and stoptimes";
inline constexpr const char* kFreecoolUnequal =
    "Error in Freecool calender, unequal start and stoptimes";
inline constexpr const char* kPirUnequal = "Error in PIR calender, unequal start and stoptimes";
inline constexpr const char* kErrorsNotWritten = " errors occured, data not written to NV";
inline constexpr const char* kErrorsNotWrittenFormat =
    " errors occured, data not written to NV. (Correct time format is 'H:MM' or 'HH:MM')";
inline constexpr const char* kUnsetTime = "0:00";

// Calender: the status box until the first refresh after opening, then the
// node's calendar status 0 to 5.
inline constexpr const char* kCalenderStatusUnknown = "Active/Inactive";
inline constexpr const char* kCalenderOff = "Off";
inline constexpr const char* kCalender1Active = "Calender1 active";
inline constexpr const char* kCalender2Active = "Calender2 active";
inline constexpr const char* kCalender12Active = "Calender1 + 2 active";
inline constexpr const char* kHolidayInactive = "Holiday inactive";
inline constexpr const char* kHolidayActive = "Holiday active";

// Freecool: the function's state.
inline constexpr const char* kFreeCoolOn = "FreeCool ON";
inline constexpr const char* kFreeCoolOff = "FreeCool OFF";

// PIR: the occupancy codes 0 to 3.
inline constexpr const char* kOccupied = "Occupied";
inline constexpr const char* kUnoccupied = "Unoccupied";
inline constexpr const char* kBypass = "Bypass";
inline constexpr const char* kStandby = "Standby";

}  // namespace qta1::text
