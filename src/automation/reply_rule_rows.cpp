#include "automation/reply_rule_rows.h"

#include <algorithm>

namespace portprobe {

namespace {

constexpr std::string_view kArrow = "->";

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string RowText(const ReplyRuleRow& row) { return row.pattern + " " + std::string(kArrow) + " " + row.reply; }

}  // namespace

ReplyRuleRow RowOfRuleText(std::string_view text) {
  const std::size_t arrow = text.find(kArrow);
  if (arrow == std::string_view::npos) return {Trimmed(text), {}};
  return {Trimmed(text.substr(0, arrow)), Trimmed(text.substr(arrow + kArrow.size()))};
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
    Expected<ReplyRule> rule = ParseReplyRule(RowText(rows[i]));
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
