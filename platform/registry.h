// TRegistry: the registry class over our per-user store files: roots, keys
// opened by path, typed values, and the machine's serial-port key.
#pragma once

#include "platform/registry_store.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

// Raised by the reads for a missing value or a value of another type, and by
// the writes when the key is open read-only or the store cannot be written.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each root is one store file: <ConfigRoot()>/qel/registry-user.txt and
// registry-machine.txt. Every operation reads the store afresh and every
// write replaces it atomically, so objects in several threads or processes
// see each other's writes and lose none. A damaged store reads as empty.
//
// Key paths are backslash-separated; one that begins with "\" starts at the
// root, any other at the open key (or at the root when none is open). Key
// and value names compare without regard to ASCII letter case.
//
// The machine key "HARDWARE" is read-only; "HARDWARE\DEVICEMAP\SERIALCOMM"
// lists the serial ports (value name -> device file, see serial_comm_key.h).
class TRegistry {
public:
    TRegistry() = default;

    HKEY RootKey() const { return FRootKey; }
    // Changes the root and closes the open key. Roots other than the two
    // above have no store: their keys never exist and writes fail.
    void SetRootKey(HKEY root);

    // Path of the open key below the root, without a leading "\"; empty when
    // no key is open (operations then act on the root itself).
    const std::string& CurrentPath() const { return FCurrentPath; }
    bool KeyOpen() const { return FKeyOpen; }

    // Opens a key for reading and writing, creating it (with its parents)
    // when canCreate is set; false when it does not exist or cannot be created.
    bool OpenKey(const std::string& key, bool canCreate);
    // Opens an existing key for reading; writes to it then raise.
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();

    // Creates a key with its parents; raises when it cannot be created.
    bool CreateKey(const std::string& key);
    // Deletes a key with all its sub-keys; false when it is missing or read-only.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key) const;

    bool ValueExists(const std::string& name) const;
    TRegDataType GetDataType(const std::string& name) const;   // rdUnknown when missing
    // Bytes of the value: a string's UTF-8 length plus its terminating zero,
    // 4 for an integer, the length of binary data; -1 when missing.
    int GetDataSize(const std::string& name) const;
    bool DeleteValue(const std::string& name);

    std::string ReadString(const std::string& name) const;
    std::int32_t ReadInteger(const std::string& name) const;
    bool ReadBool(const std::string& name) const;   // an integer value; true unless 0
    // Copies binary data into buffer; answers the number of bytes. Raises
    // when the buffer is smaller than the data.
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const;

    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);
    void WriteBool(const std::string& name, bool value);   // integer 1 or 0
    void WriteBinaryData(const std::string& name, const void* buffer, int bufferSize);

    // Value names of the open key in the order of creation; sub-key names sorted.
    std::vector<std::string> GetValueNames() const;
    std::vector<std::string> GetKeyNames() const;

private:
    std::string Resolve(const std::string& key) const;
    bool HasStore() const;
    TRegistryFile Store() const;
    // The root's tree as stored, with the machine's synthesised keys added.
    TRegistryTree ReadTree() const;
    // The key's path as first created; empty when it does not exist (or is the root).
    std::string StoredPath(const std::string& path) const;
    const TRegValue& RequireValue(const TRegistryTree& tree, const std::string& name, TRegDataType type) const;
    void WriteValue(TRegValue value);

    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;   // the open key was opened with OpenKeyReadOnly
};

} // namespace plat
