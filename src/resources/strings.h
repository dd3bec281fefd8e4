// Texts the technician sees that are not part of a page layout. Kept in one
// place so that the pages and the tests quote the same bytes.
#pragma once

#include "resources/version.h"

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
// The buttons of a review window on Windows, "&" before the key that
// presses it with Alt.
inline constexpr const char* kSaveReportButton = "&Save report...";
inline constexpr const char* kCloseButton = "Close";
inline constexpr const char* kYesButton = "&Yes";
inline constexpr const char* kNoButton = "&No";
inline constexpr const char* kVersionLine =
    "QTA1 configuration plug-in, version " QTA1_VERSION_TEXT;
inline constexpr const char* kProgramId = "90 51 54 41 31 5F 31 72";

// Values a Write refuses before anything is sent, one line per box:
// P (Heat (Mv1)): "-3" - takes a number from 0 to 6553.5
inline constexpr const char* kValuesRefused = "Nothing was written. These values cannot be stored:";
inline constexpr const char* kTakes = " - takes ";
inline constexpr const char* kNumberFrom = "a number from ";
inline constexpr const char* kRangeTo = " to ";
inline constexpr const char* kTimeRange = "a time from 0:00 to 24:00";
inline constexpr const char* kHourMinuteRange =
    "H:MM, hours and minutes whole numbers from -128 to 127";

// What a write action tells when the node did not take everything, one line
// per group of boxes: P (Heat (Mv1)), I (Heat (Mv1)), D (Heat (Mv1)) and 9 more: <why>
inline constexpr const char* kNotAllWritten = "Not everything was written to the node:";
inline constexpr const char* kNotSelected = "not written, the node did not select their settings";
inline constexpr const char* kNotReadBeforeWrite = "not written, the node could not be read first";
inline constexpr const char* kWriteRefused = "not written, the node refused them";
inline constexpr const char* kNotReadBack = "written, but the node could not be read back";
inline constexpr const char* kAndMore = " and ";
inline constexpr const char* kMoreBoxes = " more";
// P (Heat (Mv1)): sent 2.5, the node holds 2.0
inline constexpr const char* kNodeHoldsOther = "The node holds other values than were sent:";
inline constexpr const char* kSent = ": sent ";
inline constexpr const char* kNodeHolds = ", the node holds ";
inline constexpr const char* kCalendarTimes = "The calendar times";
inline constexpr const char* kResetRefused = "not reset, the node refused the reset command";
inline constexpr const char* kResetNotTakenBack =
    "the node refused to take the reset command back; press Reset again";
inline constexpr const char* kNodeClock = "Node date and time";
inline constexpr const char* kClockRefused = "not set, the node refused the PC's time";
inline constexpr const char* kFactoryModeSets = "The factory HVAC mode sets";
inline constexpr const char* kChecked = "checked";
inline constexpr const char* kNotChecked = "not checked";

// Settings files.
inline constexpr const char* kSettingsFilter =
    "Halvik NodeSettings (*.txt)|*.txt|All files (*.*)|*.*|";
inline constexpr const char* kSettingsExtension = "*.txt";
inline constexpr const char* kOverwriteQuestion = "Overwrite existing file?";
inline constexpr const char* kOverwriteTitle = "File exists!";
inline constexpr const char* kFileNotWritten = "File not written";
inline constexpr const char* kErrorOpeningFile = "Error opening file";
inline constexpr const char* kFileWritten = "File written";
inline constexpr const char* kFileWrittenWithErrors = "File Written. ";
inline constexpr const char* kReadErrors = " NV read errors";
inline constexpr const char* kWrongPasswordDownload = "Wrong password!";
inline constexpr const char* kWrongPasswordFactory = "Wrong password";
inline constexpr const char* kDownloadStatus = "Download status";
inline constexpr const char* kFileNotFound = "File not found!";
inline constexpr const char* kDownloadQuestion = "Download from file to node?";
inline constexpr const char* kDownloadTitle = "Download";
inline constexpr const char* kDownloadAborted = "Download aborted";
inline constexpr const char* kDownloadNotCompleted = "Download not completed";
inline constexpr const char* kDownloadCompleted = "Download completed";
inline constexpr const char* kDownloadNotCompletedCount = "Download not completed. ";
// A download refused before anything was written:
// Download not completed. Nothing was written: line 23 of the file is not valid:
// "1, 2, x"
inline constexpr const char* kBadLineHead = "Download not completed. Nothing was written: line ";
inline constexpr const char* kBadLineTail = " of the file is not valid:";
inline constexpr const char* kDefaultsNotCompleted = "Default settings not completed. ";
inline constexpr const char* kWriteErrors = " NV write errors";
inline constexpr const char* kNotWrittenList = "Not written: ";
inline constexpr const char* kRestartPlugin = "Please restart the plugin";

