// The registry tree, its line-based text form and the locked, atomically
// replaced store file.
#include "platform/registry_store.h"

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace plat {

// Text form (UTF-8, one item per line):
//   ; QEL registry store 1
//   [Software\QEL-Electronics\QEL-Pro]
//   str "FileDir" "/home/user/data"
//   int "Language" 1
//   bin "Window" "0a0bff"
//   ; end
// Inside quotes and key brackets the bytes below 0x20, 0x7F and % " [ ] are
// written as %XX. Every key is listed, empty ones too; the root only when it
// holds values. The end line tells a complete file from a cut one.

namespace {

constexpr std::string_view kHeaderLine = "; QEL registry store 1";
constexpr std::string_view kEndLine = "; end";
constexpr std::uintmax_t kMaxStoreSize = 64u << 20;   // anything larger is not a store of ours
constexpr char kHexDigits[] = "0123456789abcdef";

bool NeedsEscape(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '%' || c == '"' || c == '[' || c == ']';
}

std::string Escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (NeedsEscape(byte)) {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Decodes %XX escapes; false for a malformed escape or a byte that should
// have been escaped.
bool Unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte != '%') {
            if (NeedsEscape(byte)) {
                return false;
            }
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return false;
        }
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// Reads a quoted item at line[pos] and moves pos past it.
bool TakeQuoted(std::string_view line, std::size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"') {
        return false;
    }
    const std::size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    const bool ok = Unescape(line.substr(pos + 1, close - pos - 1), out);
    pos = close + 1;
    return ok;
}

bool TakeSpace(std::string_view line, std::size_t& pos)
{
    if (pos >= line.size() || line[pos] != ' ') {
        return false;
    }
    ++pos;
    return true;
}

bool ParseInteger(std::string_view text, std::int32_t& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10) {
        return false;
    }
    std::int64_t number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    if (negative) {
        number = -number;
    }
    if (number < INT32_MIN || number > INT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

bool ParseHex(std::string_view text, std::string& bytes)
{
    if (text.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

// A value line: <type> "<name>" <payload>, with payload "<text>", a decimal
// integer, or "<hex bytes>".
bool ParseValueLine(std::string_view line, TRegValue& value)
{
    if (line.size() < 4) {
        return false;
    }
    const std::string_view type = line.substr(0, 3);
    std::size_t pos = 3;
    if (!TakeSpace(line, pos) || !TakeQuoted(line, pos, value.Name) || !TakeSpace(line, pos)) {
        return false;
    }
    if (type == "int") {
        value.Type = rdInteger;
        return ParseInteger(line.substr(pos), value.Integer);
    }
    std::string payload;
    if (!TakeQuoted(line, pos, payload) || pos != line.size()) {
        return false;
    }
    if (type == "str") {
        value.Type = rdString;
        value.Bytes = std::move(payload);
        return true;
    }
    if (type == "bin") {
        value.Type = rdBinary;
        return ParseHex(payload, value.Bytes);
    }
    return false;
}

std::string HexText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0x0F];
    }
    return out;
}

std::string ValueLine(const TRegValue& value)
{
    std::string name = "\"";
    name += Escaped(value.Name);
    name += "\" ";
    switch (value.Type) {
    case rdInteger: return "int " + name + std::to_string(value.Integer);
    case rdBinary: return "bin " + name + "\"" + HexText(value.Bytes) + "\"";
    default: return "str " + name + "\"" + Escaped(value.Bytes) + "\"";
    }
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Reads a whole file; false when it does not exist. A file that exists but
// cannot be read, or is too large, gives true with damaged set.
bool ReadStoreFile(const std::string& path, std::string& text, bool& damaged)
{
    damaged = false;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        if (error == std::errc::no_such_file_or_directory) {
            return false;
        }
        damaged = true;
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || size > kMaxStoreSize) {
        damaged = true;
        return true;
    }
    text.assign(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

// An exclusive lock on "<store>.lock", released on destruction.
class TStoreLock {
public:
    explicit TStoreLock(const std::string& storePath)
    {
        FHandle = open((storePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (FHandle < 0) {
            return;
        }
        int result = 0;
        do {
            result = flock(FHandle, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            close(FHandle);
            FHandle = -1;
        }
    }
    ~TStoreLock()
    {
        if (FHandle >= 0) {
            close(FHandle);
        }
    }
    TStoreLock(const TStoreLock&) = delete;
    TStoreLock& operator=(const TStoreLock&) = delete;

    bool Held() const { return FHandle >= 0; }

private:
    int FHandle = -1;
};

} // namespace

std::string NormaliseKeyPath(std::string_view path)
{
    std::string out;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            if (!out.empty()) {
                out += '\\';
            }
            out += path.substr(start, end - start);
        }
        start = end + 1;
    }
    return out;
}

// ---- TRegKey

const TRegValue* TRegKey::FindValue(std::string_view name) const
{
    for (const TRegValue& value : Values) {
        if (SameText(value.Name, name)) {
            return &value;
        }
    }
    return nullptr;
}

void TRegKey::SetValue(TRegValue value)
{
    for (TRegValue& existing : Values) {
        if (SameText(existing.Name, value.Name)) {
            value.Name = existing.Name;
            existing = std::move(value);
            return;
        }
    }
    Values.push_back(std::move(value));
}

bool TRegKey::DeleteValue(std::string_view name)
{
    for (auto it = Values.begin(); it != Values.end(); ++it) {
        if (SameText(it->Name, name)) {
            Values.erase(it);
            return true;
        }
    }
    return false;
}

// ---- TRegistryTree

TRegistryTree::TRegistryTree()
{
    FKeys.emplace("", TRegKey{});
}

const TRegKey* TRegistryTree::FindKey(std::string_view path) const
{
    const auto found = FKeys.find(FoldCase(NormaliseKeyPath(path)));
    return found == FKeys.end() ? nullptr : &found->second;
}

TRegKey* TRegistryTree::FindKey(std::string_view path)
{
    const auto found = FKeys.find(FoldCase(NormaliseKeyPath(path)));
    return found == FKeys.end() ? nullptr : &found->second;
}

TRegKey& TRegistryTree::EnsureKey(std::string_view path)
{
    const std::string normalised = NormaliseKeyPath(path);
    TRegKey* key = &FKeys.at("");
    std::size_t start = 0;
    while (start < normalised.size()) {
        std::size_t end = normalised.find('\\', start);
        if (end == std::string::npos) {
            end = normalised.size();
        }
        auto [it, added] = FKeys.try_emplace(FoldCase(normalised.substr(0, end)));
        if (added) {
            // A new key takes its parent's spelling and its own name as given.
            it->second.Path = key->Path.empty() ? normalised.substr(0, end)
                                                : key->Path + '\\' + normalised.substr(start, end - start);
        }
        key = &it->second;
        start = end + 1;
    }
    return *key;
}

bool TRegistryTree::DeleteKey(std::string_view path)
{
    const std::string folded = FoldCase(NormaliseKeyPath(path));
    if (folded.empty() || FKeys.erase(folded) == 0) {
        return false;
    }
    const std::string prefix = folded + "\\";
    for (auto it = FKeys.lower_bound(prefix); it != FKeys.end() && it->first.starts_with(prefix);) {
        it = FKeys.erase(it);
    }
    return true;
}

std::vector<std::string> TRegistryTree::SubKeyNames(std::string_view path) const
{
    const std::string folded = FoldCase(NormaliseKeyPath(path));
    const std::string prefix = folded.empty() ? std::string() : folded + "\\";
    std::vector<std::string> names;
    for (auto it = FKeys.lower_bound(prefix); it != FKeys.end() && it->first.starts_with(prefix); ++it) {
        if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos) {
            names.push_back(it->second.Path.substr(prefix.size()));
        }
    }
    return names;
}

bool TRegistryTree::operator==(const TRegistryTree& other) const
{
    if (FKeys.size() != other.FKeys.size()) {
        return false;
    }
    for (auto a = FKeys.begin(), b = other.FKeys.begin(); a != FKeys.end(); ++a, ++b) {
        if (a->first != b->first || a->second.Path != b->second.Path ||
            a->second.Values.size() != b->second.Values.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a->second.Values.size(); ++i) {
            const TRegValue& x = a->second.Values[i];
            const TRegValue& y = b->second.Values[i];
            if (x.Name != y.Name || x.Type != y.Type || x.Bytes != y.Bytes || x.Integer != y.Integer) {
                return false;
            }
        }
    }
    return true;
}

// ---- text form

std::optional<TRegistryTree> ParseRegistryText(std::string_view text)
{
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || lines[0] != kHeaderLine) {
        return std::nullopt;
    }
    TRegistryTree tree;
    TRegKey* current = nullptr;
    bool ended = false;
    std::string path;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) {
            continue;
        }
        if (ended) {
            return std::nullopt;   // nothing may follow the end line
        }
        if (line == kEndLine) {
            ended = true;
        } else if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            if (!Unescape(line.substr(1, line.size() - 2), path)) {
                return std::nullopt;
            }
            current = &tree.EnsureKey(path);
        } else {
            TRegValue value;
            if (current == nullptr || !ParseValueLine(line, value)) {
                return std::nullopt;
            }
            current->SetValue(std::move(value));
        }
    }
    if (!ended) {
        return std::nullopt;
    }
    return tree;
}

