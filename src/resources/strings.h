// Texts the technician sees that are not part of a page layout. Kept in one
// place so that the pages and the tests quote the same bytes.
#pragma once

namespace qta1::text {

inline constexpr const char* kSheetCaption = "QTA1";
inline constexpr const char* kExit = "Exit";
inline constexpr const char* kWait = "Wait";
inline constexpr const char* kPleaseWait = "Please wait...";
inline constexpr const char* kNodeNotAvailable = "Node not available!";
inline constexpr const char* kNodeNotAvailableTitle = "Plugin";
inline constexpr const char* kWrongPassword = "Wrong Password";
inline constexpr const char* kTechnicianPassword = "Tarvel";
// Title of message boxes whose title the plug-in does not choose.
inline constexpr const char* kDefaultTitle = "QTA1";
inline constexpr const char* kVersionLine = "QTA1 configuration plug-in, version 1.0.0.1";
inline constexpr const char* kProgramId = "90 51 54 41 31 5F 31 72";

}  // namespace qta1::text
