#pragma once
// Result codes of the infrared driver: 0 is success, everything else names what stopped
// the operation. The values are fixed: the forms and the macro executor test them.

enum IrResult : int {
    kIrOk = 0,
    kIrCarrierTooSlow = 5,     // learning: measured carrier period 101 µs or more
    kIrMarkTooLong = 6,        // learning: a mark longer than 0.8 s (or an OMAP carrier above 100 µs)
    kIrNoData = 11,            // SetSignal without durations
    kIrNoCarrier = 12,         // carrier period 0
    kIrPortUnavailable = 13,   // the serial port is missing or taken by another program
    kIrLearnTimeout = 17,      // learning: nothing received within 20 seconds
    kIrNoRepeatData = 201,     // the repeat-frame search got nothing to search
    kIrBlockUnmapped = 301,    // a register block the engine needs could not be mapped
    kIrZeroPriority = 302,     // the thread already runs at priority 0: nothing to raise or restore
    kIrNoInfraredUart = 303,   // no UART in infrared mode: no transmit pin to take over
    kIrNoPort = 304,           // no infrared port chosen
};
