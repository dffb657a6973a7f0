// The program's error class with its numeric code, and the message of the
// last failure a worker thread caught.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace qel {

// Codes the program raises itself.
constexpr std::int32_t EXC_USER_ABORT = 3;       // a worker found its terminate request set
constexpr std::int32_t EXC_DIALOG_ABORT = 21;    // the user cancelled the save dialog
constexpr std::int32_t EXC_UNKNOWN_VERSION = 30; // the logger class does not accept the version word

class EQel : public std::runtime_error {
public:
    explicit EQel(std::int32_t Code) : std::runtime_error(std::string()), iException(Code) {}
    EQel(std::int32_t Code, const std::string& sMsg) : std::runtime_error(sMsg), iException(Code) {}
    EQel(std::int32_t Code, const char* sMsg) : std::runtime_error(sMsg), iException(Code) {}
    // The message is iInfo in decimal.
    EQel(std::int32_t Code, std::int32_t iInfo) : std::runtime_error(std::to_string(iInfo)), iException(Code) {}

    std::int32_t iException; // the error code
};

// Message of the last failure a worker caught. Guarded, so any thread may
// read or write it.
std::string LastErrorMsg();
void SetLastErrorMsg(const std::string& Msg);

// Called when a worker starts, so that an older failure's message never
// shows up with a new error.
void ClearLastErrorMsg();

// The failure code of a caught exception (the code of an EQel, 0 for any
// other) after storing its own message, empty or not, as LastErrorMsg.
// For the exception handler of a worker's thread body.
std::int32_t RecordFailure(const std::exception_ptr& Failure);

// The text of an error code in the current language: the code's own text,
// or for a code without one the fall-back text with the code, a line feed
// and carriage return, and the failure's message Msg.
std::string GetExceptionStr(std::int32_t Code, const std::string& Msg);
// As above with LastErrorMsg() as the message.
std::string GetExceptionStr(std::int32_t Code);

// The text shown for an exception that is not an EQel: the fall-back text
// with 0, two line breaks (line feed, carriage return) and Msg.
std::string GetOtherExceptionStr(const std::string& Msg);

} // namespace qel
