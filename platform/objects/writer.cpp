// TWriter: components, properties and values into the component stream.
#include "platform/objects/writer.h"

#include "platform/objects/collection.h"
#include "platform/objects/component.h"

#include <bit>
#include <cstring>
#include <limits>
#include <optional>

namespace plat {

namespace {

template <class T>
void PutLittleEndian(unsigned char* target, T value)
{
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t index = 0; index < sizeof(T); ++index) {
        target[index] = static_cast<unsigned char>(bits & 0xFF);
        bits = static_cast<decltype(bits)>(bits >> 8);
    }
}

template <class T>
bool Fits(std::int64_t value)
{
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// The names from root down to component ("Panel1.Button1"), or nothing
// when component does not stand in root's tree.
std::optional<std::string> ReferencePath(const TComponent* component, const TComponent* root)
{
    if (component == root) {
        return root->Name().empty() ? std::nullopt : std::optional<std::string>(root->Name());
    }
    std::string path;
    for (const TComponent* current = component; current != root; current = current->Owner()) {
        if (current == nullptr || current->Name().empty()) {
            return std::nullopt;
        }
        path = path.empty() ? current->Name() : current->Name() + "." + path;
    }
    return path;
}

} // namespace

void TWriter::WriteRootComponent(TComponent* root)
{
    FRoot = root;
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteSignature()
{
    WriteBytes(kComponentStreamSignature, sizeof kComponentStreamSignature);
}

void TWriter::WriteComponent(TComponent* component)
{
    const bool wasWriting = component->FComponentState.Contains(csWriting);
    component->FComponentState.Include(csWriting);
    try {
        component->WriteState(*this);
    } catch (...) {
        if (!wasWriting) {
            component->FComponentState.Exclude(csWriting);
        }
        throw;
    }
    if (!wasWriting) {
        component->FComponentState.Exclude(csWriting);
    }
}

void TWriter::WriteData(TComponent* component)
{
    WriteStr(component->ClassName());
    WriteStr(component->Name());
    WriteProperties(component);
    WriteListEnd();
    component->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
    WriteListEnd();
}

void TWriter::WriteProperties(const TPersistent* instance)
{
    for (const TPropInfo* property : instance->ClassType()->Properties()) {
        if (property->IsStored(*instance)) {
            WriteProperty(instance, *property);
        }
    }
    const_cast<TPersistent*>(instance)->DefineProperties(*this);
}

void TWriter::WriteProperty(const TPersistent* instance, const TPropInfo& property)
{
    switch (property.Kind()) {
    case TPropertyKind::Object:
        WriteObject(instance, property);
        return;
    case TPropertyKind::Float:
        if (!property.IsDefault(*instance)) {
            WritePropName(property.Name());
            WriteFloat(property.GetFloat(*instance));
        }
        return;
    case TPropertyKind::String:
        if (!property.IsDefault(*instance)) {
            WritePropName(property.Name());
            WriteString(property.GetString(*instance));
        }
        return;
    default:
        if (!property.IsDefault(*instance)) {
            WriteOrdinal(instance, property);
        }
        return;
    }
}

void TWriter::WriteOrdinal(const TPersistent* instance, const TPropInfo& property)
{
    const std::int64_t value = property.GetOrdinal(*instance);
    const auto& names = property.Names();
    WritePropName(property.Name());
    std::string ident;
    switch (property.Kind()) {
    case TPropertyKind::Boolean:
        WriteBoolean(value != 0);
        break;
    case TPropertyKind::Enumeration:
        if (value >= 0 && value < static_cast<std::int64_t>(names.size())) {
            WriteIdent(names[static_cast<std::size_t>(value)]);
        } else {
            WriteInteger(value);
        }
        break;
    case TPropertyKind::Set: {
        std::vector<std::string> members;
        for (std::size_t bit = 0; bit < names.size() && bit < 64; ++bit) {
            if ((static_cast<std::uint64_t>(value) >> bit) & 1U) {
                members.push_back(names[bit]);
            }
        }
        WriteSet(members);
        break;
    }
    default:
        if (property.IdentMap() != nullptr && property.IdentMap()->IntToIdent(value, ident)) {
            WriteIdent(ident);
        } else {
            WriteInteger(value);
        }
        break;
    }
}

void TWriter::WriteObject(const TPersistent* instance, const TPropInfo& property)
{
    TObject* value = property.GetObject(*instance);
    if (auto* component = dynamic_cast<TComponent*>(value)) {
        const std::optional<std::string> path = ReferencePath(component, FRoot);
        if (path) {
            WritePropName(property.Name());
            WriteIdent(*path);
        }
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        if (collection->Count() > 0) {
            WritePropName(property.Name());
            WriteCollection(collection);
        }
        return;
    }
    if (auto* subObject = dynamic_cast<TPersistent*>(value)) {
        const std::string outerPath = FPropPath;
        FPropPath += property.Name() + ".";
        try {
            WriteProperties(subObject);
        } catch (...) {
            FPropPath = outerPath;
            throw;
        }
        FPropPath = outerPath;
    }
}

void TWriter::WriteCollection(const TCollection* collection)
{
    WriteValue(TValueType::vaCollection);
    const std::string outerPath = FPropPath;
    FPropPath.clear();
    try {
        for (int index = 0; index < collection->Count(); ++index) {
            WriteListBegin();
            WriteProperties(collection->Items(index));
            WriteListEnd();
        }
    } catch (...) {
        FPropPath = outerPath;
        throw;
    }
    FPropPath = outerPath;
    WriteListEnd();
}

void TWriter::WritePropName(std::string_view name)
{
    WriteStr(FPropPath + std::string(name));
}

void TWriter::WriteValue(TValueType value)
{
    const auto tag = static_cast<std::uint8_t>(value);
    WriteBytes(&tag, 1);
}

void TWriter::WriteInteger(std::int64_t value)
{
    unsigned char buffer[9];
    std::size_t size = 0;
    if (Fits<std::int8_t>(value)) {
        buffer[0] = static_cast<unsigned char>(TValueType::vaInt8);
        PutLittleEndian(buffer + 1, static_cast<std::int8_t>(value));
        size = 2;
    } else if (Fits<std::int16_t>(value)) {
        buffer[0] = static_cast<unsigned char>(TValueType::vaInt16);
        PutLittleEndian(buffer + 1, static_cast<std::int16_t>(value));
        size = 3;
    } else if (Fits<std::int32_t>(value)) {
        buffer[0] = static_cast<unsigned char>(TValueType::vaInt32);
        PutLittleEndian(buffer + 1, static_cast<std::int32_t>(value));
        size = 5;
    } else {
        buffer[0] = static_cast<unsigned char>(TValueType::vaInt64);
        PutLittleEndian(buffer + 1, value);
        size = 9;
    }
    WriteBytes(buffer, static_cast<std::int64_t>(size));
}

void TWriter::WriteFloat(double value)
{
    unsigned char buffer[9];
    buffer[0] = static_cast<unsigned char>(TValueType::vaDouble);
    PutLittleEndian(buffer + 1, std::bit_cast<std::uint64_t>(value));
    WriteBytes(buffer, sizeof buffer);
}

void TWriter::WriteString(std::string_view value)
{
    if (value.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw EWriteError("Text too long for a component stream");
    }
    WriteValue(TValueType::vaString);
    unsigned char length[4];
    PutLittleEndian(length, static_cast<std::uint32_t>(value.size()));
    WriteBytes(length, sizeof length);
    WriteBytes(value.data(), static_cast<std::int64_t>(value.size()));
}

void TWriter::WriteBoolean(bool value)
{
    WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteIdent(std::string_view ident)
{
    WriteValue(TValueType::vaIdent);
    WriteStr(ident);
}

void TWriter::WriteSet(const std::vector<std::string>& members)
{
    WriteValue(TValueType::vaSet);
    for (const std::string& member : members) {
        if (member.empty()) {
            throw EWriteError("A set member needs a name");
        }
        WriteStr(member);
    }
    WriteStr({});
}

void TWriter::WriteBinary(const void* data, std::uint32_t size)
{
    WriteValue(TValueType::vaBinary);
    unsigned char length[4];
    PutLittleEndian(length, size);
    WriteBytes(length, sizeof length);
    WriteBytes(data, size);
}

void TWriter::WriteStr(std::string_view text)
{
    if (text.size() > 255) {
        throw EWriteError("Name too long for a component stream: " + std::string(text.substr(0, 64)));
    }
    const auto length = static_cast<unsigned char>(text.size());
    WriteBytes(&length, 1);
    WriteBytes(text.data(), static_cast<std::int64_t>(text.size()));
}

void TWriter::DefineProperty(std::string_view name, const TReaderProc&, const TWriterProc& writeData, bool hasData)
{
    if (hasData && writeData) {
        WritePropName(name);
        writeData(*this);
    }
}

void TWriter::DefineBinaryProperty(std::string_view name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData)
{
    if (!hasData || !writeData) {
        return;
    }
    TMemoryStream bytes;
    writeData(bytes);
    if (bytes.Size() > std::numeric_limits<std::uint32_t>::max()) {
        throw EWriteError("Binary property too long for a component stream");
    }
    WritePropName(name);
    WriteBinary(bytes.Memory(), static_cast<std::uint32_t>(bytes.Size()));
}

} // namespace plat
