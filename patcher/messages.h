#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/patchinfo/patch_entry.h"

namespace vexmor::messages {

// Progress texts.
inline constexpr std::wstring_view kInitializing = L"Initializing...";
inline constexpr std::wstring_view kReadingInstalledVersion = L"Determining installed version...";
inline constexpr std::wstring_view kCheckingForUpdates = L"Checking for updates...";
inline constexpr std::wstring_view kDownloadingPatchInfo = L"Downloading latest patch info...";
inline constexpr std::wstring_view kLauncherUpdateName = L"Launcher Update";
inline constexpr std::wstring_view kLauncherUpdateTitlePrefix = L"Updating your launcher to v";

// Outcome messages.
inline constexpr std::wstring_view kServerUnreachable =
    L"Cannot connect to the update server.\nA reconnection has been started...";
inline constexpr std::wstring_view kNoServer = L"Unable to connect to update servers.";
inline constexpr std::wstring_view kServerDataFailed = L"Failed to get data from the server!";
inline constexpr std::wstring_view kLatestInstalled = L"Latest version already installed!";
inline constexpr std::wstring_view kGameRunning =
    L"The update of the game client has been stopped:\nThere are unclosed game processes!";
inline constexpr std::wstring_view kPatchInfoFailed =
    L"The game was not updated and might not work properly:\nLoading patch info failed!";
inline constexpr std::wstring_view kPatchInfoSignatureFailed =
    L"The game was not updated and might not work properly:\nLoading patch info certificate failed!";
inline constexpr std::wstring_view kPatchInfoVerificationFailed =
    L"The game was not updated and might not work properly:\nPatch info certificate verification failed!";
inline constexpr std::wstring_view kPatchInfoCorrupted =
    L"The game was not updated and might not work properly:\nCorrupted patch info file!";
inline constexpr std::wstring_view kFilesNotChecked =
    L"The game was not updated and might not work properly:\nSome local files could not be checked!";
inline constexpr std::wstring_view kAllFilesCurrent = L"All files have been checked and are up to date!";
inline constexpr std::wstring_view kNothingToUpdateSomeNotChecked =
    L"The game was not updated and might not work properly:\nNo local files to Update, but some could not be "
    L"checked!";
inline constexpr std::wstring_view kLocalIssues =
    L"The game was not updated and might not work properly:\nSome files had local issues. They might be in use "
    L"or you don't have access to them.";
inline constexpr std::wstring_view kDownloadIssues =
    L"The game was not updated and might not work properly:\nSome files had is_downloaded issues.";
inline constexpr std::wstring_view kAllFilesUpdated = L"All files have been successfully updated!";
inline constexpr std::wstring_view kCancelled =
    L"The game was not updated and might not work properly:\nUpdate process has been cancelled.";

// Questions.
inline constexpr std::wstring_view kCloseGameQuestion =
    L"All running processes of the game must be closed to perform the update.\nYou want to do this now?\n";
inline constexpr std::wstring_view kFilesNotCheckedHeading = L"Following files could not be checked:\n";
inline constexpr std::wstring_view kFilesNotUpdatedHeading = L"Following files could not be updated:\n";

// Per-file error texts.
inline constexpr std::wstring_view kFailedToOpenForChecking = L"is failed to open for checking";
inline constexpr std::wstring_view kDownloadUnsuccessful = L"downloading unsuccessful";
inline constexpr std::wstring_view kFailedToOpenForVerification = L"is failed to open for verification";
inline constexpr std::wstring_view kVerificationFailed = L"verification is failed";
inline constexpr std::wstring_view kFailedToDecompress = L"is failed to decompress";

}  // namespace vexmor::messages

namespace vexmor {

// The heading, then the first three failed entries as "\n<path> (Error: <text>)", padded with
// line breaks to three lines, then "\n\n... and N more." when more entries failed.
std::wstring FormatFailureList(const std::vector<PatchEntry>& entries, std::wstring_view heading);

// "Updating your launcher to v" and the version divided by 100 with two decimals.
std::wstring FormatLauncherUpdateTitle(std::int32_t launcherVersion);

}  // namespace vexmor
