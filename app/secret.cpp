#include "app/secret.h"

#include "services/random.h"

#include <cstdlib>
#include <cstring>

namespace {

// Called through a volatile pointer, so the compiler cannot prove the fill dead.
void (*volatile wipe_fill)(void*, std::size_t) = random_fill;

}  // namespace

void secret_wipe(void* data, std::size_t length)
{
    if (!data || length == 0)
        return;
    wipe_fill(data, length);
#if defined(__GNUC__)
    // The bytes count as read by something outside the compiler's view.
    __asm__ __volatile__("" : : "r"(data) : "memory");
#endif
}

SecretBytes::~SecretBytes()
{
    secret_clear(*this);
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : data(other.data), size(other.size), capacity(other.capacity)
{
    other.data = nullptr;
    other.size = 0;
    other.capacity = 0;
}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept
{
    if (this != &other) {
        secret_clear(*this);
        data = other.data;
        size = other.size;
        capacity = other.capacity;
        other.data = nullptr;
        other.size = 0;
        other.capacity = 0;
    }
    return *this;
}

bool secret_reserve(SecretBytes& buffer, std::size_t capacity)
{
    if (capacity <= buffer.capacity)
        return true;
    auto* grown = static_cast<std::uint8_t*>(std::malloc(capacity));
    if (!grown)
        return false;
    if (buffer.size)
        std::memcpy(grown, buffer.data, buffer.size);
    secret_wipe(buffer.data, buffer.capacity);
    std::free(buffer.data);
    buffer.data = grown;
    buffer.capacity = capacity;
    return true;
}

bool secret_resize(SecretBytes& buffer, std::size_t size)
{
    if (size > buffer.capacity && !secret_reserve(buffer, size))
        return false;
    if (size > buffer.size)
        std::memset(buffer.data + buffer.size, 0, size - buffer.size);
    buffer.size = size;
    return true;
}

bool secret_append(SecretBytes& buffer, const void* data, std::size_t length)
{
    if (length == 0)
        return true;
    const std::size_t size = buffer.size + length;
    // Doubling keeps the number of wiped copies small for a growing text.
    if (size > buffer.capacity && !secret_reserve(buffer, size > 2 * buffer.capacity ? size : 2 * buffer.capacity))
        return false;
    std::memcpy(buffer.data + buffer.size, data, length);
    buffer.size = size;
    return true;
}

void secret_clear(SecretBytes& buffer)
{
    secret_wipe(buffer.data, buffer.capacity);
    std::free(buffer.data);
    buffer.data = nullptr;
    buffer.size = 0;
    buffer.capacity = 0;
}
