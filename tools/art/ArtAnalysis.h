#pragma once

// The diagram of the analysis window's "企业经营数据" tab: three columns of
// figure tiles (takings, outgoings, margins) joined by arrows. The window
// lays its value and explanation labels over the tiles.

#include <QImage>

namespace ArtAnalysis {

inline constexpr int Width = 600;
inline constexpr int Height = 420;
// Tile I (0..8, column by column) lies at TileLeft(I / 3), TileTop(I % 3).
inline constexpr int TileWidth = 176;
inline constexpr int TileHeight = 104;
inline constexpr int TileLeft(int Column) { return 12 + Column * 200; }
inline constexpr int TileTop(int Row) { return 52 + Row * 124; }

QImage Diagram();

} // namespace ArtAnalysis
