#pragma once
// The port the infrared verbs use: the one --port names, else the handheld's infrared
// port (the serial port whose driver key names IrDA).

#include <string>

namespace handheld {

class InfraredPort {
public:
    static std::u16string Chosen(const std::string& port);
};

}  // namespace handheld
