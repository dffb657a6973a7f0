// TRegistry over the store files: path resolution, the read-only hardware
// branch, typed reads that raise on a missing or mistyped value, locked writes.
#include "platform/registry.h"

#include "platform/ascii_case.h"
#include "platform/known_folders.h"
#include "platform/serial_comm_key.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr const char* kHardwareKey = "HARDWARE";
constexpr const char* kSerialCommKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The machine's hardware branch is built from the system, never stored.
bool IsReadOnlyPath(HKEY root, const std::string& path)
{
    const std::string folded = FoldCase(path);
    return root == HKEY_LOCAL_MACHINE && (folded == "hardware" || folded.starts_with("hardware\\"));
}

void AddSerialCommKey(TRegistryTree& tree)
{
    tree.DeleteKey(kHardwareKey);
    TRegKey& key = tree.EnsureKey(kSerialCommKey);
    for (const TSerialCommEntry& port : ListSerialPorts(SysfsRoot(), DeviceFolder())) {
        TRegValue value;
        value.Name = port.Name;
        value.Type = rdString;
        value.Bytes = port.Port;
        key.SetValue(std::move(value));
    }
}

} // namespace

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    FRootKey = root;
}

std::string TRegistry::Resolve(const std::string& key) const
{
    if (!key.empty() && key[0] == '\\') {
        return NormaliseKeyPath(key);
    }
    return NormaliseKeyPath(FCurrentPath + "\\" + key);
}

bool TRegistry::HasStore() const
{
    return (FRootKey == HKEY_CURRENT_USER || FRootKey == HKEY_LOCAL_MACHINE) && !ConfigRoot().empty();
}

TRegistryFile TRegistry::Store() const
{
    const char* name = FRootKey == HKEY_LOCAL_MACHINE ? "registry-machine.txt" : "registry-user.txt";
    return TRegistryFile(ConfigRoot() + "/qel/" + name);
}

TRegistryTree TRegistry::ReadTree() const
{
    TRegistryTree tree = HasStore() ? Store().Read() : TRegistryTree();
    if (FRootKey == HKEY_LOCAL_MACHINE) {
        AddSerialCommKey(tree);
    }
    return tree;
}

std::string TRegistry::StoredPath(const std::string& path) const
{
    const TRegistryTree tree = ReadTree();
    const TRegKey* key = tree.FindKey(path);
    return key == nullptr ? std::string() : key->Path;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const std::string path = Resolve(key);
    if (IsReadOnlyPath(FRootKey, path)) {
        return false;   // readable only through OpenKeyReadOnly
    }
    std::string stored = StoredPath(path);
    if (stored.empty() && !path.empty() && canCreate && HasStore()) {
        Store().Update([&path](TRegistryTree& tree) {
            tree.EnsureKey(path);
            return true;
        });
        stored = StoredPath(path);   // empty again when the store could not be written
    }
    if (stored.empty() && !path.empty()) {
        return false;
    }
    FCurrentPath = stored;
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    const std::string path = Resolve(key);
    const std::string stored = StoredPath(path);
    if (stored.empty() && !path.empty()) {
        return false;
    }
    FCurrentPath = stored;
    FKeyOpen = true;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FCurrentPath.clear();
    FKeyOpen = false;
    FReadOnly = false;
}

bool TRegistry::CreateKey(const std::string& key)
{
    const std::string path = Resolve(key);
    if (ReadTree().FindKey(path) != nullptr) {
        return true;
    }
    const bool created = !IsReadOnlyPath(FRootKey, path) && HasStore() &&
                         Store().Update([&path](TRegistryTree& tree) {
                             tree.EnsureKey(path);
                             return true;
                         });
    if (!created) {
        throw ERegistryException("Cannot create registry key " + Quoted(path));
    }
    return true;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    const std::string path = Resolve(key);
    if (path.empty() || IsReadOnlyPath(FRootKey, path) || !HasStore()) {
        return false;
    }
    bool deleted = false;
    const bool stored = Store().Update([&](TRegistryTree& tree) {
        deleted = tree.DeleteKey(path);
        return deleted;
    });
    return stored && deleted;
}

