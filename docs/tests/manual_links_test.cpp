// The manual as installed: "cmake --install" of its component into a private folder,
// then every page and picture a page links must be there, and every "#name" must
// name an id on its page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "runtime/testing/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every value of the attribute in the page, as written: name="VALUE".
std::vector<std::string> valuesOf(const std::string& html, const std::string& attribute) {
    std::vector<std::string> values;
    const std::string opening = " " + attribute + "=\"";
    for (std::size_t at = html.find(opening); at != std::string::npos;
         at = html.find(opening, at + 1)) {
        std::size_t start = at + opening.size();
        values.push_back(html.substr(start, html.find('"', start) - start));
    }
    return values;
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
    int pages = 0;
    int links = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(manual_)) {
        if (entry.path().extension() != ".html") {
            continue;
        }
        ++pages;
        std::string html = readFile(entry.path());
        std::vector<std::string> targets = valuesOf(html, "href");
        for (const std::string& picture : valuesOf(html, "src")) {
            targets.push_back(picture);
        }
        for (const std::string& target : targets) {
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
                std::vector<std::string> ids = valuesOf(readFile(linked), "id");
                EXPECT_NE(std::find(ids.begin(), ids.end(), anchor), ids.end());
            }
        }
    }
    EXPECT_GE(pages, 6);
    EXPECT_GT(links, pages);
}

}  // namespace
