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
// Closing the sheet with typed values not yet written:
// "Values typed on PID and Freecool were not written. Close anyway?"
inline constexpr const char* kTypedNotWrittenHead = "Values typed on ";
inline constexpr const char* kAndPage = " and ";
inline constexpr const char* kTypedNotWrittenTail = " were not written. Close anyway?";
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
inline constexpr const char* kNothingWrittenToNode = "Nothing was written to the node:";
inline constexpr const char* kNotReadBackHead =
    "Written, but the node could not be read back to check them:";
// "not written, the node did not switch to part 8 of its settings"
inline constexpr const char* kNotSelectedHead = "not written, the node did not switch to part ";
inline constexpr const char* kNotSelectedTail = " of its settings";
inline constexpr const char* kNotReadBeforeWrite = "not written, the node could not be read first";
inline constexpr const char* kWriteRefused = "not written, the node refused them";
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
inline constexpr const char* kModeSetsNotSet = "never set";
inline constexpr const char* kModeSetsWritten = "written";
// The node's change log, beside its backups.
inline constexpr const char* kChangeLogFile = "Changes.log";
// Where the entries go while the node's name cannot be read.
inline constexpr const char* kUnnamedChangeLogFile = "Changes of unnamed nodes.log";
inline constexpr const char* kLogNameNotRead = "(name not read)";
inline constexpr const char* kChangeLogNotWritten =
    "The change was made, but it could not be added to the change log:\n";
inline constexpr const char* kWriteAction = "Write";
inline constexpr const char* kSyncAction = "Sync";
inline constexpr const char* kResetAction = "Reset";
inline constexpr const char* kStartAction = "Start";
inline constexpr const char* kDownloadAction = "Download of ";
inline constexpr const char* kDefaultSettingsAction = "Default settings";
inline constexpr const char* kRefusedNothingSent = "Refused, nothing was sent:";
inline constexpr const char* kPasswordRefused = "the password was wrong";
// A download without "Back up and preview first" does not read the node first.
inline constexpr const char* kEarlierValuesNotRead =
    "The node's earlier values were not read (Back up and preview first was off).";
inline constexpr const char* kLogNotRead = "(not read)";
inline constexpr const char* kChangesTitle = "Changes";
// "Changes made to AHU 3, newest first", or no entry yet
inline constexpr const char* kChangesHead = "Changes made to ";
inline constexpr const char* kChangesTail = ", newest first";
inline constexpr const char* kNoChangesLogged = "No change to this node has been logged yet.";
inline constexpr const char* kChangeLogNotRead = "The change log could not be read:\n";
inline constexpr const char* kChangesNameNotRead =
    "The node's name could not be read, so its change log cannot be found.";
inline constexpr const char* kWhenColumn = "Date and time";
inline constexpr const char* kUserColumn = "User";
inline constexpr const char* kActionColumn = "Action";
inline constexpr const char* kChangeColumn = "Change";
inline constexpr const char* kChangesReportSuffix = " changes.txt";
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
inline constexpr const char* kDownloadCompleted = "Download completed";
inline constexpr const char* kDownloadNotCompletedCount = "Download not completed. ";
// A download refused before anything was written:
// Download not completed. Nothing was written: line 23 of the file is not valid:
// "1, 2, x"
inline constexpr const char* kBadLineHead = "Download not completed. Nothing was written: line ";
inline constexpr const char* kBadLineTail = " of the file is not valid:";
// "... line 40 of the file repeats nciSwitchExt:" / "repeats part 3:"
inline constexpr const char* kBadLineOfTheFile = " of the file ";
inline constexpr const char* kRepeatsBlock = "repeats ";
inline constexpr const char* kRepeatsPart = "repeats part ";
inline constexpr const char* kDefaultsNotCompleted = "Default settings not completed. ";
// "1 NV write error", "2 NV write errors"
inline constexpr const char* kWriteErrors = " NV write errors";
inline constexpr const char* kWriteError = " NV write error";
// "1 NV", "2 NVs"
inline constexpr const char* kOneNv = " NV";
inline constexpr const char* kManyNvs = " NVs";
inline constexpr const char* kNotWrittenLine = "Not written: ";
// Why a part of a download or of the factory settings was not written.
inline constexpr const char* kPartNotShown = "the node did not switch to it";
inline constexpr const char* kPartNotRead = "the node could not be read first";
inline constexpr const char* kRestartPlugin = "Please restart the plugin";

