#pragma once

// The salesman face pictures: friendly flat portraits, each one different by
// background, skin tone, hair style and colour, clothing and glasses.

#include <QImage>

namespace ArtFaces {

inline constexpr int FaceCount = 39;
inline constexpr int FaceSize = 40;

// Number is 1 to FaceCount.
QImage Face(int Number);

} // namespace ArtFaces
