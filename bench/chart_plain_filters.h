// The chart's filter family written the plain way, straight from the
// filters' descriptions: a loop over every pixel of the whole 24-bit
// bitmap, the arithmetic as worded (library rounding, divisions, no
// tables beyond the one the gamma description names), and the canvas
// calls the geometric filters' descriptions name. The benchmark holds the
// filters against these and checks that both give the same pixels.
#pragma once

#include "widgets/chart/smooth_stretch.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace chart_plain {

inline std::uint8_t* At(plat::TBitmap& Bitmap, int X, int Y)
{
    return Bitmap.ScanLine(Y) + 3 * X;
}

inline std::uint8_t Clamp(long long V)
{
    return static_cast<std::uint8_t>(std::clamp(V, 0LL, 255LL));
}

inline long long Nearest(double V)
{
    return std::llrint(V);
}

// Work(pixel bytes B, G, R) for every pixel.
template <class TWork>
void EachPixel(plat::TBitmap& Bitmap, TWork&& Work)
{
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        for (int X = 0; X < Bitmap.Width(); ++X) {
            Work(At(Bitmap, X, Y));
        }
    }
}

inline void Invert(plat::TBitmap& Bitmap)
{
    EachPixel(Bitmap, [](std::uint8_t* P) {
        for (int C = 0; C < 3; ++C) {
            P[C] = static_cast<std::uint8_t>(255 - P[C]);
        }
    });
}

inline void GrayScale(plat::TBitmap& Bitmap, int Method)
{
    EachPixel(Bitmap, [Method](std::uint8_t* P) {
        const int B = P[0], G = P[1], R = P[2];
        int Grey = 0;
        switch (Method) {
        case 0:
            Grey = (B + G + R) / 3;
            break;
        case 1:
            Grey = static_cast<int>(Nearest(0.299 * R + 0.587 * G + 0.114 * B));
            break;
        case 2:
            Grey = (11 * R + 16 * G + 5 * B) >> 5;
            break;
        default:
            Grey = (std::max({R, G, B}) + std::min({R, G, B})) >> 1;
            break;
        }
        P[0] = P[1] = P[2] = static_cast<std::uint8_t>(Grey);
    });
}

inline void Brightness(plat::TBitmap& Bitmap, int Amount, bool Percent)
{
    const long long Step = Percent ? Nearest(static_cast<float>(Amount * 0.01) * 255.0f) : Amount;
    EachPixel(Bitmap, [Step](std::uint8_t* P) {
        for (int C = 0; C < 3; ++C) {
            P[C] = Clamp(P[C] + Step);
        }
    });
}

inline void Contrast(plat::TBitmap& Bitmap, int Amount, bool Percent)
{
    const auto Factor = static_cast<float>(Amount * 0.01);
    EachPixel(Bitmap, [&](std::uint8_t* P) {
        for (int C = 0; C < 3; ++C) {
            const long long V = P[C];
            P[C] = Percent ? Clamp(V + Nearest(static_cast<float>(V) * Factor) * (V - 128) / 256)
                           : Clamp(V + (V - 128) * Amount / 256);
        }
    });
}

inline void Color(plat::TBitmap& Bitmap, int Red, int Green, int Blue)
{
    EachPixel(Bitmap, [&](std::uint8_t* P) {
        if (Red != 0) {
            P[2] = Clamp(P[2] + Red);
        }
        if (Green != 0) {
            P[1] = Clamp(P[1] + Green);
        }
        if (Blue != 0) {
            P[0] = Clamp(P[0] + Blue);
        }
    });
}

inline void Gamma(plat::TBitmap& Bitmap, int Amount, bool Percent)
{
    const double A = std::abs(Amount);
    auto G = static_cast<float>(Percent ? A * 0.01 : A / 255);
    if (G < 0.001) {
        G = 0.001f;
    }
    std::uint8_t Table[256];
    Table[0] = 0;
    for (int I = 1; I < 256; ++I) {
        Table[I] = static_cast<std::uint8_t>(Nearest(std::exp(std::log(I / 255.0) / G) * 255));
    }
    EachPixel(Bitmap, [&](std::uint8_t* P) {
        for (int C = 0; C < 3; ++C) {
            P[C] = Table[P[C]];
        }
    });
}

