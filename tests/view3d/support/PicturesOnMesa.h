#pragma once

// What the display tests of the 3D view share: keeping a picture they drew
// for a person to look at, colours compared with a tolerance, and a frame
// that starts from a cleared grey picture and identity matrices.

#include <cstdlib>
#include <filesystem>
#include <initializer_list>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "view3d/context/GLFrameRenderer.h"
#include "view3d/opengl/GLFunctions.h"

// Under test-output/view3d/.
inline bool SavePicture(const QImage& image, const char* name)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "view3d";
    std::filesystem::create_directories(folder);
    return image.save(QString::fromStdString((folder / name).string()));
}

inline bool NearColour(const QColor& got, const QColor& want, int tolerance)
{
    return std::abs(got.red() - want.red()) <= tolerance && std::abs(got.green() - want.green()) <= tolerance &&
           std::abs(got.blue() - want.blue()) <= tolerance;
}

struct TPixelSample {
    int X;
    int Y;
    QColor Colour;
};

inline void ExpectSamples(const QImage& image, std::initializer_list<TPixelSample> samples, int tolerance)
{
    for (const TPixelSample& s : samples) {
        const QColor got = image.pixelColor(s.X, s.Y);
        EXPECT_TRUE(NearColour(got, s.Colour, tolerance))
            << s.X << "," << s.Y << ": " << got.name().toStdString() << " for " << s.Colour.name().toStdString();
    }
}

// A frame whose drawing begins on a picture cleared to grey 51, with both
// matrices the identity, so that the frame spans -1..1 on both axes.
class TClearedFrame : public TGLFrameRenderer {
public:
    void Resize(int width, int height) override
    {
        Width = width;
        Height = height;
    }

protected:
    void BeginFrame() const
    {
        GL().Viewport(0, 0, Width, Height);
        GL().ClearColor(0.2f, 0.2f, 0.2f, 1.0f);
        GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadIdentity();
        GL().MatrixMode(GL_MODELVIEW);
        GL().LoadIdentity();
    }

private:
    int Width = 1;
    int Height = 1;
};
