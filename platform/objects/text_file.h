// Text files read line by line or number by number, and written line by
// line, in UTF-8. Every failure raises EInOutError; a file is closed in
// every case (at the latest by the destructor).
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace plat {

// The input/output error: the code is the system's error number, or
// kInvalidNumericFormat for a number that is not there.
class EInOutError : public std::runtime_error {
public:
    static constexpr int kInvalidNumericFormat = 106;

    EInOutError(int errorCode, const std::string& message) : std::runtime_error(message), FErrorCode(errorCode) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

class TTextFileReader {
public:
    // Reads the whole file; raises EInOutError when it cannot.
    explicit TTextFileReader(const std::string& fileName);

    bool Eof() const { return FPosition >= FText.size(); }
    // The rest of the current line, without its line break (LF, CR LF or
    // CR), and moves to the next line; false at the end of the file.
    bool ReadLine(std::string& line);
    // Skips blanks, tabs and line breaks; true when nothing else is left.
    bool SeekEof();
    // Skips blanks, tabs and line breaks, then reads a decimal number with
    // an optional sign; raises EInOutError (kInvalidNumericFormat) when
    // there is none or it does not fit.
    std::int64_t ReadInteger();

private:
    std::string FFileName;
    std::string FText;
    std::size_t FPosition = 0;
};

class TTextFileWriter {
public:
    // Creates (or empties) the file, or appends to it.
    explicit TTextFileWriter(const std::string& fileName, bool append = false);
    // Closes the file; a failure there goes unreported, so a writer that
    // must know calls Close.
    ~TTextFileWriter();
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;

    void Write(const std::string& text);
    // text and a line feed.
    void WriteLine(const std::string& text);
    // Pushes what was written to the file.
    void Flush();
    // Flushes and closes; later writes raise EInOutError.
    void Close();

private:
    [[noreturn]] void Fail(const char* what) const;
    void CheckOpen() const;

    std::string FFileName;
    std::FILE* FFile = nullptr;
};

} // namespace plat
