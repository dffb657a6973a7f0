// Lookup of the component library's texts by message number: a binary search
// over the sorted message table.
#include "widgets/pages/pgc_messages.h"

#include "platform/text_encoding.h"

namespace qel {
namespace {

// The one text of a number listed without its own text.
std::u16string PlaceholderText(std::int32_t number)
{
    return plat::Utf8ToUtf16("Message " + std::to_string(number));
}

} // namespace

std::u16string LookupMessageText(std::uint16_t Number)
{
    const auto table = MessageTable();
    std::ptrdiff_t low = 0;
    std::ptrdiff_t high = static_cast<std::ptrdiff_t>(table.size()) - 1;
    while (low <= high) {
        const std::ptrdiff_t middle = (low + high) / 2;
        const SrMsgNumLookupRec& entry = table[static_cast<std::size_t>(middle)];
        if (entry.MessageNum == Number) {
            return entry.MessageStr != nullptr ? plat::Utf8ToUtf16(entry.MessageStr) : PlaceholderText(Number);
        }
        if (Number < entry.MessageNum) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return {};
}

std::u16string MessageTextByNumber(std::uint16_t Number)
{
    std::u16string text = LookupMessageText(Number);
    return text.empty() ? u"Unknown" : text;
}

} // namespace qel
