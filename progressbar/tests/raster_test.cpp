#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "bar_rig.h"
#include "progressbar/gdi.h"

namespace tv::test {
namespace {

constexpr Color ink = 0x000000;
constexpr Color paper = 0xFFFFFF;
constexpr Color grey = 0x808080;
const Legend inkPaper{{ink, '#'}, {paper, '.'}, {grey, '-'}};

struct Canvas {
    explicit Canvas(int width = 8, int height = 8) {
        window = gdi.createWindow(width, height);
        dc = gdi.getDC(window);
    }
    const Bitmap& pixels() const { return *gdi.windowSurface(window); }
    std::string rows() const {
        std::string s;
        for (int y = 0; y < pixels().height; ++y) {
            s += rowPicture(pixels(), y, 0, pixels().width, legend) +
                 (y + 1 < pixels().height ? "|" : "");
        }
        return s;
    }
    void clear(Color colour) {
        GdiObj brush = gdi.createSolidBrush(colour);
        gdi.fillRect(dc, {0, 0, pixels().width, pixels().height}, brush);
        gdi.deleteObject(brush);
    }
    void line(Point from, Point to) {
        GdiObj pen = gdi.createPen(PS_SOLID, 1, ink);
        GdiObj old = gdi.selectObject(dc, pen);
        gdi.moveToEx(dc, from.x, from.y);
        gdi.lineTo(dc, to.x, to.y);
        gdi.selectObject(dc, old);
        gdi.deleteObject(pen);
    }

