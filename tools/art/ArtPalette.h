#pragma once

// The one palette every picture draws from: soft blues for the frame of
// things, one accent per role or page, quiet neutrals for text and outlines.

#include <QColor>

namespace ArtPalette {

inline const QColor Ink{0x2b, 0x3a, 0x4a};
inline const QColor Slate{0x5f, 0x6b, 0x78};
inline const QColor Mist{0x9a, 0xa5, 0xb1};
inline const QColor Cloud{0xd5, 0xdb, 0xe1};
inline const QColor Paper{0xf7, 0xf9, 0xfb};
inline const QColor White{0xff, 0xff, 0xff};

inline const QColor Sky50{0xf0, 0xf6, 0xfd};
inline const QColor Sky100{0xdd, 0xec, 0xfa};
inline const QColor Sky200{0xbb, 0xd8, 0xf3};
inline const QColor Sky400{0x6f, 0xa8, 0xdc};
inline const QColor Blue600{0x2f, 0x6d, 0xb5};
inline const QColor Navy{0x1f, 0x3f, 0x66};

// Accents: customers blue, business documents purple, money documents green,
// accounts yellow; orange and red for paying out and for regular customers.
inline const QColor Blue{0x3a, 0x7b, 0xd5};
inline const QColor Purple{0x8a, 0x5c, 0xc7};
inline const QColor Green{0x34, 0xa8, 0x6a};
inline const QColor Yellow{0xe9, 0xb6, 0x2e};
inline const QColor Orange{0xf0, 0x8a, 0x3c};
inline const QColor Red{0xd9, 0x53, 0x4f};
inline const QColor Teal{0x2a, 0xa5, 0xa0};

// A colour moved towards another by Amount (0 = A, 1 = B).
inline QColor Mix(const QColor& A, const QColor& B, double Amount)
{
    auto Lerp = [Amount](int X, int Y) { return int(X + (Y - X) * Amount + 0.5); };
    return QColor(Lerp(A.red(), B.red()), Lerp(A.green(), B.green()), Lerp(A.blue(), B.blue()),
                  Lerp(A.alpha(), B.alpha()));
}

inline QColor Tint(const QColor& C, double Amount) { return Mix(C, White, Amount); }
inline QColor Shade(const QColor& C, double Amount) { return Mix(C, QColor(0x1a, 0x22, 0x2c), Amount); }

} // namespace ArtPalette
