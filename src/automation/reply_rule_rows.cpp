#include "automation/reply_rule_rows.h"

#include <algorithm>

#include "automation/trimmed.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

std::string RowText(const ReplyRuleRow& row) {
  return row.pattern + " " + std::string(kReplyRuleArrow) + " " + row.reply;
}

// The rule of a row as a rules file reads the line that RowsText writes for it, so the
// table never shows in force what a saved file would read differently or not at all.
Expected<ReplyRule> RuleOfRow(const ReplyRuleRow& row) {
  const std::string line = RowText(row);
  if (line.find('\n') != std::string::npos) return Failure{resources::kRuleCellLineBreakReason};
  const std::string_view rule = RuleTextOfLine(line);
  if (rule.empty()) return Failure{resources::kRuleCommentReason};
  return ParseReplyRule(rule);
}

}  // namespace

ReplyRuleRow RowOfRuleText(std::string_view text) {
  const std::size_t arrow = text.find(kReplyRuleArrow);
  if (arrow == std::string_view::npos) return {std::string(Trimmed(text)), {}};
  return {std::string(Trimmed(text.substr(0, arrow))),
          std::string(Trimmed(text.substr(arrow + kReplyRuleArrow.size())))};
}

std::string RowsText(const std::vector<ReplyRuleRow>& rows) {
  std::string text;
  for (const ReplyRuleRow& row : rows) {
    if (!row.Blank()) text += RowText(row) + "\n";
  }
  return text;
}

std::vector<ReplyRuleRow> RowsOfText(std::string_view text) {
  std::vector<ReplyRuleRow> rows;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const ReplyRuleRow row = RowOfRuleText(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!row.Blank()) rows.push_back(row);
  }
  return rows;
}

CheckedRows CheckRows(const std::vector<ReplyRuleRow>& rows) {
  CheckedRows checked;
  checked.reasons.resize(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Blank()) continue;
    Expected<ReplyRule> rule = RuleOfRow(rows[i]);
    if (!rule) {
      checked.reasons[i] = rule.Reason();
      continue;
    }
    rule->lineNumber = static_cast<int>(i) + 1;
    checked.rules.push_back(std::move(*rule));
  }
  return checked;
}

}  // namespace portprobe
