#include "controls/Artwork.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

struct ArtworkSize {
    bool bitmap;
    int id;
    QSize size;
};

class ControlsArtwork : public ::testing::TestWithParam<ArtworkSize> { };

TEST_P(ControlsArtwork, IsCompiledInAtItsSize)
{
    const ArtworkSize artwork = GetParam();
    const QImage image = artwork.bitmap ? bitmapImage(artwork.id) : pngImage(artwork.id);
    ASSERT_FALSE(image.isNull()) << "artwork " << artwork.id;
    EXPECT_EQ(image.size(), artwork.size) << "artwork " << artwork.id;
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlsArtwork,
    ::testing::Values(ArtworkSize { false, 128, { 256, 256 } }, // application icon
        ArtworkSize { false, 131, { 320, 30 } }, // page button, not selected
        ArtworkSize { false, 132, { 320, 30 } }, // page button, selected
        ArtworkSize { false, 163, { 320, 30 } }, // page button, selected (first)
        ArtworkSize { false, 144, { 100, 24 } }, // speaker page button
        ArtworkSize { false, 145, { 100, 24 } }, // speaker page button, pressed
        ArtworkSize { false, 171, { 1280, 50 } }, // banner
        ArtworkSize { false, 200, { 100, 30 } }, // help button, hover and pressed
        ArtworkSize { false, 201, { 100, 30 } }, // help button
        ArtworkSize { false, 202, { 100, 30 } }, // search button, off
        ArtworkSize { false, 203, { 100, 30 } }, // search button, on
        ArtworkSize { true, 138, { 91, 20 } }, // selector
        ArtworkSize { true, 139, { 91, 20 } })); // selector, active

TEST(Artwork, UnknownNumbersGiveNoImage)
{
    EXPECT_TRUE(pngImage(4242).isNull());
    EXPECT_TRUE(bitmapImage(171).isNull()) << "bitmaps and PNG images are kept apart";
}

} // namespace
} // namespace arx
