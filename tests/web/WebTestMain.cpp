#include <gtest/gtest.h>

#include <cstdlib>

// The tests' main in the browser: the program waits for the browser's file system, so main returns to the browser
// long before the tests end; exit hands their result to the page once they have.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::exit(RUN_ALL_TESTS());
}
