#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "automation/reply_rule_rows.h"
#include "automation/reply_rules.h"
#include "ui/prompter.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace portprobe {

// "自动应答": a window beside the main window with the rules as a table that the user
// edits, loads from a rules file and saves to one. Every change puts the rules that are
// sound in force at once; a row that is no rule says why and answers nothing.
class ReplyRulesWindow : public QDialog {
  Q_OBJECT

 public:
  enum Column { kPatternColumn, kReplyColumn, kHitsColumn, kReasonColumn };

  // `replies` are the window's rules in force, which this window sets.
  ReplyRulesWindow(QWidget* mainWindow, ui::Prompter& prompter, AutoReplies& replies);

  // The rows as remembered text, and back (RowsText).
  void SetRulesText(const std::string& text);
  std::string RulesText() const;
  void SetRepliesEnabled(bool on);
  // Shows the hit counts of the rules; cheap while the window is hidden.
  void ShowHits();

  QTableWidget* Table() const { return table_; }
  QCheckBox* EnabledCheck() const { return enabledCheck_; }
  QPushButton* AddButton() const { return addButton_; }
  QPushButton* RemoveButton() const { return removeButton_; }
  QPushButton* ResetHitsButton() const { return resetHitsButton_; }
  QPushButton* LoadButton() const { return loadButton_; }
  QPushButton* SaveButton() const { return saveButton_; }

 signals:
  // The user changed the rules or switched them on or off.
  void RulesChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  std::vector<ReplyRuleRow> Rows() const;
  void FillRows(const std::vector<ReplyRuleRow>& rows);
  // Puts the sound rows in force and marks the others with their reasons.
  void ApplyRows();
  void MarkRow(int row, const std::string& reason);
  void AddRow();
  void RemoveRows();
  void ResetHits();
  void LoadRules();
  void SaveRules();

  ui::Prompter& prompter_;
  AutoReplies& replies_;
  QTableWidget* table_;
  QCheckBox* enabledCheck_;
  QPushButton* addButton_;
  QPushButton* removeButton_;
  QPushButton* resetHitsButton_;
  QPushButton* loadButton_;
  QPushButton* saveButton_;
};

}  // namespace portprobe
