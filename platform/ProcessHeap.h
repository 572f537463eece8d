#pragma once
// How the process's heap treats large blocks. Printing and PDF output build and free
// buffers of several megabytes for every page; by default the C library hands each one
// back to the system when it is freed and faults it in again for the next page, which
// cost a long report about a third of its time. Called once at the program's start,
// before anything is allocated in quantity.
void KeepLargeFreedBlocksForReuse();
