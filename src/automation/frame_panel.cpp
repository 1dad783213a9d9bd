#include "automation/frame_panel.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "automation/trimmed.h"
#include "checksum/checksum_rows.h"
#include "common/c_file.h"
#include "common/regular_file.h"
#include "common/utf8_path.h"
#include "resources/strings.h"
#include "common/fill_text.h"

namespace portprobe {

namespace {

constexpr std::string_view kTicked = "[x]";
constexpr std::string_view kUnticked = "[ ]";
constexpr std::string_view kBar = "|";
constexpr std::string_view kFullWidthBar = "\xEF\xBD\x9C";  // ｜
constexpr std::uint64_t kMaxPanelFileBytes = std::uint64_t{1} << 20;
constexpr std::string_view kFileHeading = resources::kPanelFileHeaderText;

bool IsLineBlank(char c) { return c == '\r' || c == '\n' || c == '\t'; }

// A row is one line: line ends and tabs in a name, between hex bytes or in a text that
// does not unescape become spaces. An escape there could pair with a lone backslash
// before it and turn the bad text into another, good one.
std::string OnOneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (IsLineBlank(c)) c = ' ';
  }
  return line;
}

std::string WithoutBars(std::string_view name) {
  std::string text;
  for (const char c : name) {
    if (c == '|') {
      text += kFullWidthBar;
    } else {
      text += c;
    }
  }
  return text;
}

// Whether the text, quoted on a line of its own, reads back as itself.
bool ReadsBackAsItself(std::string_view body) {
  if (std::ranges::any_of(body, IsLineBlank)) return false;
  const std::string quoted = "\"" + std::string(body) + "\"";
  const Expected<FrameParts> parts = SplitFrameText(quoted);
  return parts && parts->body == body;
}

// A text as the user wrote it where it reads back so; else one that unescapes in the one
// escaped form that gives the same bytes, and a bad one as it stands, so the import says why.
std::string QuotedText(std::string_view body) {
  if (ReadsBackAsItself(body)) return "\"" + std::string(body) + "\"";
  const Expected<ByteFrame> bytes = UnescapeText(body);
  return "\"" + (bytes ? EscapeText(*bytes) : OnOneLine(body)) + "\"";
}

// The frame as a file writes it.
std::string FrameText(const PanelRow& row) {
  std::string text = row.kind == FrameKind::Text ? QuotedText(row.body) : OnOneLine(Trimmed(row.body));
  if (row.checksumRow) text += " +" + std::string(ChecksumRows()[static_cast<std::size_t>(*row.checksumRow)].cliName);
  return text;
}

Expected<int> ParseDelay(std::string_view text) {
  text = Trimmed(text);
  int delay = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), delay);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || delay < 0 || delay > kMaxPanelDelay) {
    return Failure{FillText(resources::kPanelDelayReason, {std::to_string(kMaxPanelDelay), text})};
  }
  return delay;
}

// Spaces are a text's own bytes; only a hex body of blanks holds nothing.
bool NoBody(const PanelRow& row) { return row.kind == FrameKind::Hex ? Trimmed(row.body).empty() : row.body.empty(); }

// An unfinished frame kept as it stands: a quoted one stays text, its body up to the
// last quote (which the file wrote), when what follows reads as a checksum.
void KeepUnfinishedFrame(PanelRow& row, std::string_view frame) {
  row.body = frame;
  const std::size_t close = frame.rfind('"');
  if (frame.front() != '"' || close == 0) return;
  const Expected<FrameParts> suffix = SplitFrameText("\"\"" + std::string(frame.substr(close + 1)));
  if (!suffix) return;
  row.kind = FrameKind::Text;
  row.body = frame.substr(1, close - 1);
  row.checksumRow = suffix->checksumRow;
}

}  // namespace

bool PanelRow::Blank() const { return Trimmed(name).empty() && NoBody(*this); }

Expected<ByteFrame> PanelRow::Frame() const {
  if (NoBody(*this)) return Failure{resources::kNoFrameReason};
  return BuildFrame(kind, body, checksumRow);
}

