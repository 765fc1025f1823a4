#include <gtest/gtest.h>

#include <map>
#include <vector>

#include <QImage>

#include "app/ui/glyphs/Glyphs.h"

namespace {

bool PaintsSomething(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                return true;
    return false;
}

QImage ImageOf(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Every picture draws something, and no two share one unless expected.
void ExpectDistinctPictures(const std::map<int, QImage>& images, const std::vector<std::pair<int, int>>& twins)
{
    for (const auto& [key, image] : images) {
        EXPECT_EQ(image.size(), QSize(kGlyphSize, kGlyphSize)) << key;
        EXPECT_TRUE(PaintsSomething(image)) << key;
        for (const auto& [other, otherImage] : images) {
            if (other <= key)
                continue;
            bool twin = false;
            for (const auto& [a, b] : twins)
                twin = twin || (a == key && b == other);
            EXPECT_EQ(image == otherImage, twin) << key << " and " << other;
        }
    }
}

} // namespace

TEST(Glyphs, EveryButtonHasItsOwnPicture)
{
    std::map<int, QImage> images;
    for (int glyph = 0; glyph <= static_cast<int>(TGlyph::Accept); ++glyph)
        images[glyph] = ImageOf(GlyphPixmap(static_cast<TGlyph>(glyph)));
    ExpectDistinctPictures(images, {});

    const QIcon icon = GlyphIcon(TGlyph::Save);
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(20, 20), QSize(40, 40)}));
}

TEST(Glyphs, CommandPicturesByKey)
{
    std::map<int, QImage> images;
    for (int key = 0; key < kCommandGlyphCount; ++key)
        if (key != 18)
            images[key] = ImageOf(CommandGlyphPixmap(key));
    // The circle button's own picture is the command's.
    ExpectDistinctPictures(images, {{0, 33}});

    EXPECT_TRUE(CommandGlyphPixmap(18).isNull()) << "no command has key 18";
    EXPECT_TRUE(CommandGlyphPixmap(-1).isNull());
    EXPECT_TRUE(CommandGlyphPixmap(kCommandGlyphCount).isNull());
    EXPECT_TRUE(CommandGlyphIcon(18).isNull());

    // The split buttons start with the picture of their first command.
    EXPECT_EQ(ImageOf(GlyphPixmap(TGlyph::Fillet)), images[6]);
    EXPECT_EQ(ImageOf(GlyphPixmap(TGlyph::Delete)), images[19]);
}

TEST(Glyphs, SnapPicturesSevenToEighteen)
{
    std::map<int, QImage> images;
    for (int index = 7; index <= 18; ++index)
        images[index] = ImageOf(SnapGlyphPixmap(index));
    ExpectDistinctPictures(images, {});
    EXPECT_TRUE(SnapGlyphPixmap(6).isNull());
    EXPECT_TRUE(SnapGlyphPixmap(19).isNull());
}
