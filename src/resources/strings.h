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
inline constexpr const char* kDefaultsNotCompleted = "Default settings not completed. ";
inline constexpr const char* kWriteErrors = " NV write errors";
inline constexpr const char* kRestartPlugin = "Please restart the plugin";
inline constexpr const char* kProgramIdMismatch =
    "ProgramID does not match!\nDo you want to download anyway?";
inline constexpr const char* kProgramIdMismatchTitle = "ProgramID does not match!";

}  // namespace qta1::text
