// A growing in-memory stream that an encoder writes a picture into before any byte of it
// reaches the disk. Windows only.
#pragma once

#include <objidl.h>

#include <cstddef>
#include <cstdint>

// A new stream (one reference) that refuses to grow past `limit` bytes or past what memory
// allows (a write then fails, and with it the encoding); null when none can be made.
IStream* encode_stream_new(std::size_t limit);
// The bytes written so far; valid until the stream is released.
const std::uint8_t* encode_stream_bytes(IStream* stream, std::size_t* size);
