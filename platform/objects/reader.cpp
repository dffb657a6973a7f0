// TReader: components, properties and values out of the component stream,
// every length checked against the bytes left.
#include "platform/objects/reader.h"

#include "platform/ascii_case.h"
#include "platform/objects/collection.h"
#include "platform/objects/component.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace plat {

namespace {

template <class T>
T GetLittleEndian(const unsigned char* source)
{
    std::make_unsigned_t<T> bits = 0;
    for (std::size_t index = sizeof(T); index-- > 0;) {
        bits = static_cast<decltype(bits)>((bits << 8) | source[index]);
    }
    return static_cast<T>(bits);
}

[[noreturn]] void InvalidPropertyValue(std::string_view name)
{
    throw EReadError("Invalid value for property " + std::string(name));
}

[[noreturn]] void PropertyDoesNotExist(std::string_view name)
{
    throw EReadError("Property " + std::string(name) + " does not exist");
}

// Runs step, a call into the classes being read (constructor, name or
// property setter); their failures become read errors that name what was
// being read. Errors of the stream itself pass unchanged.
template <class TStep>
decltype(auto) Guarded(std::string_view what, TStep&& step)
{
    try {
        return step();
    } catch (const EReadError&) {
        throw;
    } catch (const EClassNotFound&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        throw EReadError("Error reading " + std::string(what) + ": " + error.what());
    }
}

bool IsIntegerTag(TValueType value)
{
    return value == TValueType::vaInt8 || value == TValueType::vaInt16 || value == TValueType::vaInt32 ||
           value == TValueType::vaInt64;
}

// True when instance is owner or lies below it in the property tree.
bool LiesWithin(const TPersistent* instance, const TPersistent* owner)
{
    for (const TPersistent* current = instance; current != nullptr; current = current->GetOwner()) {
        if (current == owner) {
            return true;
        }
    }
    return false;
}

} // namespace

TComponent* TReader::ReadRootComponent(TComponent* root)
{
    const bool rootBuilt = root == nullptr;
    BeginLoading();
    try {
        ReadSignature();
        EnterNesting();
        const std::string className = ReadStr();
        const std::string name = ReadStr();
        if (rootBuilt) {
            const TClass cls = FindClass(className, TComponent::StaticClass());
            root = Guarded(className, [&] { return cls->CreateAs<TComponent>(nullptr); });
            FBuilt.push_back(root);
        } else {
            root->EnterLoadingSession();
        }
        FRoot = root;
        root->FComponentState.Include(csReading);
        Guarded(name, [&] { root->SetName(name); });
        FOwner = root;
        FParent = root;
        root->ReadState(*this);
        LeaveNesting();
        ResolveFixups();
    } catch (...) {
        ForgetPartialTree(root, rootBuilt);
        try {
            EndLoading();
        } catch (...) {
            // The read error is the one to report.
        }
        throw;
    }
    root->FComponentState.Exclude(csReading);
    for (TComponent* component : FBuilt) {
        component->FComponentState.Exclude(csReading);
    }
    FBuilt.clear();
    EndLoading();
    return root;
}

void TReader::ForgetPartialTree(TComponent* root, bool rootBuilt)
{
    FFixups.clear();
    // Owners are built before what they own, so the last built goes first.
    while (!FBuilt.empty()) {
        TComponent* component = FBuilt.back();
        FBuilt.pop_back();
        delete component;
    }
    if (!rootBuilt && root != nullptr) {
        root->LeaveLoadingSession();
        root->FComponentState.Exclude(csReading);
    }
}

void TReader::ReadSignature()
{
    char signature[sizeof kComponentStreamSignature];
    ReadBytes(signature, sizeof signature);
    if (std::memcmp(signature, kComponentStreamSignature, sizeof signature) != 0) {
        throw EReadError("Invalid stream format");
    }
}

void TReader::ReadData(TComponent* component)
{
    while (!EndOfList()) {
        ReadProperty(component);
    }
    ReadListEnd();
    while (!EndOfList()) {
        ReadComponent(component);
    }
    ReadListEnd();
}

