// The registry stand-in's storage: a tree of keys with typed values, its text
// form, and the store file that is read fresh and replaced atomically under a lock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

struct TRegValue {
    std::string Name;
    TRegDataType Type = rdUnknown;
    std::string Bytes;          // the text (UTF-8) of a string, the bytes of a binary value
    std::int32_t Integer = 0;   // the number of an integer value
};

struct TRegKey {
    std::string Path;               // "Software\Maker\Program", as first created; "" for the root
    std::vector<TRegValue> Values;  // in the order of creation

    const TRegValue* FindValue(std::string_view name) const;
    // Replaces the value of that name (keeping its place and first spelling) or appends it.
    void SetValue(TRegValue value);
    bool DeleteValue(std::string_view name);
};

// Key path with empty components removed: "\A\\B\" gives "A\B".
std::string NormaliseKeyPath(std::string_view path);

class TRegistryTree {
public:
    TRegistryTree();

    const TRegKey* FindKey(std::string_view path) const;
    TRegKey* FindKey(std::string_view path);
    // The key, created with every missing parent.
    TRegKey& EnsureKey(std::string_view path);
    // Deletes the key with all its sub-keys; the root cannot be deleted.
    bool DeleteKey(std::string_view path);
    // Names of the direct sub-keys, sorted without regard to case.
    std::vector<std::string> SubKeyNames(std::string_view path) const;

    const std::map<std::string, TRegKey>& Keys() const { return FKeys; }
    bool operator==(const TRegistryTree& other) const;

private:
    std::map<std::string, TRegKey> FKeys;   // by folded path; the root "" is always present
};

// The store's text form. Parsing answers nothing for a text that is not a
// complete store (wrong header, a malformed line, a missing end line), so a
// damaged store is never half taken.
std::optional<TRegistryTree> ParseRegistryText(std::string_view text);
std::string FormatRegistryText(const TRegistryTree& tree);

// One store file. Readers take the file as it is (it is only ever replaced
// whole); writers hold an exclusive lock on "<path>.lock", read the file
// again, apply their change and replace the file, so concurrent writers in
// several processes lose no value.
class TRegistryFile {
public:
    explicit TRegistryFile(std::string path) : FPath(std::move(path)) {}

    const std::string& Path() const { return FPath; }

    // The stored tree; an empty tree when the file is missing, unreadable or damaged.
    TRegistryTree Read() const;

    // Applies change to the current tree and stores the result when change
    // answers true. Answers false when the store cannot be written. A damaged
    // file is kept as "<path>.bad" before it is replaced.
    bool Update(const std::function<bool(TRegistryTree&)>& change);

private:
    std::string FPath;
};

} // namespace plat
