#pragma once
// Writes the profile's serial drivers into the handheld's registry as the platform's
// device manager lists them: HKLM "Drivers\Active\NN" with "Name" and "Key", and each
// driver key with its "FriendlyName". Entries of a previous profile are removed first.

#include "ce/Types.h"
#include "sim/Profile.h"

namespace handheld {

class ActiveDrivers {
public:
    // ERROR_SUCCESS or the registry's error.
    static ce::LONG write(const sim::Profile& profile);

private:
    static ce::LONG clear();
    static ce::LONG write_port(unsigned index, const sim::ComPort& port);
};

}  // namespace handheld
