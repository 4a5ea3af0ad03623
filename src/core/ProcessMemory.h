// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the process's heap gives memory back to the system.
namespace tessel::ProcessMemory {

// One heap for every thread: a thread's own heap keeps what it freed (a save's JSON, an image's
// bytes) resident for as long as the program runs. Call before any thread starts.
void shareOneHeap();

// Hands the heap's free pages back to the system, wherever they lie in the heap.
void releaseFreeMemory();

} // namespace tessel::ProcessMemory
