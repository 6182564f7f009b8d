// AES cipher: FIPS-197 AES with 128-, 192- or 256-bit keys in ECB or CBC
// mode, with ciphertext stealing so that the output is always exactly as long as the
// input. The journal's note files depend on these results being bit-exact.
#pragma once

#include <cstdint>

// The mode value that selects ECB; every other value selects CBC.
constexpr std::int32_t AES_MODE_ECB = 8;
// The value the journal passes for CBC (any value other than AES_MODE_ECB works).
constexpr std::int32_t AES_MODE_CBC = 4;

// Encrypts `size` bytes from `input` into `output` (separate, non-overlapping buffers
// of at least `size` bytes) under `key` (bits / 8 bytes). `iv` (16 bytes) is read only
// in CBC mode and never changed. Returns `size` on success; on failure returns 0 and
// writes nothing. Failures: bits other than 128, 192 or 256; a size below 16 (0, 1 to
// 15 or negative); a null input, output or key; a null iv in CBC mode; overlapping
// input and output.
std::int32_t aes_encode(const void* input, void* output, std::int32_t size, const void* key,
                        std::int32_t bits, const void* iv, std::int32_t mode);

// Undoes aes_encode given the same key, bits, iv and mode; same results and failures.
std::int32_t aes_decode(const void* input, void* output, std::int32_t size, const void* key,
                        std::int32_t bits, const void* iv, std::int32_t mode);

// True when the processor has the AES instructions (AES-NI) and this build can use them.
bool aes_hardware_available();

// Chooses the block cipher for later calls: the AES-NI path when `enable` is true and
// the processor has it, the table-driven path otherwise. Both give identical results;
// tests use this to check the table path on machines with AES-NI. Returns whether the
// hardware path is now in use. The default is to use the hardware when available.
bool aes_use_hardware(bool enable);
