// The platform-free rules of marking up a selection: toolbar placement and hit test,
// mosaic cells, arrow heads, and how a press, drag and release become a mark.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "capture/marks/annotation.h"
#include "capture/marks/arrow_head.h"
#include "capture/marks/mosaic.h"
#include "capture/overlay/toolbar.h"

TEST(ToolbarOrigin, BelowAboveOrInsideAndRightAligned) {
    // Room below: 8 px under the selection, right edges aligned.
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 400}, 1080), (OverlayPoint{550, 408}));
    // Bottom within 50 px of the screen's bottom: 50 px above the top.
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 1031}, 1080), (OverlayPoint{550, 50}));
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 1030}, 1080), (OverlayPoint{550, 1038}));
    // Neither fits: inside, 4 px under the top.
    EXPECT_EQ(toolbar_origin({500, 49, 1000, 1080}, 1080), (OverlayPoint{550, 53}));
    EXPECT_EQ(toolbar_origin({500, 50, 1000, 1080}, 1080), (OverlayPoint{550, 0}));
    // Left edge: pushed right to 0, never moved back at the right edge.
    EXPECT_EQ(toolbar_origin({10, 10, 450, 100}, 1080).x, 0);
    EXPECT_EQ(toolbar_origin({10, 10, 451, 100}, 1080).x, 1);
    EXPECT_EQ(toolbar_origin({1800, 10, 3000, 100}, 1080).x, 2550);
    // Pointer-range extremes stay representable.
    EXPECT_EQ(toolbar_origin({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX),
              (OverlayPoint{INT_MAX - 450, INT_MIN + 4}));
}

TEST(ToolbarLayout, ThirteenButtonsInOrderAndInclusiveHits) {
    const auto buttons = toolbar_layout({100, 200});
    const int32_t order[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 10, 11, 12};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(buttons[i], (ToolbarButton{106 + 34 * i, 206, 136 + 34 * i, 236, order[i]}));
    }
    EXPECT_EQ(buttons[12].right, 100 + 444);
    const std::vector<ToolbarButton> list(buttons.begin(), buttons.end());
    EXPECT_EQ(toolbar_hit(list, 106, 206), 1);
    EXPECT_EQ(toolbar_hit(list, 136, 236), 1); // right and bottom edges belong to it
    EXPECT_EQ(toolbar_hit(list, 140, 220), 2);
    EXPECT_EQ(toolbar_hit(list, 106 + 34 * 9, 220), 13);
    for (int gap : {137, 138, 139}) EXPECT_FALSE(toolbar_hit(list, gap, 220));
    EXPECT_FALSE(toolbar_hit(list, 105, 220)); // panel margin
    EXPECT_FALSE(toolbar_hit(list, 120, 237));
    EXPECT_FALSE(toolbar_hit({}, 120, 220));
}

TEST(Mosaic, CellsSnapTowardZeroAndStayInsideOnce) {
    EXPECT_EQ(mosaic_cell_at(25, 13), (OverlayRect{24, 12, 36, 24}));
    EXPECT_EQ(mosaic_cell_at(-5, -13), (OverlayRect{0, -12, 12, 0}));
    // Read as signed 16-bit, as a pointer position.
    EXPECT_EQ(mosaic_cell_at(65535, 0x12345), (OverlayRect{0, 0x2340, 12, 0x234C}));

    const OverlayRect sel{10, 10, 50, 40}; // edges off the grid: strips stay uncovered
    std::vector<OverlayRect> cells;
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 11, 11)); // cell 0..12 crosses the edge
    EXPECT_TRUE(add_mosaic_cell(cells, sel, 12, 12));
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 23, 23)); // same cell again
    EXPECT_TRUE(add_mosaic_cell(cells, sel, 36, 24));
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 48, 24)); // 48..60 passes the right edge
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 12, 36)); // 36..48 passes the bottom
    EXPECT_EQ(cells, (std::vector<OverlayRect>{{12, 12, 24, 24}, {36, 24, 48, 36}}));
    // Exactly fitting cells are admitted, at the selection's own edges.
    std::vector<OverlayRect> exact;
    EXPECT_TRUE(add_mosaic_cell(exact, {12, 12, 24, 24}, 12, 23));
}

