// Level-5 MAT-file elements: header, tags, padding, patched sizes and the
// double, char and cell variables.
#include "export/matlab_elements.h"

#include "foundations/file_names.h"
#include "platform/date_time_format.h"
#include "platform/known_folders.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <bit>

namespace qel {

static_assert(std::endian::native == std::endian::little, "MAT-file numbers are written as the host holds them");

namespace {

constexpr std::uint64_t ALIGNMENT = 8;
constexpr std::uint32_t SMALL_ELEMENT_MAX = 4;   // data bytes a small element holds
constexpr std::uint8_t ZEROS[ALIGNMENT] = {};

std::string MtlHeaderText(double now, const std::string& programName)
{
    std::string text = plat::Utf8ToAnsi("MATLAB 5.0 MAT-file, Platform: PCWIN, Created on: " + plat::TimeToStr(now) +
                                        " " + plat::DateToStr(now) + " by " + programName);
    text.resize(MTL_HEADER_TEXT_SIZE, ' ');
    return text;
}

} // namespace

TMtlDims MtlVectorDims(bool isRow, std::int32_t n)
{
    return isRow ? TMtlDims{1, n} : TMtlDims{n, 1};
}

TMtlDims MtlMatrixDims(std::int32_t columns, std::int32_t rows)
{
    return TMtlDims{rows, columns};
}

void TMtlWriter::WriteMtlHeader()
{
    const std::string header = MtlHeaderText(plat::Now(), GetFileName(plat::ProgramPath()));
    FStream.WriteBuffer(header.data(), static_cast<std::int64_t>(header.size()));
    WriteUInt32(MTL_VERSION_AND_ENDIAN);
}

void TMtlWriter::WriteUInt32(std::uint32_t value)
{
    FStream.WriteBuffer(&value, sizeof value);
}

void TMtlWriter::WriteMtlTag(std::uint32_t type, std::uint32_t size)
{
    WriteUInt32(type);
    WriteUInt32(size);
}

void TMtlWriter::WriteMtlSmallElement(std::uint32_t type, std::uint32_t count, const void* data)
{
    std::uint8_t bytes[SMALL_ELEMENT_MAX] = {};
    if (count > SMALL_ELEMENT_MAX) {
        throw std::logic_error("a small MAT-file element holds at most 4 bytes");
    }
    std::copy_n(static_cast<const std::uint8_t*>(data), count, bytes);
    WriteUInt32(type + (count << 16));
    FStream.WriteBuffer(bytes, SMALL_ELEMENT_MAX);
}

void TMtlWriter::WriteMtlArrayFlags(std::uint32_t mxClass)
{
    WriteMtlTag(miUINT32, 8);
    WriteUInt32(mxClass);
    WriteUInt32(0);
}

void TMtlWriter::WriteMtlAlign8(std::uint64_t count)
{
    const std::uint64_t rest = count % ALIGNMENT;
    if (rest != 0) {
        FStream.WriteBuffer(ZEROS, static_cast<std::int64_t>(ALIGNMENT - rest));
    }
}

void TMtlWriter::WriteMtlDimensions(const TMtlDims& dims)
{
    WriteMtlTag(miINT32, static_cast<std::uint32_t>(sizeof(std::int32_t) * dims.size()));
    FStream.WriteBuffer(dims.data(), static_cast<std::int64_t>(sizeof(std::int32_t) * dims.size()));
    WriteMtlAlign8(sizeof(std::int32_t) * dims.size());
}

void TMtlWriter::WriteMtlName(const std::string& name)
{
    const auto size = static_cast<std::uint32_t>(name.size());
    if (size <= SMALL_ELEMENT_MAX) {
        WriteMtlSmallElement(miINT8, size, name.data());
        return;
    }
    WriteMtlTag(miINT8, size);
    FStream.WriteBuffer(name.data(), size);
    WriteMtlAlign8(size);
}

void TMtlWriter::WriteMtlDoubles(const double* values, std::size_t count)
{
    const auto size = static_cast<std::uint32_t>(count * sizeof(double));
    WriteMtlTag(miDOUBLE, size);
    FStream.WriteBuffer(values, size);
}

std::u16string TMtlWriter::MtlChars(const std::string& text)
{
    // Every Windows-1252 character lies in the basic plane: one UInt16 each.
    return plat::Utf8ToUtf16(plat::AnsiToUtf8(plat::Utf8ToAnsi(text)));
}

void TMtlWriter::WriteMtlChars(const std::string& text)
{
    WriteChars(MtlChars(text));
}

void TMtlWriter::WriteChars(const std::u16string& chars)
{
    const auto size = static_cast<std::uint32_t>(chars.size() * sizeof(char16_t));
    if (size <= SMALL_ELEMENT_MAX) {
        WriteMtlSmallElement(miUINT16, size, chars.data());
        return;
    }
    WriteMtlTag(miUINT16, size);
    FStream.WriteBuffer(chars.data(), size);
    WriteMtlAlign8(size);
}

void TMtlWriter::PrimeMtlTag(std::uint32_t type)
{
    FOpenTags.push_back(TOpenTag{FStream.Position(), type});
    WriteMtlTag(type, 0);
}

void TMtlWriter::CompleteMtlTag()
{
    if (FOpenTags.empty()) {
        throw EMtlHeaderError("PrimeMtlTag must be called before CompleteMtlTag");
    }
    const TOpenTag tag = FOpenTags.back();
    FOpenTags.pop_back();
    const std::int64_t end = FStream.Position();
    FStream.SetPosition(tag.Position);
    WriteMtlTag(tag.Type, static_cast<std::uint32_t>(end - tag.Position - 8));
    FStream.SetPosition(end);
}

void TMtlWriter::BeginVariable(std::uint32_t mxClass, const TMtlDims& dims, const std::string& name)
{
    WriteMtlArrayFlags(mxClass);
    WriteMtlDimensions(dims);
    WriteMtlName(name);
}

void TMtlWriter::WriteMtlDoubleVar(const std::string& name, double x)
{
    PrimeMtlTag(miMATRIX);
    BeginVariable(mxDOUBLE_CLASS, TMtlDims{1, 1}, name);
    WriteMtlDoubles(&x, 1);
    CompleteMtlTag();
}

void TMtlWriter::WriteMtlDoubleArray(bool isRow, const std::string& name, const std::vector<double>& values)
{
    PrimeMtlTag(miMATRIX);
    BeginVariable(mxDOUBLE_CLASS, MtlVectorDims(isRow, static_cast<std::int32_t>(values.size())), name);
    WriteMtlDoubles(values.data(), values.size());
    CompleteMtlTag();
}

void TMtlWriter::WriteMtlStringVar(const std::string& name, const std::string& text)
{
    const std::u16string chars = MtlChars(text);
    PrimeMtlTag(miMATRIX);
    BeginVariable(mxCHAR_CLASS, TMtlDims{1, static_cast<std::int32_t>(chars.size())}, name);
    WriteChars(chars);
    CompleteMtlTag();
}

void TMtlWriter::WriteMtlStringCell(const std::string& name, const std::vector<std::string>& texts)
{
    PrimeMtlTag(miMATRIX);
    BeginVariable(mxCELL_CLASS, MtlVectorDims(false, static_cast<std::int32_t>(texts.size())), name);
    for (const std::string& text : texts) {
        WriteMtlStringVar(std::string(), text);
    }
    CompleteMtlTag();
}

} // namespace qel
