#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/reply_rules.h"

namespace portprobe {

// A rule as the rules window edits it: its pattern and its reply in cells of their own.
struct ReplyRuleRow {
  std::string pattern;
  std::string reply;

  bool Blank() const { return pattern.empty() && reply.empty(); }
};

// The row of a rule as written: split at its first arrow; text without one is all pattern.
ReplyRuleRow RowOfRuleText(std::string_view text);

// The rows as text, one "PATTERN -> REPLY" line each, blank rows left out; and back,
// a row for every line that is not blank. Rows that are no rule keep what was typed,
// so a rule half written survives until it is finished.
std::string RowsText(const std::vector<ReplyRuleRow>& rows);
std::vector<ReplyRuleRow> RowsOfText(std::string_view text);

// The rules in force among the rows, each with its row's number (from 1) as its line
// number; and for every row why it is not in force, empty when it is or is blank.
struct CheckedRows {
  std::vector<ReplyRule> rules;
  std::vector<std::string> reasons;
};
CheckedRows CheckRows(const std::vector<ReplyRuleRow>& rows);

}  // namespace portprobe
