#pragma once
// Everything the tool prints passes through here. Text from the handheld (an alarm's
// description, a window title, a command line, a file or value name) may hold control
// characters, which a terminal obeys rather than shows (ESC starts a command that
// recolours or rewrites the screen); they come out as "\xNN", the C1 controls
// (U+0080-U+009F) as "\u00NN". Line ends pass; every other byte passes unchanged.

#include <streambuf>

namespace handheld {

class PrintableOutput : public std::streambuf {
public:
    explicit PrintableOutput(std::streambuf* target) : target_(target) {}
    ~PrintableOutput() override;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool put_escaped(bool c1, unsigned value);

    std::streambuf* target_;
    bool after_lead_ = false;  // the byte before was 0xC2, which leads every C1 control in UTF-8
};

}  // namespace handheld
