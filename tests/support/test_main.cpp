// The main of every test program. Beyond GoogleTest's own result it tells ctest two more
// things: a program that ran no test at all fails, and one whose every test skipped (it
// needs something this machine lacks) ends with TEST_SKIPPED_EXIT_CODE, which ctest
// reports as skipped instead of passed (the build defines the code for both).
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
    if (result != 0)
        return result;
    if (run.test_to_run_count() == 0) {
        std::fprintf(stderr, "no test ran\n");
        return 1;
    }
    if (run.successful_test_count() == 0 && run.skipped_test_count() > 0)
        return TEST_SKIPPED_EXIT_CODE;
    return 0;
}