    SysColorTable colours = SysColorTable::luna();
    BlockTextEngine text;
    FaultPlan faults;
    Gdi gdi{colours, text, &faults};
    Hwnd window;
    Hdc dc;
    Legend legend = inkPaper;
};

// The loop exactly as the platform notes give it, octant table and all.
std::set<std::pair<int, int>> referenceLine(Point a, Point b) {
    int dx = b.x - a.x, dy = b.y - a.y;
    int octant = dy > 0 ? (dx > 0 ? (dx > dy ? 1 : 2) : (-dx <= dy ? 3 : 4))
                        : (dx < 0 ? (-dx > -dy ? 5 : 6) : (dx <= -dy ? 7 : 8));
    bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    int dmaj = xMajor ? std::abs(dx) : std::abs(dy);
    int dmin = xMajor ? std::abs(dy) : std::abs(dx);
    int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    int err = 2 * dmin - dmaj, x = a.x, y = a.y;
    std::set<std::pair<int, int>> pixels;
    for (int i = 0; i < dmaj; ++i) {
        pixels.insert({x, y});
        if (err + bias > 0) {
            (xMajor ? y : x) += xMajor ? sy : sx;
            err += 2 * dmin - 2 * dmaj;
        } else {
            err += 2 * dmin;
        }
        (xMajor ? x : y) += xMajor ? sx : sy;
    }
    return pixels;
}

std::set<std::pair<int, int>> inked(const Bitmap& b) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            if (b.at(x, y) == ink) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

TEST(LineRule, StraightLinesLeaveOutTheirEndPoint) {
    Canvas c(12, 4);
    c.line({2, 1}, {10, 1});
    c.line({9, 3}, {5, 3});  // leftward: keeps its start
    c.line({0, 0}, {0, 3});
    EXPECT_EQ(c.rows(),
              "#...........|"
              "#.########..|"
              "#...........|"
              "......####..");
    EXPECT_EQ(c.gdi.currentPosition(c.dc), (Point{0, 3}));
}

TEST(LineRule, DiagonalAndItsReverseLightTheSamePixels) {
    Canvas forward(5, 3), backward(5, 3);
    forward.line({0, 0}, {4, 2});
    backward.line({4, 2}, {0, 0});
    EXPECT_EQ(forward.rows(), "##...|..##.|.....");
    EXPECT_EQ(backward.rows(), ".#...|..##.|....#");
}

TEST(LineRule, EveryLineInAGridMatchesTheReferenceLoop) {
    Canvas c(7, 7);
    for (int a = 0; a < 49; ++a) {
        for (int b = 0; b < 49; ++b) {
            Point from{a % 7, a / 7}, to{b % 7, b / 7};
            if (from.x == to.x || from.y == to.y) {
                continue;
            }
            c.clear(paper);
            c.line(from, to);
            ASSERT_EQ(inked(c.pixels()), referenceLine(from, to))
                << from.x << "," << from.y << " -> " << to.x << "," << to.y;
        }
    }
}

TEST(LineRule, LinesRunningOffTheSurfaceAreClippedNotBent) {
    Canvas c(6, 6);
    for (auto [from, to] : {std::pair{Point{-7, -2}, Point{12, 9}},
                            {Point{40, 5}, Point{-30, 1}},
                            {Point{2, -50}, Point{5, 60}}}) {
        c.clear(paper);
        c.line(from, to);
        std::set<std::pair<int, int>> expected;
        for (auto p : referenceLine(from, to)) {
            if (p.first >= 0 && p.first < 6 && p.second >= 0 && p.second < 6) {
                expected.insert(p);
            }
        }
        EXPECT_EQ(inked(c.pixels()), expected);
    }
}

TEST(HatchBrush, SixPatternsOnAnOpaqueBackground) {
    const char* expected[] = {
        "........|........|........|########|........|........|........|........",
        "....#...|....#...|....#...|....#...|....#...|....#...|....#...|....#...",
        "#.......|.#......|..#.....|...#....|....#...|.....#..|......#.|.......#",
        ".......#|......#.|.....#..|....#...|...#....|..#.....|.#......|#.......",
        "....#...|....#...|....#...|########|....#...|....#...|....#...|....#...",
        "#......#|.#....#.|..#..#..|...##...|...##...|..#..#..|.#....#.|#......#",
    };
    for (int style = HS_HORIZONTAL; style <= HS_DIAGCROSS; ++style) {
        Canvas c;
        c.clear(grey);
        GdiObj brush = c.gdi.createHatchBrush(style, ink);
        c.gdi.fillRect(c.dc, {0, 0, 8, 8}, brush);
        EXPECT_EQ(c.rows(), expected[style]) << "style " << style;
    }
}

TEST(HatchBrush, TransparentModeKeepsTheSpacesAndThePatternFollowsTheSurface) {
    Canvas c(12, 3);
    c.clear(grey);
    c.gdi.setBkMode(c.dc, TRANSPARENT);
    GdiObj brush = c.gdi.createHatchBrush(HS_FDIAGONAL, ink);
    c.gdi.fillRect(c.dc, {3, 0, 12, 3}, brush);
    EXPECT_EQ(c.rows(), "--------#---|---------#--|----------#-");
    EXPECT_EQ(c.gdi.createHatchBrush(6, ink), GdiObj{});
}

TEST(FillRectRule, RightAndBottomAreLeftOut) {
    Canvas c(6, 4);
    GdiObj brush = c.gdi.createSolidBrush(ink);
    c.gdi.fillRect(c.dc, {1, 1, 4, 3}, brush);
    c.gdi.fillRect(c.dc, {5, 0, 5, 4}, brush);  // zero width: nothing
    EXPECT_EQ(c.rows(), "......|.###..|.###..|......");
}

TEST(FillRectRule, NegativeExtentsLandOnePixelOver) {
    Canvas c(8, 5);
    GdiObj brush = c.gdi.createSolidBrush(ink);
    c.gdi.fillRect(c.dc, {5, 4, 2, 1}, brush);  // columns 3-5, rows 2-4
    EXPECT_EQ(c.rows(), "........|........|...###..|...###..|...###..");
}

TEST(FillRectRule, PatternBrushTilesFromTheSurfaceOrigin) {
    Canvas c(6, 2);
    c.clear(grey);
    Bitmap tile(2, 2);
    tile.pixels = {ink, paper, paper, ink};
    GdiObj bitmap = c.gdi.createBitmap(tile);
    GdiObj brush = c.gdi.createPatternBrush(bitmap);
    c.gdi.deleteObject(bitmap);  // the brush keeps its own copy
    GdiObj old = c.gdi.selectObject(c.dc, brush);
    c.gdi.patBlt(c.dc, 1, 0, 4, 2, PATCOPY);
    c.gdi.selectObject(c.dc, old);
    EXPECT_EQ(c.rows(), "-.#.#-|-#.#.-");
}

TEST(FrameRectRule, OnePixelBorderInsideTheRectangle) {
    Canvas c(8, 6);
    GdiObj brush = c.gdi.createSolidBrush(ink);
    c.gdi.frameRect(c.dc, {1, 1, 6, 5}, brush);
    c.gdi.frameRect(c.dc, {7, 0, 7, 6}, brush);  // empty: nothing
    EXPECT_EQ(c.rows(), "........|.#####..|.#...#..|.#...#..|.#####..|........");
}

struct EdgeCase {
    unsigned edge;
    Rect rect;
    const char* rows;
};

TEST(DrawEdgeRing, ColoursAndCornerOwnershipOfTheThreeEdges) {
    const Legend edgeLegend{
        {0x99A8AC, 's'}, {0xFFFFFF, 'h'}, {0xE2EFF1, 'l'}, {0x646F71, 'd'}, {grey, '-'}};
    const EdgeCase cases[] = {
        {EDGE_ETCHED, {0, 0, 6, 5}, "sssssh|shhhsh|sh--sh|sssssh|hhhhhh"},
        {EDGE_BUMP, {0, 0, 6, 5}, "llllld|ldddld|ld--ld|llllld|dddddd"},
        {BDR_SUNKENOUTER, {0, 0, 6, 5}, "sssssh|s----h|s----h|s----h|hhhhhh"},
    };
    for (const EdgeCase& e : cases) {
        Canvas c(6, 5);
        c.legend = edgeLegend;
        c.clear(grey);
        Rect r = e.rect;
        EXPECT_TRUE(c.gdi.drawEdge(c.dc, r, e.edge, BF_RECT));
        EXPECT_EQ(c.rows(), e.rows) << "edge " << e.edge;
        EXPECT_EQ(r, e.rect);  // written back only with BF_ADJUST
    }
}

TEST(DrawEdgeRing, AdjustShrinksByTheRingsAndBothOuterBitsFail) {
    Canvas c(10, 10);
    Rect r{0, 0, 10, 10};
    c.gdi.drawEdge(c.dc, r, EDGE_ETCHED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, (Rect{2, 2, 8, 8}));
    c.clear(grey);
    EXPECT_FALSE(c.gdi.drawEdge(c.dc, r, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT));
    EXPECT_EQ(c.pixels().at(2, 2), grey);
}

TEST(ObjectSelection, SelectReturnsThePreviousObjectAndSelectedObjectsStayAlive) {
    Canvas c;
    std::size_t before = c.gdi.liveObjectCount();
    GdiObj pen = c.gdi.createPen(PS_SOLID, 1, ink);
    GdiObj previous = c.gdi.selectObject(c.dc, pen);
    EXPECT_EQ(previous, c.gdi.getStockObject(BLACK_PEN));
    EXPECT_FALSE(c.gdi.deleteObject(pen));
    EXPECT_EQ(c.gdi.selectObject(c.dc, previous), pen);
    EXPECT_TRUE(c.gdi.deleteObject(pen));
    EXPECT_EQ(c.gdi.liveObjectCount(), before);
    // The slot is reused, the old handle is not.
    GdiObj brush = c.gdi.createSolidBrush(ink);
    EXPECT_NE(brush, pen);
    EXPECT_EQ(c.gdi.selectObject(c.dc, pen), GdiObj{});
    EXPECT_FALSE(c.gdi.deleteObject(c.gdi.getStockObject(WHITE_BRUSH)));
}

TEST(ObjectSelection, ABitmapLivesInOneMemoryDcAtATime) {
    Canvas c;
    Hdc first = c.gdi.createCompatibleDC(c.dc);
    Hdc second = c.gdi.createCompatibleDC(c.dc);
    GdiObj bitmap = c.gdi.createCompatibleBitmap(c.dc, 4, 4);
    EXPECT_TRUE(c.gdi.selectObject(first, bitmap));
    EXPECT_FALSE(c.gdi.selectObject(second, bitmap));
    EXPECT_FALSE(c.gdi.selectObject(c.dc, bitmap));  // not into a window DC
    c.gdi.deleteDC(first);
    EXPECT_TRUE(c.gdi.selectObject(second, bitmap));
    EXPECT_EQ(c.gdi.createCompatibleBitmap(c.dc, 0, 4), GdiObj{});
    EXPECT_EQ(c.gdi.createDC("PRINTER", "", "", nullptr), Hdc{});
}

TEST(Blit, CopiesTheOverlapAndClipsAtBothSurfaces) {
    Canvas c(5, 3);
    c.clear(grey);
    Hdc memory = c.gdi.createCompatibleDC(c.dc);
    GdiObj bitmap = c.gdi.createCompatibleBitmap(c.dc, 3, 2);  // starts black
    c.gdi.selectObject(memory, bitmap);
    c.gdi.setPixelV(memory, 0, 0, paper);
    EXPECT_TRUE(c.gdi.bitBlt(c.dc, -1, 1, 9, 9, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(c.rows(), "-----|##---|##---");
    EXPECT_FALSE(c.gdi.bitBlt(c.dc, 0, 0, 5, 3, Hdc{}, 0, 0, SRCCOPY));
}

TEST(DrawTextRule, CalcRectMeasuresAndDrawingClipsToTheRectangle) {
    Canvas c(16, 14);
    Rect r{2, 1, 0, 0};
    EXPECT_EQ(c.gdi.drawText(c.dc, "abc", 2, r, DT_CALCRECT), 13);
    EXPECT_EQ(r, (Rect{2, 1, 14, 14}));
    c.gdi.setBkMode(c.dc, TRANSPARENT);
    r.right = 9;
    c.gdi.drawText(c.dc, "ab", -1, r, DT_SINGLELINE);
    EXPECT_EQ(rowPicture(c.pixels(), 5, 0, 16, c.legend), "...####.........");
    EXPECT_EQ(columnPicture(c.pixels(), 4, 0, 14, c.legend), "....#######...");
    // Opaque text paints its background inside the clip.
    c.gdi.setBkMode(c.dc, OPAQUE);
    c.gdi.setBkColor(c.dc, grey);
    c.gdi.drawText(c.dc, "ab", -1, r, DT_SINGLELINE);
    EXPECT_EQ(rowPicture(c.pixels(), 2, 0, 16, c.legend), "..-------.......");
}

TEST(CreationFaults, AFailedCallReturnsNoHandleOnceThenWorksAgain) {
    Canvas c;
    c.faults.failNext(GdiCall::CreatePen);
    EXPECT_EQ(c.gdi.createPen(PS_SOLID, 1, ink), GdiObj{});
    EXPECT_NE(c.gdi.createPen(PS_SOLID, 1, ink), GdiObj{});
    c.faults.failAlways(GdiCall::CreateDC);
    EXPECT_EQ(c.gdi.createDC("DISPLAY", "", "", nullptr), Hdc{});
    EXPECT_EQ(c.gdi.createDC("DISPLAY", "", "", nullptr), Hdc{});
}

}  // namespace
}  // namespace tv::test
