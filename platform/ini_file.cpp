// The initialisation-file reader and writer: the file is parsed line by line
// on every call, so reads always see the last write and other lines survive.
#include "platform/ini_file.h"

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/text_encoding.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <string_view>

namespace plat {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct TIniDocument {
    std::vector<std::string> Lines;
    bool CrLf = false;   // the file ends its lines with CR LF; writes keep that
};

struct TEntry {
    std::string Name;
    std::string Value;
};

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Utf16Text(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf16ToUtf8(units);
}

std::string DecodedText(const std::string& bytes)
{
    const std::string_view view(bytes);
    if (view.starts_with("\xEF\xBB\xBF")) {
        return std::string(view.substr(3));
    }
    if (view.starts_with("\xFF\xFE")) {
        return Utf16Text(view.substr(2), false);
    }
    if (view.starts_with("\xFE\xFF")) {
        return Utf16Text(view.substr(2), true);
    }
    return IsValidUtf8(view) ? bytes : AnsiToUtf8(view);
}

TIniDocument LoadDocument(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    const std::string text = DecodedText({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    TIniDocument document;
    document.CrLf = text.find("\r\n") != std::string::npos;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        document.Lines.push_back(std::move(line));
        start = end + 1;
    }
    return document;
}

void SaveDocument(const std::string& fileName, const TIniDocument& document)
{
    std::string text;
    for (const std::string& line : document.Lines) {
        text += line;
        text += document.CrLf ? "\r\n" : "\n";
    }
    try {
        TAtomicFileStream out(fileName);
        out.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
        out.Commit();
    } catch (const std::exception& error) {
        throw EIniFileException(error.what());
    }
}

bool ParseSectionHeader(std::string_view line, std::string& name)
{
    const std::string_view trimmed = Trimmed(line);
    if (!trimmed.starts_with('[')) {
        return false;
    }
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = Trimmed(trimmed.substr(1, close - 1));
    return true;
}

bool ParseEntry(std::string_view line, TEntry& entry)
{
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' || trimmed[0] == '[') {
        return false;
    }
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos || Trimmed(trimmed.substr(0, equals)).empty()) {
        return false;
    }
    entry.Name = Trimmed(trimmed.substr(0, equals));
    std::string_view value = Trimmed(trimmed.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    entry.Value = value;
    return true;
}

bool IsSectionHeader(std::string_view line)
{
    std::string ignored;
    return ParseSectionHeader(line, ignored);
}

std::size_t FindSection(const TIniDocument& document, const std::string& section)
{
    std::string name;
    for (std::size_t i = 0; i < document.Lines.size(); ++i) {
        if (ParseSectionHeader(document.Lines[i], name) && SameText(name, section)) {
            return i;
        }
    }
    return kNone;
}

// Index of the line after the last line of the section that starts at header.
std::size_t SectionEnd(const TIniDocument& document, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < document.Lines.size() && !IsSectionHeader(document.Lines[i])) {
        ++i;
    }
    return i;
}

std::size_t FindEntry(const TIniDocument& document, std::size_t header, const std::string& ident)
{
    TEntry entry;
    const std::size_t end = SectionEnd(document, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (ParseEntry(document.Lines[i], entry) && SameText(entry.Name, ident)) {
            return i;
        }
    }
    return kNone;
}

// The values of a section, the first of each name, in file order.
std::vector<TEntry> SectionEntries(const TIniDocument& document, const std::string& section)
{
    std::vector<TEntry> entries;
    const std::size_t header = FindSection(document, section);
    if (header == kNone) {
        return entries;
    }
    const std::size_t end = SectionEnd(document, header);
    TEntry entry;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (!ParseEntry(document.Lines[i], entry)) {
            continue;
        }
        bool seen = false;
        for (const TEntry& earlier : entries) {
            seen = seen || SameText(earlier.Name, entry.Name);
        }
        if (!seen) {
            entries.push_back(entry);
        }
    }
    return entries;
}

