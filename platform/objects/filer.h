// TFiler: what the reader and the writer of component streams share: the
// stream, the root being read or written, and the stream properties a
// class defines beyond its published ones (DefineProperties).
#pragma once

#include "platform/objects/class_registry.h"
#include "platform/objects/stream_format.h"
#include "platform/streams.h"

#include <functional>
#include <string_view>

namespace plat {

class TComponent;
class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

class TFiler {
public:
    explicit TFiler(TStream& stream) : FStream(stream) {}
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;
    virtual ~TFiler() = default;

    TStream& Stream() const { return FStream; }
    // The component at the top of the tree being read or written.
    TComponent* Root() const { return FRoot; }

    // A stream property called name whose values readData reads and
    // writeData writes (either may be empty: a property only read, from
    // older streams, or only written). The writer writes it when hasData.
    virtual void DefineProperty(std::string_view name, const TReaderProc& readData,
                                const TWriterProc& writeData, bool hasData) = 0;
    // The same for raw bytes: readData gets a stream of exactly the stored
    // bytes; writeData writes them into a stream.
    virtual void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

protected:
    TStream& FStream;
    TComponent* FRoot = nullptr;
};

} // namespace plat
