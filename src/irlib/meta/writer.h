#pragma once
// An element handler that writes every event it receives back out as an element stream,
// so a reader feeding it re-encodes a stream (index names become inline names when the
// writer has no table).

#include "irlib/meta/element_handler.h"
#include "irlib/meta/writer_impl.h"

namespace meta::simple {

class writer : public element_handler {
public:
    explicit writer(obinstream& out, name_table* names = nullptr) : impl_(out, names) {}

    handler_result start_element(const char* name) override;
    handler_result raw_element(const char* name, const std::uint8_t* start, std::size_t available) override;
    handler_result end_element(const char* name) override;
    handler_result attribute(const char* name, const value& v) override;
    handler_result content(const value& v) override;
    handler_result error(const parse_exception& e) override;

    detail::writer_impl& impl() { return impl_; }

private:
    detail::writer_impl impl_;
};

}  // namespace meta::simple
