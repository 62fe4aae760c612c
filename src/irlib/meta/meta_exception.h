#pragma once
// An error of the element stream. These objects are handed to a handler's `error`
// operation as a description of what went wrong; they are never thrown.

#include <string>
#include <utility>

namespace meta {

class meta_exception {
public:
    explicit meta_exception(std::string message) : message_(std::move(message)) {}
    virtual ~meta_exception() = default;
    meta_exception(const meta_exception&) = default;
    meta_exception& operator=(const meta_exception&) = default;

    virtual const char* what() const { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace meta
