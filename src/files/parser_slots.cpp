#include "files/parser_slots.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/c_file.h"
#include "common/regular_file.h"
#include "common/utf8_path.h"
#include "files/parser_script_file.h"
#include "files/text_line_reader.h"

namespace portprobe {

namespace {

// List-file lines are paths of at most this many bytes; longer ones arrive in pieces
// that fail to load.
constexpr std::size_t kMaxListLine = 512;

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

bool ParserSlots::LoadParserScript(const std::string& path, int slot) {
  FreeParserSlot(slot);
  Expected<std::string> text = ReadParserScriptFile(PathFromUtf8(path));
  if (!text) {
    loadFailure_ = text.Reason();
    return false;
  }
  slots_[slot] = {path, std::move(*text), true};
  return true;
}

void ParserSlots::FreeParserSlot(int slot) { slots_[slot] = {}; }

ParserSlots::LoadOutcome ParserSlots::LoadChosenScript(const std::string& path) {
  for (int i = 0; i < count_; ++i) {
    if (slots_[i].loaded && SamePathIgnoringCase(slots_[i].name, path)) {
      return LoadParserScript(path, i) ? LoadOutcome::Reloaded : LoadOutcome::ReloadFailed;
    }
  }
  if (!LoadParserScript(path, count_)) return LoadOutcome::Failed;
  ++count_;
  return LoadOutcome::Loaded;
}

Outcome ParserSlots::RestoreFromList(const std::string& listPath) {
  std::error_code error;
  if (count_ > 0 || !std::filesystem::exists(PathFromUtf8(listPath), error)) return Done{};
  Expected<RegularFile> list = OpenRegularFile(listPath, kMaxParserListBytes);
  if (!list) return Failure{list.Reason()};
  SkipByteOrderMark(*list);
  TextLineReader reader(list->stream.get(), kMaxParserListBytes);
  while (!Full()) {
    const std::string line = reader.ReadTextLine(kMaxListLine);
    if (line.empty()) break;
    if (LoadParserScript(line, count_)) ++count_;
  }
  return Done{};
}

void ParserSlots::TakeOverList(const std::string& oldPath, const std::string& listPath) {
  std::error_code error;
  const std::filesystem::path oldList = PathFromUtf8(oldPath);
  const std::filesystem::path list = PathFromUtf8(listPath);
  if (std::filesystem::exists(list, error) || !std::filesystem::is_regular_file(oldList, error)) return;
  std::filesystem::copy_file(oldList, list, error);  // a list that cannot be copied is simply not restored
}

bool ParserSlots::AppendToList(const std::string& listPath, const std::string& path) {
  CFile list = OpenCFile(listPath, "a+b");
  if (!list) return false;
  const std::string line = path + "\r\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), list.get()) == line.size();
  return std::fclose(list.release()) == 0 && written;
}

}  // namespace portprobe
