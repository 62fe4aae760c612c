#pragma once
// The one error a reader reports: its input is not a well-formed element stream.

#include "irlib/meta/meta_exception.h"

namespace meta {

class parse_exception : public meta_exception {
public:
    parse_exception() : meta_exception("meta::parse_exception: file is in wrong format") {}
};

}  // namespace meta