bool FindValue(const std::string& fileName, const std::string& section, const std::string& ident,
               std::string& value)
{
    const TIniDocument document = LoadDocument(fileName);
    const std::size_t header = FindSection(document, section);
    const std::size_t line = header == kNone ? kNone : FindEntry(document, header, ident);
    TEntry entry;
    if (line == kNone || !ParseEntry(document.Lines[line], entry)) {
        return false;
    }
    value = entry.Value;
    return true;
}

bool ParseIniInteger(std::string_view text, std::int32_t& value)
{
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.starts_with('-')) {
        return false;   // one sign only, and before the "$" or "0x"
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    number = negative ? -number : number;
    // Hexadecimal texts name a bit pattern: $FFFFFFFF is -1.
    if (base == 16 && !negative && number > INT32_MAX && number <= UINT32_MAX) {
        number -= 0x100000000LL;
    }
    if (number < INT32_MIN || number > INT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

std::string SingleLine(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const
{
    std::string value;
    return FindValue(FFileName, section, ident, value) ? value : def;
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& ident, std::int32_t def) const
{
    std::int32_t value = 0;
    return ParseIniInteger(ReadString(section, ident, ""), value) ? value : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) const
{
    std::string text = ReadString(section, ident, "");
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return text.empty() || error != std::errc() || end != text.data() + text.size() ? def : value;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    TIniDocument document = LoadDocument(FFileName);
    const std::string line = std::string(Trimmed(ident)) + "=" + SingleLine(value);
    const std::size_t header = FindSection(document, section);
    if (header == kNone) {
        if (!document.Lines.empty() && !Trimmed(document.Lines.back()).empty()) {
            document.Lines.emplace_back();
        }
        document.Lines.push_back("[" + section + "]");
        document.Lines.push_back(line);
    } else if (const std::size_t existing = FindEntry(document, header, ident); existing != kNone) {
        TEntry entry;
        ParseEntry(document.Lines[existing], entry);
        document.Lines[existing] = entry.Name + "=" + SingleLine(value);   // keeps the name's spelling
    } else {
        std::size_t at = SectionEnd(document, header);
        while (at > header + 1 && Trimmed(document.Lines[at - 1]).empty()) {
            --at;   // after the section's last line, before the blank lines that part it from the next
        }
        document.Lines.insert(document.Lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    }
    SaveDocument(FFileName, document);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, std::int32_t value)
{
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return FindSection(LoadDocument(FFileName), section) != kNone;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    std::string ignored;
    return FindValue(FFileName, section, ident, ignored);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    std::vector<std::string> names;
    for (TEntry& entry : SectionEntries(LoadDocument(FFileName), section)) {
        names.push_back(std::move(entry.Name));
    }
    return names;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> sections;
    std::string name;
    for (const std::string& line : LoadDocument(FFileName).Lines) {
        if (!ParseSectionHeader(line, name)) {
            continue;
        }
        bool seen = false;
        for (const std::string& earlier : sections) {
            seen = seen || SameText(earlier, name);
        }
        if (!seen) {
            sections.push_back(name);
        }
    }
    return sections;
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const
{
    std::vector<std::string> values;
    for (const TEntry& entry : SectionEntries(LoadDocument(FFileName), section)) {
        values.push_back(entry.Name + "=" + entry.Value);
    }
    return values;
}

void TIniFile::EraseSection(const std::string& section)
{
    TIniDocument document = LoadDocument(FFileName);
    bool changed = false;
    for (std::size_t header = FindSection(document, section); header != kNone;
         header = FindSection(document, section)) {
        const std::size_t end = SectionEnd(document, header);
        document.Lines.erase(document.Lines.begin() + static_cast<std::ptrdiff_t>(header),
                             document.Lines.begin() + static_cast<std::ptrdiff_t>(end));
        changed = true;
    }
    if (changed) {
        SaveDocument(FFileName, document);
    }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    TIniDocument document = LoadDocument(FFileName);
    const std::size_t header = FindSection(document, section);
    if (header == kNone) {
        return;
    }
    bool changed = false;
    for (std::size_t line = FindEntry(document, header, ident); line != kNone;
         line = FindEntry(document, header, ident)) {
        document.Lines.erase(document.Lines.begin() + static_cast<std::ptrdiff_t>(line));
        changed = true;
    }
    if (changed) {
        SaveDocument(FFileName, document);
    }
}

} // namespace plat
