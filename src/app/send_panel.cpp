#include "app/send_panel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/file_filters.h"
#include "app/unreadable_file_text.h"
#include "checksum/checksum_rows.h"
#include "codec/hex_format.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"

namespace portprobe {

using namespace resources;

namespace {

const ui::FileDialogRequest kPanelFileDialog{kTextOrAnyFileFilter, QStringLiteral("txt"), QStringLiteral("panel.txt")};
// An import that fails lists this many bad lines, then how many more there are.
constexpr std::size_t kListedErrors = 10;
// How soon a run that waits for the device or the window looks again.
constexpr int kWaitMilliseconds = 20;
const QColor kBadFrameColour(255, 200, 200);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QTableWidgetItem* CheckItem(bool checked) {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  return item;
}

QString ImportErrors(const std::vector<PanelFileError>& errors) {
  QStringList lines;
  for (std::size_t i = 0; i < std::min(errors.size(), kListedErrors); ++i) {
    lines << QString::fromUtf8(kSendPanelImportLineText).arg(errors[i].lineNumber).arg(Text(errors[i].reason));
  }
  if (errors.size() > kListedErrors) {
    lines << QString::fromUtf8(kSendPanelMoreErrorsText).arg(errors.size() - kListedErrors);
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

SendPanel::SendPanel(QWidget* mainWindow, ui::Prompter& prompter, Link link)
    : QWidget(mainWindow, Qt::Window), prompter_(prompter), link_(std::move(link)) {
  setWindowTitle(QString::fromUtf8(kSendPanelTitleText));
  for (int row = 0; row < static_cast<int>(ChecksumRows().size()); ++row) {
    if (IsBuiltInChecksum(row)) checksumRows_.push_back(row);
  }
  table_ = new QTableWidget(this);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(MakeButtonRow());
  layout->addWidget(status_);
  SetUpTable();
  stepTimer_.setSingleShot(true);
  stepTimer_.setTimerType(Qt::PreciseTimer);  // a delay is at least what the row asks for
  connect(&stepTimer_, &QTimer::timeout, this, &SendPanel::Step);
  SetRows({});
  resize(760, 520);
}

QWidget* SendPanel::MakeButtonRow() {
  auto* buttons = new QWidget(this);
  auto* layout = new QHBoxLayout(buttons);
  layout->setContentsMargins(0, 0, 0, 0);
  runButton_ = new QPushButton(QString::fromUtf8(kSendPanelRunText), buttons);
  loopCheck_ = new QCheckBox(QString::fromUtf8(kSendPanelLoopText), buttons);
  loopCheck_->setChecked(true);
  importButton_ = new QPushButton(QString::fromUtf8(kSendPanelImportText), buttons);
  exportButton_ = new QPushButton(QString::fromUtf8(kSendPanelExportText), buttons);
  layout->addWidget(runButton_);
  layout->addWidget(loopCheck_);
  layout->addStretch();
  layout->addWidget(importButton_);
  layout->addWidget(exportButton_);
  connect(runButton_, &QPushButton::clicked, this, &SendPanel::ToggleRun);
  connect(loopCheck_, &QCheckBox::toggled, this, [this](bool loop) {
    if (sequence_) sequence_->SetLoop(loop);
    emit Changed();
  });
  connect(importButton_, &QPushButton::clicked, this, &SendPanel::ImportFile);
  connect(exportButton_, &QPushButton::clicked, this, &SendPanel::ExportFile);
  return buttons;
}

void SendPanel::SetUpTable() {
  QStringList headers;
  for (const char* text : kSendPanelColumnTexts) headers << QString::fromUtf8(text);
  table_->setColumnCount(static_cast<int>(headers.size()));
  table_->setHorizontalHeaderLabels(headers);
  table_->horizontalHeaderItem(kTickColumn)->setToolTip(QString::fromUtf8(kSendPanelTickTipText));
  table_->horizontalHeader()->setSectionResizeMode(kFrameColumn, QHeaderView::Stretch);
  table_->setColumnWidth(kTickColumn, 28);
  table_->setColumnWidth(kHexColumn, 36);
  table_->setColumnWidth(kNameColumn, 110);
  table_->setColumnWidth(kChecksumColumn, 140);
  table_->setColumnWidth(kDelayColumn, 80);
  table_->setColumnWidth(kSendColumn, 56);
  table_->setFont(ui::FixedPitchFont(font().pointSize()));
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(table_, &QTableWidget::cellChanged, this, &SendPanel::ItemChanged);
}

QPushButton* SendPanel::RowSendButton(int row) const {
  return qobject_cast<QPushButton*>(table_->cellWidget(row, kSendColumn));
}

void SendPanel::SetRows(std::vector<PanelRow> rows) {
  if (rows.size() < kPanelRowCount) rows.resize(kPanelRowCount);
  const int oldCount = table_->rowCount();
  rows_ = std::move(rows);
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int row = oldCount; row < table_->rowCount(); ++row) AddRowWidgets(row);
  for (int row = 0; row < table_->rowCount(); ++row) FillRow(row);
  emit Changed();
}

bool SendPanel::Looping() const { return loopCheck_->isChecked(); }
void SendPanel::SetLooping(bool loop) { loopCheck_->setChecked(loop); }

// The list, the delay and the button of a row are widgets of their own, made once.
void SendPanel::AddRowWidgets(int row) {
  auto* checksum = new QComboBox;
  checksum->addItem(Text(std::string(ChecksumRows()[0].listText)));
  for (const int checksumRow : checksumRows_) {
    checksum->addItem(Text(std::string(ChecksumRows()[checksumRow].listText)));
  }
  connect(checksum, &QComboBox::currentIndexChanged, this, [this, checksum](int index) {
    const int row = RowOf(checksum, kChecksumColumn);
    if (filling_ || row < 0) return;
    rows_[row].checksumRow = index > 0 ? std::optional<int>(checksumRows_[index - 1]) : std::nullopt;
    RowEdited(row);
  });
  auto* delay = new QSpinBox;
  delay->setRange(0, kMaxPanelDelay);
  delay->setButtonSymbols(QAbstractSpinBox::NoButtons);
  connect(delay, &QSpinBox::valueChanged, this, [this, delay](int value) {
    const int row = RowOf(delay, kDelayColumn);
    if (filling_ || row < 0) return;
    rows_[row].delayMilliseconds = value;
    emit Changed();
  });
  for (QWidget* field : {static_cast<QWidget*>(checksum), static_cast<QWidget*>(delay)}) {
    field->setFocusPolicy(Qt::StrongFocus);
    field->installEventFilter(this);
  }
  auto* send = new QPushButton(QString::fromUtf8(kSendPanelRowSendText));
  connect(send, &QPushButton::clicked, this, [this, send] { SendRow(RowOf(send, kSendColumn)); });
  table_->setCellWidget(row, kChecksumColumn, checksum);
  table_->setCellWidget(row, kDelayColumn, delay);
  table_->setCellWidget(row, kSendColumn, send);
}

int SendPanel::RowOf(const QWidget* cellWidget, int column) const {
  for (int row = 0; row < table_->rowCount(); ++row) {
    if (table_->cellWidget(row, column) == cellWidget) return row;
  }
  return -1;
}

void SendPanel::FillRow(int row) {
  const PanelRow& panelRow = rows_[row];
  filling_ = true;
  table_->setItem(row, kTickColumn, CheckItem(panelRow.ticked));
  table_->setItem(row, kNameColumn, new QTableWidgetItem(Text(panelRow.name)));
  table_->setItem(row, kHexColumn, CheckItem(panelRow.kind == FrameKind::Hex));
  table_->setItem(row, kFrameColumn, new QTableWidgetItem(Text(panelRow.body)));
  int listRow = 0;
  for (std::size_t i = 0; i < checksumRows_.size(); ++i) {
    if (panelRow.checksumRow == checksumRows_[i]) listRow = static_cast<int>(i) + 1;
  }
  qobject_cast<QComboBox*>(table_->cellWidget(row, kChecksumColumn))->setCurrentIndex(listRow);
  qobject_cast<QSpinBox*>(table_->cellWidget(row, kDelayColumn))->setValue(panelRow.delayMilliseconds);
  filling_ = false;
  ShowFrameCheck(row);
}

void SendPanel::ItemChanged(int row, int column) {
  if (filling_) return;
  const QTableWidgetItem* item = table_->item(row, column);
  PanelRow& panelRow = rows_[row];
  switch (column) {
    case kTickColumn:
      panelRow.ticked = item->checkState() == Qt::Checked;
      break;
    case kNameColumn:
      panelRow.name = item->text().toStdString();
      break;
    case kHexColumn:
      panelRow.kind = item->checkState() == Qt::Checked ? FrameKind::Hex : FrameKind::Text;
      break;
    case kFrameColumn:
      panelRow.body = item->text().toStdString();
      break;
    default:
      return;
  }
  RowEdited(row);
}

void SendPanel::RowEdited(int row) {
  ShowFrameCheck(row);
  emit Changed();
}

// A bad frame is marked where it is written, with the reason as its tip; a good one
// shows the bytes it sends.
void SendPanel::ShowFrameCheck(int row) {
  QTableWidgetItem* item = table_->item(row, kFrameColumn);
  const Expected<ByteFrame> frame = rows_[row].Frame();
  const bool bad = !frame && !item->text().trimmed().isEmpty();
  filling_ = true;
  item->setBackground(bad ? QBrush(kBadFrameColour) : QBrush());
  item->setToolTip(frame ? Text(FormatHexBytes(*frame)).trimmed() : bad ? Text(frame.Reason()) : QString());
  filling_ = false;
}

void SendPanel::SendRow(int row) {
  if (row < 0) return;
  const Expected<ByteFrame> frame = rows_[row].Frame();
  if (!frame) {
    prompter_.ShowMessage(this, QString::fromUtf8(kSendPanelBadRowText).arg(row + 1).arg(Text(frame.Reason())));
    return;
  }
  link_.send(*frame);
}

void SendPanel::ToggleRun() {
  if (Running()) {
    StopRun();
    return;
  }
  sequence_.emplace(Looping());
  status_->clear();
  runButton_->setText(QString::fromUtf8(kSendPanelStopText));
  Step();
}

void SendPanel::StopRun() {
  stepTimer_.stop();
  sequence_.reset();
  delayAfterWrite_.reset();
  runButton_->setText(QString::fromUtf8(kSendPanelRunText));
}

// Sends the next row and, once it is written, waits its delay; the window stays free
// meanwhile.
void SendPanel::Step() {
  if (!sequence_) return;
  if (!link_.runMayGoOn()) {
    stepTimer_.start(kWaitMilliseconds);
    return;
  }
  if (delayAfterWrite_) {
    stepTimer_.start(*std::exchange(delayAfterWrite_, std::nullopt));
    return;
  }
  std::vector<SkippedRow> skipped;
  const std::optional<SequenceStep> step = sequence_->Next(rows_, skipped);
  ReportSkipped(skipped);
  if (step && link_.send(step->frame)) {
    delayAfterWrite_ = step->delayMilliseconds;
    stepTimer_.start(0);
    return;
  }
  if (!step && !sequence_->SentAny()) ShowStatus(QString::fromUtf8(kSendPanelNothingTickedText));
  StopRun();
}

void SendPanel::ReportSkipped(const std::vector<SkippedRow>& skipped) {
  for (const SkippedRow& row : skipped) {
    ShowStatus(QString::fromUtf8(kSendPanelSkippedText).arg(row.row + 1).arg(Text(row.reason)));
  }
}

// The status line gathers what a run has to say, one line each.
void SendPanel::ShowStatus(const QString& text) {
  status_->setText(status_->text().isEmpty() ? text : status_->text() + QLatin1Char('\n') + text);
}

// A file with a bad line changes nothing: the user corrects it and imports again.
void SendPanel::ImportFile() {
  const QString path = prompter_.GetOpenFileName(this, kPanelFileDialog);
  if (path.isEmpty()) return;
  Expected<PanelFile> file = LoadPanelFile(path.toStdString());
  if (!file) {
    prompter_.ShowMessage(this, UnreadableFileText(path, file.Reason()));
    return;
  }
  if (!file->errors.empty()) {
    prompter_.ShowMessage(this, QString::fromUtf8(kSendPanelImportFailedText).arg(path, ImportErrors(file->errors)));
    return;
  }
  const std::size_t count = file->rows.size();
  SetRows(std::move(file->rows));
  status_->setText(QString::fromUtf8(kSendPanelImportedText).arg(count));
}

void SendPanel::ExportFile() {
  const QString path = prompter_.GetSaveFileName(this, kPanelFileDialog);
  if (path.isEmpty()) return;
  const Outcome saved = SavePanelFile(path.toStdString(), rows_);
  if (!saved) {
    prompter_.ShowMessage(this, QString::fromUtf8(kUnwritableFileText).arg(path, Text(saved.Reason())));
    return;
  }
  status_->setText(QString::fromUtf8(kSendPanelExportedText).arg(path));
}

// The wheel scrolls the table; a row's checksum or delay changes by the wheel only
// once the user has clicked into it.
bool SendPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
    QCoreApplication::sendEvent(table_->viewport(), event);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void SendPanel::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit Closed();
}

void SendPanel::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  emit Changed();
}

void SendPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Changed();
}

// A run belongs to the window the user sees; one that is only minimised goes on.
void SendPanel::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) StopRun();
  QWidget::hideEvent(event);
}

}  // namespace portprobe
