#include "view3d/texture/SizedImage.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "view3d/utility/GLUtils.h"

namespace {

void ReadValue(const std::string& line, const std::string& name, int& value)
{
    if (line.rfind(name + "=", 0) != 0)
        return;
    const char* first = line.data() + name.size() + 1;
    const char* last = line.data() + line.size();
    int parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc() && end == last)
        value = parsed;
}

} // namespace

TGLSizedImage::TGLSizedImage(TGLNotifyObject* owner, std::string section)
    : TGLTextureImage(owner), Section(std::move(section))
{
}

void TGLSizedImage::SetWidth(int width)
{
    width = std::max(width, 1);
    if (width == SizedWidth)
        return;
    SizedWidth = width;
    Bitmap.reset();
    Invalidate();
}

void TGLSizedImage::SetHeight(int height)
{
    height = std::max(height, 1);
    if (height == SizedHeight)
        return;
    SizedHeight = height;
    Bitmap.reset();
    Invalidate();
}

TGLBitmap32* TGLSizedImage::GetBitmap32(GLenum)
{
    if (!Bitmap) {
        Bitmap = std::make_unique<TGLBitmap32>();
        Bitmap->SetWidth(SizedWidth);
        Bitmap->SetHeight(SizedHeight);
    }
    return Bitmap.get();
}

void TGLSizedImage::ReleaseBitmap32()
{
    Bitmap.reset();
}

std::string TGLSizedImage::SaveToText() const
{
    return "[" + Section + "]\r\nWidth=" + std::to_string(SizedWidth) + "\r\nHeight=" + std::to_string(SizedHeight);
}

void TGLSizedImage::LoadFromText(const std::string& text)
{
    int width = SizedWidth;
    int height = SizedHeight;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ReadValue(line, "Width", width);
        ReadValue(line, "Height", height);
    }
    SetWidth(width);
    SetHeight(height);
}

void TGLSizedImage::SaveToFile(const std::string& fileName) const
{
    SaveStringToFile(fileName, SaveToText());
}

void TGLSizedImage::LoadFromFile(const std::string& fileName)
{
    LoadFromText(LoadStringFromFile(fileName));
}

void TGLSizedImage::Assign(const TGLTextureImage& source)
{
    const auto* sized = dynamic_cast<const TGLSizedImage*>(&source);
    if (sized && sized->ClassName() == ClassName()) {
        SetWidth(sized->SizedWidth);
        SetHeight(sized->SizedHeight);
    }
}
