// Reopening the device that went away while open ("自动重连"): the same device (the
// same by-id link, else the same path) is opened again with the window's settings as
// soon as udev announces it, and its path is tried twice a second meanwhile, for links
// and pseudo-terminals that udev does not announce.
#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "serial/device_holders.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr int kReconnectTryMilliseconds = 500;

}  // namespace

void MainDialog::AwaitReturn() {
  awaitedPort_ = openedPort_;
  reconnectTimer_.start(kReconnectTryMilliseconds);
}

void MainDialog::CancelReconnect() {
  awaitedPort_.reset();
  reconnectTimer_.stop();
}

void MainDialog::ReconnectTick() {
  if (!awaitedPort_) return;
  const std::string path = ReopenPath(*awaitedPort_);
  if (MayReopenDevice(path)) TryReconnect(path);
}

// A device that cannot be opened yet is not reported: it may be on its way (its node
// not yet given to the user's group), and the next try comes soon. One that opens but
// refuses the settings ends the wait with the reason, rather than being opened and
// closed again and again.
void MainDialog::TryReconnect(const std::string& path) {
  const SerialLink::OpenResult result = link_.OpenPort(path, SelectedLineSettings());
  if (result == SerialLink::OpenResult::OpenFailed) return;
  CancelReconnect();
  if (!IsOpen()) {
    ReportOpenFailure(result);
    UpdateStatusLine();
    return;
  }
  portGone_ = false;
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
  const bool awaited = awaitedPort_ && IsSameDevice(*awaitedPort_, port);
  const bool reopened = IsOpen() && SelectedPortRowGone() && IsSameDevice(openedPort_, port);
  if (!awaited && !reopened) return;
  SelectPortRow(port);
  if (awaited) TryReconnect(std::string(port.path));
}

// udev may tell of an unplug before the link sees the line hang up. The node is
// compared, not the by-id link, which a twin adapter may share; what was read before
// the unplug is shown first.
void MainDialog::PortRemoved(const SerialPort& port) {
  if (!IsOpen() || port.path != openedPort_.path) return;
  DrainSerialEvents();
  if (IsOpen()) HandleHangUp();
}

void MainDialog::FollowAutoReconnect() {
  if (!preferences_.autoReconnect) CancelReconnect();
}

// What the status line adds while the device is gone.
QString MainDialog::PortLossText() const {
  if (awaitedPort_) return QString::fromUtf8(kAwaitingReturnStatusText);
  return portGone_ ? QString::fromUtf8(kPortGoneStatusText) : QString();
}

}  // namespace portprobe
