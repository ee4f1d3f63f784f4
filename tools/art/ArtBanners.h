#pragma once

// The large pictures: the login banner, the three pictures that take its place
// (online service, product page, leave), and the main window's collapse strip.

#include <QImage>

namespace ArtBanners {

inline constexpr int TitleWidth = 690;
inline constexpr int TitleHeight = 90;
inline constexpr int UpWidth = 160;
inline constexpr int UpHeight = 70;
inline constexpr int StripWidth = 16;
inline constexpr int StripHeight = 538;

enum class TUpKind { OnlineService, ProductPage, Leave };

QImage TitleBanner();
QImage UpPicture(TUpKind Kind);
// PointLeft: the strip shown while the left panel is open (a click closes it).
QImage CollapseStrip(bool PointLeft);

} // namespace ArtBanners