inline void Sepia(plat::TBitmap& Bitmap)
{
    EachPixel(Bitmap, [](std::uint8_t* P) {
        const double B = P[0], G = P[1], R = P[2];
        P[2] = Clamp(Nearest(0.393 * R + 0.769 * G + 0.189 * B));
        P[1] = Clamp(Nearest(0.349 * R + 0.686 * G + 0.168 * B));
        P[0] = Clamp(Nearest(0.272 * R + 0.534 * G + 0.131 * B));
    });
}

inline void Equalize(plat::TBitmap& Bitmap)
{
    const int W = Bitmap.Width(), H = Bitmap.Height();
    int Low[3] = {255, 255, 255}, High[3] = {0, 0, 0};
    for (int Y = 1; Y < H - 1; ++Y) {
        for (int X = 1; X < W - 1; ++X) {
            for (int C = 0; C < 3; ++C) {
                Low[C] = std::min<int>(Low[C], At(Bitmap, X, Y)[C]);
                High[C] = std::max<int>(High[C], At(Bitmap, X, Y)[C]);
            }
        }
    }
    float Scale[3];
    for (int C = 0; C < 3; ++C) {
        Scale[C] = High[C] == Low[C] ? 0.0f : static_cast<float>(255.0 / (High[C] - Low[C]));
    }
    for (int Y = 1; Y < H - 1; ++Y) {
        for (int X = 1; X < W - 1; ++X) {
            for (int C = 0; C < 3; ++C) {
                std::uint8_t& V = At(Bitmap, X, Y)[C];
                V = Clamp(Nearest(static_cast<float>(V - Low[C]) * Scale[C]));
            }
        }
    }
}

struct THls {
    int H, L, S;
};

// The model's conversion with its divisions, as worded.
inline THls ToHls(int R, int G, int B)
{
    const int Max = std::max({R, G, B}), Min = std::min({R, G, B}), Sum = Max + Min;
    const auto L = static_cast<float>((Sum * 240 + 255) * 0.00196078431372549);
    if (Max == Min) {
        return {160, static_cast<int>(Nearest(L)), 0};
    }
    const int D = Max - Min;
    const auto S = static_cast<float>(L <= 120 ? (D * 240 + Sum * 0.5) / Sum : (D * 240 + (255 - Sum * 0.5)) / (510 - Sum));
    const auto K = static_cast<float>(1.0 / D);
    const auto Rd = static_cast<float>(((Max - R) * 40 + D * 0.5) * K);
    const auto Gd = static_cast<float>(((Max - G) * 40 + D * 0.5) * K);
    const auto Bd = static_cast<float>(((Max - B) * 40 + D * 0.5) * K);
    float Hue = R == Max ? Bd - Gd : G == Max ? static_cast<float>((Rd + 80.0) - Bd) : (Gd + 160.0f) - Rd;
    if (Hue < 0) {
        Hue = Hue + 240.0f;
    } else if (Hue > 240) {
        Hue = Hue - 240.0f;
    }
    return {static_cast<int>(Nearest(Hue)), static_cast<int>(Nearest(L)), static_cast<int>(Nearest(S))};
}

inline int HueToRgb(float N1, float N2, float H)
{
    if (H < 40) {
        return static_cast<int>(Nearest(N1 + (static_cast<double>((N2 - N1) * H) + 20) * 0.025));
    }
    if (H < 120) {
        return static_cast<int>(Nearest(N2));
    }
    if (H < 160) {
        return static_cast<int>(Nearest(N1 + ((static_cast<double>(N2) - N1) * (160 - static_cast<double>(H)) + 20) * 0.025));
    }
    return static_cast<int>(Nearest(N1));
}

