// TWriter: writes a tree of components, their published and defined
// properties and their children, in the component stream format
// (stream_format.h).
#pragma once

#include "platform/objects/filer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TCollection;
class TPersistent;
class TPropInfo;

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream) : TFiler(stream) {}

    // The signature, then root with its properties and children.
    void WriteRootComponent(TComponent* root);
    void WriteSignature();
    // The component's part, through its WriteState.
    void WriteComponent(TComponent* component);
    // Header, properties and children of component (what WriteState writes).
    void WriteData(TComponent* component);
    // Each published property that is stored and not at its default, then
    // the properties the instance defines.
    void WriteProperties(const TPersistent* instance);
    void WriteCollection(const TCollection* collection);

    // Property names are written behind this prefix ("Font." while a
    // sub-object is written).
    const std::string& PropPathPrefix() const { return FPropPath; }
    void SetPropPathPrefix(std::string prefix) { FPropPath = std::move(prefix); }
    void WritePropName(std::string_view name);

    // Values. Raise EWriteError for a name longer than 255 bytes and when
    // the stream fails.
    void WriteValue(TValueType value);
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteInteger(std::int64_t value);   // in the smallest size that holds it
    void WriteFloat(double value);
    void WriteString(std::string_view value);
    void WriteBoolean(bool value);
    void WriteIdent(std::string_view ident);
    void WriteSet(const std::vector<std::string>& members);
    void WriteBinary(const void* data, std::uint32_t size);
    // A length-prefixed name without a tag (class, component and property names).
    void WriteStr(std::string_view text);

    void DefineProperty(std::string_view name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

private:
    void WriteProperty(const TPersistent* instance, const TPropInfo& property);
    void WriteOrdinal(const TPersistent* instance, const TPropInfo& property);
    void WriteObject(const TPersistent* instance, const TPropInfo& property);
    void WriteBytes(const void* data, std::int64_t size) { FStream.WriteBuffer(data, size); }

    std::string FPropPath;
};

} // namespace plat
