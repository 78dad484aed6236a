#pragma once
#include <cstdint>

// The private messages the data module sends the program's windows.
inline constexpr uint32_t WM_USER = 0x0400;
// wParam: the registration status (1 home network, 2 searching, ...).
inline constexpr uint32_t WM_NETWORK_REGISTRATION = WM_USER + 100;
// lParam: the received message, an ISMS*, valid only during the call.
inline constexpr uint32_t WM_SMS_LOGGED = WM_USER + 101;
// wParam: a device state code below.
inline constexpr uint32_t WM_DEVICE_STATE = WM_USER + 102;

// Device state codes: the low 7 bits are the state, bit 0x80 asks for the identity to be read.
inline constexpr intptr_t kDeviceStateMask = 0x7F;
inline constexpr intptr_t kDeviceRefreshIdentity = 0x80;
inline constexpr intptr_t kDeviceBusy = 0;
inline constexpr intptr_t kDeviceIdle = 1;
inline constexpr intptr_t kDeviceConnected = kDeviceIdle | kDeviceRefreshIdentity;
inline constexpr intptr_t kDeviceDisconnected = -1;

// Calls the handler of every form of the application, from the first created on; results are
// ignored. A form that goes away during the call is skipped, one created during it is not
// reached.
void NotifyForms(uint32_t msg, intptr_t wParam, intptr_t lParam);