bool TRegistry::KeyExists(const std::string& key) const
{
    return ReadTree().FindKey(Resolve(key)) != nullptr;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return GetDataType(name) != rdUnknown;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const
{
    const TRegistryTree tree = ReadTree();
    const TRegKey* key = tree.FindKey(FCurrentPath);
    const TRegValue* value = key == nullptr ? nullptr : key->FindValue(name);
    return value == nullptr ? rdUnknown : value->Type;
}

int TRegistry::GetDataSize(const std::string& name) const
{
    const TRegistryTree tree = ReadTree();
    const TRegKey* key = tree.FindKey(FCurrentPath);
    const TRegValue* value = key == nullptr ? nullptr : key->FindValue(name);
    if (value == nullptr) {
        return -1;
    }
    switch (value->Type) {
    case rdInteger: return 4;
    case rdString: return static_cast<int>(value->Bytes.size()) + 1;
    default: return static_cast<int>(value->Bytes.size());
    }
}

bool TRegistry::DeleteValue(const std::string& name)
{
    if (FReadOnly || IsReadOnlyPath(FRootKey, FCurrentPath) || !HasStore()) {
        return false;
    }
    bool deleted = false;
    const bool stored = Store().Update([&](TRegistryTree& tree) {
        TRegKey* key = tree.FindKey(FCurrentPath);
        deleted = key != nullptr && key->DeleteValue(name);
        return deleted;
    });
    return stored && deleted;
}

const TRegValue& TRegistry::RequireValue(const TRegistryTree& tree, const std::string& name,
                                         TRegDataType type) const
{
    const TRegKey* key = tree.FindKey(FCurrentPath);
    const TRegValue* value = key == nullptr ? nullptr : key->FindValue(name);
    if (value == nullptr) {
        throw ERegistryException("Registry value " + Quoted(name) + " not found in key " + Quoted(FCurrentPath));
    }
    if (value->Type != type) {
        throw ERegistryException("Registry value " + Quoted(name) + " in key " + Quoted(FCurrentPath) +
                                 " has another data type");
    }
    return *value;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    return RequireValue(ReadTree(), name, rdString).Bytes;
}

std::int32_t TRegistry::ReadInteger(const std::string& name) const
{
    return RequireValue(ReadTree(), name, rdInteger).Integer;
}

bool TRegistry::ReadBool(const std::string& name) const
{
    return ReadInteger(name) != 0;
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const
{
    const TRegistryTree tree = ReadTree();
    const std::string& bytes = RequireValue(tree, name, rdBinary).Bytes;
    if (bufferSize < 0 || static_cast<std::size_t>(bufferSize) < bytes.size()) {
        throw ERegistryException("Registry value " + Quoted(name) + " holds " + std::to_string(bytes.size()) +
                                 " bytes, more than the buffer takes");
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

void TRegistry::WriteValue(TRegValue value)
{
    const std::string failure = "Cannot write registry value " + Quoted(value.Name) + " in key " +
                                Quoted(FCurrentPath) + ": ";
    if (FReadOnly || IsReadOnlyPath(FRootKey, FCurrentPath)) {
        throw ERegistryException(failure + "the key is open for reading only");
    }
    if (!HasStore()) {
        throw ERegistryException(failure + "no registry store for this root");
    }
    const std::string path = FCurrentPath;
    const bool stored = Store().Update([&](TRegistryTree& tree) {
        tree.EnsureKey(path).SetValue(std::move(value));
        return true;
    });
    if (!stored) {
        throw ERegistryException(failure + "the store " + Quoted(Store().Path()) + " cannot be written");
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    TRegValue stored;
    stored.Name = name;
    stored.Type = rdString;
    stored.Bytes = value;
    WriteValue(std::move(stored));
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value)
{
    TRegValue stored;
    stored.Name = name;
    stored.Type = rdInteger;
    stored.Integer = value;
    WriteValue(std::move(stored));
}

void TRegistry::WriteBool(const std::string& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufferSize)
{
    TRegValue stored;
    stored.Name = name;
    stored.Type = rdBinary;
    if (bufferSize > 0) {
        stored.Bytes.assign(static_cast<const char*>(buffer), static_cast<std::size_t>(bufferSize));
    }
    WriteValue(std::move(stored));
}

std::vector<std::string> TRegistry::GetValueNames() const
{
    const TRegistryTree tree = ReadTree();
    std::vector<std::string> names;
    if (const TRegKey* key = tree.FindKey(FCurrentPath)) {
        for (const TRegValue& value : key->Values) {
            names.push_back(value.Name);
        }
    }
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const
{
    return ReadTree().SubKeyNames(FCurrentPath);
}

} // namespace plat
