// Text files: the line and number reader and the line writer.
#include "platform/objects/text_file.h"

#include <cerrno>
#include <cstring>
#include <limits>

namespace plat {

namespace {

[[noreturn]] void RaiseSystemError(int code, const char* what, const std::string& fileName)
{
    throw EInOutError(code, std::string(what) + " " + fileName + ": " + std::strerror(code));
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

TTextFileReader::TTextFileReader(const std::string& fileName) : FFileName(fileName)
{
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        RaiseSystemError(errno, "Cannot open file", fileName);
    }
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        FText.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int code = errno;
    std::fclose(file);
    if (failed) {
        RaiseSystemError(code != 0 ? code : EIO, "Cannot read file", fileName);
    }
}

bool TTextFileReader::ReadLine(std::string& line)
{
    if (Eof()) {
        return false;
    }
    const auto end = FText.find_first_of("\r\n", FPosition);
    if (end == std::string::npos) {
        line = FText.substr(FPosition);
        FPosition = FText.size();
        return true;
    }
    line = FText.substr(FPosition, end - FPosition);
    FPosition = end + 1;
    if (FText[end] == '\r' && FPosition < FText.size() && FText[FPosition] == '\n') {
        ++FPosition;
    }
    return true;
}

bool TTextFileReader::SeekEof()
{
    while (!Eof() && IsSpace(FText[FPosition])) {
        ++FPosition;
    }
    return Eof();
}

std::int64_t TTextFileReader::ReadInteger()
{
    SeekEof();
    std::size_t at = FPosition;
    const bool negative = at < FText.size() && FText[at] == '-';
    if (at < FText.size() && (FText[at] == '-' || FText[at] == '+')) {
        ++at;
    }
    const std::size_t digitsStart = at;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : std::numeric_limits<std::int64_t>::max();
    for (; at < FText.size() && FText[at] >= '0' && FText[at] <= '9'; ++at) {
        const auto digit = static_cast<std::uint64_t>(FText[at] - '0');
        if (magnitude > (limit - digit) / 10) {
            throw EInOutError(EInOutError::kInvalidNumericFormat, "Number too large in " + FFileName);
        }
        magnitude = magnitude * 10 + digit;
    }
    if (at == digitsStart || (at < FText.size() && !IsSpace(FText[at]))) {
        throw EInOutError(EInOutError::kInvalidNumericFormat, "Invalid numeric format in " + FFileName);
    }
    FPosition = at;
    return negative ? static_cast<std::int64_t>(~magnitude + 1) : static_cast<std::int64_t>(magnitude);
}

TTextFileWriter::TTextFileWriter(const std::string& fileName, bool append) : FFileName(fileName)
{
    FFile = std::fopen(fileName.c_str(), append ? "ab" : "wb");
    if (FFile == nullptr) {
        RaiseSystemError(errno, "Cannot create file", fileName);
    }
}

TTextFileWriter::~TTextFileWriter()
{
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

void TTextFileWriter::Write(const std::string& text)
{
    CheckOpen();
    if (std::fwrite(text.data(), 1, text.size(), FFile) != text.size()) {
        Fail("Cannot write file");
    }
}

void TTextFileWriter::WriteLine(const std::string& text)
{
    Write(text + "\n");
}

void TTextFileWriter::Flush()
{
    CheckOpen();
    if (std::fflush(FFile) != 0) {
        Fail("Cannot write file");
    }
}

void TTextFileWriter::Close()
{
    if (FFile == nullptr) {
        return;
    }
    const bool flushed = std::fflush(FFile) == 0;
    const int code = errno;
    const bool closed = std::fclose(FFile) == 0;
    FFile = nullptr;
    if (!flushed || !closed) {
        RaiseSystemError(!flushed ? code : errno, "Cannot write file", FFileName);
    }
}

void TTextFileWriter::Fail(const char* what) const
{
    RaiseSystemError(errno != 0 ? errno : EIO, what, FFileName);
}

void TTextFileWriter::CheckOpen() const
{
    if (FFile == nullptr) {
        throw EInOutError(EBADF, "File not open: " + FFileName);
    }
}

} // namespace plat
