#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode;
    std::string error;
};

class RenderTool : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    Outcome run(const std::string& args) const {
        std::string errors = path("stderr.txt");
        std::string command =
            std::string(TV_BIN_DIR) + "/progressbar-render " + args + " 2>" + errors;
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(errors)};
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    tv::testing::TempDir folder_{"progressbar-render"};

    fs::path dir_{folder_.path()};
};

TEST_F(RenderTool, PpmHasTheRequestedSizeAndTheBarsColour) {
    Outcome r = run("--width 100 --height 20 " + path("bar.ppm"));
    ASSERT_EQ(r.exitCode, 0) << r.error;
    std::string ppm = read(path("bar.ppm"));
    std::string header = "P6\n100 20\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 100 * 20 * 3);
    EXPECT_EQ(ppm.substr(0, header.size()), header);
    // Pixel (6, 10) lies in the first block, in the default colour &H2BD228.
    std::size_t at = header.size() + (10 * 100 + 6) * 3;
    EXPECT_EQ(ppm.substr(at, 3), std::string("\x28\xD2\x2B", 3));
    EXPECT_FALSE(fs::exists(path("bar.ppm.part")));
}

TEST_F(RenderTool, TheImageOptionTilesAPpmPicture) {
    std::ofstream(path("tile.ppm"), std::ios::binary)
        << std::string("P6 1 1 255\n\x0A\x14\x1E", 14);
    Outcome r =
        run("--scrolling 8 --value 100 --image " + path("tile.ppm") + " " + path("picture.ppm"));
    ASSERT_EQ(r.exitCode, 0) << r.error;
    std::string ppm = read(path("picture.ppm"));
    std::size_t at = std::string("P6\n385 25\n255\n").size() + (12 * 385 + 100) * 3;
    EXPECT_EQ(ppm.substr(at, 3), std::string("\x0A\x14\x1E", 3));
}

#ifdef TV_RENDER_WITH_QT
TEST_F(RenderTool, PngHasTheRequestedSize) {
    Outcome r = run("--show-text --scrolling 9 --height 30 " + path("bar.png"));
    ASSERT_EQ(r.exitCode, 0) << r.error;
    std::string png = read(path("bar.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto bigEndian = [&png](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) |
               (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) |
               static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(bigEndian(16), 385u);
    EXPECT_EQ(bigEndian(20), 30u);
}
#endif

TEST_F(RenderTool, BadArgumentsExitWith2AndWriteNothing) {
    const std::vector<std::string> cases = {
        "--width 0 OUT.ppm",
        "--height x OUT.ppm",
        "--color red OUT.ppm",
        "--color '&HGG' OUT.ppm",
        "--brush-style 70000 OUT.ppm",
        "--bogus OUT.ppm",
        "--value",
        "OUT.bmp",
        "",
        "OUT.ppm other.ppm",
        "--max 0 OUT.ppm",
        "--value 30000000 OUT.ppm",
        "--image missing.ppm OUT.ppm",
    };
    for (std::string args : cases) {
        for (std::size_t at; (at = args.find("OUT.")) != std::string::npos;) {
            args.replace(at, 3, path("out"));
        }
        for (std::size_t at; (at = args.find("missing.")) != std::string::npos;) {
            args.replace(at, 7, path("gone"));
        }
        Outcome r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_EQ(r.error.rfind("progressbar-render: ", 0), 0u) << r.error;
        EXPECT_EQ(std::count(r.error.begin(), r.error.end(), '\n'), 1) << r.error;
        EXPECT_FALSE(fs::exists(path("out.ppm")) || fs::exists(path("out.bmp"))) << args;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1) << args;
    }
}

}  // namespace
