// Debug modes chosen on the command line ("d:") and their semicolon-separated
// dump file, with the trace lines of the card-directory scan.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qel {

constexpr std::int32_t DEBUG_MODE_OFF = 0;
constexpr std::int32_t DEBUG_MODE_DIR = 1; // traces the card-directory scan; also ends a record at every page break
constexpr std::int32_t DEBUG_MODE_PAGE = 2; // the QEL51 decoder logs its FIFO records

// Kinds of a cluster judged by the card-directory scan.
constexpr std::uint8_t DEBUG_CLUSTER_NEW = 0;      // begins a new record
constexpr std::uint8_t DEBUG_CLUSTER_CONTINUE = 1; // continues the current record
constexpr std::uint8_t DEBUG_CLUSTER_UNUSABLE = 2; // cannot be used (or its header not parsed)

constexpr std::size_t DEBUG_CLUSTER_SIZE = 1536;

// "dbm_dir", "dbm_page", "dbm_fastdata", "dbm_time", "dbm_dt" for 1..5, else empty.
std::string GetDebugModeName(std::int32_t Mode);

// Mode 0 does nothing. Otherwise creates (replacing) Name + "_0.csv" in the
// program's folder, or in the data folder when the program's folder does not
// take it, writes the header line (Mode ";" local date and time) and keeps
// Mode. False, with the mode left off, when neither folder takes the file.
bool DebugFileOpen(std::int32_t Mode, const std::string& Name);
std::int32_t DebugFileMode();
// Full name of the open dump file; empty when none is open.
std::string DebugFileName();
void DebugFileClose();

// DebugFileOpen with the mode's name; mode 1 also starts the trace afresh.
bool SetDebugMode(std::int32_t Mode);
std::int32_t GetDebugMode();

// One cluster judged by the card-directory scan (mode 1 only): Count is its
// number in the scan, Page and Code the page number and parse code of its
// header. Raises the platform's write error when the file cannot be written.
void DebugDirCluster(std::int32_t Count, std::uint8_t Kind, std::uint16_t Page, std::int32_t Code,
                     std::span<const std::uint8_t, DEBUG_CLUSTER_SIZE> Cluster);

} // namespace qel
