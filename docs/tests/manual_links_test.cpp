// The manual as installed: "cmake --install" of its component into a private folder,
// then every page and picture a page links must be there, and every "#name" must
// name an id on its page.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "runtime/testing/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> idsOf(const std::string& html) {
    std::set<std::string> ids;
    static const std::regex id(R"re(\sid="([^"]+)")re");
    for (std::sregex_iterator it(html.begin(), html.end(), id), end; it != end; ++it) {
        ids.insert((*it)[1]);
    }
    return ids;
}

class InstalledManual : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string command = std::string("'") + TV_CMAKE +
                              "' --install '" TV_BUILD_DIR "' --component manual --prefix '" +
                              prefix_.path() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        manual_ = fs::path(prefix_.path()) / TV_PROGRAM_DIR / "manual";
    }

    tv::testing::TempDir prefix_{"manual"};
    fs::path manual_;
};

TEST_F(InstalledManual, EveryLinkedPagePictureAndAnchorExists) {
    ASSERT_TRUE(fs::is_regular_file(manual_ / "index.html"));
    static const std::regex link(R"re((?:href|src)="([^"]*)")re");
    int pages = 0;
    int links = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(manual_)) {
        if (entry.path().extension() != ".html") {
            continue;
        }
        ++pages;
        std::string html = readFile(entry.path());
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            std::string target = (*it)[1];
            if (target.find(':') != std::string::npos) {
                continue;  // http:, man: and the like lead outside the manual
            }
            ++links;
            std::string file = target.substr(0, target.find('#'));
            std::string anchor =
                target.find('#') == std::string::npos ? "" : target.substr(target.find('#') + 1);
            fs::path linked = file.empty() ? entry.path() : manual_ / file;
            SCOPED_TRACE(entry.path().filename().string() + " -> " + target);
            ASSERT_TRUE(fs::is_regular_file(linked));
            if (!anchor.empty()) {
                EXPECT_TRUE(idsOf(readFile(linked)).count(anchor));
            }
        }
    }
    EXPECT_GE(pages, 6);
    EXPECT_GT(links, pages);
}

}  // namespace
