#pragma once

#include "support/SystemFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvrast::testing {

// The promises of Files, held by every implementation: each test of the contract runs on the files of the
// system the tests were built for, in a fresh temporary folder.
template <typename Implementation> class FilesContract : public ::testing::Test {
protected:
    Implementation files;
    TempFolder folder;
};

using SystemFilesTypes = ::testing::Types<SystemFiles>;

// Names the implementation in the test's name, so a failure says which one broke the contract.
struct SystemFilesName {
    template <typename Implementation> static std::string GetName(int) { return systemFilesName; }
};

} // namespace kelvrast::testing
