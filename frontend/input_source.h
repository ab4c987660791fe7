// frontend/input_source.h: where the bytes of the program's input come from.
// Natively that is file descriptor 0 (input_fd.cpp); in the browser, a ring
// of shared memory that the page writes lines into (input_ring.cpp). The
// reader in input.cpp keeps the buffer and the lines; these two calls are
// all it asks of the source.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <cstddef>

// Bytes can be read without waiting, or the input has ended. Never blocks.
bool source_ready();
// Waits for at least one byte and reads up to `size` of them into `out`;
// 0 at the end of input (or on an error that ends it).
std::size_t source_read(char* out, std::size_t size);
