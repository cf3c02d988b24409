#pragma once

#include <exception>

namespace sekreta {

// Base of the failures the framework reports to the user; each kind knows its own words.
class CException : public std::exception {
public:
    const char* what() const noexcept override { return "Sekreta failure"; }
};

// The user cancelled and has already been told; nobody reports it again.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "cancelled by the user"; }
};

// Memory for the operation could not be had.
class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

}  // namespace sekreta