void TReader::ReadComponent(TComponent* parent)
{
    EnterNesting();
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    const TClass cls = FindClass(className, TComponent::StaticClass());
    TComponent* owner = parent->GetChildOwner();
    if (owner == nullptr) {
        owner = FRoot;
    }
    TComponent* childParent = parent->GetChildParent();
    TComponent* component = Guarded(className, [&] { return cls->CreateAs<TComponent>(owner); });
    FBuilt.push_back(component);
    component->FComponentState.Include(csReading);
    Guarded(name, [&] { component->SetName(name); });
    if (component->HasParent()) {
        Guarded(name, [&] { component->SetParentComponent(childParent); });
    }
    TComponent* const outerOwner = FOwner;
    TComponent* const outerParent = FParent;
    FOwner = owner;
    FParent = childParent;
    component->ReadState(*this);
    FOwner = outerOwner;
    FParent = outerParent;
    LeaveNesting();
}

void TReader::ReadProperty(TPersistent* instance)
{
    const std::string name = ReadStr();
    TPersistent* target = instance;
    std::string_view rest = name;
    for (auto dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
        const TPropInfo* step = target->ClassType()->FindProperty(rest.substr(0, dot));
        TObject* value = step != nullptr && step->Kind() == TPropertyKind::Object ? step->GetObject(*target) : nullptr;
        target = dynamic_cast<TPersistent*>(value);
        if (target == nullptr || dynamic_cast<TComponent*>(value) != nullptr) {
            PropertyDoesNotExist(name);
        }
        rest.remove_prefix(dot + 1);
    }
    if (const TPropInfo* property = target->ClassType()->FindProperty(rest)) {
        ReadPropertyValue(target, *property);
        return;
    }
    const std::string outerName = std::exchange(FPropName, std::string(rest));
    const bool outerHandled = std::exchange(FPropHandled, false);
    target->DefineProperties(*this);
    const bool handled = FPropHandled;
    FPropName = outerName;
    FPropHandled = outerHandled;
    if (!handled) {
        PropertyDoesNotExist(name);
    }
}

void TReader::ReadPropertyValue(TPersistent* instance, const TPropInfo& property)
{
    if (property.Kind() != TPropertyKind::Object && property.IsReadOnly()) {
        throw EReadError("Property " + property.Name() + " is read-only");
    }
    switch (property.Kind()) {
    case TPropertyKind::Object:
        ReadObject(instance, property);
        return;
    case TPropertyKind::Float: {
        const double value = ReadFloat();
        Guarded(property.Name(), [&] { property.SetFloat(*instance, value); });
        return;
    }
    case TPropertyKind::String: {
        const std::string value = ReadString();
        Guarded(property.Name(), [&] { property.SetString(*instance, value); });
        return;
    }
    default:
        ReadOrdinal(instance, property);
        return;
    }
}

void TReader::ReadOrdinal(TPersistent* instance, const TPropInfo& property)
{
    const auto& names = property.Names();
    const auto indexOfName = [&](std::string_view ident) -> std::int64_t {
        const auto found = std::find_if(names.begin(), names.end(),
                                        [ident](const std::string& name) { return SameText(name, ident); });
        if (found == names.end()) {
            InvalidPropertyValue(property.Name());
        }
        return found - names.begin();
    };
    std::int64_t value = 0;
    switch (property.Kind()) {
    case TPropertyKind::Boolean:
        value = ReadBoolean() ? 1 : 0;
        break;
    case TPropertyKind::Enumeration:
        value = indexOfName(ReadIdent());
        break;
    case TPropertyKind::Set: {
        std::uint64_t bits = 0;
        for (const std::string& member : ReadSet()) {
            const std::int64_t bit = indexOfName(member);
            if (bit >= 64) {
                InvalidPropertyValue(property.Name());
            }
            bits |= std::uint64_t{1} << bit;
        }
        value = static_cast<std::int64_t>(bits);
        break;
    }
    default:
        if (property.IdentMap() != nullptr && NextValue() == TValueType::vaIdent) {
            if (!property.IdentMap()->IdentToInt(ReadIdent(), value)) {
                InvalidPropertyValue(property.Name());
            }
        } else {
            value = ReadInt64();
        }
        break;
    }
    if (value < property.MinValue() || value > property.MaxValue()) {
        InvalidPropertyValue(property.Name());
    }
    Guarded(property.Name(), [&] { property.SetOrdinal(*instance, value); });
}