inline void FromHls(int H, int L, int S, std::uint8_t* P)
{
    if (S == 0) {
        P[0] = P[1] = P[2] = Clamp(Nearest((L * 255) * 0.004166666666666667));
        return;
    }
    const auto M2 = static_cast<float>(L <= 120 ? (L * (S + 240) + 120) * 0.004166666666666667
                                                : (L + S) - (L * S + 120) * 0.004166666666666667);
    const float M1 = static_cast<float>(2 * L) - M2;
    const auto Channel = [&](float Hue) {
        if (Hue < 0) {
            Hue = Hue + 240.0f;
        } else if (Hue > 240) {
            Hue = Hue - 240.0f;
        }
        return Clamp(Nearest((HueToRgb(M1, M2, Hue) * 255 + 120) * 0.004166666666666667));
    };
    P[2] = Channel(static_cast<float>(H + 80.0));
    P[1] = Channel(static_cast<float>(H));
    P[0] = Channel(static_cast<float>(H - 80.0));
}

inline void HueLumSat(plat::TBitmap& Bitmap, int Hue, int Lum, int Sat)
{
    const auto Shift = [](int V, int Amount) { return Amount == 0 ? V : static_cast<int>(Clamp(V + Amount)); };
    EachPixel(Bitmap, [&](std::uint8_t* P) {
        const THls V = ToHls(P[2], P[1], P[0]);
        FromHls(Shift(V.H, Hue), Shift(V.L, Lum), Shift(V.S, Sat), P);
    });
}

inline void ColorReplaceHue(plat::TBitmap& Bitmap, int From, int To, std::uint32_t Color)
{
    EachPixel(Bitmap, [&](std::uint8_t* P) {
        const int H = ToHls(P[2], P[1], P[0]).H;
        if (From <= H && H <= To) {
            P[2] = static_cast<std::uint8_t>(Color);
            P[1] = static_cast<std::uint8_t>(Color >> 8);
            P[0] = static_cast<std::uint8_t>(Color >> 16);
        }
    });
}

inline void SwapPixels(std::uint8_t* A, std::uint8_t* B)
{
    for (int C = 0; C < 3; ++C) {
        std::swap(A[C], B[C]);
    }
}

inline void Flip(plat::TBitmap& Bitmap)
{
    for (int K = 0; K < Bitmap.Height() / 2; ++K) {
        for (int X = 0; X < Bitmap.Width(); ++X) {
            SwapPixels(At(Bitmap, X, K), At(Bitmap, X, Bitmap.Height() - 1 - K));
        }
    }
}

inline void Reverse(plat::TBitmap& Bitmap)
{
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        for (int K = 0; K < Bitmap.Width() / 2; ++K) {
            SwapPixels(At(Bitmap, K, Y), At(Bitmap, Bitmap.Width() - 1 - K, Y));
        }
    }
}

inline void CopyPixel(plat::TBitmap& To, int X, int Y, plat::TBitmap& From, int Sx, int Sy)
{
    std::copy_n(At(From, Sx, Sy), 3, At(To, X, Y));
}

// Rotation with AutoSize and a white background.
inline void Rotate(plat::TBitmap& Bitmap, double Angle)
{
    if (Angle == 180) {
        Flip(Bitmap);
        Reverse(Bitmap);
        return;
    }
    const int W = Bitmap.Width(), H = Bitmap.Height();
    const auto Theta = static_cast<float>((360 - Angle) * std::numbers::pi / 180);
    const auto S = static_cast<float>(std::sin(static_cast<double>(Theta)));
    const auto C = static_cast<float>(std::cos(static_cast<double>(Theta)));
    int NW = H, NH = W;
    if (Angle != 90 && Angle != 270) {
        const auto Wf = static_cast<float>(W), Hf = static_cast<float>(H);
        NW = static_cast<int>(std::abs(Nearest(S * C > 0 ? Wf * C + Hf * S : Wf * C - Hf * S)));
        NH = static_cast<int>(std::abs(Nearest(S * C > 0 ? Wf * S + Hf * C : Wf * S - Hf * C)));
    }
    plat::TBitmap Turned(NW, NH, plat::pf24bit);
    if (Angle == 90 || Angle == 270) {
        for (int Y = 0; Y < H; ++Y) {
            for (int X = 0; X < W; ++X) {
                if (Angle == 90) {
                    CopyPixel(Turned, H - 1 - Y, X, Bitmap, X, Y);
                } else {
                    CopyPixel(Turned, Y, W - 1 - X, Bitmap, X, Y);
                }
            }
        }
    } else {
        for (int R = 0; R < NH; ++R) {
            for (int Col = 0; Col < NW; ++Col) {
                const auto Cx = static_cast<float>(Col - NW / 2), Cy = static_cast<float>(R - NH / 2);
                const auto Sx = static_cast<int>(Nearest(Cx * C - (Cy * S - static_cast<float>(W / 2))));
                if (Sx >= 0 && Sx < W) {
                    const auto Sy = static_cast<int>(Nearest(Cx * S + (Cy * C + static_cast<float>(H / 2))));
                    if (Sy >= 0 && Sy < H) {
                        CopyPixel(Turned, Col, R, Bitmap, Sx, Sy);
                    }
                }
            }
        }
    }
    Bitmap.Assign(&Turned);
}

