// The version is written once, as the project version in CMakeLists.txt, and the build makes
// base/ProgramVersion.h from it. What is left to go wrong is the step to the numbers of a Windows
// file version, which the version resource carries beside the text.
#include <gtest/gtest.h>

#include <string>

#include "base/ProgramVersion.h"

namespace {

TEST(ProgramVersion, TheFileVersionNumbersSpellTheVersionText) {
    EXPECT_EQ(std::to_string(HALVERN_VERSION_MAJOR) + "." + (HALVERN_VERSION_MINOR < 10 ? "0" : "") +
                  std::to_string(HALVERN_VERSION_MINOR),
              HALVERN_VERSION_TEXT);
}

}  // namespace
