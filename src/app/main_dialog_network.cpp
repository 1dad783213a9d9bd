// Ports on other machines in the window: what their servers did not do as asked, the
// line settings that a raw TCP port lacks, and the network ports used before, which
// stay rows of the port box.
#include <QComboBox>
#include <algorithm>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "serial/network_address.h"
#include "serial/open_result_text.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr std::size_t kRememberedNetworkPorts = 8;
constexpr int kLineLists[] = {kBaudList, kParityList, kDataBitsList, kStopBitsList};

}  // namespace

// A refused setting is told once and the connection goes on. A server that never
// answered the negotiation is no RFC 2217 port: it is closed, not awaited.
void MainDialog::RemoteNoticed(RemoteNotice notice) {
  const QString text = QString::fromUtf8(TextOf(notice).window);
  if (notice != RemoteNotice::NoAnswer) {
    if (remoteNoticesTold_.emplace(portStatus_.PortName(), notice).second) busy_.AddNotice(text.toStdString());
    return;
  }
  CloseLostPort();
  busy_.AddNotice(text.arg(QString::fromStdString(portStatus_.PortName())).toStdString());
  UpdateStatusLine();
}

// A raw TCP port carries bytes only: its line is set on the server's side.
void MainDialog::ShowLineSettingsUse() {
  const bool raw = IsRawTcpPortName(portStatus_.PortName());
  for (const int id : kLineLists) {
    ComboBox(id)->setEnabled(!raw);
    ComboBox(id)->setToolTip(raw ? QString::fromUtf8(kRawTcpLineTip) : QString());
  }
}

void MainDialog::RememberNetworkPort(const std::string& name) {
  if (!IsNetworkPortName(name)) return;
  std::erase(networkPorts_, name);
  networkPorts_.insert(networkPorts_.begin(), name);
  if (networkPorts_.size() > kRememberedNetworkPorts) networkPorts_.resize(kRememberedNetworkPorts);
}

// The latest ends up the first row.
void MainDialog::RestoreNetworkPorts(const QStringList& names) {
  networkPorts_.clear();
  for (const QString& name : names) {
    if (IsNetworkPortName(name.toStdString()) && networkPorts_.size() < kRememberedNetworkPorts)
      networkPorts_.push_back(name.toStdString());
  }
  std::for_each(networkPorts_.rbegin(), networkPorts_.rend(),
                [this](const std::string& name) { portList_.RowOfPath(name); });
  ShowPortRows();
}

}  // namespace portprobe
