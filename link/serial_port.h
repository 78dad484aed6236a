#pragma once
#include <cstdint>
#include <string>

#include "link/line_settings.h"

// The operating system's serial port, reached through the effects of the platform calls the
// device is written against. Like those calls, each one reports failure by its result and
// leaves the reason in errno.

// CreateFile: opens path for reading and writing, non-blocking, not as controlling terminal,
// and exclusively: a second open of the same device fails with EBUSY. -1 on failure.
int OpenSerialPort(const std::string& path);
// GetFileType: true for a character device; false with ENOTTY otherwise.
bool IsCharacterDevice(int fd);
// CloseHandle.
void CloseSerialPort(int fd);

// SetCommTimeouts: a read returns at once with what the input queue holds.
bool SetReadsReturnAtOnce(int fd);
// GetCommState / SetCommState. The record keeps what the terminal interface can express: rate,
// byte size, parity, stop bits, parity checking, CTS/RTS and XON/XOFF flow control and the
// XON/XOFF characters. The modem lines stay as the kernel raised them at open, and the options
// it has no counterpart for (DSR flow and sensitivity, error and null replacement) are not
// applied. One and a half stop bits is the UART's two stop bits setting; 4 data bits fail
// with EINVAL.
bool GetLineSettings(int fd, TLineSettings& record);
bool SetLineSettings(int fd, const TLineSettings& record);
// PurgeComm: drops what the queues hold.
void PurgeSerialPort(int fd, bool input, bool output);

// ClearCommError's queue counts; -1 on failure.
int InputQueueCount(int fd);
int OutputQueueCount(int fd);

// Modem status lines (TIOCM_* bits); fails where the driver has none, as on pseudo-terminals.
bool ReadModemLines(int fd, int& lines);

// Cumulative receive error counts; fails where the driver keeps none.
struct TLineCounters {
    uint32_t breaks = 0;
    uint32_t frame = 0;
    uint32_t overrun = 0;
    uint32_t parity = 0;
    uint32_t bufferOverrun = 0;
};
bool ReadLineCounters(int fd, TLineCounters& counters);
