#include "app/main_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "app/about_dialog.h"
#include "app/capture_controls.h"
#include "app/history_view.h"
#include "app/receive_find.h"
#include "app/reply_rules_window.h"
#include "parser/packet_parser.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/strings.h"
#include "ui/combo_box_rows.h"
#include "ui/elided_label.h"

namespace portprobe {

using namespace resources;

MainDialog::MainDialog(ui::Prompter& prompter, TerminalOptions options, QWidget* parent)
    : TemplateDialog(MainDialogTemplate(), parent),
      prompter_(prompter),
      options_(std::move(options)),
      link_([this] { QMetaObject::invokeMethod(this, &MainDialog::DrainSerialEvents, Qt::QueuedConnection); }),
      packetParser_(std::make_unique<parser::PacketParser>([this](std::string_view text) { QueueParserOutput(text); })),
      settings_(options_.settingsFile, RememberedKeys()) {
  connect(Button(kOpenButton), &QPushButton::clicked, this, &MainDialog::ToggleOpen);
  connect(Button(kResetCountersButton), &QPushButton::clicked, this, &MainDialog::ResetCounters);
  connect(Button(kManualSendButton), &QPushButton::clicked, this, &MainDialog::ManualSend);
  connect(Button(kChecksumButton), &QPushButton::clicked, this, &MainDialog::ApplyChecksum);
  connect(Button(kHexButton), &QPushButton::clicked, this, &MainDialog::ConvertToHex);
  connect(Button(kCharButton), &QPushButton::clicked, this, &MainDialog::ConvertToChars);
  connect(Button(kClearSendButton), &QPushButton::clicked, this, &MainDialog::ClearSend);
  connect(Button(kSendFileButton), &QPushButton::clicked, this, &MainDialog::ChooseSendFile);
  connect(CheckBox(kAutoSendCheck), &QCheckBox::clicked, this, &MainDialog::AutoSendToggled);
  connect(Button(kMenuButton), &QPushButton::clicked, this, &MainDialog::ShowToolsMenuAtCursor);
  historyView_ = new HistoryView(
      *this, prompter_,
      {[this] { return SendBoxBytes(); }, [this](const std::string& bytes) { SetSendBoxBytes(bytes); },
       [this](const std::string& text) { SendText(text); }, [this](const QString& text) { Notify(text); }});
  autoSendTimer_.setSingleShot(true);
  connect(&autoSendTimer_, &QTimer::timeout, this, &MainDialog::TimerTick);
  connect(&writeWatchTimer_, &QTimer::timeout, this, &MainDialog::WriteWatchTick);
  connect(&reconnectTimer_, &QTimer::timeout, this, &MainDialog::ReconnectTick);
  connect(ComboBox(kPortList), &QComboBox::activated, this, &MainDialog::PortRowPicked);
  for (int id : {kBaudList, kDataBitsList, kParityList, kStopBitsList}) {
    connect(ComboBox(id), &QComboBox::activated, this, [this, id](int row) { LineListPicked(id, row); });
  }
  // A rate typed and left with Tab or a click elsewhere is taken as Enter takes it, so
  // the box never shows a rate the port does not have.
  connect(ComboBox(kBaudList)->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    QComboBox* bauds = ComboBox(kBaudList);
    if (bauds->currentText() != bauds->itemText(bauds->currentIndex())) ConfirmListText(bauds);
  });
  ui::FitDropDownToRows(ComboBox(kPortList));
  ui::FitDropDownToRows(ComboBox(kChecksumList));
  SetUpReceiveBox();
  SetUpSendBox();
  capture_ = new CaptureControls(*this, prompter_, receive_, options_.labelRestoreMilliseconds,
                                 [this] { return ReceiveTextWithoutEcho(); });
  SetUpReceiveCheck();
  SetUpReceivedBlocks();
  SetUpModemLines();
  find_ = new ReceiveFind(this, ReceiveBox(), CheckBox(kHexDisplayCheck));
  SetUpZoom();
  running_ = this;
  RunStartupSequence();
}

// Only the worker is stopped here: what it left is not shown by a window on its way out.
MainDialog::~MainDialog() {
  link_.ClosePort();
  SaveSettings();
  if (running_ == this) running_ = nullptr;
}

void MainDialog::RunStartupSequence() {
  // Linux window managers offer no window menu to extend, so About is on F1.
  auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(about, &QShortcut::activated, this, &MainDialog::ShowAboutDialog);
  setWindowIcon(QIcon(QStringLiteral(":/icons/portprobe.png")));
  FillSettingLists();
  RestoreLineSettings();
  OpenAtStart();
  UpdateOpenButton();
  UpdateStatusLine();
  RecordLayout();
  ApplyTextColours();
  ShowStartValues();
  Label(kCaptureLabel)->setText(QString::fromUtf8(kNoCaptureFileText));
  Label(kSendFileLabel)->setText(QString::fromUtf8(kNoSendFileText));
  SetSendBoxBytes(kDefaultSendText);
  SetControlText(kReceiveBox, QString::fromUtf8(kReceivingAreaText));
  startupTextShown_ = true;
  startupDone_ = true;
  repliesWindow_ = new ReplyRulesWindow(this, prompter_, autoReplies_);
  RestoreWindowSettings();
}

