// Output file names: the editable name record of a recording, the proposed
// and unique names, and thin wrappers around the file-system calls.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// The path delimiter of this platform. The routines keep their classic names
// (AddBackslash, RemoveBackslash) but work with it.
constexpr char PathDelim = '/';

// An output file name; the full name is path + name + cnt + ext.
struct TFileNameEx {
    std::string path; // folder with its trailing delimiter; empty for a bare name
    std::string name; // file name without folder and extension
    std::string cnt;  // counter text between name and extension
    std::string ext;  // extension with its leading dot, e.g. ".qrec"
};

bool FileExist(const std::string& FileName); // a file (not a folder), links followed
bool DirExist(const std::string& Dir);       // a folder, links followed

// Dir with one trailing delimiter. An empty text stays empty: it names no
// folder, and must never turn into the root folder.
std::string AddBackslash(const std::string& Dir);
// Dir without its one trailing delimiter, if it has one.
std::string RemoveBackslash(const std::string& Dir);

// Everything up to and including the last delimiter; empty for a bare name.
std::string GetFileDir(const std::string& FileName);
// The part after the last delimiter.
std::string GetFileName(const std::string& FileName);
// From the last dot of the name part on, dot included; empty when none.
std::string GetFileExt(const std::string& FileName);
std::string GetFileExtNoDot(const std::string& FileName);
// FileName with its extension (if any) replaced by Ext, which may be empty.
std::string ReplaceFileExt(const std::string& FileName, const std::string& Ext);

// Creates the folder and its missing parents; true when it exists afterwards.
// An empty text raises std::system_error.
bool ForceDir(const std::string& Dir);

std::string GetFullFileName(const TFileNameEx& F);

// Empties cnt and appends the first free suffix of "", "_1" .. "_99" to name.
// False, with name and ext unchanged, when all 100 names are taken.
bool MakeUniqueFileName(TFileNameEx& F);

// Splits FileName into the record; cnt becomes empty. Always true.
bool SplitFileName(TFileNameEx& F, const std::string& FileName);

// Proposed output name without folder and extension: Prefix, SN in decimal,
// Text, "_" and the moment (days since 2000) as "yymmdd_hhnnss".
std::string MakeDataFileName(const std::string& Prefix, std::uint32_t SN, const std::string& Text, double Time);

// Whether the target can be written: creates a missing folder, opens an
// existing file for writing without truncating it, or creates and removes a
// probe of a new one. Never changes or deletes an existing file; false for
// an empty path.
bool TestCreateFile(const TFileNameEx& F);

} // namespace qel
