// How a press, drag and release become a mark; the stroke widths.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "capture/marks/annotation.h"

TEST(FinishMark, EachToolCommitsItsOwnShape) {
    const std::vector<PixelPoint> one{{5, 5}}, two{{5, 5}, {9, 7}};
    const std::vector<PixelRect> none, cell{{0, 0, 12, 12}};
    EXPECT_FALSE(finish_mark(AnnotationTool::Pen, {5, 5}, {5, 5}, one, none, 1, 4));
    auto pen = finish_mark(AnnotationTool::Pen, {5, 5}, {30, 30}, two, none, 0xFF00, 6);
    ASSERT_TRUE(pen);
    EXPECT_EQ(pen->points, two); // the release point is not added
    EXPECT_EQ(pen->color, 0xFF00u);
    EXPECT_EQ(pen->width, 6);
    auto arrow = finish_mark(AnnotationTool::Arrow, {5, 6}, {40, 2}, two, none, 1, 4);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->tail, (PixelPoint{5, 6}));
    EXPECT_EQ(arrow->head, (PixelPoint{40, 2}));
    auto box = finish_mark(AnnotationTool::Ellipse, {40, 6}, {5, 30}, two, none, 1, 4);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->bounds, (PixelRect{5, 6, 40, 30}));
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
