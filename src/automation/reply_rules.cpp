#include "automation/reply_rules.h"

#include "automation/frame_text.h"
#include "automation/trimmed.h"
#include "checksum/checksum_rows.h"
#include "codec/hex_codec.h"
#include "common/fill_text.h"
#include "common/regular_file.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

// Enough to find the mistakes of a rules file; a binary file would give thousands.
constexpr std::size_t kMaxErrorLines = 20;

// Far more than any rules file a person writes; a larger file is surely not one.
constexpr std::uint64_t kMaxRulesFileBytes = std::uint64_t{1} << 20;

Expected<std::vector<std::int16_t>> ParsePattern(std::string_view text) {
  std::vector<std::int16_t> pattern;
  std::size_t i = 0;
  while (true) {
    i = text.find_first_not_of(kBlanks, i);
    if (i == std::string_view::npos) break;
    const std::size_t end = std::min(text.find_first_of(kBlanks, i), text.size());
    const std::string_view word = text.substr(i, end - i);
    i = end;
    if (word == "??") {
      pattern.push_back(ReplyRule::kAnyByte);
      continue;
    }
    const Expected<ByteFrame> byte = ParseStrictHex(word);
    if (!byte) return Failure{resources::kRulePatternReason + byte.Reason()};
    pattern.push_back(static_cast<std::int16_t>((*byte)[0]));
  }
  if (pattern.empty()) return Failure{resources::kRuleEmptyPatternReason};
  return pattern;
}

}  // namespace

// A "#" inside a quoted reply is text.
std::string_view RuleTextOfLine(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (quoted && line[i] == '\\')
      ++i;
    else if (line[i] == '"')
      quoted = !quoted;
    else if (!quoted && line[i] == '#')
      return Trimmed(line.substr(0, i));
  }
  return Trimmed(line);
}

bool ReplyRule::Matches(std::span<const std::uint8_t> block) const {
  const std::size_t checksum = requestChecksum ? BuiltInChecksumLength(*requestChecksum) : 0;
  if (block.size() < pattern.size() + checksum) return false;
  if (requestChecksum && !EndsWithBuiltInChecksum(block, *requestChecksum)) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != kAnyByte && pattern[i] != block[i]) return false;
  }
  return true;
}

Expected<ReplyRule> ParseReplyRule(std::string_view line) {
  const std::string_view text = Trimmed(line);
  const std::size_t arrow = text.find(kReplyRuleArrow);
  if (arrow == std::string_view::npos) return Failure{resources::kRuleMissingArrowReason};
  const std::string_view patternText = text.substr(0, arrow);
  const std::size_t plus = std::min(patternText.find('+'), patternText.size());
  const Expected<std::optional<int>> checksum = ParseChecksumSuffix(patternText.substr(plus));
  if (!checksum) return Failure{resources::kRulePatternReason + checksum.Reason()};
  Expected<std::vector<std::int16_t>> pattern = ParsePattern(patternText.substr(0, plus));
  if (!pattern) return Failure{pattern.Reason()};
  Expected<ByteFrame> reply = ParseFrameText(text.substr(arrow + kReplyRuleArrow.size()));
  if (!reply) return Failure{resources::kRuleReplyReason + reply.Reason()};
  if (reply->empty()) return Failure{resources::kRuleNoReplyReason};
  return ReplyRule{std::move(*pattern), std::move(*reply), std::string(text), 0, *checksum};
}

RuleFile ParseReplyRules(std::string_view text) {
  RuleFile file;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = RuleTextOfLine(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty()) continue;
    Expected<ReplyRule> rule = ParseReplyRule(line);
    if (!rule) {
      file.errors.push_back({lineNumber, rule.Reason()});
      continue;
    }
    rule->lineNumber = lineNumber;
    file.rules.push_back(std::move(*rule));
  }
  return file;
}

std::vector<std::string> RuleErrorLines(const std::string& path, const std::vector<RuleFileError>& errors) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < std::min(errors.size(), kMaxErrorLines); ++i) {
    lines.push_back(TerminalSafeText(path + ":" + std::to_string(errors[i].lineNumber) + ": " + errors[i].reason));
  }
  if (errors.size() > kMaxErrorLines) {
    lines.push_back(FillText(resources::kMoreErrorLinesText, {std::to_string(errors.size() - kMaxErrorLines)}));
  }
  return lines;
}

Expected<RuleFile> LoadReplyRules(const std::string& path) {
  Expected<std::string> text = ReadTextFile(path, kMaxRulesFileBytes);
  if (!text) return Failure{text.Reason()};
  return ParseReplyRules(*text);
}

void AutoReplies::SetRules(std::vector<ReplyRule> rules) {
  rules_ = std::move(rules);
  hits_.assign(rules_.size(), 0);
}

const ReplyRule* AutoReplies::Answer(std::span<const std::uint8_t> block) {
  if (!enabled_) return nullptr;
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    if (!rules_[i].Matches(block)) continue;
    ++hits_[i];
    return &rules_[i];
  }
  return nullptr;
}

void AutoReplies::ResetHits() { hits_.assign(rules_.size(), 0); }

}  // namespace portprobe
