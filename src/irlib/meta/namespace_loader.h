#pragma once
// Reads the "?names" element that opens a stream using index names: every content
// string becomes the next entry of the reader's name table. It stands in for the
// application's handler for that element only, so the application never sees it.

#include "irlib/meta/element_handler.h"
#include "irlib/meta/name_table.h"

namespace meta {

namespace detail {
class reader_impl;
}

class namespace_loader : public simple::element_handler {
public:
    namespace_loader(detail::reader_impl& reader, simple::element_handler* previous, name_table& names)
        : reader_(reader), previous_(previous), names_(names) {}

    simple::handler_result start_element(const char* name) override;
    simple::handler_result raw_element(const char* name, const std::uint8_t* start, std::size_t available) override;
    simple::handler_result end_element(const char* name) override;
    simple::handler_result attribute(const char* name, const value& v) override;
    simple::handler_result content(const value& v) override;
    simple::handler_result error(const parse_exception& e) override;

    // Gives the reader its previous handler back, if this loader is still current.
    void hand_back();

private:
    detail::reader_impl& reader_;
    simple::element_handler* previous_;
    name_table& names_;
    // Elements nested inside "?names" end before it does; only its own end hands back.
    int open_elements_ = 0;
};

}  // namespace meta
