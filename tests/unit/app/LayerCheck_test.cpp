// The build's layer check, run on a scratch tree: every way of writing an include that reaches
// a higher layer must fail it, and the ordinary includes of a clean tree must pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class LayerCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vindle-layers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    Write("app/win32/MeterApplications.h", "#pragma once\n");
    Write("ruler/RulerGeometry.h", "#pragma once\n");
    Write("ruler/win32/MainForms.h", "#pragma once\n#include \"ruler/RulerGeometry.h\"\n");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& path, const std::string& text) {
    fs::create_directories((root_ / "src" / path).parent_path());
    std::ofstream(root_ / "src" / path) << text;
  }

  // True when the check passes the tree.
  bool Passes() {
    const std::string command = std::string("\"") + VINDLE_CMAKE_COMMAND + "\" -DSOURCE_DIR=\"" + (root_ / "src").string() +
                                "\" \"-DCORE_ORDER=base;ruler;app\" \"-DWIN32_ORDER=gui;ruler;app\" -P \"" +
                                VINDLE_RESOURCE_DIR + "/../cmake/CheckLayers.cmake\" >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

  fs::path root_;
};

TEST_F(LayerCheck, PassesOrdinaryIncludesAndCatchesEveryUpwardForm) {
  Write("ruler/win32/MainForms.cpp",
        "#include \"MainForms.h\"\n#include <windows.h>\n#include <vector>\n#include \"ruler/RulerGeometry.h\"\n");
  ASSERT_TRUE(Passes()) << "includes beside the file, system headers and lower layers are fine";

  for (const char* upward : {"#include \"app/win32/MeterApplications.h\"\n", "#include <app/win32/MeterApplications.h>\n",
                             "#include \"../../app/win32/MeterApplications.h\"\n", "#  include<app/win32/MeterApplications.h>\n",
                             "#include \"../../../outside.h\"\n"}) {
    Write("ruler/win32/MainForms.cpp", std::string("#include \"MainForms.h\"\n") + upward);
    EXPECT_FALSE(Passes()) << upward;
  }
  Write("ruler/win32/MainForms.cpp", "#include \"MainForms.h\"\n");
  Write("ruler/RulerGeometry.cpp", "#include \"win32/MainForms.h\"\n");
  EXPECT_FALSE(Passes()) << "a core reaching its own Win32 half through a path beside it";
}

}  // namespace
