// Shared between the AES mode code (aes.cpp) and its two block-cipher paths: the
// table-driven one (aes.cpp) and the AES-NI one (aes_ni.cpp). Not for other callers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace aes_internal {

constexpr int MAX_ROUNDS = 14;
constexpr std::size_t BLOCK = 16;

// A key schedule whose layout belongs to the path that built it: the table path keeps
// round-key words as big-endian numbers, the AES-NI path keeps them in memory order.
struct Schedule {
    alignas(16) std::uint32_t words[4 * (MAX_ROUNDS + 1)];
    int rounds;
};

// One block-cipher path. `bits` is already checked (128, 192 or 256). Every block
// function works on whole 16-byte blocks (count may be 0); the CBC ones take the
// running chaining block and leave the last ciphertext block in it.
struct Kernel {
    void (*expand_encrypt)(Schedule* schedule, const std::uint8_t* key, int bits);
    // The schedule of the equivalent inverse cipher (FIPS-197 5.3.5).
    void (*expand_decrypt)(Schedule* schedule, const std::uint8_t* key, int bits);
    void (*ecb_encrypt)(const Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks);
    void (*ecb_decrypt)(const Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks);
    void (*cbc_encrypt)(const Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks, std::uint8_t chain[BLOCK]);
    void (*cbc_decrypt)(const Schedule& schedule, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks, std::uint8_t chain[BLOCK]);
};

extern const Kernel table_kernel;

// The AES-NI path, or null when the processor (or the build target) lacks it.
const Kernel* hardware_kernel();

// Overwrites secrets in a way the compiler may not drop.
void wipe(void* data, std::size_t size);

}  // namespace aes_internal
