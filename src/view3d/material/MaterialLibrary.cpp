#include "view3d/material/MaterialLibrary.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <iterator>
#include <memory>

#include <QFileInfo>

#include "view3d/material/BitmapStream.h"
#include "view3d/material/LibMaterial.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/texture/PictureFileReader.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/TextureErrors.h"

namespace {

constexpr const char* kClassName = "TGLMaterialLibrary";

struct TFaceRecord {
    Vector3f Ambient;
    Vector4f Diffuse;
    Vector3f Emission;
    Vector3f Specular;
    int Shininess = 0;
    TPolygonMode Mode = TPolygonMode::pmFill;
};

// A null picture: the archive holds no texture there.
struct TTextureItemRecord {
    QImage Picture;
    std::int32_t Index = 0;
    Vector3f Offset;
    Vector3f Scale;
};

struct TMaterialRecord {
    std::string Name;
    QImage Picture;
    TFaceRecord Front;
    TFaceRecord Back;
    TBlendingMode Blending = TBlendingMode::bmOpaque;
    TMaterialOptions Options = 0;
    Vector3f TextureOffset;
    Vector3f TextureScale;
    std::string Texture2Name;
    std::vector<TTextureItemRecord> TextureItems;
};

void WriteRGB(TVirtualWriter& writer, const TGLColor& colour)
{
    writer.WriteRaw(colour.AsAddress(), 3 * sizeof(float));
}

void WriteFace(TVirtualWriter& writer, const TGLFaceProperties& face)
{
    WriteRGB(writer, face.Ambient());
    writer.WriteRaw(face.Diffuse().AsAddress(), 4 * sizeof(float));
    WriteRGB(writer, face.Emission());
    WriteRGB(writer, face.Specular());
    const auto shininess = static_cast<std::uint8_t>(face.Shininess());
    writer.WriteRaw(&shininess, 1);
    writer.WriteInteger(static_cast<std::int32_t>(face.PolygonMode()));
}

// Only a texture in use is kept: the archive has no place for a disabled
// one, nor for an image other than a single picture.
QImage ArchivedPicture(const TGLTexture* texture)
{
    if (!texture || texture->Disabled())
        return QImage();
    const auto* image = dynamic_cast<const TGLPictureImage*>(&texture->Image());
    return image ? image->Picture() : QImage();
}

void WriteTexture(TVirtualWriter& writer, const TGLTexture* texture, const std::string& materialName)
{
    const QImage picture = ArchivedPicture(texture);
    // Reading refuses such a picture, and with it the whole archive.
    if (std::int64_t(picture.width()) * picture.height() > kMaxPicturePixels)
        throw ETexture("The texture picture of " + materialName + " is too large to be saved");
    writer.WriteBoolean(!picture.isNull());
    if (!picture.isNull())
        writer.WriteString(PictureToBitmapStream(picture));
}

Vector3f ReadVector3(TVirtualReader& reader)
{
    Vector3f v;
    reader.ReadRaw(&v.X, 3 * sizeof(float));
    return v;
}

// An enumeration's value, refused as damage when it is out of range.
template <typename TEnum>
TEnum ReadEnumeration(TVirtualReader& reader, TEnum last)
{
    const std::int32_t value = reader.ReadInteger();
    if (value < 0 || value > static_cast<std::int32_t>(last))
        reader.RaiseReadError();
    return static_cast<TEnum>(value);
}

TFaceRecord ReadFace(TVirtualReader& reader)
{
    TFaceRecord face;
    face.Ambient = ReadVector3(reader);
    reader.ReadRaw(&face.Diffuse.X, 4 * sizeof(float));
    face.Emission = ReadVector3(reader);
    face.Specular = ReadVector3(reader);
    std::uint8_t shininess = 0;
    reader.ReadRaw(&shininess, 1);
    face.Shininess = shininess;
    face.Mode = ReadEnumeration(reader, TPolygonMode::pmPoints);
    return face;
}

// A picture that cannot be read is damage like any other: the archive is refused.
QImage ReadTexture(TVirtualReader& reader)
{
    if (!reader.ReadBoolean())
        return QImage();
    QImage picture = PictureFromBitmapStream(reader.ReadString());
    if (picture.isNull())
        reader.RaiseReadError();
    return picture;
}

TMaterialRecord ReadMaterial(TVirtualReader& reader)
{
    TMaterialRecord record;
    record.Name = reader.ReadString();
    record.Picture = ReadTexture(reader);
    record.Front = ReadFace(reader);
    record.Back = ReadFace(reader);
    record.Blending = ReadEnumeration(reader, TBlendingMode::bmModulate);
    reader.ReadInteger();
    reader.ReadRaw(&record.Options, 1);
    record.Options &= moIgnoreFog | moNoLighting;
    record.TextureOffset = ReadVector3(reader);
    record.TextureScale = ReadVector3(reader);
    record.Texture2Name = reader.ReadString();
    const std::int32_t textureCount = reader.ReadInteger();
    for (std::int32_t i = 0; i < textureCount; ++i) {
        TTextureItemRecord item;
        item.Picture = ReadTexture(reader);
        item.Index = reader.ReadInteger();
        item.Offset = ReadVector3(reader);
        item.Scale = ReadVector3(reader);
        record.TextureItems.push_back(std::move(item));
    }
    return record;
}

void ApplyFace(TGLFaceProperties& face, const TFaceRecord& record)
{
    TGLFaceProperties values(nullptr);
    values.Ambient().Initialize({record.Ambient.X, record.Ambient.Y, record.Ambient.Z, face.Ambient().Alpha()});
    values.Diffuse().Initialize(record.Diffuse);
    values.Emission().Initialize({record.Emission.X, record.Emission.Y, record.Emission.Z, face.Emission().Alpha()});
    values.Specular().Initialize({record.Specular.X, record.Specular.Y, record.Specular.Z, face.Specular().Alpha()});
    values.SetShininess(record.Shininess);
    values.SetPolygonMode(record.Mode);
    face.Assign(values);
}

// The picture in use; without one, a texture the material has is switched
// off but keeps its settings.
void ApplyTexture(TGLTexture& texture, const QImage& picture)
{
    if (!picture.isNull())
        texture.AssignPicture(picture);
    texture.SetDisabled(picture.isNull());
}

void ApplyTextureItems(TGLMaterial& material, const std::vector<TTextureItemRecord>& items)
{
    if (items.empty() && !material.ExistingTextureEx())
        return;
    TGLTextureEx& textures = material.TextureEx();
    textures.Clear();
    for (const TTextureItemRecord& record : items) {
        TGLTextureExItem& item = textures.Add();
        ApplyTexture(item.Texture(), record.Picture);
        item.SetTextureIndex(record.Index);
        item.TextureOffset().SetVector(record.Offset.X, record.Offset.Y, record.Offset.Z);
        item.TextureScale().SetVector(record.Scale.X, record.Scale.Y, record.Scale.Z);
    }
}

void ApplyMaterial(TGLLibMaterial& libMaterial, const TMaterialRecord& record)
{
    TGLMaterial& material = libMaterial.Material();
    ApplyFace(material.FrontProperties(), record.Front);
    ApplyFace(material.BackProperties(), record.Back);
    material.SetBlendingMode(record.Blending);
    material.SetMaterialOptions(record.Options);
    libMaterial.TextureOffset().SetAsVector(PointMake(record.TextureOffset));
    libMaterial.TextureScale().SetAsVector(DirectionMake(record.TextureScale));
    libMaterial.SetTexture2Name(record.Texture2Name);
    if (!record.Picture.isNull() || material.ExistingTexture())
        ApplyTexture(material.Texture(), record.Picture);
    ApplyTextureItems(material, record.TextureItems);
}

} // namespace