std::string FormatPanelRow(const PanelRow& row) {
  std::string line(row.ticked ? kTicked : kUnticked);
  if (!Trimmed(row.name).empty()) line += " " + WithoutBars(OnOneLine(row.name));
  line += " | " + std::to_string(row.delayMilliseconds) + " |";
  if (row.kind == FrameKind::Text || !NoBody(row) || row.checksumRow) line += " " + FrameText(row);
  return line;
}

Expected<PanelRow> ParsePanelRow(std::string_view line, PanelFrames frames) {
  line = Trimmed(line);
  PanelRow row;
  row.ticked = line.starts_with(kTicked) || line.starts_with("[X]");
  if (!row.ticked && !line.starts_with(kUnticked)) return Failure{resources::kPanelTickReason};
  line.remove_prefix(kTicked.size());
  const std::size_t nameEnd = line.find(kBar);
  const std::size_t delayEnd = nameEnd == std::string_view::npos ? nameEnd : line.find(kBar, nameEnd + 1);
  if (delayEnd == std::string_view::npos) return Failure{resources::kPanelRowFormReason};
  row.name = Trimmed(line.substr(0, nameEnd));
  const Expected<int> delay = ParseDelay(line.substr(nameEnd + 1, delayEnd - nameEnd - 1));
  if (!delay) return Failure{delay.Reason()};
  row.delayMilliseconds = *delay;
  const std::string_view frame = Trimmed(line.substr(delayEnd + 1));
  if (frame.empty()) return row;
  const Expected<FrameParts> parts = SplitFrameText(frame);
  if (parts) {
    row.kind = parts->kind;
    row.body = parts->body;
    row.checksumRow = parts->checksumRow;
  } else if (frames == PanelFrames::Unchecked) {
    KeepUnfinishedFrame(row, frame);
  } else {
    return Failure{parts.Reason()};
  }
  if (frames == PanelFrames::Checked) {
    if (const Expected<ByteFrame> bytes = row.Frame(); !bytes) return Failure{bytes.Reason()};
  }
  return row;
}

PanelFile ParsePanelFile(std::string_view text, PanelFrames frames) {
  PanelFile file;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == '#') continue;
    Expected<PanelRow> row = ParsePanelRow(line, frames);
    if (row && file.rows.size() == kMaxPanelRows)
      row = Failure{FillText(resources::kPanelTooManyRowsReason, {std::to_string(kMaxPanelRows)})};
    if (row) {
      file.rows.push_back(std::move(*row));
    } else {
      file.errors.push_back({lineNumber, row.Reason()});
    }
  }
  return file;
}

std::string FormatPanelFile(std::span<const PanelRow> rows) {
  while (!rows.empty() && rows.back().Blank()) rows = rows.first(rows.size() - 1);
  std::string text(kFileHeading);
  for (const PanelRow& row : rows) text += FormatPanelRow(row) + "\n";
  return text;
}

Expected<PanelFile> LoadPanelFile(const std::string& path) {
  const Expected<std::string> text = ReadTextFile(path, kMaxPanelFileBytes);
  if (!text) return Failure{text.Reason()};
  return ParsePanelFile(*text, PanelFrames::Checked);
}

// Written beside the file and then put in its place, so that a failed write leaves the
// file that was there as it was.
Outcome SavePanelFile(const std::string& path, std::span<const PanelRow> rows) {
  const std::string text = FormatPanelFile(rows);
  const std::string part = path + ".part";
  CFile file = OpenCFile(part, "wb");
  if (!file) return Failure{std::strerror(errno)};
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  const bool closed = std::fclose(file.release()) == 0;
  std::error_code error(errno, std::generic_category());
  // std::rename would refuse to replace a file on Windows; this one replaces it everywhere.
  if (closed && written) std::filesystem::rename(PathFromUtf8(part), PathFromUtf8(path), error);
  if (!closed || !written || error) {
    std::error_code ignored;
    std::filesystem::remove(PathFromUtf8(part), ignored);
    return Failure{error.message()};
  }
  return Done{};
}

}  // namespace portprobe
