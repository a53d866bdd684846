// The models' textures prepared ahead of their upload: the mipmap chain the worker
// builds, and the files it finds.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "TempDir.h"
#include "render/TexturePrefetch.h"

namespace {

TEST(TexturePrefetch, EachMipmapLevelAveragesTheTwoByTwoPixelsAboveIt) {
    // 3 x 2, one channel shown (all three equal): the odd last column pairs with itself.
    const int values[6] = {0, 100, 200, 40, 60, 80};
    std::vector<uint8_t> rgb;
    for (int v : values) rgb.insert(rgb.end(), 3, static_cast<uint8_t>(v));
    const auto levels = mipmapChain(rgb.data(), 3, 2);
    ASSERT_EQ(levels.size(), 2u) << "3 x 2, then 1 x 1";
    EXPECT_EQ(levels[0], rgb);
    ASSERT_EQ(levels[1].size(), 3u);
    EXPECT_EQ(levels[1][0], (0 + 100 + 40 + 60 + 2) / 4);

    std::vector<uint8_t> square(8 * 4 * 3, 200);
    const auto chain = mipmapChain(square.data(), 8, 4);
    ASSERT_EQ(chain.size(), 4u) << "8 x 4, 4 x 2, 2 x 1, 1 x 1";
    EXPECT_EQ(chain[1].size(), 4u * 2u * 3u);
    EXPECT_EQ(chain[3], std::vector<uint8_t>(3, 200)) << "a flat picture stays flat";
}

TEST(TexturePrefetch, FindsThePicturesOfAFolderOnceFinished) {
    const TempDir dir;
    // A 1 x 1 PPM is not among the formats looked for; a broken PNG is skipped.
    std::ofstream(dir.path / "broken.png") << "not a png";
    std::ofstream(dir.path / "notes.txt") << "x";
    TexturePrefetch& prefetch = TexturePrefetch::instance();
    prefetch.start(dir.path.string());
    EXPECT_EQ(prefetch.find((dir.path / "broken.png").string()), nullptr) << "nothing answers before finish";
    prefetch.finish();
    EXPECT_EQ(prefetch.find((dir.path / "broken.png").string()), nullptr) << "an undecodable file is left to the loader";
    EXPECT_EQ(prefetch.find((dir.path / "notes.txt").string()), nullptr);
    prefetch.release();
}

}  // namespace
