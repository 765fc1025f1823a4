#pragma once

// A picture as the bytes of a BMP file, the form a material library's
// archive keeps a texture's picture in.

#include <string>

#include <QImage>

// A 32-bit BMP whose alpha mask keeps the picture's alpha, which the image
// library's own BMP writer drops; a picture without alpha gets no mask.
std::string PictureToBitmapStream(const QImage& picture);
// Null when the bytes are no BMP the image library reads, or when the size
// they declare is over the texture picture limit (checked before decoding).
QImage PictureFromBitmapStream(const std::string& bytes);
