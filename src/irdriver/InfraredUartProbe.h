#pragma once
// Finds the UART the platform's IrDA driver has put into infrared mode: each candidate
// page is mapped, tested and released in turn, and the first that passes gives its
// index (1..3); 0 when none does. Its transmit pin is the one the engine takes over.

class InfraredUartProbe {
public:
    // FFUART, BTUART, STUART: infrared selection (ISR bits 0-1) and the unit enabled.
    static int FindPxa();
    // UART0, UART1, UART2: the infrared-mode bit of the line control register.
    static int FindS3c();
};
