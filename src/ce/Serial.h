#pragma once
// Serial ports: CreateFileW on a device name ("COM3:") from the handheld's
// "Drivers\Active" list opens one. A port is exclusive across the handheld's processes:
// a second open fails with ERROR_ACCESS_DENIED until the first handle is closed.

#include "ce/Types.h"

namespace ce {

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
};

// The platform's DCB with its bit fields as one flag word (the masks below).
struct DCB {
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;
    DWORD Flags = 0;
    WORD wReserved = 0;
    WORD XonLim = 0;
    WORD XoffLim = 0;
    BYTE ByteSize = 0;
    BYTE Parity = 0;
    BYTE StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    WORD wReserved1 = 0;
};

inline constexpr DWORD DCB_fBinary = 0x0001;
inline constexpr DWORD DCB_fParity = 0x0002;
inline constexpr DWORD DCB_fOutxCtsFlow = 0x0004;
inline constexpr DWORD DCB_fOutxDsrFlow = 0x0008;
inline constexpr DWORD DCB_fDtrControl = 0x0030;
inline constexpr DWORD DCB_fDsrSensitivity = 0x0040;
inline constexpr DWORD DCB_fTXContinueOnXoff = 0x0080;
inline constexpr DWORD DCB_fOutX = 0x0100;
inline constexpr DWORD DCB_fInX = 0x0200;
inline constexpr DWORD DCB_fRtsControl = 0x3000;

inline constexpr DWORD CBR_2400 = 2400;
inline constexpr DWORD CBR_115200 = 115200;
inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE ONESTOPBIT = 0;
inline constexpr BYTE ONE5STOPBITS = 1;
inline constexpr BYTE TWOSTOPBITS = 2;
inline constexpr DWORD MAXDWORD = 0xFFFFFFFF;

// EscapeCommFunction codes; SETIR puts the port's UART into infrared mode, CLRIR back.
inline constexpr DWORD SETRTS = 3;
inline constexpr DWORD CLRRTS = 4;
inline constexpr DWORD SETDTR = 5;
inline constexpr DWORD CLRDTR = 6;
inline constexpr DWORD SETBREAK = 8;
inline constexpr DWORD CLRBREAK = 9;
inline constexpr DWORD SETIR = 10;
inline constexpr DWORD CLRIR = 11;

BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
BOOL GetCommState(HANDLE port, DCB* state);
// FALSE (ERROR_INVALID_PARAMETER) for a zero baud rate, a byte size outside 5..8,
// a parity above 4 or a stop-bits code above 2; the state is then unchanged.
BOOL SetCommState(HANDLE port, const DCB* state);
BOOL EscapeCommFunction(HANDLE port, DWORD function);

}  // namespace ce