// Mirror down or right through a doubled bitmap and canvas draws.
inline void Mirror(plat::TBitmap& Bitmap, bool Down)
{
    const int W = Bitmap.Width(), H = Bitmap.Height();
    plat::TBitmap Tmp(Down ? W : 2 * W, Down ? 2 * H : H);
    Tmp.Canvas()->Draw(0, 0, &Bitmap);
    if (Down) {
        Flip(Bitmap);
    } else {
        Reverse(Bitmap);
    }
    Tmp.Canvas()->Draw(Down ? 0 : W, Down ? H : 0, &Bitmap);
    Bitmap.SetSize(Tmp.Width(), Tmp.Height());
    Bitmap.Canvas()->Draw(0, 0, &Tmp);
}

inline void Resize(plat::TBitmap& Bitmap, int Width, int Height)
{
    plat::TBitmap Small(Width, Height);
    qel::SmoothStretch(&Bitmap, &Small);
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas()->Draw(0, 0, &Small);
}

// Crop with the canvas's rectangle copy (right and bottom edges excluded)
// and a stretch over all but the bitmap's last column and row.
inline void Crop(plat::TBitmap& Bitmap, int Left, int Top, int Width, int Height, bool Smooth)
{
    plat::TBitmap Part(Width, Height, Bitmap.PixelFormat());
    Part.Canvas()->CopyRect({0, 0, Width, Height}, Bitmap.Canvas(), {Left, Top, Left + Width - 1, Top + Height - 1});
    if (Smooth) {
        qel::SmoothStretch(&Part, &Bitmap);
    } else {
        Bitmap.Canvas()->StretchDraw({0, 0, Bitmap.Width() - 1, Bitmap.Height() - 1}, &Part);
    }
}

inline void Zoom(plat::TBitmap& Bitmap, double Percent)
{
    const int W = Bitmap.Width(), H = Bitmap.Height();
    const auto Dx = static_cast<int>(Nearest(Percent * W * 0.005));
    const auto Dy = static_cast<int>(Nearest(Percent * H * 0.005));
    Crop(Bitmap, Dx, Dy, std::max(1, W - 2 * Dx), std::max(1, H - 2 * Dy), false);
}

inline void Tile(plat::TBitmap& Bitmap, int Columns, int Rows)
{
    const int TileWidth = (Bitmap.Width() - 1) / Columns, TileHeight = (Bitmap.Height() - 1) / Rows;
    plat::TBitmap Small(TileWidth, TileHeight);
    qel::SmoothStretch(&Bitmap, &Small);
    for (int C = 0; C < Columns; ++C) {
        for (int E = 0; E < Rows; ++E) {
            Bitmap.Canvas()->Draw(C * TileWidth, E * TileHeight, &Small);
        }
    }
}

