#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_frame.h"
#include "common/expected.h"

namespace portprobe {

// One automatic reply, written "PATTERN -> REPLY": PATTERN is hex bytes where "??"
// stands for any byte, optionally followed by "+NAME": the block must then end in that
// checksum of the bytes before it, as a real device drops a request with a bad CRC.
// REPLY is a frame as ParseFrameText reads it (hex or "text", optionally "+NAME" for a
// checksum).
struct ReplyRule {
  static constexpr std::int16_t kAnyByte = -1;

  std::vector<std::int16_t> pattern;  // byte values, or kAnyByte
  ByteFrame reply;
  std::string text;     // the rule as written, trimmed
  int lineNumber = 0;   // in its file, from 1; 0 when it came from no file
  std::optional<int> requestChecksum;  // the built-in row the block must end in

  // The block's first bytes are the pattern's, followed by its checksum when the
  // rule asks for one.
  bool Matches(std::span<const std::uint8_t> block) const;
};

// What stands between a rule's pattern and its reply.
inline constexpr std::string_view kReplyRuleArrow = "->";

Expected<ReplyRule> ParseReplyRule(std::string_view line);

// What a rules file reads as a rule in one of its lines: the line without its comment,
// trimmed; empty for a blank or comment line.
std::string_view RuleTextOfLine(std::string_view line);

struct RuleFileError {
  int lineNumber = 0;
  std::string reason;
};

// A rules file: one rule a line; "#" starts a comment, blank lines are passed over.
// Every line that is no rule is reported with its number; the good rules are kept.
struct RuleFile {
  std::vector<ReplyRule> rules;
  std::vector<RuleFileError> errors;
};

// The errors of the rules file at `path` as lines for a terminal ("path:N: reason"),
// escaped, the first 20 of them and then how many more there are.
std::vector<std::string> RuleErrorLines(const std::string& path, const std::vector<RuleFileError>& errors);
RuleFile ParseReplyRules(std::string_view text);
// Reads a rules file; fails when it cannot be read.
Expected<RuleFile> LoadReplyRules(const std::string& path);

// The rules in force: the first rule that matches a received block answers it, and
// every rule counts its answers.
class AutoReplies {
 public:
  void SetRules(std::vector<ReplyRule> rules);
  const std::vector<ReplyRule>& Rules() const { return rules_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }

  // The rule that answers the block, its hit counted; null when switched off or when
  // no rule matches.
  const ReplyRule* Answer(std::span<const std::uint8_t> block);
  std::int64_t Hits(std::size_t rule) const { return hits_.at(rule); }
  void ResetHits();

 private:
  std::vector<ReplyRule> rules_;
  std::vector<std::int64_t> hits_;
  bool enabled_ = true;
};

}  // namespace portprobe
