#pragma once
// A handheld made before handhelds were private (its folders 0755, its files 0644) is
// closed to other accounts the next time its owner runs `init` or `start`, with a line
// saying so.

#include "Console.h"

namespace handheld {

class HandheldPrivacy {
public:
    static void tighten(Console& console);
};

}  // namespace handheld
