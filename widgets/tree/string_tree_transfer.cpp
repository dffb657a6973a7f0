// The string tree's part of data transfer: the caption chunk of the tree
// stream.
#include "widgets/tree/string_data_tree.h"

#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <vector>

namespace qel {

namespace {

constexpr std::int32_t CaptionChunk = 3;

} // namespace

void TCustomDataStringTree::WriteChunks(plat::TStream& stream, PDataNode node)
{
    TBaseDataTree::WriteChunks(stream, node);
    if (!StringOptions().Contains(toSaveCaptions) || node == RootNode() || !node->States.Contains(vsInitialized)) {
        return;
    }
    const std::u16string caption = plat::Utf8ToUtf16(GetText(node, HeaderMainColumn()));
    if (caption.empty()) {
        return;
    }
    const std::int32_t header[2] = {CaptionChunk, static_cast<std::int32_t>(2 * caption.size())};
    stream.WriteBuffer(header, sizeof header);
    stream.WriteBuffer(caption.data(), static_cast<std::int64_t>(2 * caption.size()));
}

bool TCustomDataStringTree::ReadChunk(plat::TStream& stream, int version, PDataNode node, std::int32_t chunkType,
                                      std::int32_t chunkSize)
{
    if (chunkType != CaptionChunk) {
        return TBaseDataTree::ReadChunk(stream, version, node, chunkType, chunkSize);
    }
    // The reader has checked that the chunk lies within the stream.
    std::u16string caption(static_cast<std::size_t>(chunkSize / 2), u'\0');
    stream.ReadBuffer(caption.data(), static_cast<std::int64_t>(2 * caption.size()));
    SetText(node, HeaderMainColumn(), plat::Utf16ToUtf8(caption));
    return true;
}

} // namespace qel