void TReader::ReadObject(TPersistent* instance, const TPropInfo& property)
{
    switch (NextValue()) {
    case TValueType::vaCollection: {
        auto* collection = dynamic_cast<TCollection*>(property.GetObject(*instance));
        if (collection == nullptr) {
            InvalidPropertyValue(property.Name());
        }
        ReadCollection(collection);
        return;
    }
    case TValueType::vaNil:
        if (property.IsReadOnly()) {
            InvalidPropertyValue(property.Name());
        }
        ReadValue();
        Guarded(property.Name(), [&] { property.SetObject(*instance, nullptr); });
        return;
    case TValueType::vaIdent:
        if (property.IsReadOnly() || !property.ObjectClass()->InheritsFrom(TComponent::StaticClass())) {
            InvalidPropertyValue(property.Name());
        }
        FFixups.push_back(TFixup{instance, &property, ReadIdent()});
        return;
    default:
        InvalidPropertyValue(property.Name());
    }
}

void TReader::ReadCollection(TCollection* collection)
{
    CheckValue(TValueType::vaCollection);
    EnterNesting();
    collection->BeginUpdate();
    try {
        if (!EndOfList()) {
            // References waiting in the items about to go would point nowhere.
            std::erase_if(FFixups, [collection](const TFixup& fixup) {
                return fixup.Instance != collection && LiesWithin(fixup.Instance, collection);
            });
            collection->Clear();
        }
        while (!EndOfList()) {
            if (IsIntegerTag(NextValue())) {
                ReadInt64();   // an item index some writers put first
            }
            TCollectionItem* item = Guarded(collection->GetNamePath(), [&] { return collection->Add(); });
            ReadListBegin();
            while (!EndOfList()) {
                ReadProperty(item);
            }
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        try {
            collection->EndUpdate();
        } catch (...) {
            // The read error is the one to report.
        }
        LeaveNesting();
        throw;
    }
    Guarded(collection->GetNamePath(), [&] { collection->EndUpdate(); });
    LeaveNesting();
}

void TReader::ResolveFixups()
{
    for (const TFixup& fixup : FFixups) {
        // A component outside the stream (a root not read with it) leaves
        // the property as it was.
        TComponent* target = FindReference(fixup.Path);
        if (target == nullptr) {
            continue;
        }
        Guarded(fixup.Property->Name(), [&] { fixup.Property->SetObject(*fixup.Instance, target); });
    }
    FFixups.clear();
}

TComponent* TReader::FindReference(std::string_view path) const
{
    const auto walk = [](TComponent* from, std::string_view rest) -> TComponent* {
        while (from != nullptr && !rest.empty()) {
            const auto dot = rest.find('.');
            from = from->FindComponent(rest.substr(0, dot));
            rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
        }
        return from;
    };
    if (TComponent* found = walk(FRoot, path)) {
        return found;
    }
    // A path may start with the root's own name.
    const auto dot = path.find('.');
    if (!FRoot->Name().empty() && SameText(path.substr(0, dot), FRoot->Name())) {
        return dot == std::string_view::npos ? FRoot : walk(FRoot, path.substr(dot + 1));
    }
    return nullptr;
}

std::uint8_t TReader::PeekByte()
{
    std::uint8_t byte = 0;
    ReadBytes(&byte, 1);
    FStream.Seek(-1, soCurrent);
    return byte;
}

TValueType TReader::NextValue()
{
    const TValueType value = ReadValue();
    FStream.Seek(-1, soCurrent);
    return value;
}

TValueType TReader::ReadValue()
{
    std::uint8_t tag = 0;
    ReadBytes(&tag, 1);
    if (tag > kLastValueType) {
        throw EReadError("Invalid stream format");
    }
    return static_cast<TValueType>(tag);
}

void TReader::CheckValue(TValueType expected)
{
    if (ReadValue() != expected) {
        throw EReadError("Invalid stream format");
    }
}

std::int32_t TReader::ReadInteger()
{
    const std::int64_t value = ReadInt64();
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        throw EReadError("Integer value out of range");
    }
    return static_cast<std::int32_t>(value);
}

std::int64_t TReader::ReadInt64()
{
    unsigned char bytes[8];
    switch (ReadValue()) {
    case TValueType::vaInt8:
        ReadBytes(bytes, 1);
        return GetLittleEndian<std::int8_t>(bytes);
    case TValueType::vaInt16:
        ReadBytes(bytes, 2);
        return GetLittleEndian<std::int16_t>(bytes);
    case TValueType::vaInt32:
        ReadBytes(bytes, 4);
        return GetLittleEndian<std::int32_t>(bytes);
    case TValueType::vaInt64:
        ReadBytes(bytes, 8);
        return GetLittleEndian<std::int64_t>(bytes);
    default:
        throw EReadError("Invalid stream format: an integer was expected");
    }
}

