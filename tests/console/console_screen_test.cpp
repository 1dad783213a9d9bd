#include "console/console_screen.h"

#include <gtest/gtest.h>

#include <string>

namespace portprobe {
namespace {

std::u32string RowText(const ConsoleScreen& screen, int row) {
  std::u32string text;
  for (int column = 0; column < screen.Columns(); ++column) {
    const ConsoleCell cell = screen.Cell(row, column);
    if (cell.width > 0) text += cell.text.empty() ? U" " : cell.text;
  }
  return text.substr(0, text.find_last_not_of(U' ') + 1);
}

std::u32string LineText(const ConsoleLine& line) {
  std::u32string text;
  for (const ConsoleCell& cell : line) text += cell.text.empty() ? U" " : cell.text;
  return text.substr(0, text.find_last_not_of(U' ') + 1);
}

bool Reddish(const ConsoleColour& colour) {
  return !colour.isDefault && colour.red > 128 && colour.green < 100 && colour.blue < 100;
}

// What a shell and a full-screen program send: colours (16 and 256), cursor moves,
// erases, a sequence split between two reads, line ends, a wide character, and a query
// that the screen answers.
TEST(ConsoleScreen, InterpretsWhatADeviceSends) {
  ConsoleScreen screen(24, 80);
  screen.Feed("\x1b[31mRED\x1b[0m ok\r\n");
  EXPECT_EQ(RowText(screen, 0), U"RED ok");
  EXPECT_TRUE(Reddish(screen.Cell(0, 0).foreground));
  EXPECT_TRUE(Reddish(screen.Cell(0, 2).foreground));
  EXPECT_TRUE(screen.Cell(0, 4).foreground.isDefault);

  screen.Feed("\x1b[3");  // split inside the sequence
  screen.Feed("8;5;196;1mX\x1b[0m");
  EXPECT_TRUE(Reddish(screen.Cell(1, 0).foreground));
  EXPECT_TRUE(screen.Cell(1, 0).bold);

  screen.Feed("\x1b[5;10HY\x1b[7mZ\x1b[0m");
  EXPECT_EQ(screen.Cell(4, 9).text, U"Y");
  EXPECT_TRUE(screen.Cell(4, 10).reverse);
  EXPECT_EQ(screen.CursorPlace().row, 4);
  EXPECT_EQ(screen.CursorPlace().column, 11);

  screen.Feed("\xe4\xb8\xad\xe6");  // 中 and half of 文
  screen.Feed("\x96\x87");
  EXPECT_EQ(screen.Cell(4, 11).text, U"中");
  EXPECT_EQ(screen.Cell(4, 11).width, 2);
  EXPECT_EQ(screen.Cell(4, 12).width, 0);
  EXPECT_EQ(screen.Cell(4, 13).text, U"文");

  screen.Feed("ab\bc\x1b[K");  // backspace, then erase to the end of the line
  EXPECT_EQ(RowText(screen, 4), U"         YZ中文ac");
  EXPECT_EQ(screen.Feed("\x1b[6n"), "\x1b[5;18R");  // where the cursor is, as vttest asks
  screen.Feed("\a");
  EXPECT_TRUE(screen.TakeBell());
  EXPECT_FALSE(screen.TakeBell());
  screen.Feed("\x1b[2J");
  EXPECT_EQ(RowText(screen, 0), U"");
  EXPECT_EQ(RowText(screen, 4), U"");
}

// Each class of key as a terminal sends it; a paste is bracketed only once the device
// asked for it.
TEST(ConsoleScreen, TurnsKeysIntoTheBytesOfATerminal) {
  ConsoleScreen screen(24, 80);
  EXPECT_EQ(screen.CharacterBytes(U'c', {.ctrl = true}), "\x03");
  EXPECT_EQ(screen.CharacterBytes(U'x', {.alt = true}), "\x1bx");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Backspace, {}), "\x7f");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Tab, {}), "\t");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Escape, {}), "\x1b");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Up, {}), "\x1b[A");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Left, {.ctrl = true}), "\x1b[1;5D");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Delete, {}), "\x1b[3~");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::PageDown, {}), "\x1b[6~");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::F1, {}), "\x1bOP");
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::F12, {}), "\x1b[24~");
  screen.Feed("\x1b[?1h");  // application cursor keys, as vi and less ask
  EXPECT_EQ(screen.KeyBytes(ConsoleKey::Up, {}), "\x1bOA");

  EXPECT_EQ(screen.PasteBytes("ls -l\n"), "ls -l\n");
  screen.Feed("\x1b[?2004h");
  EXPECT_EQ(screen.PasteBytes("ls -l\n"), "\x1b[200~ls -l\n\x1b[201~");
}

// Lines that scroll off the top are kept, oldest first, up to the limit; a taller
// screen takes the newest of them back, and the alternate screen keeps none.
TEST(ConsoleScreen, KeepsScrolledLinesUpToItsLimit) {
  ConsoleScreen screen(3, 20, 5);
  for (int i = 0; i < 20; ++i) screen.Feed("line " + std::to_string(i) + "\r\n");
  ASSERT_EQ(screen.ScrollbackSize(), 5u);
  EXPECT_EQ(LineText(screen.ScrollbackLine(0)), U"line 13");
  EXPECT_EQ(LineText(screen.ScrollbackLine(4)), U"line 17");
  EXPECT_EQ(RowText(screen, 0), U"line 18");

  screen.Resize(5, 30);
  EXPECT_EQ(screen.Rows(), 5);
  EXPECT_EQ(screen.Columns(), 30);
  EXPECT_EQ(screen.ScrollbackSize(), 3u);
  EXPECT_EQ(RowText(screen, 0), U"line 16");
  EXPECT_EQ(RowText(screen, 2), U"line 18");

  screen.Feed("\x1b[?1049h");
  for (int i = 0; i < 10; ++i) screen.Feed("full screen\r\n");
  EXPECT_EQ(screen.ScrollbackSize(), 3u);
  screen.Feed("\x1b[?1049l");
  EXPECT_EQ(RowText(screen, 2), U"line 18");
}

}  // namespace
}  // namespace portprobe
