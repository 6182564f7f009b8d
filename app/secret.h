// Working copies of secrets (the password, texts and bytes derived from it, a note's
// plaintext): buffers that are overwritten with random bytes before their memory is
// released or replaced, in a way the compiler cannot drop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Overwrites `length` bytes at `data` with random bytes.
void secret_wipe(void* data, std::size_t length);

// A byte buffer owned by its holder and wiped whenever its memory is let go.
struct SecretBytes {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t capacity = 0;

    SecretBytes() = default;
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;
};

// Makes room for `capacity` bytes, keeping the content; false when memory runs out
// (the buffer is then unchanged).
bool secret_reserve(SecretBytes& buffer, std::size_t capacity);
// Sets the size, keeping the bytes that stay and zero-filling new ones.
bool secret_resize(SecretBytes& buffer, std::size_t size);
bool secret_append(SecretBytes& buffer, const void* data, std::size_t length);
// Wipes and frees the memory; the buffer is empty afterwards.
void secret_clear(SecretBytes& buffer);

// Wipes the characters of a text when the scope that holds it ends.
struct SecretTextGuard {
    std::u16string& text;

    explicit SecretTextGuard(std::u16string& guarded) : text(guarded) {}
    ~SecretTextGuard() { secret_wipe(text.data(), text.size() * sizeof(char16_t)); }
    SecretTextGuard(const SecretTextGuard&) = delete;
    SecretTextGuard& operator=(const SecretTextGuard&) = delete;
};

// Wipes a fixed buffer (a local array) when the scope that holds it ends.
struct SecretWipeGuard {
    void* data;
    std::size_t length;

    SecretWipeGuard(void* guarded, std::size_t guarded_length) : data(guarded), length(guarded_length) {}
    ~SecretWipeGuard() { secret_wipe(data, length); }
    SecretWipeGuard(const SecretWipeGuard&) = delete;
    SecretWipeGuard& operator=(const SecretWipeGuard&) = delete;
};
