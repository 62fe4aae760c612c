#pragma once
// Framing of one infrared transmission. The transmit engines call these around the
// emission of a signal; on the device they do nothing. The simulated handheld records
// the LED line between them as one transmission in its log (log/ir.log), decoded.

namespace ce {

void BeginInfraredTrace();
void EndInfraredTrace();

}  // namespace ce
