// Port discovery, line settings and the serial link of the main window.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

#include "app/main_dialog.h"
#include "serial/open_result_text.h"
#include "checksum/checksum_rows.h"
#include "codec/decimal_text.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/combo_box_rows.h"
#include "serial/device_holders.h"
#include "serial/network_address.h"
#include "serial/port_enumeration.h"

namespace portprobe {

using namespace resources;

namespace {

// The list of the line settings that each control shows.
constexpr std::pair<int, LineChoice::List> kLineListControls[] = {{kBaudList, LineChoice::List::Baud},
                                                                  {kParityList, LineChoice::List::Parity},
                                                                  {kDataBitsList, LineChoice::List::DataBits},
                                                                  {kStopBitsList, LineChoice::List::StopBits}};

PortStatus::Setting SettingOfList(int listId) {
  switch (listId) {
    case kDataBitsList:
      return PortStatus::Setting::DataBits;
    case kParityList:
      return PortStatus::Setting::Parity;
    default:
      return PortStatus::Setting::StopBits;
  }
}

}  // namespace

void MainDialog::FillSettingLists() {
  ShowLineChoice();
  FillPortList();
  QComboBox* checksums = ComboBox(kChecksumList);
  for (const ChecksumRow& row : ChecksumRows()) {
    checksums->addItem(QString::fromUtf8(row.listText.data(), static_cast<int>(row.listText.size())));
    checksums->setItemData(checksums->count() - 1,
                           QString::fromUtf8(row.shortText.data(), static_cast<int>(row.shortText.size())),
                           ui::kShortTextRole);
  }
  ui::ShowShortTextWhenClosed(checksums);
}

// The four lists show the chosen line settings, typed rates among the baud rows.
void MainDialog::ShowLineChoice() {
  for (const auto& [id, list] : kLineListControls) {
    QComboBox* box = ComboBox(id);
    const QSignalBlocker blocker(box);
    QStringList rows;
    for (const std::string& row : lineChoice_.Rows(list)) rows << QString::fromStdString(row);
    QStringList shown;
    for (int row = 0; row < box->count(); ++row) shown << box->itemText(row);
    if (shown != rows) {
      box->clear();
      box->addItems(rows);
    }
    box->setCurrentIndex(lineChoice_.Row(list));
  }
}

LineChoice::List MainDialog::ListOf(int listId) {
  for (const auto& [id, list] : kLineListControls) {
    if (id == listId) return list;
  }
  return LineChoice::List::StopBits;
}

void MainDialog::LineListPicked(int listId, int row) {
  lineChoice_.Pick(ListOf(listId), row);
  SettingListChanged(listId);
}

LineSettings MainDialog::SelectedLineSettings() const { return lineChoice_.Settings(preferences_.flowControl); }

// The status line shows the texts of the rows last applied or picked.
void MainDialog::CopySettingText(int listId) {
  if (listId == kBaudList) {
    portStatus_.PickBaudRate(SelectedLineSettings().baudRate);
  } else {
    portStatus_.PickRow(SettingOfList(listId), lineChoice_.Row(ListOf(listId)));
  }
}

void MainDialog::CopySettingsTexts() { portStatus_.PickRows(SelectedLineSettings()); }

// A setting reaches an open port at once; one that the driver refuses is not reported
// and the port keeps its previous settings, except a rate (KeepAppliedBaudRate).
// Without a port only the picked text changes.
void MainDialog::SettingListChanged(int listId) {
  if (lineChoice_.Row(ListOf(listId)) < 0) return;
  const ApplyResult result = link_.ApplyLineSettings(SelectedLineSettings());
  if (listId == kBaudList && result == ApplyResult::Refused) {
    KeepAppliedBaudRate();
    return;
  }
  if (listId == kBaudList) lineChoice_.RateTaken();
  if (result != ApplyResult::NotATerminal) CopySettingsTexts();
  CopySettingText(listId);
  UpdateStatusLine();
  ScheduleSettingsSave();
}

// Fast and typed rates are often more than an adapter can make: the user is told, and
// the list goes back to the rate in effect, which the status line still shows. A
// driver that took a rounded rate instead gets that one back.
void MainDialog::KeepAppliedBaudRate() {
  lineChoice_.KeepRate(ParseUnsignedDecimal(portStatus_.BaudText()).value_or(0));
  ShowLineChoice();
  link_.ApplyLineSettings(SelectedLineSettings());
  Notify(QString::fromUtf8(kSettingsFailedText));
}

// Enter in the baud list applies any positive rate typed into it; a rate that no row
// has joins the end of the list, unless the driver refuses it. False when the box
// holds no rate.
bool MainDialog::BaudRateEntered() {
  if (!lineChoice_.TypeRate(ComboBox(kBaudList)->currentText().toStdString())) return false;
  ShowLineChoice();
  SettingListChanged(kBaudList);
  return true;
}

bool MainDialog::OpenPort(int row) {
  portStatus_.SetPortName(portList_.NameOf(row));
  const std::string path = DevicePath(portStatus_.PortName());
  const SerialLink::OpenResult result = link_.OpenPort(path, SelectedLineSettings());
  if (IsOpen()) reconnect_.Opened(IdentityOfPath(path));
  // The status line keeps the chosen line settings whatever the open did.
  CopySettingsTexts();
  ShowLineSettingsUse();
  if (result == SerialLink::OpenResult::Opened) {
    lastOpenedPort_ = portStatus_.PortName();
    RememberNetworkPort(lastOpenedPort_);
    WarnAboutOtherHolders();
    return true;
  }
  ReportOpenFailure(result);
  return false;
}

void MainDialog::ReportOpenFailure(SerialLink::OpenResult result) {
  const QString text = QString::fromUtf8(TextOf(result).window);
  if (text.isEmpty()) return;
  Notify(text.contains(QStringLiteral("%1")) ? text.arg(QString::fromStdString(portStatus_.PortName())) : text);
}

// Acts at once even when the device takes nothing: what is still queued is dropped,
// and the user is told how much.
void MainDialog::ClosePort(bool sayUnsent) {
  StopPanelRun();
  const std::size_t dropped = link_.ClosePort() + DropOutbox();
  // Batches read before the close still belong to the receive history.
  DrainSerialEvents();
  EndBlockNow();
  if (dropped > 0 && sayUnsent) Notify(QString::fromUtf8(kClosedWithUnsentText).arg(dropped));
}

// Another program that has the device open (a login getty, a modem manager, a second
// terminal that did not lock it) takes part of what arrives; say so once at open.
void MainDialog::WarnAboutOtherHolders() {
  const std::vector<DeviceHolder> holders = FindDeviceHolders(DevicePath(portStatus_.PortName()));
  if (holders.empty()) return;
  QStringList names;
  for (const DeviceHolder& holder : holders) {
    names << QString::fromUtf8(kHolderText).arg(QString::fromStdString(holder.name)).arg(holder.pid);
  }
  Notify(QString::fromUtf8(kOtherHoldersText)
             .arg(QString::fromStdString(portStatus_.PortName()), names.join(QString::fromUtf8(kHolderSeparatorText))));
}

// What the user does with the port ends any wait for a device to come back.
void MainDialog::ToggleOpen() {
  SelectTypedPortPath();  // a path typed but not yet confirmed is what the user means
  wantOpen_ = !wantOpen_;
  PortChanged();
}

void MainDialog::PortChanged() {
  const bool wasAwaiting = reconnect_.Awaiting();
  reconnectTimer_.stop();
  reconnect_.PortChosen();
  SayWaitStopped(wasAwaiting);
  DropGoneRows();
  ScheduleSettingsSave();
  if (IsOpen()) ClosePort(true);
  if (wantOpen_) OpenPort(portList_.Chosen());
  // After a failed open the button offers to open, as the port is closed.
  UpdateOpenButton();
  UpdateStatusLine();
}

// A device path, a port on the network or a listed port's name typed into the port
// box becomes the selected row; false when the box holds none of them.
bool MainDialog::SelectTypedPortPath() {
  const std::string path = ComboBox(kPortList)->lineEdit()->text().trimmed().toStdString();
  if (portList_.RowNamed(path) < 0 && !path.starts_with('/') && !IsNetworkPortName(path)) return false;
  portList_.Choose(portList_.RowOfPath(path));
  ShowPortRows();
  return true;
}

// Enter in the port box confirms a typed path like picking a row.
bool MainDialog::PortPathEntered() {
  if (!SelectTypedPortPath()) return false;
  PortChanged();
  return true;
}

// A flood is shown in slices, each with one append; what is left waits for the next
// turn of the event loop, so the window keeps answering.
void MainDialog::DrainSerialEvents() {
  if (busy_.ReceiveHeld()) return;
  if (receive_.BacklogEmpty()) receive_.FillBacklog(link_.TakeEvents());
  std::vector<SerialEvent> slice =
      receive_.TakeSlice(ConsoleOn() ? ReceivePath::kConsoleSliceBytes : ReceivePath::kSliceBytes);
  if (slice.empty()) return;
  std::vector<SerialEvent> batches;
  for (SerialEvent& event : slice) HandleSerialEvent(event, batches);
  ShowReceivedBytes(batches);
  if (!receive_.BacklogEmpty()) QMetaObject::invokeMethod(this, &MainDialog::DrainSerialEvents, Qt::QueuedConnection);
  UpdateStatusLine();
  ShowPendingNotices();
}

void MainDialog::HandleSerialEvent(SerialEvent& event, std::vector<SerialEvent>& batches) {
  // Bytes always belong to the receive history; a failure only concerns its own
  // connection while that is still open.
  const bool current = event.connection == link_.Connection() && IsOpen();
  const bool happened = event.kind == SerialEvent::Kind::Batch || event.kind == SerialEvent::Kind::Written;
  if (!happened && !current) return;
  switch (event.kind) {
    case SerialEvent::Kind::Batch:
      batches.push_back(std::move(event));
      break;
    case SerialEvent::Kind::Written:
      receive_.CountWritten(event.count);
      outbox_.CountWritten(event.count);
      FeedOutbox();
      break;
    // A line in trouble reports on every read; one notice of each kind is enough.
    case SerialEvent::Kind::LineError:
      busy_.AddNoticeOnce(kLineErrorText);
      break;
    case SerialEvent::Kind::ReadError:
      busy_.AddNoticeOnce(kReadErrorText);
      break;
    case SerialEvent::Kind::ModemLines:
      ShowModemLines(event);
      break;
    case SerialEvent::Kind::RemoteNotice:
      RemoteNoticed(static_cast<RemoteNotice>(event.count));
      break;
    case SerialEvent::Kind::HangUp:
      if (event.count > 0) outbox_.MarkCut();
      // What the device sent before it went away comes before the line that says so.
      ShowReceivedBytes(batches);
      batches.clear();
      HandleHangUp();
      break;
  }
}

// The device went away: close the port and say so in one line of the receive box, with
// what became of a send that it cut short, and the status line. No message box: with
// "自动重连" on, the device is awaited and reopened by itself.
void MainDialog::HandleHangUp() {
  if (busy_.DeferHangUp()) return;
  const bool cut = outbox_.TakeCut();
  CloseLostPort();
  reconnect_.WentAway(preferences_.autoReconnect);
  if (reconnect_.Awaiting()) AwaitReturn();
  QString line = QString::fromUtf8(reconnect_.Awaiting() ? kAwaitingReturnLineText : kHungUpText)
                     .arg(QString::fromStdString(portStatus_.PortName()));
  if (cut) line += QString::fromUtf8(kSendCutText).arg(outbox_.WrittenThisSend());
  AppendReceiveText(QStringLiteral("\r\n%1\r\n").arg(line).toStdString());
  UpdateStatusLine();
}

// The port was lost under the window: what was queued for it goes with it.
void MainDialog::CloseLostPort() {
  StopPanelRun();
  link_.ClosePort();
  EndBlockNow();
  DropOutbox();
  UpdateOpenButton();
}

// Message boxes run their own event loop, in which more events may be drained;
// notices found meanwhile wait for the box that is showing.
void MainDialog::Notify(const QString& text) {
  busy_.AddNotice(text.toStdString());
  ShowPendingNotices();
}

void MainDialog::ShowPendingNotices() {
  busy_.ShowNotices([this](const std::string& text) { prompter_.ShowMessage(this, QString::fromStdString(text)); });
}

}  // namespace portprobe