TGLMaterialLibrary::TGLMaterialLibrary(TGLNotifyObject* owner) : TGLCadenceAbleComponent(owner), LibMaterials(this) {}

TGLMaterialLibrary::~TGLMaterialLibrary()
{
    for (TGLMaterial* material : Referrers)
        material->ForgetLibrary();
}

void TGLMaterialLibrary::SetTexturePaths(const std::string& value)
{
    Paths = value;
    PathList.clear();
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(';', start), value.size());
        std::string path = value.substr(start, end - start);
        const auto notBlank = [](unsigned char c) { return c > ' '; };
        path.erase(path.begin(), std::find_if(path.begin(), path.end(), notBlank));
        path.erase(std::find_if(path.rbegin(), path.rend(), notBlank).base(), path.end());
        if (!path.empty()) {
            if (path.back() != '/' && path.back() != '\\')
                path += '/';
            PathList.push_back(path);
        }
        start = end + 1;
    }
}

TGLLibMaterial& TGLMaterialLibrary::AddTextureMaterial(const std::string& materialName, const QImage& picture)
{
    TGLLibMaterial& libMaterial = LibMaterials.Add();
    libMaterial.SetName(materialName);
    TGLTexture& texture = libMaterial.Material().Texture();
    texture.SetMinFilter(TGLMinFilter::miLinearMipmapLinear);
    texture.SetMagFilter(TGLMagFilter::maLinear);
    texture.SetTextureMode(TGLTextureMode::tmModulate);
    texture.AssignPicture(picture);
    texture.SetDisabled(false);
    return libMaterial;
}