double TReader::ReadFloat()
{
    if (NextValue() != TValueType::vaDouble) {
        return static_cast<double>(ReadInt64());
    }
    ReadValue();
    unsigned char bytes[8];
    ReadBytes(bytes, sizeof bytes);
    return std::bit_cast<double>(GetLittleEndian<std::uint64_t>(bytes));
}

std::string TReader::ReadString()
{
    CheckValue(TValueType::vaString);
    unsigned char length[4];
    ReadBytes(length, sizeof length);
    const auto size = GetLittleEndian<std::uint32_t>(length);
    CheckBytesLeft(size);
    std::string text(size, '\0');
    ReadBytes(text.data(), size);
    if (!IsValidUtf8(text)) {
        throw EReadError("Invalid text in stream: not UTF-8");
    }
    return text;
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case TValueType::vaFalse:
        return false;
    case TValueType::vaTrue:
        return true;
    default:
        throw EReadError("Invalid stream format: a Boolean was expected");
    }
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case TValueType::vaIdent:
        return ReadStr();
    case TValueType::vaFalse:
        return "False";
    case TValueType::vaTrue:
        return "True";
    case TValueType::vaNil:
        return "nil";
    default:
        throw EReadError("Invalid stream format: an identifier was expected");
    }
}

std::vector<std::string> TReader::ReadSet()
{
    CheckValue(TValueType::vaSet);
    std::vector<std::string> members;
    for (std::string member = ReadStr(); !member.empty(); member = ReadStr()) {
        members.push_back(std::move(member));
    }
    return members;
}

std::string TReader::ReadStr()
{
    std::uint8_t length = 0;
    ReadBytes(&length, 1);
    std::string text(length, '\0');
    ReadBytes(text.data(), length);
    return text;
}

void TReader::SkipValue()
{
    unsigned char length[4];
    switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
    case TValueType::vaDouble:
        FStream.Seek(-1, soCurrent);
        ReadFloat();
        return;
    case TValueType::vaString:
    case TValueType::vaBinary: {
        ReadBytes(length, sizeof length);
        const auto size = GetLittleEndian<std::uint32_t>(length);
        CheckBytesLeft(size);
        FStream.Seek(size, soCurrent);
        return;
    }
    case TValueType::vaIdent:
        ReadStr();
        return;
    case TValueType::vaSet:
        FStream.Seek(-1, soCurrent);
        ReadSet();
        return;
    case TValueType::vaList:
        EnterNesting();
        while (!EndOfList()) {
            SkipValue();
        }
        ReadListEnd();
        LeaveNesting();
        return;
    case TValueType::vaCollection:
        EnterNesting();
        while (!EndOfList()) {
            if (IsIntegerTag(NextValue())) {
                ReadInt64();
            }
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        LeaveNesting();
        return;
    }
}

void TReader::DefineProperty(std::string_view name, const TReaderProc& readData, const TWriterProc&, bool)
{
    if (FPropHandled || !readData || !SameText(name, FPropName)) {
        return;
    }
    FPropHandled = true;
    readData(*this);
}

void TReader::DefineBinaryProperty(std::string_view name, const TStreamProc& readData, const TStreamProc&, bool)
{
    if (FPropHandled || !readData || !SameText(name, FPropName)) {
        return;
    }
    FPropHandled = true;
    CheckValue(TValueType::vaBinary);
    unsigned char length[4];
    ReadBytes(length, sizeof length);
    const auto size = GetLittleEndian<std::uint32_t>(length);
    CheckBytesLeft(size);
    TMemoryStream bytes;
    bytes.SetSize(size);
    ReadBytes(bytes.Memory(), size);
    bytes.SetPosition(0);
    readData(bytes);
}

void TReader::ReadBytes(void* buffer, std::int64_t count)
{
    CheckBytesLeft(count);
    FStream.ReadBuffer(buffer, count);
}

void TReader::CheckBytesLeft(std::int64_t count) const
{
    if (count > FStream.Size() - FStream.Position()) {
        throw EReadError("Stream read error: the stream ends early");
    }
}

void TReader::EnterNesting()
{
    if (++FNesting > kMaxStreamNesting) {
        --FNesting;
        throw EReadError("Stream nesting too deep");
    }
}

} // namespace plat
