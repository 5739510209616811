#pragma once

#include <string_view>

namespace pontax {

// Log tags: who sent a line to whom, or what a remark is about.
namespace log_tag {
inline constexpr std::string_view kFromGui = "C>";
inline constexpr std::string_view kToGui = "C<";
inline constexpr std::string_view kFromEngine = "S>";
inline constexpr std::string_view kToEngine = "S<";
inline constexpr std::string_view kEngineProcess = "S-";
inline constexpr std::string_view kPreSetup = "--";
inline constexpr std::string_view kRemark = "- ";
inline constexpr std::string_view kVersion = "** Adapter:";
}  // namespace log_tag

inline constexpr std::string_view kLogFileName = "Pontax.log";

// Starts the uptime clock of the time stamps and holds entries in memory until OpenLogFile,
// CloseLogFile or DiscardLogBuffer decides their fate. Called once, first thing at start-up.
void BeginLogBuffering();
// Writes one entry "<seconds>.<ms>: <tag> <text>"; a no-op while logging is off. Any thread.
void WriteLog(std::string_view text, std::string_view tag);
// Appends to Pontax.log in the current directory, writing the held entries first.
void OpenLogFile();
void CloseLogFile();
bool IsLogFileOpen();
void DiscardLogBuffer();

}  // namespace pontax