// Reviewing settings: comparing a file, backing up, previewing and verifying.
inline constexpr const char* kTabColumn = "Tab";
inline constexpr const char* kBoxColumn = "Box";
inline constexpr const char* kNoPage = "(no page)";
inline constexpr const char* kByteNumber = " byte ";
// "nviPluginCnf part 2, bytes no page shows": what the pages do not name.
inline constexpr const char* kUnshownBytes = ", bytes no page shows";
inline constexpr const char* kNodeColumn = "Node";
inline constexpr const char* kFactoryColumn = "Factory settings";
inline constexpr const char* kFileColumn = "File";
inline constexpr const char* kNotRead = "(could not be read)";
inline constexpr const char* kCompareTitle = "Compare";
// "3 differences between C:\unit5.txt and the node", "1 difference ..."
inline constexpr const char* kDifferencesBetween = " differences between ";
inline constexpr const char* kDifferenceBetween = " difference between ";
inline constexpr const char* kAndTheNode = " and the node";
inline constexpr const char* kAndTheFactorySettings = " and the factory settings";
// "; 2 NVs of the node could not be read"
inline constexpr const char* kNodeNotReadHead = "; ";
inline constexpr const char* kNodeNotReadTail = " of the node could not be read";
inline constexpr const char* kCompareNotPossible = "Compare not possible: line ";
inline constexpr const char* kCompareNotPossibleHead = "Compare not possible: ";
inline constexpr const char* kReportFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*|";
inline constexpr const char* kReportSuffix = " compared.txt";
inline constexpr const char* kReportNotWritten = "Report not written";
inline constexpr const char* kBackupsFolder = "Backups";
// The backup read missed some NVs: "2 NVs could not be read for the backup. ..."
inline constexpr const char* kBackupIncompleteTail =
    " could not be read for the backup.\nGo on with a partial backup?";
inline constexpr const char* kBackupNotSaved =
    "The backup could not be saved.\nGo on without a backup?";
inline constexpr const char* kNameNotRead =
    "The node's name could not be read, so its backup would have no folder of its "
    "own.\nGo on without a backup?";
inline constexpr const char* kBackupsWithoutName =
    "The node's name could not be read, so its own backups cannot be found. The "
    "folder of all backups opens instead.";
inline constexpr const char* kBackupTitle = "Backup";
inline constexpr const char* kPreviewTitle = "Preview";
// "Write these 3 changes?", "Write this 1 change?"
inline constexpr const char* kWriteTheseHead = "Write these ";
inline constexpr const char* kWriteThisHead = "Write this ";
inline constexpr const char* kChangeOne = " change?";
inline constexpr const char* kChangesMany = " changes?";
inline constexpr const char* kNothingToWriteFile =
    "Nothing to write: the node already holds the settings of the file.";
inline constexpr const char* kNothingToWriteFactory =
    "Nothing to write: the node already holds the factory settings.";
inline constexpr const char* kAbortedNothingWritten = "Download aborted: nothing was written.";
inline constexpr const char* kFactoryNothingWritten =
    "Default settings not written: nothing was written.";
inline constexpr const char* kCompletedVerified =
    "Download completed and verified: the node holds what was sent.";
inline constexpr const char* kDefaultsCompletedVerified =
    "Default settings completed and verified: the node holds the factory settings.";
// Under a result that is not completed, one line per value:
// "PID - P (Heat (Mv1)): sent 2.5, the node holds 1.0"
inline constexpr const char* kNodeHoldsOtherHead = "The node holds other values than were sent:";
inline constexpr const char* kNotReadBackValue = ", could not be read back";
inline constexpr const char* kBackupIn = "Backup: ";
inline constexpr const char* kPartialBackupIn = "Partial backup: ";
inline constexpr const char* kDefaultsCompleted = "Default settings completed";
inline constexpr const char* kNotKeptNotCompleted =
    "Download not completed: the node does not hold everything that was sent.";
inline constexpr const char* kNotKeptDefaults =
    "Default settings not completed: the node does not hold everything that was sent.";
