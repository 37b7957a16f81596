#pragma once

#include <stdexcept>
#include <string>

// Raised by the reader when a node that must be there is missing or the document fails it,
// instead of returning a result. The conversion that meets it fails.
class CKBReaderError : public std::runtime_error {
public:
    static constexpr long kInvalidPointer = 0x80004003L;
    // Every node is there, but what they say cannot make a project.
    static constexpr long kUnusable = 0x80004005L;

    CKBReaderError(long status, const std::string& reason, long line = 0)
        : std::runtime_error(reason), status_(status), line_(line) {}

    long Status() const { return status_; }
    // Line of the rule file where the fault lies; 0 when unknown.
    long Line() const { return line_; }

private:
    long status_;
    long line_;
};
