// Reopening the device that went away while open ("自动重连"): the same device (the
// same by-id link, else the same path) is opened again with the window's settings as
// soon as udev announces it, and its path is tried twice a second meanwhile, for links
// and pseudo-terminals that udev does not announce. A port on the network is tried
// ever less often, up to every 5 seconds, until its server answers.
#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "serial/device_holders.h"
#include "serial/network_address.h"

namespace portprobe {

using namespace resources;

void MainDialog::AwaitReturn() { reconnectTimer_.start(reconnect_.TryInterval()); }

void MainDialog::CancelReconnect() {
  reconnect_.StopWaiting();
  reconnectTimer_.stop();
}

// A wait that the user's act ends is said to end, so that the line that promised a
// reconnect is not the last word.
void MainDialog::SayWaitStopped(bool wasAwaiting) {
  if (!wasAwaiting) return;
  StartLinesOfTheirOwn();
  AppendReceiveText(std::string(kStoppedAwaitingText) + "\r\n");
}

void MainDialog::ReconnectTick() {
  const std::optional<std::string> path = reconnect_.PathToTry();
  if (path && (IsNetworkPortName(*path) || MayReopenDevice(*path))) TryReconnect(*path);
}

// A device that cannot be opened yet is not reported, and the next try comes soon (a
// server's connect goes on between tries). One that opens but refuses the settings
// ends the wait with the reason, rather than being opened and closed again and again.
void MainDialog::TryReconnect(const std::string& path) {
  const SerialLink::OpenResult result = link_.OpenPort(path, SelectedLineSettings(), SerialLink::Attempt::Retry);
  if (reconnect_.KeepWaitingAfter(SerialLink::DeviceUnavailable(result), IsOpen())) {
    reconnectTimer_.setInterval(reconnect_.TryInterval());
    return;
  }
  reconnectTimer_.stop();
  if (!IsOpen()) {
    ReportOpenFailure(result);
    UpdateStatusLine();
    return;
  }
  CopySettingsTexts();
  UpdateOpenButton();
  const QString line = QString::fromUtf8(kReconnectedLineText).arg(QString::fromStdString(portStatus_.PortName()));
  AppendReceiveText(QStringLiteral("%1\r\n").arg(line).toStdString());
  UpdateStatusLine();
}

// The awaited device is back, perhaps under another name: its row becomes the
// selection and it is reopened. Reopened meanwhile through its by-id link, only the
// selection follows.
void MainDialog::PortAdded(const SerialPort& port) {
  const bool awaited = reconnect_.IsAwaited(port);
  const bool reopened = IsOpen() && portList_.ChosenGone() && IsSameDevice(reconnect_.OpenedDevice(), port);
  if (!awaited && !reopened) return;
  SelectPortRow(port);
  if (awaited) TryReconnect(std::string(port.path));
}

// udev may tell of an unplug before the link sees the line hang up. The node is
// compared, not the by-id link, which a twin adapter may share; what was read before
// the unplug is shown first.
void MainDialog::PortRemoved(const SerialPort& port) {
  if (!IsOpen() || port.path != reconnect_.OpenedDevice().path) return;
  DrainSerialEvents();
  if (IsOpen()) HandleHangUp();
}

void MainDialog::FollowAutoReconnect() {
  if (preferences_.autoReconnect) return;
  const bool wasAwaiting = reconnect_.Awaiting();
  CancelReconnect();
  SayWaitStopped(wasAwaiting);
}

// What the status line adds while the device is gone.
QString MainDialog::PortLossText() const {
  switch (reconnect_.State()) {
    case Reconnect::Loss::Awaiting:
      return QString::fromUtf8(kAwaitingReturnStatusText);
    case Reconnect::Loss::Gone:
      return QString::fromUtf8(kPortGoneStatusText);
    case Reconnect::Loss::StoppedWaiting:
      return QLatin1Char(' ') + QString::fromUtf8(kStoppedAwaitingText);
    case Reconnect::Loss::None:
      break;
  }
  return {};
}

}  // namespace portprobe
