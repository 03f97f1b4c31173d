// The asset generator writes the same bytes on every run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets_files.h"

namespace {

#ifdef LAKESIDE_ASSETGEN
std::vector<std::string> FilesUnder(const std::string& root) {
    std::vector<std::string> out;
    for (const char* sub : {"textures", "sounds", "models", "data"})
        for (const auto& e : std::filesystem::directory_iterator(root + "/" + sub))
            out.push_back(std::string(sub) + "/" + e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(AssetGenerator, TwoRunsWriteIdenticalFiles) {
    char tmpl[] = "/tmp/lakeside-assets-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string base = tmpl, a = base + "/a", b = base + "/b";
    for (const std::string& out : {a, b}) {
        std::string cmd = std::string("\"") + LAKESIDE_ASSETGEN + "\" --no-contact-sheet \"" + out + "\" > /dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    std::vector<std::string> fa = FilesUnder(a), fb = FilesUnder(b);
    EXPECT_EQ(fa.size(), 192u + 29u + 2u);
    ASSERT_EQ(fa, fb);
    for (const std::string& f : fa) {
        std::string x, y, built;
        ASSERT_TRUE(assets::ReadAll(a + "/" + f, &x));
        ASSERT_TRUE(assets::ReadAll(b + "/" + f, &y));
        ASSERT_TRUE(assets::ReadAll(assets::GameDir() + "/" + f, &built)) << f;
        EXPECT_TRUE(x == y) << f << " differs between runs";
        EXPECT_TRUE(x == built) << f << " differs from the build's copy";
    }
    std::filesystem::remove_all(base);
}
#endif

}  // namespace
