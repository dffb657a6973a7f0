// TReader: reads a tree of components written by TWriter (stream_format.h):
// builds each child from its registered class, sets published and defined
// properties, resolves component references by name once the root is read
// (a name not found in the tree leaves the property unset), and calls
// Loaded on every component read. Any fault in the stream raises
// EReadError, or EClassNotFound for a class name that is not registered as
// a component class; the components built until then are freed.
#pragma once

#include "platform/objects/filer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TCollection;
class TObject;
class TPersistent;
class TPropInfo;

class TReader : public TFiler {
public:
    explicit TReader(TStream& stream) : TFiler(stream) {}

    // Reads a whole stream into root, or, when root is nullptr, into a new
    // component of the class the stream names (owned by nobody; the caller
    // frees it). Answers the root.
    TComponent* ReadRootComponent(TComponent* root);
    void ReadSignature();
    // The properties and children of component (what ReadState reads).
    void ReadData(TComponent* component);
    // One property (a name, then its value) into instance.
    void ReadProperty(TPersistent* instance);
    // Items of a collection value (its tag included) into collection.
    void ReadCollection(TCollection* collection);

    // The owner and the parent that the children being read get.
    TComponent* Owner() const { return FOwner; }
    TComponent* Parent() const { return FParent; }

    // Values. Each raises EReadError when the next value is of another kind
    // or the stream ends early.
    TValueType NextValue();   // without consuming it
    TValueType ReadValue();
    void CheckValue(TValueType expected);
    // The end mark is next. Before names (of properties, classes) the byte
    // peeked is a length, not a value tag, so it is not checked as one.
    bool EndOfList() { return PeekByte() == static_cast<std::uint8_t>(TValueType::vaNull); }
    void ReadListBegin() { CheckValue(TValueType::vaList); }
    void ReadListEnd() { CheckValue(TValueType::vaNull); }
    std::int32_t ReadInteger();   // any integer that fits 32 bits
    std::int64_t ReadInt64();
    double ReadFloat();           // a double or an integer
    std::string ReadString();
    bool ReadBoolean();
    std::string ReadIdent();      // an identifier; also "False", "True", "nil"
    std::vector<std::string> ReadSet();
    // A length-prefixed name without a tag.
    std::string ReadStr();
    // Skips one value of any kind, lists and collections included.
    void SkipValue();

    void DefineProperty(std::string_view name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

private:
    std::uint8_t PeekByte();
    // A component reference waiting for the whole tree.
    struct TFixup {
        TPersistent* Instance;
        const TPropInfo* Property;
        std::string Path;
    };

    void ReadComponent(TComponent* parent);
    void ReadPropertyValue(TPersistent* instance, const TPropInfo& property);
    void ReadOrdinal(TPersistent* instance, const TPropInfo& property);
    void ReadObject(TPersistent* instance, const TPropInfo& property);
    void ResolveFixups();
    TComponent* FindReference(std::string_view path) const;
    void ReadBytes(void* buffer, std::int64_t count);
    // Raises EReadError unless count bytes are left.
    void CheckBytesLeft(std::int64_t count) const;
    void EnterNesting();
    void LeaveNesting() { --FNesting; }
    void ForgetPartialTree(TComponent* root, bool rootBuilt);

    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    std::vector<TComponent*> FBuilt;   // components built here, in creation order
    std::vector<TFixup> FFixups;
    std::string FPropName;             // the defined property being looked for
    bool FPropHandled = false;
    int FNesting = 0;
};

} // namespace plat