TGLLibMaterial& TGLMaterialLibrary::AddTextureMaterial(const std::string& materialName, const std::string& fileName)
{
    TPictureReadResult read = ReadPictureFile(FindTextureFile(fileName));
    if (!read.Error.empty())
        throw ETexture(read.Error);
    return AddTextureMaterial(materialName, read.Picture);
}

std::string TGLMaterialLibrary::FindTextureFile(const std::string& fileName) const
{
    if (fileName.empty() || QFileInfo(QString::fromStdString(fileName)).isAbsolute())
        return fileName;
    for (const std::string& path : PathList) {
        const std::string candidate = path + fileName;
        if (QFileInfo(QString::fromStdString(candidate)).isFile())
            return candidate;
    }
    return fileName;
}

void TGLMaterialLibrary::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(kArchiveVersion);
    writer.WriteInteger(LibMaterials.Count());
    const TGLFaceProperties defaultBack(nullptr);
    for (int i = 0; i < LibMaterials.Count(); ++i) {
        const TGLLibMaterial& libMaterial = LibMaterials[i];
        const TGLMaterial& material = libMaterial.Material();
        writer.WriteString(libMaterial.Name());
        WriteTexture(writer, material.ExistingTexture(), libMaterial.Name());
        WriteFace(writer, material.FrontProperties());
        const TGLFaceProperties* back = material.ExistingBackProperties();
        WriteFace(writer, back ? *back : defaultBack);
        writer.WriteInteger(static_cast<std::int32_t>(material.BlendingMode()));
        writer.WriteInteger(1);
        const TMaterialOptions options = material.MaterialOptions();
        writer.WriteRaw(&options, 1);
        writer.WriteRaw(libMaterial.TextureOffset().AsAddress(), 3 * sizeof(float));
        writer.WriteRaw(libMaterial.TextureScale().AsAddress(), 3 * sizeof(float));
        writer.WriteString(libMaterial.Texture2Name());
        TGLTextureEx* textures = material.ExistingTextureEx();
        writer.WriteInteger(textures ? textures->Count() : 0);
        for (int t = 0; textures && t < textures->Count(); ++t) {
            TGLTextureExItem& item = textures->Item(t);
            WriteTexture(writer, &item.Texture(), libMaterial.Name());
            writer.WriteInteger(item.TextureIndex());
            writer.WriteRaw(item.TextureOffset().AsAddress(), 3 * sizeof(float));
            writer.WriteRaw(item.TextureScale().AsAddress(), 3 * sizeof(float));
        }
    }
}

void TGLMaterialLibrary::ReadFromFiler(TVirtualReader& reader, bool keepExisting)
{
    const std::int32_t version = reader.ReadInteger();
    if (version < 0 || version > kArchiveVersion)
        RaiseUnknownArchiveVersion(kClassName, version);
    const std::int32_t count = reader.ReadInteger();
    if (count < 0)
        reader.RaiseReadError();
    std::vector<TMaterialRecord> records;
    for (std::int32_t i = 0; i < count; ++i)
        records.push_back(ReadMaterial(reader));

    if (!keepExisting)
        LibMaterials.Clear();
    for (const TMaterialRecord& record : records) {
        TGLLibMaterial* libMaterial = keepExisting ? LibMaterials.GetLibMaterialByName(record.Name) : nullptr;
        if (!libMaterial) {
            libMaterial = &LibMaterials.Add();
            libMaterial->SetName(record.Name);
        }
        ApplyMaterial(*libMaterial, record);
    }
    const std::vector<TGLMaterial*> referrers = Referrers;
    for (TGLMaterial* material : referrers)
        material->RelinkLibMaterial();
}

void TGLMaterialLibrary::SaveToStream(std::ostream& stream) const
{
    std::string archive;
    TBinaryWriter writer(archive);
    WriteToFiler(writer);
    stream.write(archive.data(), static_cast<std::streamsize>(archive.size()));
}

void TGLMaterialLibrary::LoadFromStream(std::istream& stream)
{
    const std::string archive{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    TBinaryReader reader(archive);
    ReadFromFiler(reader, false);
}

void TGLMaterialLibrary::AddMaterialsFromStream(std::istream& stream)
{
    const std::string archive{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    TBinaryReader reader(archive);
    ReadFromFiler(reader, true);
}

void TGLMaterialLibrary::RegisterReferrer(TGLMaterial& material)
{
    if (std::find(Referrers.begin(), Referrers.end(), &material) == Referrers.end())
        Referrers.push_back(&material);
}

void TGLMaterialLibrary::UnregisterReferrer(TGLMaterial& material)
{
    std::erase(Referrers, &material);
}
