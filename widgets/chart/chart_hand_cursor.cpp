// The image of the chart hand cursor, drawn as text rows. The program's
// resources carry it as a cursor picture (chart_resources.cpp).
#include "widgets/chart/chart_hand_cursor.h"

namespace qel {
namespace {

constexpr TChartCursorImage HandImage{
    7,
    7,
    {
        "                                ",
        "                                ",
        "                                ",
        "                                ",
        "                                ",
        "                                ",
        "                                ",
        "      ###                       ",
        "     #...#                      ",
        "     #...#                      ",
        "     #...#                      ",
        "     #...####                   ",
        "     #...#...####               ",
        "     #...#...#...#              ",
        "     #...#...#...####           ",
        "  ## #...#...#...#...#          ",
        " #..##...#...#...#...#          ",
        " #...#...#...#...#...#          ",
        "  #......#...#...#...#          ",
        "  #..................#          ",
        "   #.................#          ",
        "    #................#          ",
        "     #...............#          ",
        "      #..............#          ",
        "      #..............#          ",
        "      #..............#          ",
        "       #............#           ",
        "       #............#           ",
        "       #............#           ",
        "        ############            ",
        "                                ",
        "                                ",
    },
};

constexpr bool RowsAreComplete()
{
    for (std::string_view Row : HandImage.Rows) {
        if (Row.size() != TChartCursorImage::Width) {
            return false;
        }
    }
    return true;
}
static_assert(RowsAreComplete(), "every cursor row holds 32 pixels");

} // namespace

const TChartCursorImage& ChartHandCursorImage()
{
    return HandImage;
}

} // namespace qel
