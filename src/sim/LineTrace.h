#pragma once
// The infrared LED line as the SoC drove it: every change of level with its virtual
// time, from the start of one transmission to its end.

#include <cstdint>
#include <vector>

namespace sim {

struct Edge {
    std::int64_t ns = 0;
    bool on = false;
};

struct Transmission {
    std::int64_t begin_ns = 0;
    std::int64_t end_ns = 0;
    std::vector<Edge> edges;
};

class LineTrace {
public:
    // Records a level; equal consecutive levels are one level, not an edge.
    void set(bool on, std::int64_t ns);
    bool level() const { return level_; }

    void begin(std::int64_t ns);
    // Ends the current transmission and hands it over (the line level is kept).
    Transmission end(std::int64_t ns);
    bool has_edges() const { return !current_.edges.empty(); }

private:
    bool level_ = false;
    bool begun_ = false;
    Transmission current_;
};

}  // namespace sim
