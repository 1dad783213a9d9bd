#include "app/reply_rules_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "app/file_filters.h"
#include "app/unreadable_file_text.h"
#include "resources/strings.h"

namespace portprobe {

using namespace resources;

namespace {

const ui::FileDialogRequest kRulesFileDialog{kTextOrAnyFileFilter, QStringLiteral("txt"), QString()};
const QColor kBadCellColour(255, 200, 200);

QPushButton* NewButton(const char* text, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  // Enter belongs to the cell being edited, never to a button.
  button->setAutoDefault(false);
  return button;
}

QString CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

// The cell of `column`, made when missing; the hit and reason cells are the window's.
QTableWidgetItem* Cell(QTableWidget* table, int row, int column) {
  QTableWidgetItem* item = table->item(row, column);
  if (item) return item;
  item = new QTableWidgetItem;
  if (column >= ReplyRulesWindow::kHitsColumn) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  table->setItem(row, column, item);
  return item;
}

}  // namespace

ReplyRulesWindow::ReplyRulesWindow(QWidget* mainWindow, ui::Prompter& prompter, AutoReplies& replies)
    : QDialog(mainWindow),
      prompter_(prompter),
      replies_(replies),
      table_(new QTableWidget(0, std::size(kRepliesColumnTexts), this)),
      enabledCheck_(new QCheckBox(QString::fromUtf8(kRepliesEnabledText), this)),
      addButton_(NewButton(kRepliesAddText, this)),
      removeButton_(NewButton(kRepliesRemoveText, this)),
      resetHitsButton_(NewButton(kRepliesResetHitsText, this)),
      loadButton_(NewButton(kRepliesLoadText, this)),
      saveButton_(NewButton(kRepliesSaveText, this)) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);
  setWindowTitle(QString::fromUtf8(kRepliesTitleText));
  BuildLayout();
  enabledCheck_->setChecked(replies_.Enabled());
  connect(enabledCheck_, &QCheckBox::toggled, this, [this](bool on) {
    replies_.SetEnabled(on);
    emit RulesChanged();
  });
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() > kReplyColumn) return;
    ApplyRows();
    emit RulesChanged();
  });
  connect(addButton_, &QPushButton::clicked, this, &ReplyRulesWindow::AddRow);
  connect(removeButton_, &QPushButton::clicked, this, &ReplyRulesWindow::RemoveRows);
  connect(resetHitsButton_, &QPushButton::clicked, this, &ReplyRulesWindow::ResetHits);
  connect(loadButton_, &QPushButton::clicked, this, &ReplyRulesWindow::LoadRules);
  connect(saveButton_, &QPushButton::clicked, this, &ReplyRulesWindow::SaveRules);
}

