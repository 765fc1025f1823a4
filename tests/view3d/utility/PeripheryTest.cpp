#include <map>
#include <memory>
#include <string>

#include <QImage>
#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"

#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/utility/GLBitmap32.h"
#include "view3d/utility/PictureRegisteredFormats.h"
#include "view3d/utility/Silhouette.h"
#include "view3d/utility/XCollection.h"

namespace {

using namespace archive_bytes;

void ExpectPixel(const TPixel32& p, int r, int g, int b, int a)
{
    EXPECT_EQ(p.R, r);
    EXPECT_EQ(p.G, g);
    EXPECT_EQ(p.B, b);
    EXPECT_EQ(p.A, a);
}

TEST(GLBitmap32, TakesImagesBottomRowFirst)
{
    QImage rgb(4, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    rgb.setPixelColor(0, 0, QColor(200, 100, 50));
    TGLBitmap32 bitmap;
    bitmap.Assign(rgb);
    ASSERT_EQ(bitmap.Width(), 4);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.DataSize(), 32u);
    ExpectPixel(bitmap.ScanLine(1)[0], 200, 100, 50, 255);
    ExpectPixel(bitmap.ScanLine(0)[0], 10, 20, 30, 255);

    QImage argb(4, 1, QImage::Format_ARGB32);
    argb.fill(QColor(1, 2, 3, 4));
    bitmap.Assign(argb);
    ExpectPixel(bitmap.Data()[3], 1, 2, 3, 4);

    // Three pixels wide: drawn into a 24-bit picture four pixels wide.
    QImage narrow(3, 1, QImage::Format_ARGB32);
    narrow.fill(QColor(9, 8, 7, 6));
    bitmap.Assign(narrow);
    ASSERT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Data()[0].A, 255);
    ExpectPixel(bitmap.Data()[3], 0, 0, 0, 255);

    bitmap.Assign(rgb);
    const QImage back = bitmap.Create32BitsBitmap();
    EXPECT_EQ(back.format(), QImage::Format_ARGB32);
    EXPECT_EQ(back.pixelColor(0, 0), QColor(200, 100, 50));
    EXPECT_EQ(back.pixelColor(3, 1), QColor(10, 20, 30));

    bitmap.Assign(QImage());
    EXPECT_EQ(bitmap.DataSize(), 0u);
    bitmap.SetWidth(3);
    bitmap.SetHeight(2);
    EXPECT_EQ(bitmap.DataSize(), 24u);
}

TEST(GLBitmap32, PixelOperations)
{
    TGLBitmap32 bitmap;
    bitmap.SetWidth(3);
    bitmap.SetHeight(1);
    bitmap.Data()[0] = {0, 0, 0, 77};
    bitmap.Data()[1] = {30, 60, 90, 64};
    bitmap.Data()[2] = {200, 100, 255, 255};

    bitmap.SetAlphaFromIntensity();
    EXPECT_EQ(bitmap.Data()[1].A, 60);
    bitmap.SetAlphaTransparentForSuperBlack();
    EXPECT_EQ(bitmap.Data()[0].A, 0);
    EXPECT_EQ(bitmap.Data()[1].A, 255);
    bitmap.SetAlphaTransparentForColor(0x5A3C1E);
    EXPECT_EQ(bitmap.Data()[1].A, 0);
    EXPECT_EQ(bitmap.Data()[0].A, 255);
    bitmap.SetAlphaToValue(64);
    bitmap.SqrtAlpha();
    EXPECT_EQ(bitmap.Data()[2].A, 128);
    bitmap.InvertAlpha();
    EXPECT_EQ(bitmap.Data()[2].A, 127);

    bitmap.SetBrightness(2);
    ExpectPixel(bitmap.Data()[1], 60, 120, 180, 127);
    ExpectPixel(bitmap.Data()[2], 255, 200, 255, 127);
    bitmap.SetGamma(0.05f);   // below 0.1 the exponent is 10
    EXPECT_EQ(bitmap.Data()[1].R, 0);
    EXPECT_EQ(bitmap.Data()[2].R, 255);
    EXPECT_EQ(bitmap.Data()[2].G, 22);

    TGLBitmap32 flat;
    flat.SetWidth(2);
    flat.SetHeight(2);
    flat.GrayScaleToNormalMap(1, true, true);
    ExpectPixel(flat.Data()[0], 128, 128, 255, 0);
}

TEST(PictureRegisteredFormats, FindsTheReaderOfAnExtension)
{
    EXPECT_EQ(GetGraphicClassForExtension(".PNG"), "png");
    EXPECT_EQ(GetGraphicClassForExtension("bmp"), "bmp");
    EXPECT_EQ(GetGraphicClassForExtension(".nc"), "");
    EXPECT_EQ(GetGraphicClassForExtension("."), "");
}

class TNamedItem : public TXCollectionItem {
public:
    using TXCollectionItem::TXCollectionItem;
};

const TXCollectionItemClass Behaviour{"TTestBehaviour", "Behaviour", false, nullptr,
                                      [](TXCollection& owner) { return std::make_unique<TNamedItem>(owner, Behaviour); }};
const TXCollectionItemClass Movement{"TTestMovement", "Movement", true, &Behaviour,
                                     [](TXCollection& owner) { return std::make_unique<TNamedItem>(owner, Movement); }};
const TXCollectionItemClass FastMovement{"TTestFastMovement", "Fast", false, &Movement, [](TXCollection& owner) {
                                             return std::make_unique<TNamedItem>(owner, FastMovement);
                                         }};