// Reviewing settings: comparing a file, backing up, previewing and verifying.
inline constexpr const char* kTabColumn = "Tab";
inline constexpr const char* kBoxColumn = "Box";
inline constexpr const char* kNoPage = "(no page)";
inline constexpr const char* kByteNumber = " byte ";
inline constexpr const char* kNodeColumn = "Node";
inline constexpr const char* kFactoryColumn = "Factory settings";
inline constexpr const char* kFileColumn = "File";
inline constexpr const char* kNotRead = "(could not be read)";
inline constexpr const char* kInFile = "(in the file)";
inline constexpr const char* kCompareTitle = "Compare";
// "3 differences between C:\unit5.txt and the node"
inline constexpr const char* kDifferencesBetween = " differences between ";
inline constexpr const char* kAndTheNode = " and the node";
inline constexpr const char* kAndTheFactorySettings = " and the factory settings";
// "; 2 NVs of the node could not be read"
inline constexpr const char* kNodeNotReadHead = "; ";
inline constexpr const char* kNodeNotReadTail = " NVs of the node could not be read";
inline constexpr const char* kCompareNotPossible = "Compare not possible: line ";
inline constexpr const char* kReportFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*|";
inline constexpr const char* kReportSuffix = " compared.txt";
inline constexpr const char* kReportNotWritten = "Report not written";
inline constexpr const char* kUnnamedNode = "Unnamed node";
inline constexpr const char* kBackupsFolder = "Backups";
// A backup read that missed some NVs: "2 NVs could not be read for the backup. ..."
inline constexpr const char* kBackupIncompleteTail =
    " NVs could not be read for the backup.\nGo on without a complete backup?";
inline constexpr const char* kBackupNotSaved =
    "The backup could not be saved.\nGo on without a backup?";
inline constexpr const char* kBackupTitle = "Backup";
inline constexpr const char* kPreviewTitle = "Preview";
// "Write these 3 changes?"
inline constexpr const char* kWriteTheseHead = "Write these ";
inline constexpr const char* kWriteTheseTail = " changes?";
inline constexpr const char* kNothingWritten = "Nothing was written";
inline constexpr const char* kVerified = "Verified: the node holds what was sent.";
inline constexpr const char* kNodeHoldsOtherHead = "The node holds other values than were sent:";
inline constexpr const char* kBackupIn = "Backup: ";
inline constexpr const char* kDefaultsCompleted = "Default settings completed";
inline constexpr const char* kDefaultsNotCompletedPlain = "Default settings not completed";
inline constexpr const char* kBackupPass = "Backup: part";
inline constexpr const char* kPartPass = "Part";
inline constexpr const char* kVerifyPass = "Verifying part";
inline constexpr const char* kComparePass = "Reading part";
// The technician's choices, as kept between sessions.
inline constexpr const char* kBackupSetting = "BackupAndPreview";
inline constexpr const char* kVerifySetting = "VerifyAfterWriting";
inline constexpr const char* kProgramIdMismatch =
    "ProgramID does not match!\nDo you want to download anyway?";
inline constexpr const char* kProgramIdMismatchTitle = "ProgramID does not match!";

}  // namespace qta1::text
