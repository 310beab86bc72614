// The version number is written once, in ui/ProgramVersion.h; everything that shows it must agree.
#include <gtest/gtest.h>

#include <string>

#include "cli/HelpText.h"
#include "platform/StoreRecords.h"
#include "ui/ProgramVersion.h"

namespace {

TEST(ProgramVersion, OneNumberEverywhere) {
    // The build's project version (CMakeLists.txt) and the resource numbers.
    EXPECT_STREQ(HALVERN_VERSION_TEXT, HALVERN_PROJECT_VERSION);
    EXPECT_EQ(std::to_string(HALVERN_VERSION_MAJOR) + "." + (HALVERN_VERSION_MINOR < 10 ? "0" : "") +
                  std::to_string(HALVERN_VERSION_MINOR),
              HALVERN_VERSION_TEXT);
    // halvern-cli --version.
    EXPECT_EQ(halvern::cli::VersionText(), halvern::kProgramVersion);
    // The program record in the registry, shown by the information dialog.
    std::string stored;
    for (const halvern::StoreValue& value : halvern::ProgramRecord("C:\\Halvern\\Halvern.exe")) {
        if (value.name == halvern::kVersionValue) stored = value.text;
    }
    EXPECT_EQ(stored, halvern::kProgramVersion);
}

}  // namespace