void MainDialog::ShowAboutDialog() {
  AboutDialog about(this);
  about.exec();
}

void MainDialog::UpdateStatusLine() {
  QString status = QString::fromStdString(portStatus_.Text(IsOpen()));
  status += StatusModesText();
  status += ReceiveCheckCounts();
  if (link_.WriteBlocked()) status += QString::fromUtf8(kSendBlockedText);
  status += HexStopNotice();
  status += PortLossText();
  status += ModemLinesMissingNotice();
  UpdateModemLamps();
  // At the default width a device path would push out the state and the settings:
  // only the path loses its middle.
  auto* statusLabel = static_cast<ui::ElidedLabel*>(Label(kStatusLabel));
  statusLabel->setText(status);
  statusLabel->SetElidableLength(static_cast<int>(QString::fromStdString(portStatus_.PortName()).size()));
  // Device paths are longer than the label was made for; the whole line is at hand
  // here, with the stable by-id path of the device.
  const std::string& byIdPath = reconnect_.OpenedDevice().byIdPath;
  const bool byId = (IsOpen() || reconnect_.Awaiting()) && !byIdPath.empty() && byIdPath != portStatus_.PortName();
  QString tip = byId ? status + QLatin1Char('\n') + QString::fromStdString(byIdPath) : status;
  if (const QString notice = EncodingNotice(); !notice.isEmpty()) tip += QLatin1Char('\n') + notice;
  statusLabel->setToolTip(tip);
  Label(kTxLabel)->setText(QStringLiteral("TX:%1").arg(receive_.TxCount()));
  Label(kRxLabel)->setText(QStringLiteral("RX:%1").arg(receive_.RxCount()));
  FitCounters();
}

void MainDialog::UpdateOpenButton() {
  const bool open = IsOpen();
  wantOpen_ = open;
  if (!open) {
    CheckBox(kAutoSendCheck)->setChecked(false);
    autoSendOn_ = false;
    autoSendTimer_.stop();
  }
  const QString icon = open ? QStringLiteral(":/icons/port_open.png") : QStringLiteral(":/icons/port_closed.png");
  Label(kStateIcon)->setPixmap(QIcon(icon).pixmap(Label(kStateIcon)->size()));
  Button(kOpenButton)->setText(open ? QString::fromUtf8(kCloseButtonText) : QString::fromUtf8(kOpenButtonText));
}

void MainDialog::ResetCounters() {
  receive_.ResetCounters();
  UpdateStatusLine();
}

bool MainDialog::ExchangePeriodFromControl() {
  QLineEdit* edit = Edit(kPeriodEdit);
  QString complaint;
  switch (autoSendPeriod_.Take(edit->text().left(31).toStdString())) {
    case AutoSendPeriod::Check::Valid:
      return true;
    case AutoSendPeriod::Check::NotANumber:
      complaint = QString::fromUtf8(kNotAPositiveIntegerText);
      break;
    case AutoSendPeriod::Check::OutOfRange:
      complaint = QString::fromUtf8(kPeriodOutOfRangeText).arg(AutoSendPeriod::kMin).arg(AutoSendPeriod::kMax);
      break;
  }
  prompter_.ShowMessage(this, complaint);
  edit->setFocus();
  edit->selectAll();
  return false;
}

void MainDialog::done(int result) {
  if (busy_.DeferDone(result)) return;
  // No worker may outlive the window, nor a device be reopened for it.
  CancelReconnect();
  // A closing window ends the program at once: no box waits for an answer.
  ClosePort(false);
  SaveSettings();
  TemplateDialog::done(result);
}

HistoryPopup* MainDialog::HistoryPopupWindow() const { return historyView_->Popup(); }

void MainDialog::EscapePressed() { find_->Close(); }

void MainDialog::EnterPressed() {
  QWidget* focus = focusWidget();
  if (focus == Edit(kPeriodEdit)) {
    ExchangePeriodFromControl();
  } else if (auto* list = qobject_cast<QComboBox*>(focus)) {
    // A row's exact name the list has taken itself as the key reached it.
    if (list->currentText() == list->itemText(list->currentIndex())) return;
    ConfirmListText(list);
  }
}

void MainDialog::ConfirmListText(QComboBox* list) {
  if (list == ComboBox(kPortList) && PortPathEntered()) return;
  if (list == ComboBox(kBaudList) && BaudRateEntered()) return;
  ui::CommitTypedRow(list);
}

}  // namespace portprobe
