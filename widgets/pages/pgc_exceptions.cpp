// The component library's exceptions: texts from the message table, and the
// range message of each entry-field data type.
#include "widgets/pages/pgc_exceptions.h"

#include "platform/text_encoding.h"
#include "widgets/pages/pgc_intl.h"
#include "widgets/pages/pgc_messages.h"

#include <initializer_list>

namespace qel {
namespace {

bool IsPlaceholderAt(const std::u16string& text, std::size_t at)
{
    return at + 1 < text.size() && text[at] == u'%' && (text[at + 1] == u'd' || text[at + 1] == u's');
}

// The message with each "%d" or "%s" replaced by the next argument.
std::u16string Format(std::u16string pattern, std::initializer_list<std::u16string> arguments)
{
    std::size_t at = 0;
    for (const std::u16string& argument : arguments) {
        while (at < pattern.size() && !IsPlaceholderAt(pattern, at)) {
            ++at;
        }
        if (at == pattern.size()) {
            break;
        }
        pattern.replace(at, 2, argument);
        at += argument.size();
    }
    return pattern;
}

std::u16string BoundsText(std::int64_t low, std::int64_t high)
{
    return Format(MessageTextByNumber(30203), {plat::Utf8ToUtf16(std::to_string(low)), plat::Utf8ToUtf16(std::to_string(high))});
}

// The picture a Date (14) or Time (15) value is typed in, by the library's
// international support: the date with its century, the time without
// seconds; empty while the support does not exist.
std::u16string TypedPicture(std::uint8_t dataType)
{
    if (DefaultIntlSup == nullptr) {
        return {};
    }
    return dataType == 14 ? DefaultIntlSup->InternationalDate(true) : DefaultIntlSup->InternationalTime(false);
}

std::u16string RangeMessage(std::uint8_t dataType)
{
    switch (dataType) {
    case 4: return BoundsText(-2147483648LL, 2147483647LL); // LongInt
    case 5: return BoundsText(0, 65535);                   // Word
    case 6: return BoundsText(-32768, 32767);              // SmallInt
    case 7: return BoundsText(0, 255);                     // Byte
    case 8: return BoundsText(-128, 127);                  // ShortInt
    case 9: return MessageTextByNumber(30204);             // Real
    case 10: return MessageTextByNumber(30205);            // Extended
    case 11: return MessageTextByNumber(30206);            // Double
    case 12: return MessageTextByNumber(30207);            // Single
    case 13: return MessageTextByNumber(30208);            // Comp
    case 14: return Format(MessageTextByNumber(30209), {TypedPicture(dataType)}); // Date
    case 15: return Format(MessageTextByNumber(30210), {TypedPicture(dataType)}); // Time
    default: return MessageTextByNumber(30211);
    }
}

} // namespace

EPgcException::EPgcException(std::u16string message)
    : FMessage(std::move(message)), FUtf8(plat::Utf16ToUtf8(FMessage))
{
}

EOutOfMemory::EOutOfMemory(const std::u16string& message) : FUtf8(plat::Utf16ToUtf8(message)) {}

EEditorError::EEditorError(std::u16string Msg, std::uint32_t Error) : EPgcException(std::move(Msg))
{
    ErrorCode = static_cast<std::int32_t>(Error);
}

ENoTimersAvailable::ENoTimersAvailable() : EPgcException(MessageTextByNumber(30189)) {}
EDuplicateCommand::EDuplicateCommand() : ECmdProcessorError(MessageTextByNumber(30169)) {}
ETableNotFound::ETableNotFound() : ECmdProcessorError(MessageTextByNumber(30170)) {}
EInvalidDataType::EInvalidDataType() : EEntryFieldError(MessageTextByNumber(30194)) {}
EInvalidRangeValue::EInvalidRangeValue(std::uint8_t DataType) : EEntryFieldError(RangeMessage(DataType)) {}
EInvalidLineOrCol::EInvalidLineOrCol() : EEditorError(MessageTextByNumber(30216), 0) {}
EInvalidLineOrPara::EInvalidLineOrPara() : EEditorError(MessageTextByNumber(30213), 0) {}
EInvalidPageIndex::EInvalidPageIndex() : ENotebookError(MessageTextByNumber(30193)) {}
EInvalidTabFont::EInvalidTabFont() : ENotebookError(MessageTextByNumber(30195)) {}
EInvalidTriggerHandle::EInvalidTriggerHandle() : ETimerPoolError(MessageTextByNumber(30191)) {}
EInvalidFixedFont::EInvalidFixedFont() : EFixedFontError(MessageTextByNumber(30214)) {}

} // namespace qel