TEST(Mosaic, CellColourIsTheSnapshotPixelAtItsCentre) {
    // A 24 x 12 snapshot at overlay (12, 24): left half pure red, right half B=1 G=2 R=3.
    std::vector<uint8_t> snap(24 * 12 * 4);
    for (int i = 0; i < 24 * 12; ++i) {
        const bool right = i % 24 >= 12;
        snap[i * 4 + 0] = right ? 1 : 0;
        snap[i * 4 + 1] = right ? 2 : 0;
        snap[i * 4 + 2] = right ? 3 : 255;
    }
    EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, {12, 24, 24, 36}), 0x0000FFu);
    EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, {24, 24, 36, 36}), 0x010203u);
    // Centres beyond the snapshot on any side, or no snapshot: grey, nothing read.
    for (OverlayRect out :
         {OverlayRect{0, 24, 12, 36}, OverlayRect{36, 24, 48, 36}, OverlayRect{12, 12, 24, 24},
          OverlayRect{12, 36, 24, 48}, OverlayRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}})
        EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, out), MOSAIC_FALLBACK_COLOR);
    EXPECT_EQ(mosaic_cell_color({}, 0, 0, 0, {0, 0, 12, 12}), MOSAIC_FALLBACK_COLOR);
}

constexpr double PI_6 = 0.5235987755982988;

TEST(ArrowHead, EquilateralAtTheReleasePoint) {
    // 200 px long at width 10: side 37; horizontal shaft, wings 30 degrees either side.
    auto head = arrow_head(0, 0, 200, 0, 10);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->apex, (OverlayPoint{200, 0}));
    const int32_t back = static_cast<int32_t>(200 - 37 * std::cos(PI_6));
    const int32_t half = static_cast<int32_t>(37 * std::sin(PI_6)); // 18.5 truncated
    EXPECT_EQ(head->wings[0], (OverlayPoint{back, half}));
    EXPECT_EQ(head->wings[1], (OverlayPoint{back, -half}));
    // 10 px long: side 4 whatever the width.
    head = arrow_head(0, 0, 0, 10, 10);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->wings[0].y, static_cast<int32_t>(10 - 4 * std::cos(PI_6)));
    // Shorter than a pixel: no head.
    EXPECT_FALSE(arrow_head(5, 5, 5, 5, 4));
    // The widest shaft: every coordinate stays inside i32.
    EXPECT_TRUE(arrow_head(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX));
    EXPECT_EQ(to_coordinate(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(to_coordinate(1e300), INT_MAX);
    EXPECT_EQ(to_coordinate(-1e300), INT_MIN);
    EXPECT_EQ(to_coordinate(-2.9), -2);
}

TEST(FinishMark, EachToolCommitsItsOwnShape) {
    const std::vector<OverlayPoint> one{{5, 5}}, two{{5, 5}, {9, 7}};
    const std::vector<OverlayRect> none, cell{{0, 0, 12, 12}};
    EXPECT_FALSE(finish_mark(AnnotationTool::Pen, {5, 5}, {5, 5}, one, none, 1, 4));
    auto pen = finish_mark(AnnotationTool::Pen, {5, 5}, {30, 30}, two, none, 0xFF00, 6);
    ASSERT_TRUE(pen);
    EXPECT_EQ(pen->points, two); // the release point is not added
    EXPECT_EQ(pen->color, 0xFF00u);
    EXPECT_EQ(pen->width, 6);
    auto arrow = finish_mark(AnnotationTool::Arrow, {5, 6}, {40, 2}, two, none, 1, 4);
    ASSERT_TRUE(arrow);
    EXPECT_EQ((std::array{arrow->x1, arrow->y1, arrow->x2, arrow->y2}), (std::array{5, 6, 40, 2}));
    auto box = finish_mark(AnnotationTool::Ellipse, {40, 6}, {5, 30}, two, none, 1, 4);
    ASSERT_TRUE(box);
    EXPECT_EQ((std::array{box->left, box->top, box->right, box->bottom}),
              (std::array{5, 6, 40, 30}));
    EXPECT_TRUE(finish_mark(AnnotationTool::Rectangle, {5, 5}, {5, 5}, one, none, 1, 4));
    EXPECT_FALSE(finish_mark(AnnotationTool::Mosaic, {5, 5}, {5, 5}, one, none, 1, 4));
    EXPECT_EQ(finish_mark(AnnotationTool::Mosaic, {5, 5}, {5, 5}, one, cell, 1, 4)->cells, cell);
    EXPECT_FALSE(finish_mark(AnnotationTool::Text, {5, 5}, {9, 9}, two, cell, 1, 4));
}

TEST(Widths, CycleAndTextSizes) {
    unsigned w = 1;
    const int32_t expected[] = {6, 10, 2, 4};
    for (int32_t pixels : expected) {
        w = next_width_index(w);
        EXPECT_EQ(stroke_width(w), pixels);
    }
    EXPECT_EQ(w, 1u); // four presses return to the start
    EXPECT_EQ(text_font_height(0), 24);
    EXPECT_EQ(text_font_height(3), 40);

    std::vector<Annotation> marks(2);
    marks[0].color = 1;
    marks[1].color = 2;
    EXPECT_TRUE(undo_last(marks));
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].color, 1u); // the newest went
    EXPECT_TRUE(undo_last(marks));
    EXPECT_FALSE(undo_last(marks));
}
