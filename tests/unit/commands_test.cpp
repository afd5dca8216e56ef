// Which command each overlay key runs.
#include <gtest/gtest.h>

#include "capture/overlay/commands.h"
#include "capture/overlay/toolbar.h"

TEST(KeyCommand, EscAndEnterWhateverCtrlShortcutsOnlyWithIt) {
    for (bool ctrl : {false, true}) {
        for (bool live : {false, true}) {
            EXPECT_EQ(key_command(0x1B, ctrl, live), TOOLBAR_CLOSE);
            // Enter copies only once the toolbar is live.
            EXPECT_EQ(key_command(0x0D, ctrl, live),
                      live ? std::optional<ToolbarCommand>(TOOLBAR_COPY) : std::nullopt);
            // Before a selection Ctrl+C and Ctrl+P still run; copy and pin find nothing.
            EXPECT_EQ(key_command('C', ctrl, live),
                      ctrl ? std::optional<ToolbarCommand>(TOOLBAR_COPY) : std::nullopt);
            EXPECT_EQ(key_command('P', ctrl, live),
                      ctrl ? std::optional<ToolbarCommand>(TOOLBAR_PIN) : std::nullopt);
            EXPECT_EQ(key_command('Z', ctrl, live),
                      ctrl ? std::optional<ToolbarCommand>(TOOLBAR_UNDO) : std::nullopt);
        }
    }
    // No shortcut for Save, none for the lower-case letters' codes, nothing else.
    for (uint32_t key : {uint32_t{'S'}, uint32_t{'c'}, uint32_t{'V'}, uint32_t{0x20}, uint32_t{0}})
        EXPECT_FALSE(key_command(key, true, true)) << key;
}
