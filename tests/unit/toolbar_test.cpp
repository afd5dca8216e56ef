// Where the overlay toolbar stands and which button a press hits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "capture/overlay/toolbar.h"

TEST(ToolbarOrigin, BelowAboveOrInsideAndRightAligned) {
    // Room below: 8 px under the selection, right edges aligned.
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 400}, 1080), (PixelPoint{550, 408}));
    // Bottom within 50 px of the screen's bottom: 50 px above the top.
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 1031}, 1080), (PixelPoint{550, 50}));
    EXPECT_EQ(toolbar_origin({500, 100, 1000, 1030}, 1080), (PixelPoint{550, 1038}));
    // Neither fits: inside, 4 px under the top.
    EXPECT_EQ(toolbar_origin({500, 49, 1000, 1080}, 1080), (PixelPoint{550, 53}));
    EXPECT_EQ(toolbar_origin({500, 50, 1000, 1080}, 1080), (PixelPoint{550, 0}));
    // Left edge: pushed right to 0, never moved back at the right edge.
    EXPECT_EQ(toolbar_origin({10, 10, 450, 100}, 1080).x, 0);
    EXPECT_EQ(toolbar_origin({10, 10, 451, 100}, 1080).x, 1);
    EXPECT_EQ(toolbar_origin({1800, 10, 3000, 100}, 1080).x, 2550);
    // Pointer-range extremes stay representable.
    EXPECT_EQ(toolbar_origin({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX),
              (PixelPoint{INT_MAX - 450, INT_MIN + 4}));
}

TEST(ToolbarLayout, ThirteenButtonsInOrderAndInclusiveHits) {
    const auto buttons = toolbar_layout({100, 200});
    const ToolbarCommand order[] = {
        TOOLBAR_PEN,    TOOLBAR_ARROW, TOOLBAR_RECTANGLE, TOOLBAR_ELLIPSE, TOOLBAR_TEXT,
        TOOLBAR_MOSAIC, TOOLBAR_COLOR, TOOLBAR_WIDTH,     TOOLBAR_UNDO,    TOOLBAR_PIN,
        TOOLBAR_COPY,   TOOLBAR_SAVE,  TOOLBAR_CLOSE};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(buttons[i], (ToolbarButton{106 + 34 * i, 206, 136 + 34 * i, 236, order[i]}));
    }
    EXPECT_EQ(buttons[12].right, 100 + 444);
    const std::vector<ToolbarButton> list(buttons.begin(), buttons.end());
    EXPECT_EQ(toolbar_hit(list, 106, 206), TOOLBAR_PEN);
    EXPECT_EQ(toolbar_hit(list, 136, 236), TOOLBAR_PEN); // right and bottom edges belong to it
    EXPECT_EQ(toolbar_hit(list, 140, 220), TOOLBAR_ARROW);
    EXPECT_EQ(toolbar_hit(list, 106 + 34 * 9, 220), TOOLBAR_PIN);
    for (int gap : {137, 138, 139}) EXPECT_FALSE(toolbar_hit(list, gap, 220));
    EXPECT_FALSE(toolbar_hit(list, 105, 220)); // panel margin
    EXPECT_FALSE(toolbar_hit(list, 120, 237));
    EXPECT_FALSE(toolbar_hit({}, 120, 220));
}

TEST(ToolbarTools, TheFirstSixButtonsPickTheSixToolsOneEachAndTheRestNone) {
    for (size_t i = 0; i < TOOLBAR_ORDER.size(); ++i) {
        const std::optional<AnnotationTool> tool = command_tool(TOOLBAR_ORDER[i]);
        EXPECT_EQ(tool.has_value(), i < 6) << i;
        if (!tool) continue;
        // AnnotationTool counts in toolbar order from Pen = 0.
        EXPECT_EQ(static_cast<size_t>(*tool), i);
        EXPECT_EQ(tool_command(*tool), TOOLBAR_ORDER[i]);
    }
}
