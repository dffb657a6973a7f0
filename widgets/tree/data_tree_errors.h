// Failures of the data tree: programming errors (a nil node where one is
// needed, the wrong thread, an inconsistent state) fail an assertion with a
// fixed text, in every build; errors of the control itself raise
// EDataTreeError with a help context.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace qel {

// A failed assertion of the tree: the fixed text and the unit that raised it.
class EAssertionFailed : public std::logic_error {
public:
    explicit EAssertionFailed(const std::string& message, std::string sourceName = "DataTrees.BaseTree")
        : std::logic_error(message), FSourceName(std::move(sourceName))
    {
    }
    const std::string& SourceName() const { return FSourceName; }

private:
    std::string FSourceName;
};

class EDataTreeError : public std::runtime_error {
public:
    EDataTreeError(const std::string& message, int helpContext)
        : std::runtime_error(message), FHelpContext(helpContext)
    {
    }
    int HelpContext() const { return FHelpContext; }

private:
    int FHelpContext;
};

// Raises EAssertionFailed with message unless condition holds.
inline void TreeAssert(bool condition, const char* message)
{
    if (!condition) {
        throw EAssertionFailed(message);
    }
}

// The tree's one raising helper for its own errors.
[[noreturn]] inline void ShowDataTreeError(const std::string& message, int helpContext)
{
    throw EDataTreeError(message, helpContext);
}

} // namespace qel