std::string FormatRegistryText(const TRegistryTree& tree)
{
    std::string text(kHeaderLine);
    text += '\n';
    for (const auto& [folded, key] : tree.Keys()) {
        if (folded.empty() && key.Values.empty()) {
            continue;
        }
        text += '[';
        text += Escaped(key.Path);
        text += "]\n";
        for (const TRegValue& value : key.Values) {
            text += ValueLine(value);
            text += '\n';
        }
    }
    text += kEndLine;
    text += '\n';
    return text;
}

// ---- TRegistryFile

TRegistryTree TRegistryFile::Read() const
{
    std::string text;
    bool damaged = false;
    if (!ReadStoreFile(FPath, text, damaged) || damaged) {
        return {};
    }
    std::optional<TRegistryTree> tree = ParseRegistryText(text);
    return tree ? std::move(*tree) : TRegistryTree();
}

bool TRegistryFile::Update(const std::function<bool(TRegistryTree&)>& change)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(FPath).parent_path(), error);
    const TStoreLock lock(FPath);
    if (!lock.Held()) {
        return false;
    }
    std::string text;
    bool damaged = false;
    std::optional<TRegistryTree> tree;
    if (ReadStoreFile(FPath, text, damaged) && !damaged) {
        tree = ParseRegistryText(text);
        damaged = !tree;
    }
    if (damaged) {
        std::rename(FPath.c_str(), (FPath + ".bad").c_str());   // keep it for inspection
    }
    if (!tree) {
        tree.emplace();
    }
    if (!change(*tree)) {
        return true;
    }
    try {
        const std::string newText = FormatRegistryText(*tree);
        TAtomicFileStream out(FPath);
        out.WriteBuffer(newText.data(), static_cast<std::int64_t>(newText.size()));
        out.Commit();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

} // namespace plat