std::string Archived(const TXCollection& collection)
{
    std::string archive;
    TBinaryWriter writer(archive);
    collection.WriteToFiler(writer);
    return archive;
}

TEST(XCollection, StreamsClassesByNameThenIndex)
{
    TXCollection empty;
    EXPECT_EQ(Archived(empty), Bytes({2, 0}));
    const std::string emptyArchive = Archived(empty);
    TBinaryReader emptyReader(emptyArchive);
    empty.ReadFromFiler(emptyReader);
    EXPECT_EQ(empty.Count(), 0);

    RegisterXCollectionItemClass(Behaviour);
    RegisterXCollectionItemClass(Movement);
    TXCollection collection;
    collection.Add(Behaviour);
    collection.Add(Behaviour).Name = "second";
    collection.Add(Movement);
    EXPECT_EQ(collection.Item(0).Name, "Behaviour");
    EXPECT_EQ(&collection.Item(0).Owner(), &collection);
    const std::string archive = Archived(collection);
    EXPECT_EQ(archive, Bytes({2, 3, 6, 14}) + "TTestBehaviour" + Bytes({2, 0, 6, 9}) + "Behaviour" +
                           Bytes({2, 0, 2, 0, 6, 6}) + "second" + Bytes({6, 13}) + "TTestMovement" +
                           Bytes({2, 0, 6, 8}) + "Movement");

    TXCollection copy;
    copy.Assign(collection);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Item(1).Name, "second");
    EXPECT_EQ(&copy.Item(2).ItemClass(), &Movement);

    const std::string broken[] = {
        Bytes({2, 1, 2, 0}),                           // an index before any class
        Bytes({2, 1, 6, 3}) + "TNo",                   // an unknown class
        Bytes({2, 100, 6, 14}) + "TTestBehaviour",     // cut short
        Bytes({2, -1}),                                // a negative count
        Bytes({2, 2, 6, 13}) + "TTestMovement" + Bytes({2, 0, 6, 0, 2, 0, 2, 0, 6, 0}),  // unique twice
    };
    for (const std::string& bytes : broken) {
        TBinaryReader reader(bytes);
        EXPECT_THROW(copy.ReadFromFiler(reader), EReadError);
    }
}

TEST(XCollection, UniqueClassesAreRefused)
{
    TXCollection collection;
    EXPECT_TRUE(collection.CanAdd(Movement));
    collection.Add(Movement);
    EXPECT_FALSE(collection.CanAdd(Movement));
    EXPECT_FALSE(collection.CanAdd(FastMovement)) << "inherits from a unique class present";
    EXPECT_TRUE(collection.CanAdd(Behaviour));
    EXPECT_THROW(collection.Add(FastMovement), EListError);

    TXCollection other;
    other.Add(FastMovement);
    EXPECT_FALSE(other.CanAdd(Movement)) << "a unique class whose descendant is present";
    other.Delete(0);
    EXPECT_TRUE(other.CanAdd(Movement));
}

// A unit cube with its faces turned outwards.
TConnectivity Cube(bool precompute)
{
    TConnectivity cube(precompute);
    const auto face = [&](Vector3f o, Vector3f u, Vector3f v) {
        cube.AddQuad(o, Vector3Add(o, u), Vector3Add(o, v), Vector3Add(Vector3Add(o, u), v));
    };
    face({0, 0, 0}, {0, 1, 0}, {1, 0, 0}); // bottom
    face({0, 0, 1}, {1, 0, 0}, {0, 1, 0}); // top
    face({0, 0, 0}, {1, 0, 0}, {0, 0, 1}); // front
    face({0, 1, 0}, {0, 0, 1}, {1, 0, 0}); // back
    face({0, 0, 0}, {0, 0, 1}, {0, 1, 0}); // left
    face({1, 0, 0}, {0, 1, 0}, {0, 0, 1}); // right
    return cube;
}

TEST(Silhouette, OutlinesTheFacesTurnedTowardsTheViewer)
{
    for (const bool precompute : {true, false}) {
        const TConnectivity cube = Cube(precompute);
        EXPECT_EQ(cube.FaceCount(), 12);
        EXPECT_EQ(cube.EdgeCount(), 18);
        TGLSilhouette silhouette;
        TGLSilhouetteParameters seen{{0.5f, 0.5f, 10}, TSilhouetteStyle::Omnidirectional, true};
        cube.CreateSilhouette(seen, silhouette, false);
        EXPECT_EQ(silhouette.Vertices.Count(), 8);
        // The four edges of the top, each once, as a closed loop.
        ASSERT_EQ(silhouette.Indices.Count(), 8);
        EXPECT_EQ(silhouette.CapIndices.Count(), 30);
        std::map<int, int> ends;
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(silhouette.Vertices.Get(silhouette.Indices.Get(i)).Z, 1.0f);
            ++ends[silhouette.Indices.Get(i)];
        }
        EXPECT_EQ(ends.size(), 4u);
        for (const auto& [vertex, uses] : ends)
            EXPECT_EQ(uses, 2) << vertex;

        // From a corner's direction three faces (six triangles) face the viewer.
        TGLSilhouetteParameters corner{{1, 1, 1}, TSilhouetteStyle::Parallel, false};
        cube.CreateSilhouette(corner, silhouette, true);
        EXPECT_EQ(silhouette.Vertices.Count(), 16);
        EXPECT_EQ(silhouette.Indices.Count(), 8 + 12);
        cube.CreateSilhouette(corner, silhouette, false);
        EXPECT_EQ(silhouette.Indices.Count(), 12);
        EXPECT_EQ(silhouette.CapIndices.Count(), 0);
    }
}

} // namespace
