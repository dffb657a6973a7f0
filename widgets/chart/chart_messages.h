// The chart library's message texts: one global text per entry, in a fixed order.
// They start in English and follow the chart language; other modules read them by id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qel {

// The ids live in a namespace of their own: a few share their names with
// variables of the chart library (DefaultFontName, DefaultFontSize), and a
// scoped enumerator in the same namespace as such a variable still counts
// as shadowing it.
namespace message_ids {

// Ids of the message texts, in table order; the comment gives the English text
// ("/" marks the line break of a two-line text, "cht" the chart file extension).
enum class TChartMessage : std::uint16_t {
    // Notice line
    NoticeLine, // Chart library, English texts
    // Validation and error messages
    AxisMinAboveMax, // Axis Minimum Value must be <= Maximum
    AxisMaxBelowMin, // Axis Maximum Value must be >= Minimum
    AxisIncrementNegative, // Axis Increment must be >= 0
    AxisLogBaseTooSmall, // Axis Logarithmic Base must be >= 2
    AxisLogMinNotPositive, // A logarithmic axis needs a Minimum above 0
    AxisLabelAngleRange, // Axis Labels Angle must be between 0 and 359
    MinorTickCountRange, // Minor Tick Count must be between 0 and 100
    TickLengthNegative, // Tick Length must be >= 0
    AxisPositionRange, // Axis Position must be between 0 and 100
    AxisStartEndRange, // Axis Start must be lower than Axis End
    PercentRange, // Percent must be between 0 and 100
    AngleRange, // Angle must be between 0 and 360
    ElevationRange, // Elevation must be between 0 and 360
    RotationRange, // Rotation must be between 0 and 360
    PerspectiveRange, // Perspective must be between 0 and 100
    ZoomPositive, // Zoom must be greater than 0
    DepthRange, // Depth must be between 0 and 1000
    PeriodNegative, // Period must be >= 0
    MaxPointsNegative, // Maximum number of points per page must be >= 0
    PageNumberRange, // Page number must be between 1 and %d
    ValueIndexRange, // Value index %d is out of range
    SeriesIndexRange, // Series index %d is out of range
    LegendIndexRange, // Legend item %d does not exist
    InvalidColor, // Invalid color: %s
    InvalidNumber, // Invalid number: %s
    InvalidDate, // Invalid date: %s
    SeriesNotAllowed, // Series %s is not allowed in this chart
    SeriesOwnSource, // A series cannot be its own data source
    CircularSource, // Circular data source reference
    NoDataSource, // No data source selected
    UnknownSeriesClass, // Unknown series class: %s
    UnknownFunctionClass, // Unknown function class: %s
    UnknownToolClass, // Unknown tool class: %s
    UnknownFilterClass, // Unknown filter class: %s
    ToolAlreadyAdded, // Tool %s is already in the list
    NotEnoughPoints, // At least %d points are needed
    ValueListNotFound, // Value list %s not found
    FieldNotFound, // Field %s not found
    FieldNotNumeric, // Field %s is not numeric
    FileNotFound, // File %s not found
    CannotLoadFile, // Cannot load file %s
    CannotSaveFile, // Cannot save file %s
    InvalidChartFile, // Invalid Chart in *.cht file
    WrongFileFormat, // Wrong *.cht file format
    EmptyChartFile, // Empty *.cht file
    InvalidImage, // The file is not a valid image
    ClipboardFailed, // Cannot copy to the clipboard
    PrinterNotReady, // No printer is installed
    SeriesChangeWarning, // Changing the series type may / lose some of its settings.
    ConfirmDeleteSeries, // Delete series %s ?
    ConfirmDeleteAll, // Delete all series ?
    ConfirmDeleteTool, // Delete tool %s ?
    ConfirmDeleteTitle, // Delete title %s ?
    ConfirmDeleteValue, // Delete value %d ?
    ConfirmClearValues, // Clear all values of %s ?
    ConfirmApplyTheme, // Apply theme %s to the chart ?
    CannotDeleteAxis, // Default axes cannot be deleted
    CannotRotateTo2D, // Rotation needs 3D view
    InvalidFormula, // Invalid formula: %s
    InvalidPeriod, // Invalid period: %s
    InvalidGradient, // A gradient needs at least two colors
    FilterNotApplied, // Filter %s could not be applied
    NothingToExport, // Nothing to export
    NoSeriesSelected, // No series selected
    // Format strings
    OfFormat, // %s of %s
    OfTwoLines, // %s / of %s
    PageOfFormat, // Page %d of %d
    PointCountFormat, // %d points
    SeriesNumberFormat, // Series %d
    ValueNumberFormat, // Value %d
    PointNumberFormat, // Point %d
    ToolNumberFormat, // Tool %d
    FunctionNumberFormat, // Function %d
    AxisNumberFormat, // Axis %d
    TitleNumberFormat, // Title %d
    CopyOfFormat, // Copy of %s
    NameValueFormat, // %s: %s
    RangeFormat, // %s to %s
    FromFormat, // From: %s
    ToFormat, // To: %s
    TotalFormat, // Total: %s
    SelectedFormat, // %d selected
    ZoomFormat, // Zoom: %d %%
    RotationFormat, // Rotation: %d
    ElevationFormat, // Elevation: %d
    CursorPosFormat, // X: %s  Y: %s
    VersionFormat, // Version %s
    ExportedFormat, // Exported to %s
    // Number and date patterns
    PercentPattern, // ##0.## %
    ValuePattern, // #,##0.###
    IntegerPattern, // #,##0
    FixedTwoPattern, // 0.00
    FixedOnePattern, // 0.0
    PercentIntPattern, // 0 %
    CurrencyPattern, // #,##0.00
    ExponentPattern, // 0.0##E+00
    AxisLabelPattern, // 0.###
    DateShortPattern, // dd/MM/yyyy
    DateTimePattern, // dd/MM/yyyy hh:mm
    TimePattern, // hh:mm:ss
    DayMonthPattern, // dd-MMM
    MonthYearPattern, // MMM yyyy
    PercentFormat, // %.2f %%
    // Chart parts
    AxisTitle, // Axis Title
    ChartTitle, // Title
    SubTitle, // Subtitle
    Footer, // Footer
    SubFooter, // Subfooter
    Legend, // Legend
    LegendTitle, // Legend Title
    Panel, // Panel
    Walls, // Walls
    LeftWall, // Left Wall
    RightWall, // Right Wall
    BackWall, // Back Wall
    BottomWall, // Bottom Wall
    Floor, // Floor
    Paging, // Paging
    Chart, // Chart
    Charts, // Charts
    Data, // Data
    Values, // Values
    Labels, // Labels
    Marks, // Marks
    Pointer, // Pointer
    Points, // Points
    Background, // Background
    Frame, // Frame
    Aspect, // Aspect
    View3D, // 3D
    View2D, // 2D
    Front3D, // 3D Front
    Orthogonal, // Orthogonal
    // Axes
    Axis, // Axis
    Axes, // Axes
    LeftAxis, // Left Axis
    RightAxis, // Right Axis
    TopAxis, // Top Axis
    BottomAxis, // Bottom Axis
    DepthAxis, // Depth Axis
    DepthTopAxis, // Depth Top Axis
    CustomAxis, // Custom Axis
    Minimum, // Minimum
    Maximum, // Maximum
    Increment, // Increment
    Logarithmic, // Logarithmic
    LogBase, // Log Base
    Inverted, // Inverted
    Automatic, // Automatic
    AutoMinimum, // Auto Minimum
    AutoMaximum, // Auto Maximum
    Grid, // Grid
    MinorGrid, // Minor Grid
    Ticks, // Ticks
    MinorTicks, // Minor Ticks
    InnerTicks, // Inner Ticks
    TickLength, // Tick Length
    AxisLine, // Axis Line
    LabelsAngle, // Angle
    LabelsOnAxis, // Labels on Axis
    Position, // Position
    PositionPercent, // Position %
    StartPercent, // Start %
    EndPercent, // End %
    Scales, // Scales
    // Series, marks and legend
    Series, // Series
    Value, // Value
    Label, // Label
    ValueX, // X
    ValueY, // Y
    ValueZ, // Z
    XValue, // X Value
    YValue, // Y Value
    Text, // Text
    Sum, // Sum
    Count, // Count
    Average, // Average
    High, // High
    Low, // Low
    OpenValue, // Open
    CloseValue, // Close
    Volume, // Volume
    Start, // Start
    End, // End
    Next, // Next
    NoneWord, // (none)
    AllWord, // (all)
    Other, // Other
    ShowInLegend, // Show in Legend
    LegendStyle, // Legend Style
    Symbol, // Symbol
    Checkboxes, // Check boxes
    Arrows, // Arrows
    ColorEach, // Color Each
    Stacked, // Stacked
    Stacked100, // Stacked 100%
    Side, // Side
    NoStack, // Normal
    Stairs, // Stairs
    Outline, // Outline
    Sort, // Sort
    Ascending, // Ascending
    Descending, // Descending
    // Commands and dialogs
    OptionsEllipsis, // &Options...
    Options, // Options
    Edit, // Edit
    EditChart, // Edit Chart...
    EditSeries, // Edit Series...
    Add, // Add
    AddEllipsis, // &Add...
    Delete, // Delete
    DeleteEllipsis, // &Delete
    Clear, // Clear
    Clone, // Clone
    Rename, // Rename
    Change, // Change
    ChangeEllipsis, // &Change...
    MoveUp, // Move Up
    MoveDown, // Move Down
    Close, // Close
    CloseAmp, // &Close
    OK, // OK
    Cancel, // Cancel
    Apply, // Apply
    Help, // Help
    Yes, // Yes
    No, // No
    Reset, // Reset
    Save, // Save
    SaveAs, // Save As...
    OpenFile, // Open...
    Print, // Print
    PrintEllipsis, // &Print...
    PrintPreview, // Print Preview
    Export, // Export
    ExportEllipsis, // &Export...
    Import, // Import
    Copy, // Copy
    Paste, // Paste
    Send, // Send
    Browse, // Browse...
    Gallery, // Gallery
    Themes, // Themes
    Palette, // Palette
    Editor, // Editor
    ChartEditor, // Chart Editor
    SeriesEditor, // Series Editor
    GradientEditor, // Gradient Editor
    Tools, // Tools
    Functions, // Functions
    DataSource, // Data Source
    Manual, // Manual
    Source, // Source
    Preview, // Preview
    Zoom, // Zoom
    ZoomIn, // Zoom In
    ZoomOut, // Zoom Out
    UndoZoom, // Undo Zoom
    Scroll, // Scroll
    Rotate, // Rotate
    Move, // Move
    Page, // Page
    FirstPage, // First Page
    PriorPage, // Prior Page
    NextPage, // Next Page
    LastPage, // Last Page
    About, // About...
    Options3D, // 3D Options
    Wizard, // Wizard
    // Formatting properties
    Color, // Color
    Colors, // Colors
    Width, // Width
    Height, // Height
    Left, // Left
    Top, // Top
    Right, // Right
    Bottom, // Bottom
    Center, // Center
    Size, // Size
    Style, // Style
    Format, // Format
    Font, // Font
    Border, // Border
    Borders, // Borders
    Shadow, // Shadow
    Pattern, // Pattern
    Visible, // Visible
    Transparent, // Transparent
    Transparency, // Transparency
    Alignment, // Alignment
    Margins, // Margins
    Round, // Round
    RoundFrame, // Round Frame
    Rectangle, // Rectangle
    Circle, // Circle
    Ellipse, // Ellipse
    Triangle, // Triangle
    Diamond, // Diamond
    Cross, // Cross
    Solid, // Solid
    Dash, // Dash
    Dot, // Dot
    DashDot, // Dash Dot
    Elevation, // Elevation
    Rotation, // Rotation
    Perspective, // Perspective
    Depth, // Depth
    Offset, // Offset
    HorizOffset, // Horiz. Offset
    VertOffset, // Vert. Offset
    Inner, // Inner
    Outer, // Outer
    Lowered, // Lowered
    Raised, // Raised
    Bevel, // Bevel
    Emboss, // Emboss
    Picture, // Picture
    Image, // Image
    Stretch, // Stretch
    Tile, // Tile
    Centered, // Centered
    Smooth, // Smooth
    Antialias, // Antialias
    Quality, // Quality
    Horizontal, // Horizontal
    Vertical, // Vertical
    Direction, // Direction
    // Series kinds
    Line, // Line
    Bar, // Bar
    HorizBar, // Horizontal / Bar
    Area, // Area
    HorizLine, // Horizontal / Line
    HorizArea, // Horizontal / Area
    PointKind, // Point
    Pie, // Pie
    FastLine, // Fast Line
    Shape, // Shape
    Gantt, // Gantt
    Bubble, // Bubble
    Arrow, // Arrow
    Donut, // Donut
    Standard, // Standard
    Extended, // Extended
    Statistical, // Statistical
    Financial, // Financial
    Other3D, // 3D Types
    // Gradient, pattern and fill words
    Gradient, // Gradient
    GradientVisible, // Gradient visible
    StartColor, // Start Color
    MidColor, // Middle Color
    EndColor, // End Color
    SwapColors, // Swap Colors
    Radial, // Radial
    TopBottom, // Top Bottom
    BottomTop, // Bottom Top
    LeftRight, // Left Right
    RightLeft, // Right Left
    FromCenter, // From Center
    FromTopLeft, // From Top Left
    Diagonal, // Diagonal
    Stops, // Color Stops
    Hatch, // Hatch
    Fill, // Fill
    // Filters and their editors
    Filters, // Filters
    Blur, // Blur
    Sharpen, // Sharpen
    Resize, // Resize
    Crop, // Crop
    Invert, // Invert
    GrayScale, // Gray scale
    Mosaic, // Mosaic
    Flip, // Flip
    Reverse, // Reverse
    Brightness, // Brightness
    Contrast, // Contrast
    ColorReplacer, // Color Replacer
    HueLumSat, // Hue,Lum,Sat
    GammaCorrection, // Gamma correction
    Mirror, // Mirror
    Equalize, // Equalize
    Sobel, // Sobel
    Sepia, // Sepia
    FilterPercent, // Percent
    FilterBack, // Back
    FilterAutosize, // Autosize
    FilterColumns, // Columns
    FilterRows, // Rows
    Amount, // Amount
    Steps, // Steps
    Method, // Method
    // Fonts and files
    DefaultFontName, // Arial
    DefaultFontSize, // 8
    XmlFilter, // XML files (*.xml)|*.xml
    TextFilter, // Text files (*.txt)|*.txt
    HtmlFilter, // HTML files (*.htm)|*.htm
    CsvFilter, // CSV files (*.csv)|*.csv
    AllFilesFilter, // All files (*.*)|*.*
    ImageFilesFilter, // Image files|*.bmp;*.jpg;*.png;*.gif
    FileWord, // File
    FileName, // File name
    Overwrite, // File %s exists. Overwrite ?
    Loading, // Loading...
    Saving, // Saving...
    Delimiter, // Delimiter
    Header, // Header
    IncludeLabels, // Include Labels
};

} // namespace message_ids

using message_ids::TChartMessage;

constexpr std::size_t ChartMessageCount = 407;
static_assert(static_cast<std::size_t>(TChartMessage::IncludeLabels) + 1 == ChartMessageCount);

extern std::array<std::string, ChartMessageCount> ChartMessages;

// One carriage return; joins the pieces of two-line texts and the rows of the
// language lists.
extern std::string ChartLineBreak;

// Extension of chart files, "cht" from start-up on.
extern std::string ChartFileExtension;

// The current text of a message entry.
const std::string& ChartText(TChartMessage Id);

// Assigns the English text of every message entry, in table order.
void AssignEnglishMessages();

// Module start-up: line break and extension set, English texts assigned.
void InitChartMessages();

// Module shutdown: every message text, the line break and the extension cleared.
void FinalizeChartMessages();

} // namespace qel
