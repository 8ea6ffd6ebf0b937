#pragma once
// The sketches of the centre layout shown by the geometry editor: picture 0
// for one centre, picture 1 for two centres, 130 x 150 pixels.
#include <QPixmap>

namespace velta {

inline constexpr int kLayoutPictureWidth = 130;
inline constexpr int kLayoutPictureHeight = 150;

QPixmap layoutPicture(int picture);

} // namespace velta
