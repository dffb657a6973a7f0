// The exceptions the component library raises. Each class raised on its own
// takes its text from the library's message table by a fixed number.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace qel {

// The root: a UTF-16 text (what() gives it as UTF-8) and an error code, 0
// unless a constructor sets it.
class EPgcException : public std::exception {
public:
    explicit EPgcException(std::u16string message);
    const char* what() const noexcept override { return FUtf8.c_str(); }
    const std::u16string& Message() const { return FMessage; }

    std::int32_t ErrorCode = 0;

private:
    std::u16string FMessage;
    std::string FUtf8;
};

// The platform's error for a refused request for memory; the editor's
// paragraphs raise it with message 30197.
class EOutOfMemory : public std::exception {
public:
    explicit EOutOfMemory(const std::u16string& message);
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    std::string FUtf8;
};

// The middle classes, one per kind of control; they take any text.
class ECmdProcessorError : public EPgcException {
public:
    using EPgcException::EPgcException;
};
class EEntryFieldError : public EPgcException {
public:
    using EPgcException::EPgcException;
};
class ENotebookError : public EPgcException {
public:
    using EPgcException::EPgcException;
};
class ETimerPoolError : public EPgcException {
public:
    using EPgcException::EPgcException;
};
class EFixedFontError : public EPgcException {
public:
    using EPgcException::EPgcException;
};

// An editor error: the given text and error code.
class EEditorError : public EPgcException {
public:
    EEditorError(std::u16string Msg, std::uint32_t Error);
};

// "No Window's timers are available" (30189).
class ENoTimersAvailable : public EPgcException {
public:
    ENoTimersAvailable();
};
// "Duplicate command found while adding a new command to the table" (30169).
class EDuplicateCommand : public ECmdProcessorError {
public:
    EDuplicateCommand();
};
// "Command table not found or command table index out of range" (30170).
class ETableNotFound : public ECmdProcessorError {
public:
    ETableNotFound();
};
// "Invalid data type for this field" (30194).
class EInvalidDataType : public EEntryFieldError {
public:
    EInvalidDataType();
};

// A value outside the range of an entry field's data type (codes 0 .. 15 in
// the order of the data-type names): the integer types quote their bounds,
// the real types their fixed range, Date and Time the pictures a value is
// typed in; any other code gives "Invalid range value" (30211).
class EInvalidRangeValue : public EEntryFieldError {
public:
    explicit EInvalidRangeValue(std::uint8_t DataType);
};

// "Invalid line or column" (30216), code 0.
class EInvalidLineOrCol : public EEditorError {
public:
    EInvalidLineOrCol();
};
// "Invalid line or paragraph index" (30213), code 0.
class EInvalidLineOrPara : public EEditorError {
public:
    EInvalidLineOrPara();
};
// "Invalid page index value" (30193).
class EInvalidPageIndex : public ENotebookError {
public:
    EInvalidPageIndex();
};
// "Invalid font. Non toTop oriented tabs require a True-Type font" (30195).
class EInvalidTabFont : public ENotebookError {
public:
    EInvalidTabFont();
};
// "Invalid trigger handle" (30191).
class EInvalidTriggerHandle : public ETimerPoolError {
public:
    EInvalidTriggerHandle();
};
// "Invalid font assignment. Font must be a fixed font" (30214).
class EInvalidFixedFont : public EFixedFontError {
public:
    EInvalidFixedFont();
};

} // namespace qel
