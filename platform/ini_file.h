// TIniFile: reads and writes the sections and "name=value" lines of an
// initialisation file; every write goes straight through to the file.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

// Raised when a write cannot store the file; the message names it and the reason.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Section and value names compare without regard to ASCII letter case; names
// and values are trimmed of blanks, and a value in matching quotes loses
// them. Lines starting with ";" or "#" are comments. The first section and
// the first value of a name count. A missing or unreadable file reads as
// empty. The file is read as UTF-8 (a byte-order mark is skipped); a file
// that is not valid UTF-8 is taken as Windows-1252, and UTF-16 with a
// byte-order mark is understood too. Writes keep every other line as it was,
// store UTF-8 and replace the file atomically.
class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    // Decimal, or hexadecimal after "$" or "0x"; def for anything else.
    std::int32_t ReadInteger(const std::string& section, const std::string& ident, std::int32_t def) const;
    // An integer value; true unless 0.
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
    // A decimal number with "." or "," as decimal separator; def for anything else.
    double ReadFloat(const std::string& section, const std::string& ident, double def) const;

    // Line breaks in a value are stored as blanks (the format has no escape).
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);   // "1" or "0"

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    // Value names of a section, in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    std::vector<std::string> ReadSections() const;
    // "name=value" texts of a section, in file order.
    std::vector<std::string> ReadSectionValues(const std::string& section) const;

    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);

private:
    std::string FFileName;
};

} // namespace plat
