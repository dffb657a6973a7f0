// TStrings: text, delimited text, name=value pairs and files built on the
// line storage of a descendant.
#include "platform/objects/strings.h"

#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TStrings, TPersistent)

namespace {

char FoldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True for the bytes that end an unquoted part: blanks and control characters.
bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Quoted(std::string_view text, char quote)
{
    std::string result(1, quote);
    for (char c : text) {
        result += c;
        if (c == quote) {
            result += quote;
        }
    }
    result += quote;
    return result;
}

// Reads a quoted part starting at text[at] (the opening quote); doubled
// quotes stand for one. Moves at behind the closing quote (or to the end).
std::string ExtractQuoted(std::string_view text, std::size_t& at, char quote)
{
    std::string result;
    ++at;
    while (at < text.size()) {
        if (text[at] == quote) {
            if (at + 1 < text.size() && text[at + 1] == quote) {
                result += quote;
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        result += text[at++];
    }
    return result;
}

} // namespace

int CompareTextOrder(std::string_view a, std::string_view b, bool caseSensitive)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t index = 0; index < common; ++index) {
        const auto x = static_cast<unsigned char>(caseSensitive ? a[index] : FoldChar(a[index]));
        const auto y = static_cast<unsigned char>(caseSensitive ? b[index] : FoldChar(b[index]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject*)
{
}

void TStrings::Put(int index, const std::string& text)
{
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, text, object);
    EndUpdate();
}

int TStrings::Add(const std::string& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object)
{
    const int index = Add(text);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& lines)
{
    BeginUpdate();
    for (int index = 0; index < lines.Count(); ++index) {
        AddObject(lines.Get(index), lines.GetObject(index));
    }
    EndUpdate();
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object)
{
    Insert(index, text);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2)
{
    BeginUpdate();
    const std::string text1 = Get(index1);
    TObject* object1 = GetObject(index1);
    const std::string text2 = Get(index2);
    TObject* object2 = GetObject(index2);
    Put(index1, text2);
    PutObject(index1, object2);
    Put(index2, text1);
    PutObject(index2, object1);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex) {
        return;
    }
    BeginUpdate();
    const std::string text = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, text, object);
    EndUpdate();
}

int TStrings::IndexOf(std::string_view text) const
{
    for (int index = 0; index < Count(); ++index) {
        if (CompareStrings(Get(index), text) == 0) {
            return index;
        }
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const
{
    for (int index = 0; index < Count(); ++index) {
        if (GetObject(index) == object) {
            return index;
        }
    }
    return -1;
}

bool TStrings::Equals(const TStrings& other) const
{
    if (Count() != other.Count()) {
        return false;
    }
    for (int index = 0; index < Count(); ++index) {
        if (Get(index) != other.Get(index)) {
            return false;
        }
    }
    return true;
}

std::string TStrings::Names(int index) const
{
    const std::string line = Get(index);
    const auto separator = line.find(NameValueSeparator);
    return separator == std::string::npos ? std::string() : line.substr(0, separator);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string line = Get(index);
    const auto separator = line.find(NameValueSeparator);
    return separator == std::string::npos ? std::string() : line.substr(separator + 1);
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int index = 0; index < Count(); ++index) {
        const std::string line = Get(index);
        const auto separator = line.find(NameValueSeparator);
        if (separator != std::string::npos && CompareStrings(std::string_view(line).substr(0, separator), name) == 0) {
            return index;
        }
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const
{
    const int index = IndexOfName(name);
    return index >= 0 ? ValueFromIndex(index) : std::string();
}

void TStrings::SetValue(std::string_view name, const std::string& value)
{
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) {
            Delete(index);
        }
        return;
    }
    const std::string line = std::string(name) + NameValueSeparator + value;
    if (index >= 0) {
        Put(index, line);
    } else {
        Add(line);
    }
}

std::string TStrings::Text() const
{
    std::string text;
    for (int index = 0; index < Count(); ++index) {
        text += Get(index);
        text += LineBreak;
    }
    return text;
}

void TStrings::SetText(std::string_view text)
{
    BeginUpdate();
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            Add(std::string(text.substr(start)));
            break;
        }
        Add(std::string(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    EndUpdate();
}

std::string TStrings::DelimitedText() const
{
    return Joined(Delimiter, QuoteChar);
}

void TStrings::SetDelimitedText(std::string_view text)
{
    Split(text, Delimiter, QuoteChar);
}

std::string TStrings::CommaText() const
{
    return Joined(',', '"');
}

void TStrings::SetCommaText(std::string_view text)
{
    Split(text, ',', '"');
}

std::string TStrings::Joined(char delimiter, char quote) const
{
    std::string text;
    for (int index = 0; index < Count(); ++index) {
        const std::string line = Get(index);
        const bool needsQuotes = line.empty() || std::any_of(line.begin(), line.end(), [&](char c) {
            return c == quote || c == delimiter || (!StrictDelimiter && IsBlank(c));
        });
        if (index > 0) {
            text += delimiter;
        }
        text += needsQuotes ? Quoted(line, quote) : line;
    }
    return text;
}

void TStrings::Split(std::string_view text, char delimiter, char quote)
{
    const auto skipBlanks = [&](std::size_t& at) {
        while (!StrictDelimiter && at < text.size() && IsBlank(text[at])) {
            ++at;
        }
    };
    BeginUpdate();
    Clear();
    std::size_t at = 0;
    skipBlanks(at);
    while (at < text.size()) {
        if (text[at] == quote) {
            Add(ExtractQuoted(text, at, quote));
        } else {
            const std::size_t start = at;
            while (at < text.size() && text[at] != delimiter && (StrictDelimiter || !IsBlank(text[at]))) {
                ++at;
            }
            Add(std::string(text.substr(start, at - start)));
        }
        skipBlanks(at);
        if (at < text.size() && text[at] == delimiter) {
            ++at;
            if (at == text.size()) {
                Add({});   // a delimiter at the very end stands before an empty part
            }
            skipBlanks(at);
        }
    }
    EndUpdate();
}

void TStrings::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    if (IsValidUtf8(text)) {
        SetText(text);
    } else {
        SetText(AnsiToUtf8(text));
    }
}

void TStrings::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToStream(TStream& stream) const
{
    const std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::SaveToFile(const std::string& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0) {
        SetUpdateState(true);
    }
}

void TStrings::EndUpdate()
{
    if (--FUpdateCount == 0) {
        SetUpdateState(false);
    }
}

void TStrings::Assign(const TPersistent* source)
{
    const auto* lines = dynamic_cast<const TStrings*>(source);
    if (lines == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        NameValueSeparator = lines->NameValueSeparator;
        Delimiter = lines->Delimiter;
        QuoteChar = lines->QuoteChar;
        StrictDelimiter = lines->StrictDelimiter;
        AddStrings(*lines);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const
{
    return CompareTextOrder(a, b, false);
}

void TStrings::SetUpdateState(bool)
{
}

} // namespace plat