// A result too long for a message box: "... 28 details follow in a list."
inline constexpr const char* kDetailsFollowTail = " details follow in a list.";
inline constexpr const char* kDetailsColumn = "Details";
inline constexpr const char* kResultReportSuffix = " result.txt";
// Files that are no settings files:
// "C:\junk.txt is not a settings file: it has no program ID line."
inline constexpr const char* kNotSettingsFile = " is not a settings file: ";
inline constexpr const char* kFileEmpty = "it is empty.";
inline constexpr const char* kNoProgramIdLine = "it has no program ID line.";
inline constexpr const char* kNoSettings = "it holds no settings.";
inline constexpr const char* kNotAcceptedProgramId =
    "Download not completed. Nothing was written: the file's program ID is not this "
    "plug-in's.";
inline constexpr const char* kRefusedPartWay =
    "Download not completed: the rest of the file was refused at a program ID that is not "
    "this plug-in's.";
inline constexpr const char* kNothingWrittenHead = "Download not completed. Nothing was written: ";
inline constexpr const char* kCutOffQuestion =
    "The file ends in the middle of a line and may be cut off. Download anyway?";
inline constexpr const char* kMayBeCutOff =
    "; the file ends in the middle of a line and may be cut off";
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

// A reviewed download writes only what the node does not hold yet:
// "Written: 1 of 23 NVs and parts; the other 22 already held these values."
inline constexpr const char* kWrittenCountHead = "Written: ";
inline constexpr const char* kWrittenOf = " of ";
inline constexpr const char* kAlreadyEqualHead = " NVs and parts; the other ";
inline constexpr const char* kAlreadyEqualTail = " already held these values.";

// A settings file as the node (the settings editor).
// "QTA1 - AHU 3.txt (file)"
inline constexpr const char* kFileCaptionHead = " - ";
inline constexpr const char* kFileCaptionTail = " (file)";
// "The file was not opened: line 23 of the file is not valid: ..."
inline constexpr const char* kNotOpenedLineHead = "The file was not opened: line ";
inline constexpr const char* kNotOpenedHead = "The file was not opened: ";
inline constexpr const char* kFileNotReadable = " could not be read.";
// "Save changes to AHU 3.txt?"
inline constexpr const char* kSaveChangesHead = "Save changes to ";
inline constexpr const char* kSaveChangesTail = "?";
// "AHU 3.txt was changed by another program since it was opened. Overwrite it?"
inline constexpr const char* kChangedElsewhereTail =
    " was changed by another program since it was opened or saved. Overwrite it?";
inline constexpr const char* kFileNotSavedTail = " could not be saved.";

// The trend window's "Save data...": the proposed name, the dialog's filter,
// and "Trend.csv could not be saved." (with kFileNotSavedTail) when the disk
// refuses it.
inline constexpr const char* kTrendDataName = "Trend.csv";
inline constexpr const char* kTrendDataExtension = "*.csv";
inline constexpr const char* kTrendDataFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*|";
inline constexpr const char* kTrendTimeHeader = "Time";
// The trend window on Windows: its caption, its controls, and "Save
// picture...", a PNG of the chart as shown.
inline constexpr const char* kTrendCaption = "QTA1 - Trend";
inline constexpr const char* kTrendWindowLabel = "&Window:";
inline constexpr const char* kTrendMinutesTail = " min";
inline constexpr const char* kTrendPauseButton = "&Pause";
inline constexpr const char* kTrendResumeButton = "&Resume";
inline constexpr const char* kTrendSaveDataButton = "Save &data...";
inline constexpr const char* kTrendSavePictureButton = "Save p&icture...";
inline constexpr const char* kTrendPictureName = "Trend.png";
inline constexpr const char* kTrendPictureExtension = "*.png";
inline constexpr const char* kTrendPictureFilter =
    "PNG pictures (*.png)|*.png|All files (*.*)|*.*|";
inline constexpr const char* kNoLiveValuesTail =
    " shows live values of a unit; a settings file holds none.";
inline constexpr const char* kFileHasNoClock =
    "A settings file has no clock: Set Time works on a unit only.";
inline constexpr const char* kFileHasNoCounters =
    "A settings file has no running hours: the counters are a unit's only.";
}  // namespace qta1::text
