// Feeds arbitrary bytes to the element reader and checks what its callers rely on:
// every value it hands out lies inside the input, text ends in its NUL, a failed parse
// reports exactly one error and nothing after it, and a stream it accepts re-encodes
// into one that reads back as the same events.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RecordingHandler.h"
#include "irlib/meta/omemstream.h"
#include "irlib/meta/reader_impl.h"
#include "irlib/meta/writer.h"

namespace {

using meta::simple::handler_result;

void require(bool condition) {
    if (!condition) std::abort();
}

// Records events, checking each value against the input it came from.
class CheckingHandler : public meta::testing::RecordingHandler {
public:
    CheckingHandler(const std::uint8_t* data, std::size_t size) : begin_(data), end_(data + size) {}

    handler_result start_element(const char* name) override {
        check_name(name);
        return RecordingHandler::start_element(name);
    }
    handler_result raw_element(const char* name, const std::uint8_t* start, std::size_t available) override {
        check_name(name);
        require(start >= begin_ && start < end_ && available == static_cast<std::size_t>(end_ - start));
        require(*start == 0x01);
        return RecordingHandler::raw_element(name, start, available);
    }
    handler_result end_element(const char* name) override {
        check_name(name);
        return RecordingHandler::end_element(name);
    }
    handler_result attribute(const char* name, const meta::value& v) override {
        check_name(name);
        check_value(v);
        return RecordingHandler::attribute(name, v);
    }
    handler_result content(const meta::value& v) override {
        check_value(v);
        return RecordingHandler::content(v);
    }
    handler_result error(const meta::parse_exception& e) override {
        require(errors == 0);
        require(std::strcmp(e.what(), "meta::parse_exception: file is in wrong format") == 0);
        return RecordingHandler::error(e);
    }

private:
    void check_name(const char* name) const {
        require(name != nullptr);
        (void)std::strlen(name);  // a name without its NUL would run past the input here
        require(errors == 0);
    }
    void check_value(const meta::value& v) const {
        require(errors == 0);
        if (v.kind() != meta::value_kind::bytes && v.kind() != meta::value_kind::text) return;
        require(v.flags() == meta::borrowed);
        if (v.size() == 0) return;
        require(v.data() >= begin_ && v.data() + v.size() <= end_);
        if (v.kind() == meta::value_kind::text) require(v.data()[v.size() - 1] == 0);
    }

    const std::uint8_t* begin_;
    const std::uint8_t* end_;
};

// Steers the parse with every kind of answer, chosen from the event text so that runs
// are repeatable.
handler_result steering(const std::string& event) {
    unsigned hash = 0;
    for (char c : event) hash = hash * 31 + static_cast<unsigned char>(c);
    switch (hash % 11) {
    case 0: return handler_result::skip;
    case 1: return event.rfind("start", 0) == 0 ? handler_result::raw : handler_result::proceed;
    case 2: return handler_result::abort;
    default: return handler_result::proceed;
    }
}

std::vector<std::string> reencoded_events(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    meta::omemstream stream;
    meta::simple::writer writer(stream);
    meta::detail::reader_impl reader;
    reader.set_handler(&writer);
    require(reader.parse(data, size) == 0);
    out.assign(stream.data(), stream.data() + stream.size());

    CheckingHandler again(out.data(), out.size());
    meta::detail::reader_impl second;
    second.set_handler(&again);
    require(second.parse(out.data(), out.size()) == 0);
    return again.events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingHandler plain(data, size);
    meta::detail::reader_impl reader;
    reader.set_handler(&plain);
    const int status = reader.parse(data, size);
    require(status == (plain.errors == 1 ? -1 : 0));
    require(reader.handler() == &plain);

    // A visible "?names" element that comes first once the table element before it is
    // spelled out would become the table itself; such streams do not re-encode.
    const bool reencodable = plain.events.empty() || plain.events.front() != "start ?names";
    if (status == 0 && reencodable) {
        std::vector<std::uint8_t> first;
        require(reencoded_events(data, size, first) == plain.events);
        std::vector<std::uint8_t> second;
        reencoded_events(first.data(), first.size(), second);
        require(first == second);
    }

    CheckingHandler steered(data, size);
    bool aborted = false;
    steered.policy = [&aborted](const std::string& event) {
        const handler_result answer = steering(event);
        if (answer == handler_result::abort) aborted = true;
        return answer;
    };
    meta::detail::reader_impl steered_reader;
    steered_reader.set_handler(&steered);
    const int steered_status = steered_reader.parse(data, size);
    require(steered_status == ((steered.errors == 1 || aborted) ? -1 : 0));
    return 0;
}
