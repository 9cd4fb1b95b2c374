// Reading and writing the string payloads of the .tdb format: 8-bit text with a NUL, and
// UTF-16LE text with a 0 unit. A payload is taken up to its first NUL (or 0 unit); one without
// any ends where the payload ends, and the odd last byte of a UTF-16 payload is ignored.
#pragma once

#include <cstdint>

#include "common/string_class.h"
#include "tdb/chunk_reader.h"
#include "tdb/chunk_writer.h"

// Reads the remaining length bytes of the open chunk or micro chunk into text. False when
// memory runs out (text unchanged); a payload that cannot be read leaves text unchanged.
bool ReadNarrowPayload(ChunkReaderClass& reader, uint32_t length, NarrowStringClass& text);
// Reads length bytes of UTF-16LE into text, as above.
bool ReadWidePayload(ChunkReaderClass& reader, uint32_t length, UnicodeStringClass& text);
// Reads a signed 32-bit little-endian value when 4 bytes are there; value unchanged otherwise.
void ReadIntPayload(ChunkReaderClass& reader, int32_t& value);

// Writes text and its NUL as the payload of the open chunk.
bool WriteNarrowPayload(ChunkWriterClass& writer, const NarrowStringClass& text);
// Writes text and its 0 unit as UTF-16LE.
bool WriteWidePayload(ChunkWriterClass& writer, const UnicodeStringClass& text);
