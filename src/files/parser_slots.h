#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/expected.h"

namespace portprobe {

// One loaded packet-parser script: the path it came from and its text. A slot whose
// reload failed stays counted with neither.
struct ParserSlot {
  std::string name;
  std::string text;
  bool loaded = false;
};

// The eight parser scripts of the tools menu, in the order they were loaded, and the
// list file that brings them back at the next start.
class ParserSlots {
 public:
  static constexpr int kCapacity = 8;
  // The largest list file that is read.
  static constexpr std::uint64_t kMaxParserListBytes = 1 << 20;

  int ParserCount() const { return count_; }
  bool Full() const { return count_ >= kCapacity; }
  const ParserSlot& Slot(int index) const { return slots_[index]; }

  enum class LoadOutcome {
    Loaded,        // into a new slot
    Reloaded,      // the same path again (compared without regard to case), same slot
    ReloadFailed,  // the same path again, which no longer loads: the slot stays empty
    Failed,
  };
  // What the menu's load command does with a chosen file. The caller checks Full() first.
  LoadOutcome LoadChosenScript(const std::string& path);
  // Why the last script that failed to load could not be read.
  const std::string& LoadFailure() const { return loadFailure_; }

  // While nothing is loaded, loads the scripts that the list file names, skipping
  // those that no longer load, up to the capacity. A missing list file is no error;
  // a list that is no regular file or too large is a Failure.
  Outcome RestoreFromList(const std::string& listPath);
  // Copies a list file from its old place to listPath unless listPath exists already,
  // so the old list is read once and then left alone.
  static void TakeOverList(const std::string& oldPath, const std::string& listPath);
  // Adds a path to the list file; false when the file cannot be written.
  static bool AppendToList(const std::string& listPath, const std::string& path);

 private:
  bool LoadParserScript(const std::string& path, int slot);
  void FreeParserSlot(int slot);

  std::array<ParserSlot, kCapacity> slots_;
  int count_ = 0;
  std::string loadFailure_;
};

}  // namespace portprobe
