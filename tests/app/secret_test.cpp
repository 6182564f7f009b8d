// Working copies of secrets: wiping overwrites, and the buffers keep their content
// while they grow, shrink and move.
#include "app/secret.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

TEST(Secret, WipingOverwritesTheBytes)
{
    std::uint8_t bytes[64] = {};
    secret_wipe(bytes, sizeof bytes);
    EXPECT_NE(std::count(bytes, bytes + sizeof bytes, 0), 64);
    secret_wipe(nullptr, 10);

    std::u16string password = u"correct horse";
    {
        const SecretTextGuard guard(password);
    }
    EXPECT_EQ(password.size(), 13u);
    EXPECT_NE(password, u"correct horse");
}

TEST(Secret, BytesKeepTheirContent)
{
    SecretBytes bytes;
    ASSERT_TRUE(secret_append(bytes, "abc", 3));
    ASSERT_TRUE(secret_resize(bytes, 2));
    ASSERT_TRUE(secret_resize(bytes, 4));
    EXPECT_EQ(std::memcmp(bytes.data, "ab\0\0", 4), 0);  // bytes that come back are zero
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(secret_append(bytes, "xyz", 3));
    EXPECT_EQ(std::memcmp(bytes.data, "ab\0\0xyz", 7), 0);
    EXPECT_EQ(std::memcmp(bytes.data + 3001, "xyz", 3), 0);

    SecretBytes moved = std::move(bytes);
    EXPECT_EQ(bytes.data, nullptr);
    EXPECT_EQ(moved.size, 3004u);
    secret_clear(moved);
    EXPECT_EQ(moved.size, 0u);
}
