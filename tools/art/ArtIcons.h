#pragma once

// The small pictures: card amount icons, role fish, the kind-and-mode pictures
// of the document windows, customer icons and the telephone pictures.

#include <QColor>
#include <QImage>
#include <QString>

namespace ArtIcons {

inline constexpr int CardIconSize = 32;
inline constexpr int RoleSize = 40;
inline constexpr int WindowPictureSize = 64;

// A card icon: Level 0 (a zero amount, grey) to 3 (the largest amounts).
QImage CardIcon(const QColor& Accent, int Level);
QImage RoleFish(const QColor& Accent);
// A document sheet marked with one character (售, 购, 收, 付), new or edit badge.
QImage DocumentPicture(const QString& Mark, const QColor& Accent, bool Edit);
QImage CustomerIcon(const QColor& Accent);
QImage PhonePicture(const QColor& Accent);

} // namespace ArtIcons
