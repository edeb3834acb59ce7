#pragma once
// How the process's allocator hands memory back to the system.

namespace platform {

// Keeps memory the process frees for its own later use instead of handing
// it back to the system at once. For a batch job that allocates and frees
// the same large buffers again and again (a compressor's state for every
// page of a PDF), handing back and faulting in again costs more than the
// work. A no-op where the allocator has no such settings.
void HoldFreedMemory();

}  // namespace platform
