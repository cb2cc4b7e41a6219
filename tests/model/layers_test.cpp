// Which folders of src/ the files of a folder may include: the layers point down only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace qorv {
namespace {

namespace fs = std::filesystem;

// The project folders that the files of `folder` include, with the file that does.
std::vector<std::string> includedFolders(const std::string& folder) {
    std::vector<std::string> found;
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+)/)re");
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(QORV_SOURCE_DIR) / "src" / folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line))
            if (std::regex_search(line, m, include))
                found.push_back(m[1].str() + " in " + entry.path().filename().string());
    }
    return found;
}

TEST(Layers, NoFolderIncludesALayerAboveIt) {
    struct Rule {
        const char* folder;
        std::vector<std::string> forbidden;
    };
    // The model is the bottom of the engine; constructions are made above the model and the
    // geometry; settings are read before any dialog exists.
    const Rule rules[] = {
        {"model",
         {"geometry", "construction", "calc", "macros", "view", "settings", "dialogs", "app"}},
        {"geometry", {"construction", "view", "settings", "dialogs", "app"}},
        {"settings", {"dialogs", "app"}},
    };
    for (const Rule& rule : rules) {
        ASSERT_TRUE(fs::is_directory(fs::path(QORV_SOURCE_DIR) / "src" / rule.folder))
            << rule.folder;
        for (const std::string& inc : includedFolders(rule.folder))
            for (const std::string& above : rule.forbidden)
                EXPECT_NE(inc.rfind(above + " ", 0), 0u) << rule.folder << " includes " << inc;
    }
}

} // namespace
} // namespace qorv
