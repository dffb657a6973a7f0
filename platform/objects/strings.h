// TStrings: the interface of every list of text lines (string lists, the
// items of list and combo boxes, the lines of an editor): lines with an
// object each, text, comma text, name=value pairs, and UTF-8 files and
// streams. Descendants store the lines; this class builds the rest on
// their few operations.
#pragma once

#include "platform/objects/persistent.h"

#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TStream;

class TStrings : public TPersistent {
    PLAT_CLASS(TStrings, TPersistent)
public:
    // The storage a descendant supplies. Index errors raise EListError.
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // The object stored with a line; the base stores none.
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    // Replaces a line, keeping its object.
    virtual void Put(int index, const std::string& text);

    std::string Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    // Appends and answers the line's index (a sorted list places it).
    virtual int Add(const std::string& text);
    int AddObject(const std::string& text, TObject* object);
    void AddStrings(const TStrings& lines);
    void InsertObject(int index, const std::string& text, TObject* object);
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    // The first line equal to text (CompareStrings), or -1.
    virtual int IndexOf(std::string_view text) const;
    int IndexOfObject(const TObject* object) const;
    bool Equals(const TStrings& other) const;

    // Name=value lines: the name is the part before the first separator.
    char NameValueSeparator = '=';
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(std::string_view name) const;
    // The value of the first line named name; empty when there is none.
    std::string Values(std::string_view name) const;
    // Sets the value of the line named name, adds a line when there is
    // none, deletes it when value is empty.
    void SetValue(std::string_view name, const std::string& value);

    // The lines, each followed by LineBreak.
    std::string Text() const;
    // Replaces the lines by those of text, split at CR LF, LF or CR; a
    // last line break adds no empty line.
    void SetText(std::string_view text);
    std::string LineBreak = "\n";

    // Lines joined by Delimiter; an empty line, and a line holding a
    // blank, a control character, the delimiter or QuoteChar (only the last
    // two with StrictDelimiter), stands in quotes with inner quotes doubled.
    std::string DelimitedText() const;
    // Splits text at Delimiter (and, without StrictDelimiter, at blanks and
    // control characters); quoted parts keep their blanks and delimiters.
    void SetDelimitedText(std::string_view text);
    char Delimiter = ',';
    char QuoteChar = '"';
    bool StrictDelimiter = false;
    // DelimitedText with "," and '"', whatever Delimiter and QuoteChar are.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // UTF-8 text; a leading byte-order mark is skipped, and text that is
    // not UTF-8 is read as Windows-1252. File errors raise the stream errors.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    // Text() as UTF-8, without a byte-order mark.
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    // Updates nest; a list tells of changes only outside them.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Takes the lines and objects of another TStrings.
    void Assign(const TPersistent* source) override;

    // Negative, 0 or positive as a sorts before, with or after b; the base
    // ignores the case of ASCII letters.
    virtual int CompareStrings(std::string_view a, std::string_view b) const;

protected:
    // Called when the outermost update begins (true) and ends (false).
    virtual void SetUpdateState(bool updating);

private:
    std::string Joined(char delimiter, char quote) const;
    void Split(std::string_view text, char delimiter, char quote);

    int FUpdateCount = 0;
};

// Compares texts byte by byte, optionally with ASCII letters folded to
// small ones: the order string lists sort in.
int CompareTextOrder(std::string_view a, std::string_view b, bool caseSensitive);

} // namespace plat