void ReplyRulesWindow::BuildLayout() {
  QStringList headers;
  for (const char* text : kRepliesColumnTexts) headers << QString::fromUtf8(text);
  table_->setHorizontalHeaderLabels(headers);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionResizeMode(kPatternColumn, QHeaderView::Stretch);
  header->setSectionResizeMode(kReplyColumn, QHeaderView::Stretch);
  header->setSectionResizeMode(kHitsColumn, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(kReasonColumn, QHeaderView::Stretch);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(enabledCheck_);
  buttons->addStretch();
  for (QPushButton* button : {addButton_, removeButton_, resetHitsButton_, loadButton_, saveButton_}) {
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(table_);
  layout->addWidget(new QLabel(QString::fromUtf8(kRepliesHintText), this));
  resize(760, 360);
}

void ReplyRulesWindow::SetRulesText(const std::string& text) { FillRows(RowsOfText(text)); }

std::string ReplyRulesWindow::RulesText() const { return RowsText(Rows()); }

void ReplyRulesWindow::SetRepliesEnabled(bool on) {
  const QSignalBlocker quiet(enabledCheck_);
  enabledCheck_->setChecked(on);
  replies_.SetEnabled(on);
}

std::vector<ReplyRuleRow> ReplyRulesWindow::Rows() const {
  std::vector<ReplyRuleRow> rows;
  for (int row = 0; row < table_->rowCount(); ++row) {
    rows.push_back({CellText(table_, row, kPatternColumn).trimmed().toStdString(),
                    CellText(table_, row, kReplyColumn).trimmed().toStdString()});
  }
  return rows;
}

void ReplyRulesWindow::FillRows(const std::vector<ReplyRuleRow>& rows) {
  {
    const QSignalBlocker quiet(table_);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
      Cell(table_, row, kPatternColumn)->setText(QString::fromStdString(rows[row].pattern));
      Cell(table_, row, kReplyColumn)->setText(QString::fromStdString(rows[row].reply));
    }
  }
  ApplyRows();
}

// New rules count their hits afresh.
void ReplyRulesWindow::ApplyRows() {
  CheckedRows checked = CheckRows(Rows());
  replies_.SetRules(std::move(checked.rules));
  for (int row = 0; row < table_->rowCount(); ++row) MarkRow(row, checked.reasons[row]);
  ShowHits();
}

// The reason names the cell at fault: "应答：…" the reply, anything else the pattern.
void ReplyRulesWindow::MarkRow(int row, const std::string& reason) {
  const QSignalBlocker quiet(table_);
  const QString text = QString::fromStdString(reason);
  const bool replyAtFault = text.startsWith(QString::fromUtf8(kRepliesColumnTexts[kReplyColumn]));
  for (const int column : {kPatternColumn, kReplyColumn}) {
    QTableWidgetItem* cell = Cell(table_, row, column);
    const bool atFault = !reason.empty() && replyAtFault == (column == kReplyColumn);
    cell->setBackground(atFault ? QBrush(kBadCellColour) : QBrush());
    cell->setToolTip(atFault ? text : QString());
  }
  Cell(table_, row, kHitsColumn);
  Cell(table_, row, kReasonColumn)->setText(text);
}

void ReplyRulesWindow::ShowHits() {
  if (!isVisible()) return;
  const QSignalBlocker quiet(table_);
  for (int row = 0; row < table_->rowCount(); ++row) Cell(table_, row, kHitsColumn)->setText(QString());
  const std::vector<ReplyRule>& rules = replies_.Rules();
  for (std::size_t i = 0; i < rules.size(); ++i) {
    Cell(table_, rules[i].lineNumber - 1, kHitsColumn)->setText(QString::number(replies_.Hits(i)));
  }
}

void ReplyRulesWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowHits();
}

// A row at the end changes no rule in force; its pattern cell is ready for typing.
void ReplyRulesWindow::AddRow() {
  const int row = table_->rowCount();
  {
    const QSignalBlocker quiet(table_);
    table_->insertRow(row);
    Cell(table_, row, kPatternColumn);
    Cell(table_, row, kReplyColumn);
  }
  MarkRow(row, {});
  table_->setCurrentCell(row, kPatternColumn);
  table_->editItem(table_->item(row, kPatternColumn));
}

// The rows of the selected cells, or the current row.
void ReplyRulesWindow::RemoveRows() {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes()) rows.insert(index.row());
  if (rows.empty() && table_->currentRow() >= 0) rows.insert(table_->currentRow());
  if (rows.empty()) return;
  {
    const QSignalBlocker quiet(table_);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) table_->removeRow(*row);
  }
  ApplyRows();
  emit RulesChanged();
}

void ReplyRulesWindow::ResetHits() {
  replies_.ResetHits();
  ShowHits();
}

// The good rules of the file replace the table; the lines that are no rule are listed.
void ReplyRulesWindow::LoadRules() {
  const QString path = prompter_.GetOpenFileName(this, kRulesFileDialog);
  if (path.isEmpty()) return;
  const Expected<RuleFile> file = LoadReplyRules(path.toStdString());
  if (!file) {
    prompter_.ShowMessage(this, UnreadableFileText(path, file.Reason()));
    return;
  }
  std::vector<ReplyRuleRow> rows;
  for (const ReplyRule& rule : file->rules) rows.push_back(RowOfRuleText(rule.text));
  FillRows(rows);
  emit RulesChanged();
  if (file->errors.empty()) return;
  QString message = QString::fromUtf8(kRepliesBadFileText).arg(path).arg(file->errors.size());
  for (const RuleFileError& error : file->errors) {
    message += QLatin1Char('\n') +
               QString::fromUtf8(kRepliesBadLineText).arg(error.lineNumber).arg(QString::fromStdString(error.reason));
  }
  prompter_.ShowMessage(this, message);
}

void ReplyRulesWindow::SaveRules() {
  const QString path = prompter_.GetSaveFileName(this, kRulesFileDialog);
  if (path.isEmpty()) return;
  QSaveFile file(path);
  const std::string text = RulesText();
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                     file.commit();
  if (!saved) prompter_.ShowMessage(this, QString::fromUtf8(kUnwritableFileText).arg(path, file.errorString()));
}

}  // namespace portprobe
