#pragma once

#include <cstddef>
#include <vector>

namespace portprobe::parser {

struct LoopEntry {
  bool isFor = false;
  int head = 0;     // the while or for line
  int bodyEnd = 0;  // the last line of its body
};

// The live loops of one function activation, in the order they were entered.
class LoopTable {
 public:
  static constexpr std::size_t kCapacity = 10;

  bool IsFull() const { return entries_.size() == kCapacity; }
  // Ends the loops whose range does not hold the line: left by a jump or a skip.
  void Prune(int line);
  // Head of the first loop whose body ends at the line, or -1. A while entry is removed
  // (its head appends it again while the condition holds); a for entry stays, telling
  // the for statement that its init part is done.
  int LoopBack(int line);
  // Index of the first entry with that head line, or -1.
  int FindByHead(int line) const;
  // Callers check IsFull first.
  void Append(const LoopEntry& entry) { entries_.push_back(entry); }

 private:
  std::vector<LoopEntry> entries_;
};

}  // namespace portprobe::parser