inline void Mosaic(plat::TBitmap& Bitmap, int Size)
{
    const int Right = Bitmap.Width() - 1, Bottom = Bitmap.Height() - 1;
    const auto Block = [&](int X0, int X1, int Y0, int Y1) {
        long long Sum[3] = {0, 0, 0};
        for (int Y = Y0; Y <= Y1; ++Y) {
            for (int X = X0; X <= X1; ++X) {
                for (int C = 0; C < 3; ++C) {
                    Sum[C] += At(Bitmap, X, Y)[C];
                }
            }
        }
        const auto M = static_cast<float>(1.0 / ((X1 - X0 + 1) * (Y1 - Y0 + 1)));
        for (int Y = Y0; Y <= Y1; ++Y) {
            for (int X = X0; X <= X1; ++X) {
                for (int C = 0; C < 3; ++C) {
                    At(Bitmap, X, Y)[C] = Clamp(Nearest(static_cast<float>(Sum[C]) * M));
                }
            }
        }
    };
    const auto Band = [&](int Y0, int Y1) {
        int B = 0;
        while (B < Right - Size) {
            Block(B, B + Size - 1, Y0, Y1);
            B += Size;
        }
        if (B < Right) {
            Block(B, Right, Y0, Y1);
        }
    };
    int E = 0;
    while (E < Bottom - Size) {
        Band(E, E + Size - 1);
        E += Size;
    }
    if (E < Bottom) {
        Band(E, Bottom);
    }
}

inline void Bevel(plat::TBitmap& Bitmap, int Size, int Bright)
{
    const int Right = Bitmap.Width() - 1, Bottom = Bitmap.Height() - 1;
    const auto Lighten = [&](int X, int Y) {
        for (int C = 0; C < 3; ++C) {
            std::uint8_t& V = At(Bitmap, X, Y)[C];
            V = V + Bright > 255 ? 255 : static_cast<std::uint8_t>(V + Bright);
        }
    };
    const auto Darken = [&](int X, int Y) {
        for (int C = 0; C < 3; ++C) {
            std::uint8_t& V = At(Bitmap, X, Y)[C];
            V = V - Bright < 0 ? 0 : static_cast<std::uint8_t>(V - Bright);
        }
    };
    for (int K = 0; K < Size; ++K) {
        if (K < Bottom / 2) {
            for (int X = K; X <= Right - K; ++X) {
                Lighten(X, K);
                Darken(X, Bottom - K);
            }
        }
        if (K < Right / 2) {
            for (int Y = K + 1; Y <= Bottom - K; ++Y) {
                Lighten(K, Y);
                Darken(Right - K, Y);
            }
        }
    }
}

inline void Sobel(plat::TBitmap& Bitmap)
{
    const int W = Bitmap.Width(), H = Bitmap.Height();
    std::vector<std::vector<std::uint8_t>> Grey(static_cast<std::size_t>(H), std::vector<std::uint8_t>(static_cast<std::size_t>(W), 0));
    for (int Y = 1; Y < H - 1; ++Y) {
        for (int X = 1; X < W - 1; ++X) {
            const std::uint8_t* P = At(Bitmap, X, Y);
            Grey[static_cast<std::size_t>(Y)][static_cast<std::size_t>(X)] = static_cast<std::uint8_t>((P[0] + P[1] + P[2]) / 3);
        }
    }
    const int Kx[3][3] = {{1, 0, -1}, {2, 0, -2}, {1, 0, -1}};
    const int Ky[3][3] = {{1, 2, 1}, {0, 0, 0}, {-1, -2, -1}};
    for (int Y = 1; Y < H - 1; ++Y) {
        for (int X = 1; X < W - 1; ++X) {
            int Sx = 0, Sy = 0;
            for (int Dy = -1; Dy <= 1; ++Dy) {
                for (int Dx = -1; Dx <= 1; ++Dx) {
                    const int Cell = Grey[static_cast<std::size_t>(Y + Dy)][static_cast<std::size_t>(X + Dx)];
                    Sx += Cell * Kx[Dy + 1][Dx + 1];
                    Sy += Cell * Ky[Dy + 1][Dx + 1];
                }
            }
            std::uint8_t* P = At(Bitmap, X, Y);
            P[0] = P[1] = P[2] = static_cast<std::uint8_t>(std::min(255, std::abs(Sx) + std::abs(Sy)));
        }
    }
}

} // namespace chart_plain
