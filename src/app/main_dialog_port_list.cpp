// The port box shows the port list (session/port_list.h): the ports given on the
// command line, the serial ports that udev knows (rows that come and go while the window
// runs), "---------" and COM1 to COM128.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <filesystem>

#include "app/main_dialog.h"
#include "common/utf8_path.h"
#include "resources/control_ids.h"
#include "serial/network_address.h"

namespace portprobe {

using namespace resources;

void MainDialog::FillPortList() {
  portList_ = PortList(options_.leadingPorts);
  if (options_.enumeratePorts) {
    // Watched first, so that a device plugged in meanwhile is not missed.
    WatchPorts();
    for (const SerialPort& port : EnumerateSerialPorts()) portList_.Add(port);
  }
  ShowPortRows();
}

// At start-up the window opens only a port the user chose: the first one given on the
// command line, or the one opened last while it is there; else the first USB adapter
// that is no console. Otherwise it opens nothing and says that it found no device.
void MainDialog::OpenAtStart() {
  int row = options_.leadingPorts.empty() ? RememberedPortRow() : 0;
  if (row < 0) row = portList_.FirstAdapter(ConsolePortNames());
  portList_.Choose(row < 0 ? portList_.FirstPort() : row);
  ShowPortRows();
  if (row >= 0) {
    OpenPort(row);
  } else {
    portStatus_.SetPortName({});
  }
}

// A remembered port is there when the system lists it now, a path when it exists; a
// port on the network is tried.
int MainDialog::RememberedPortRow() {
  if (IsNetworkPortName(lastOpenedPort_)) return portList_.RowOfPath(lastOpenedPort_);
  const int row = portList_.RowOfPort(lastOpenedPort_);
  if (row >= 0 || !lastOpenedPort_.starts_with('/')) return row;
  std::error_code ignored;
  return std::filesystem::exists(PathFromUtf8(lastOpenedPort_), ignored) ? portList_.RowOfPath(lastOpenedPort_) : -1;
}

// The box follows the list's rows and its chosen row; a text being typed stays.
void MainDialog::ShowPortRows() {
  QComboBox* box = ComboBox(kPortList);
  const QSignalBlocker blocker(box);
  const QString typed = box->lineEdit()->text();
  const bool typing = box->count() > 0 && typed != box->itemText(box->currentIndex());
  box->clear();
  for (const PortList::Row& row : portList_.Rows()) {
    box->addItem(QString::fromStdString(row.text));
    if (!row.toolTip.empty()) box->setItemData(box->count() - 1, QString::fromStdString(row.toolTip), Qt::ToolTipRole);
  }
  box->setCurrentIndex(portList_.Chosen());
  // A row's name and description read from their start, not their tail.
  if (typing) {
    box->lineEdit()->setText(typed);
  } else {
    box->lineEdit()->setCursorPosition(0);
  }
}

void MainDialog::PortRowPicked(int row) {
  portList_.Choose(row);
  PortChanged();
}

void MainDialog::WatchPorts() {
  portWatcher_ = std::make_unique<PortWatcher>();
  if (portWatcher_->Fd() < 0) return;
  auto* notifier = new QSocketNotifier(portWatcher_->Fd(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, &MainDialog::PortsChanged);
}

void MainDialog::PortsChanged() {
  for (const PortChange& change : portWatcher_->TakeChanges()) {
    if (change.kind == PortChange::Kind::Added) {
      portList_.Add(change.port);
      ShowPortRows();
      PortAdded(change.port);
    } else {
      portList_.Remove(change.port);
      ShowPortRows();
      PortRemoved(change.port);
    }
  }
}

void MainDialog::DropGoneRows() {
  portList_.DropGone();
  ShowPortRows();
}

void MainDialog::SelectPortRow(const SerialPort& port) {
  const int row = portList_.RowOfPort(port.name);
  if (row < 0) return;
  portList_.Choose(row);
  portStatus_.SetPortName(port.name);
  DropGoneRows();
  UpdateStatusLine();
}

// Without enumeration (tests that list only their own ports) udev is left alone.
SerialPort MainDialog::IdentityOfPath(const std::string& path) const {
  return options_.enumeratePorts ? FindSerialPort(path) : PortOfPath(path);
}

}  // namespace portprobe
