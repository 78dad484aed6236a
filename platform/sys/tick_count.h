#pragma once
#include <cstdint>

// Milliseconds since an arbitrary start, monotonic, wrapping at 2^32 like the platform's.
uint32_t GetTickCount();

// Blocks the calling thread; only for pauses the device itself needs, never to wait for an event.
void Sleep(uint32_t milliseconds);
