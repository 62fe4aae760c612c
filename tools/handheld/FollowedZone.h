#pragma once
// A handheld that follows this computer takes the zone a new $TZ names the next time the
// tool runs in that shell, as a zone change (the programs registered for it run), and
// says so; a $TZ it cannot take is reported with the reason and the zone it keeps, never
// passed over in silence. An unset TZ changes nothing: a tool started from a menu or a
// unit has none, and must not undo the zone a shell's TZ chose.

#include "Console.h"

namespace handheld {

class FollowedZone {
public:
    static void follow_tz(Console& console);
};

}  // namespace handheld
