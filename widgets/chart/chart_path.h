// Paths: a figure recorded from line, arc, curve and text commands, then
// stroked and filled in one go. TChtBasePath is what a canvas hands out;
// TChtPath records into the device context of a chart canvas and fills
// with the canvas brush, its picture or its gradient.
#pragma once

#include "widgets/chart/chart_points.h"

#include <span>
#include <string>

namespace qel {

class TChtCanvas;

class TChtBasePath {
public:
    TChtBasePath() = default;
    TChtBasePath(const TChtBasePath&) = delete;
    TChtBasePath& operator=(const TChtBasePath&) = delete;
    virtual ~TChtBasePath() = default;

    // The arc of the ellipse in the box (X, Y, Width, Height) from
    // StartAngle over SweepAngle (degrees, counter-clockwise positive).
    virtual void ArcTo(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle) = 0;
    virtual void Close() = 0;
    virtual void Curve(std::span<const TPoint> Points, float Tension, bool Closed) = 0;
    // Ends the recording and paints the path on ACanvas; call once.
    virtual void Draw(TChtCanvas& ACanvas) = 0;
    virtual void GetPoints(TPathPointTypes& Types, TPointFloatArray& Points, TRectF& Bounds) = 0;
    virtual void LineTo(float X, float Y) = 0;
    virtual void MoveTo(float X, float Y) = 0;
    virtual void TextOut(float X, float Y, const std::string& Text) = 0;

    void LineTo(const TPoint& P) { LineTo(static_cast<float>(P.X), static_cast<float>(P.Y)); }
    void MoveTo(const TPoint& P) { MoveTo(static_cast<float>(P.X), static_cast<float>(P.Y)); }
};

class TChtPath : public TChtBasePath {
public:
    // Opens a path on the canvas's device; raises when the canvas has none.
    explicit TChtPath(TChtCanvas& Canvas);

    using TChtBasePath::LineTo;
    using TChtBasePath::MoveTo;

    // The canvas's arc by angles on the rounded box, from StartAngle to
    // StartAngle + SweepAngle.
    void ArcTo(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle) override;
    void Close() override;
    // Closed: a polygon of the points, the current point at the last one;
    // open: lines on from the current point. Tension is not used.
    void Curve(std::span<const TPoint> Points, float Tension, bool Closed) override;
    // Paints the brush's picture, then its gradient, each clipped to the
    // path, then strokes with a visible pen and fills with the plain brush
    // when neither picture nor gradient painted the inside.
    void Draw(TChtCanvas& ACanvas) override;
    // Records no points: both lists empty, Bounds untouched.
    void GetPoints(TPathPointTypes& Types, TPointFloatArray& Points, TRectF& Bounds) override;
    void LineTo(float X, float Y) override;
    void MoveTo(float X, float Y) override;
    void TextOut(float X, float Y, const std::string& Text) override;

private:
    TChtCanvas& ICanvas;     // records the path; not owned
};

} // namespace qel
