#pragma once
#include <stdexcept>
#include <string>

// Root of every failure the system raises on purpose: a fixed text, often filled with the
// offending value. Handlers that must absorb "the platform's exceptions" catch this class.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Text that is not a number or not a date: "'%s' is not a valid integer value",
// "Invalid argument to date encode", "Invalid argument to time encode".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A string list index outside the list: "List index out of bounds (%d)".
class EListError : public Exception {
public:
    using Exception::Exception;
};
