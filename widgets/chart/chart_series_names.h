// The chart library's series, function, tool and export-format names.
// They start in English and follow the chart language; other modules read them by id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qel {

// Ids of the series-name texts, in table order; the comment gives the English
// text ("/" marks the line break of a two-line text).
enum class TChartSeriesName : std::uint16_t {
    // Series types
    Polar, // Polar
    Candle, // Candle
    Radar, // Radar
    Surface, // Surface
    Contour, // Contour
    WaterFall, // Water / Fall
    Volume, // Volume
    Bezier, // Bezier
    ErrorBar, // Error / Bar
    Error, // Error
    HighLow, // High / Low
    Histogram, // Histogram
    Pyramid, // Pyramid
    Funnel, // Funnel
    Map, // Map
    Tower, // Tower
    BoxPlot, // Box / Plot
    HorizBoxPlot, // Horiz. Box / Plot
    Smith, // Smith
    Calendar, // Calendar
    Clock, // Clock
    WindRose, // Wind / Rose
    ColorGrid, // Color / Grid
    Ternary, // Ternary
    Gauge, // Gauge
    LinearGauge, // Linear / Gauge
    NumericGauge, // Numeric / Gauge
    TriSurface, // Triangle / Surface
    Kagi, // Kagi
    Renko, // Renko
    PointFigure, // Point and / Figure
    EquiVolume, // Equi-Volume
    Darvas, // Darvas
    HeatMap, // Heat / Map
    OrgChart, // Org / Chart
    Treemap, // Treemap
    Spline, // Spline
    LinePoint, // Line Point
    StepLine, // Step Line
    Ribbon, // Ribbon
    Column, // Column
    // Analysis functions
    FuncAdd, // Add
    FuncSubtract, // Subtract
    FuncMultiply, // Multiply
    FuncDivide, // Divide
    FuncHigh, // High
    FuncLow, // Low
    FuncAverage, // Average
    FuncCount, // Count
    Momentum, // Momentum
    MomentumDiv, // Momentum / Division
    Cumulative, // Cumulative
    ExpAverage, // Exponential / Average
    Smoothing, // Smoothing
    CustomFunc, // Custom
    RootMeanSquare, // Root Mean / Square
    StdDeviation, // Standard / Deviation
    Stochastic, // Stochastic
    ExpMovAverage, // Exp. Moving / Average
    MovingAverage, // Moving / Average
    Performance, // Performance
    CrossPoints, // Cross / Points
    Compression, // Compression
    CCI, // CCI
    MACD, // MACD
    ADX, // ADX
    RSI, // RSI
    Bollinger, // Bollinger
    Trend, // Trend
    ExpTrend, // Exponential / Trend
    Median, // Median
    Mode, // Mode
    Variance, // Variance
    Skewness, // Skewness
    Kurtosis, // Kurtosis
    Correlation, // Correlation
    Perimeter, // Perimeter
    CurveFitting, // Curve / Fitting
    Downsampling, // Downsampling
    Subset, // Subset
    Envelope, // Envelope
    PercentChange, // Percent / Change
    RateOfChange, // Rate of / Change
    VolumeOsc, // Volume / Oscillator
    ParabolicSAR, // Parabolic / SAR
    OnBalanceVolume, // On Balance / Volume
    MoneyFlow, // Money / Flow
    WilliamsR, // Williams %R
    Fourier, // Fourier
    LinearRegression, // Linear Regression
    Polynomial, // Polynomial
    SmoothSpline, // Smoothing Spline
    CumulativeSum, // Cumulative Sum
    FuncSum, // Sum
    Integral, // Integral
    Interpolation, // Interpolation
    Difference, // Difference
    Filter, // Filter
    Period, // Period
    PeriodStyle, // Period Style
    PeriodAlign, // Period Align
    // Tools
    Cursor, // Cursor
    DragMarks, // Drag Marks
    AxisArrows, // Axis Arrows
    ColorBand, // Color Band
    ColorLine, // Color Line
    RotateTool, // Rotate
    MarkTips, // Mark Tips
    ChartImage, // Chart Image
    Annotation, // Annotation
    NearestPoint, // Nearest Point
    PageNumber, // Page Number
    SeriesAnimation, // Series Animation
    GanttDrag, // Gantt Drag
    ExtraLegend, // Extra Legend
    GridTranspose, // Grid Transpose
    PieSlices, // Pie Slices
    LegendScrollBar, // Legend Scroll Bar
    SurfaceNearest, // Surface Nearest
    AxisScroll, // Axis Scroll
    DataTable, // Data Table
    Selector, // Selector
    Magnify, // Magnify
    Fader, // Fader
    Transpose, // Transpose
    Banner, // Banner
    SeriesBand, // Series Band
    Link, // Link
    LegendPalette, // Legend Palette
    GridBand, // Grid Band
    DragPoint, // Drag Point
    DrawLine, // Draw Line
    ClipSeries, // Clip Series
    FullScreen, // Full Screen
    Distance, // Distance
    ZoomTool, // Zoom
    Region, // Region
    RectangleTool, // Rectangle
    SubChart, // Sub Chart
    AxisBreaks, // Axis Breaks
    Hint, // Hint
    Crosshair, // Crosshair
    Animation, // Animation
    Highlight, // Highlight
    Labels, // Labels
    Frame, // Frame
    // Export formats and file filters
    Bitmap, // Bitmap
    JPEG, // JPEG
    PNG, // PNG
    GIF, // GIF
    Metafile, // Metafile
    PDF, // PDF
    SVG, // SVG
    WebP, // WebP
    TIFF, // TIFF
    PostScript, // PostScript
    XML, // XML
    TextFormat, // Text
    HTML, // HTML
    Excel, // Excel
    JSON, // JSON
    XAML, // XAML
    JavaScript, // JavaScript
    Native, // Native
    Picture, // Picture
    Data, // Data
    BitmapFiles, // Bitmap files|*.bmp
    JPEGFiles, // JPEG files|*.jpg
    PNGFiles, // PNG files|*.png
    GIFFiles, // GIF files|*.gif
    MetafileFiles, // Metafiles|*.emf
    PDFFiles, // PDF files|*.pdf
    SVGFiles, // SVG files|*.svg
    WebPFiles, // WebP files|*.webp
    TIFFFiles, // TIFF files|*.tif
    PostScriptFiles, // PostScript files|*.eps
    XMLFiles, // XML files|*.xml
    TextFiles, // Text files|*.txt
    HTMLFiles, // HTML files|*.htm
    ExcelFiles, // Excel files|*.xls
    JSONFiles, // JSON files|*.json
    XAMLFiles, // XAML files|*.xaml
    JavaScriptFiles, // JavaScript files|*.js
    Compressed, // Compressed
    Colors256, // 256 colors
    TrueColor, // True color
    Monochrome, // Monochrome
    Grayscale, // Grayscale
    IncludeData, // Include Data
    IncludeSeriesTitle, // Include Series Title
    IncludePointIndex, // Include Point Index
    IncludeHeader, // Include Header
    Separator, // Separator
    TextQuotes, // Text Quotes
    Tab, // Tab
    Comma, // Comma
    Semicolon, // Semicolon
    Space, // Space
    ExportChart, // Export Chart
    ExportData, // Export Data
    ExportImage, // Export Image
    CopyClipboard, // Copy to Clipboard
    SendMail, // Send by mail
    // Gallery and categories
    GalleryStandard, // Standard
    GalleryStats, // Stats
    GalleryFinancial, // Financial
    GalleryExtended, // Extended
    Gallery3D, // 3D
    GalleryGauges, // Gauges
    GalleryMaps, // Maps
    GalleryOther, // Other
    GalleryFunctions, // Functions
    GalleryTools, // Tools
    GallerySamples, // Samples
    GalleryThemes, // Themes
    GalleryAll, // All
    GalleryNoSeries, // No series
    GalleryChooseType, // Choose a series type
    // Series settings
    DarkBar3D, // Dark 3D
    MultiBar, // Multi Bar
    BarWidthPercent, // Bar Width %
    BarOffsetPercent, // Bar Offset %
    BarStyle, // Bar Style
    AutoMarkPosition, // Auto Mark Position
    SideMargins, // Side Margins
    ExplodeBiggest, // Explode Biggest
    ExplodedSlice, // Exploded Slice
    PieOtherSlice, // Other Slice
    PieAngleSize, // Angle Size
    DonutPercent, // Donut %
    Circled, // Circled
    RotationWord, // Rotation
    PointerStyle, // Pointer Style
    Inflate, // Inflate Margins
    ClickableLine, // Clickable Line
    LineHeight, // Line Height
    DrawArea, // Draw Area
    UseOrigin, // Use Origin
    Origin, // Origin
    NullPoints, // Null Points
    TreatNulls, // Treat Nulls
    SkipNulls, // Skip
    IgnoreNulls, // Ignore
    DontPaint, // Don't Paint
    CandleWidth, // Candle Width
    UpColor, // Up Color
    DownColor, // Down Color
    HighLowLine, // High-Low Line
    OpenClose, // Open-Close
    CandleStick, // Candle Stick
    OpenCloseBar, // Open Close Bar
    LineStyle, // Line Style
    WireFrame, // Wireframe
    DotFrame, // Dot Frame
    SmoothPalette, // Smooth Palette
    PaletteSteps, // Palette Steps
    UseColorRange, // Use Color Range
    UsePalette, // Use Palette
    GridSize, // Grid Size
    NumLevels, // Number of Levels
    LevelsLabel, // Levels
    YPosition, // Y Position
    Centered, // Centered
    CircleBack, // Circle Back
    CircleLabels, // Circle Labels
    RadiusLabels, // Radius Labels
    AngleIncrement, // Angle Increment
    RadiusIncrement, // Radius Increment
    ClockWise, // Clockwise
    ArrowHead, // Arrow Head
    StartArrow, // Start Arrow
    EndArrow, // End Arrow
    BubbleRadius, // Radius
    SquaredBubbles, // Squared
    GanttStart, // Start Date
    GanttEnd, // End Date
    NextTask, // Next Task
    TaskBar, // Task Bar
    ErrorWidth, // Error Width
    ErrorStyle, // Error Style
    ErrorBoth, // Both
    WhiskerLength, // Whisker Length
    MedianLine, // Median Line
    MildOutliers, // Mild Outliers
    ExtrOutliers, // Extreme Outliers
    GaugeMinimum, // Gauge Minimum
    GaugeMaximum, // Gauge Maximum
    Needle, // Needle
    Hand, // Hand
    Center, // Center
    GreenLine, // Green Line
    RedLine, // Red Line
    Ticks, // Ticks
    Digits, // Digits
    LedStyle, // LED Style
    LcdStyle, // LCD Style
    CalendarDays, // Days
    CalendarWeekdays, // Weekdays
    CalendarMonths, // Months
    CalendarToday, // Today
    CalendarSunday, // Sunday
    MapShapes, // Shapes
    // Function settings
    Periods, // Periods
    PeriodNumber, // Number of Points
    PeriodRange, // Range
    PeriodAll, // All Points
    PeriodFirst, // First
    PeriodLast, // Last
    Deviation, // Deviation
    Complete, // Complete
    Factor, // Factor
    Weight, // Weight
    WeightedAverage, // Weighted
    Forecast, // Forecast
    Confidence, // Confidence
    Degree, // Polynomial Degree
    FirstPoint, // First Point
    LastPoint, // Last Point
    StartX, // Start X
    NumPoints, // Num. Points
    Signal, // Signal
    ShowHistogram, // Show Histogram
    Overbought, // Overbought
    Oversold, // Oversold
    UpperBand, // Upper Band
    LowerBand, // Lower Band
    Bins, // Number of Bins
    Cumulate, // Cumulate
    Tolerance, // Tolerance
    Method, // Method
    Expression, // Expression
    Script, // Script
    Calculate, // Calculate
    CalculateEvery, // Calculate every
    Recalculate, // Recalculate
    SourceSeries, // Source Series
    AvailableSeries, // Available
    SelectedSeries, // Selected
    ValueSource, // Value Source
    // Tool settings
    ToolSeries, // Series
    FollowMouse, // Follow Mouse
    Snap, // Snap
    SnapStyle, // Snap Style
    CursorStyle, // Cursor Style
    VerticalOnly, // Vertical
    HorizontalOnly, // Horizontal
    DragRepaint, // Drag Repaint
    FullRepaint, // Full Repaint
    MouseAction, // Mouse Action
    Click, // Click
    Move, // Move
    Delay, // Delay
    Interval, // Interval
    Duration, // Duration
    Loop, // Loop
    Steps, // Steps
    Speed, // Speed
    PlayAnimation, // Play
    StopAnimation, // Stop
    Pause, // Pause
    Growing, // Growing
    BandStart, // Start Value
    BandEnd, // End Value
    DrawBehind, // Draw Behind
    AllowDrag, // Allow Drag
    NoLimitDrag, // No Limit Drag
    ResizeChart, // Resize Chart
    DragStyle, // Drag Style
    ButtonLeft, // Left Button
    ButtonRight, // Right Button
    ButtonMiddle, // Middle Button
    Shift, // Shift
    Control, // Control
    Alt, // Alt
    Keyboard, // Keyboard
    ShowAxes, // Show Axes
    ShowValues, // Show Values
    LegendAlign, // Legend Align
    Inverted, // Inverted
    AutoPosition, // Auto Position
    Shape, // Shape
    Callout, // Callout
    DistancePercent, // Distance %
    ArrowLength, // Arrow Length
    Colors, // Colors
    Transparency, // Transparency
    Rows, // Rows
    Columns, // Columns
    ScrollInverted, // Inverted Scroll
    URL, // URL
    Target, // Target
    Units, // Units
    Measure, // Measure
    Pixels, // Pixels
    AxisUnits, // Axis Units
    AddBreak, // Add Break
    Gap, // Gap
};

constexpr std::size_t ChartSeriesNameCount = 397;
static_assert(static_cast<std::size_t>(TChartSeriesName::Gap) + 1 == ChartSeriesNameCount);

extern std::array<std::string, ChartSeriesNameCount> ChartSeriesNames;

// The current text of a series-name entry.
const std::string& ChartText(TChartSeriesName Id);

// Assigns the English text of every series-name entry, in table order, then
// turns the message "Antialias" into "Anti-Alias".
void AssignEnglishSeriesNames();

// Module start-up: English texts assigned.
void InitChartSeriesNames();

// Module shutdown: every series-name text cleared.
void FinalizeChartSeriesNames();

} // namespace qel
