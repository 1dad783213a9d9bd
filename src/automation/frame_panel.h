#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/frame_text.h"
#include "common/byte_frame.h"
#include "common/expected.h"

namespace portprobe {

// The multi-frame send panel shows at least this many rows; a file may bring more.
inline constexpr std::size_t kPanelRowCount = 50;
// Far more than anyone keeps in one panel; a larger file is surely no panel file.
inline constexpr std::size_t kMaxPanelRows = 1000;
inline constexpr int kDefaultPanelDelay = 1000;
inline constexpr int kMaxPanelDelay = 3600000;

// One row of the panel.
struct PanelRow {
  bool ticked = false;
  std::string name;
  FrameKind kind = FrameKind::Hex;
  // As the user writes it: hex bytes, or text with its escapes and without quotes.
  std::string body;
  // A built-in checksum row appended on send.
  std::optional<int> checksumRow;
  // The pause after this row's send before the next row of a run.
  int delayMilliseconds = kDefaultPanelDelay;

  bool operator==(const PanelRow&) const = default;

  // Neither a name nor a frame: a row nobody filled in.
  bool Blank() const;
  // The bytes the row sends. Text is sent as UTF-8, as a panel file holds it; other
  // bytes are written with \xHH. A row without a frame has nothing to send.
  Expected<ByteFrame> Frame() const;
};

// One row as a line of a panel file:
//   [x] 读保持寄存器 | 300 | 01 03 00 00 00 03 +crc16-modbus
//   [ ] 问候 | 100 | "AT\r\n"
// A "|" in the name is written as a full-width "｜", since "|" ends the name.
std::string FormatPanelRow(const PanelRow& row);
// How a panel file's frames are read: an import checks them; remembered rows keep a
// frame the user has not finished, one that cannot even be taken apart as a hex body
// holding all its text, so that nothing typed is lost.
enum class PanelFrames { Checked, Unchecked };

// A line read back.
Expected<PanelRow> ParsePanelRow(std::string_view line, PanelFrames frames);

struct PanelFileError {
  int lineNumber = 0;  // from 1
  std::string reason;
};

// A panel file: one row a line; blank lines and lines that start with "#" are passed
// over. Every bad line is reported with its number.
struct PanelFile {
  std::vector<PanelRow> rows;
  std::vector<PanelFileError> errors;
};
PanelFile ParsePanelFile(std::string_view text, PanelFrames frames);
// The rows up to the last one that is not blank, after a comment that names the layout,
// so that blank rows in between keep their places.
std::string FormatPanelFile(std::span<const PanelRow> rows);

// The file the user chose to import, every frame checked.
Expected<PanelFile> LoadPanelFile(const std::string& path);
Outcome SavePanelFile(const std::string& path, std::span<const PanelRow> rows);

}  // namespace portprobe
