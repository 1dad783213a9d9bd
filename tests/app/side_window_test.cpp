// Where the windows of their own stand: beside the main window where the screen has
// room, and never over its tools-menu button.
#include "app/side_window.h"

#include <QScreen>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "app/send_panel.h"
#include "app/reply_rules_window.h"
#include "app/tools_menu.h"
#include "support/ports_first.h"
#include "resources/control_ids.h"

namespace portprobe {
namespace {

TEST(PlaceBeside, TakesTheRightThenTheLeftThenKeepsTheButtonClear) {
  const QRect main(100, 50, 600, 480);
  const QRect button(640, 490, 50, 30);
  const QSize size(300, 400);
  EXPECT_EQ(PlaceBeside(main, size, QRect(0, 0, 1100, 800), button), QPoint(708, 50));
  EXPECT_EQ(PlaceBeside(main, size, QRect(-300, 0, 1000, 800), button), QPoint(-208, 50));
  // No room on either side: as far right as the screen allows, but above the button.
  const QPoint above = PlaceBeside(main, size, QRect(0, 0, 800, 800), button);
  EXPECT_FALSE(QRect(above, size).intersects(button));
  EXPECT_EQ(above.x(), 500);
  // Too tall to stand above it: left of it.
  const QSize tall(300, 700);
  const QPoint left = PlaceBeside(main, tall, QRect(0, 0, 800, 800), button);
  EXPECT_FALSE(QRect(left, tall).intersects(button));
  EXPECT_GE(left.y(), 0);
  // A window taller than the screen still starts on it.
  EXPECT_EQ(PlaceBeside(main, QSize(300, 900), QRect(0, 0, 1100, 800), button).y(), 0);
}

// On the offscreen screen no window fits beside the main one: the panel and the rules
// window, opened from the tools menu, leave its "Menu" button in sight.
TEST(SideWindows, NeverCoverTheToolsMenuButton) {
  testing::ScriptedPrompter prompter;
  MainDialog dialog(prompter, testing::PortsFirst({}));
  testing::ShowActive(dialog);
  const QWidget* button = dialog.Button(resources::kMenuButton);
  const QRect clear(button->mapToGlobal(QPoint(0, 0)), button->size());
  testing::ChooseTool(dialog, prompter, tools::kSendPanel);
  testing::ChooseTool(dialog, prompter, tools::kReplies);
  for (const QWidget* window : {static_cast<const QWidget*>(dialog.SendPanelWindow()),
                                static_cast<const QWidget*>(dialog.RepliesWindow())}) {
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_FALSE(window->frameGeometry().intersects(clear)) << window->metaObject()->className();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry().topLeft()));
  }
}

}  // namespace
}  // namespace portprobe
