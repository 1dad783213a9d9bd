// The port list: the ports given on the command line, the serial ports that udev
// knows (rows that come and go while the window runs), "---------" and COM1 to COM128.
#include <QComboBox>
#include <QSocketNotifier>

#include "app/main_dialog.h"
#include "resources/control_ids.h"

namespace portprobe {

using namespace resources;

namespace {

constexpr int kComPortCount = 128;
const QString kSeparatorRow = QStringLiteral("---------");
// A udev row holds its port's name; the row text adds the description.
constexpr int kPortNameRole = Qt::UserRole;
// A udev row whose device went away while it was selected stays until another is picked.
constexpr int kGoneRole = Qt::UserRole + 1;

void SetPortRow(QComboBox* list, int row, const SerialPort& port) {
  list->setItemText(row, QString::fromStdString(PortListText(port)));
  list->setItemData(row, QString::fromStdString(port.name), kPortNameRole);
  list->setItemData(row, QString::fromStdString(port.byIdPath.empty() ? port.path : port.byIdPath), Qt::ToolTipRole);
  list->setItemData(row, false, kGoneRole);
}

}  // namespace

void MainDialog::FillPortList() {
  QComboBox* list = ComboBox(kPortList);
  for (const std::string& name : options_.leadingPorts) list->addItem(QString::fromStdString(name));
  list->addItem(kSeparatorRow);
  for (int n = 1; n <= kComPortCount; ++n) list->addItem(QStringLiteral("COM%1").arg(n));
  if (options_.enumeratePorts) {
    // Watched first, so that a device plugged in meanwhile is not missed.
    WatchPorts();
    for (const SerialPort& port : EnumerateSerialPorts()) AddPortRow(port);
  }
  list->setCurrentIndex(0);
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
      AddPortRow(change.port);
      PortAdded(change.port);
    } else {
      RemovePortRow(change.port);
      PortRemoved(change.port);
    }
  }
}

// udev rows stand between the command line's rows and "---------", sorted by name, at
// most kMaxEnumeratedPorts rows in all. A port that is listed already is renewed.
void MainDialog::AddPortRow(const SerialPort& port) {
  QComboBox* list = ComboBox(kPortList);
  if (const int row = ListedPortRow(port.name); row >= 0) {
    SetPortRow(list, row, port);
    return;
  }
  const int separator = list->findText(kSeparatorRow, Qt::MatchExactly);
  if (separator >= static_cast<int>(kMaxEnumeratedPorts)) return;
  int row = 0;
  while (row < separator && (PortNameOfRow(row) < port.name || !list->itemData(row, kPortNameRole).isValid())) ++row;
  list->insertItem(row, QString());
  SetPortRow(list, row, port);
}

void MainDialog::RemovePortRow(const SerialPort& port) {
  QComboBox* list = ComboBox(kPortList);
  const int row = ListedPortRow(port.name);
  if (row < 0) return;
  if (row == list->currentIndex()) {
    list->setItemData(row, true, kGoneRole);
  } else {
    list->removeItem(row);
  }
}

void MainDialog::DropGoneRows() {
  QComboBox* list = ComboBox(kPortList);
  for (int row = list->count() - 1; row >= 0; --row) {
    if (row != list->currentIndex() && list->itemData(row, kGoneRole).toBool()) list->removeItem(row);
  }
}

bool MainDialog::SelectedPortRowGone() const {
  const QComboBox* list = ComboBox(kPortList);
  return list->itemData(list->currentIndex(), kGoneRole).toBool();
}

void MainDialog::SelectPortRow(const SerialPort& port) {
  const int row = ListedPortRow(port.name);
  if (row < 0) return;
  ComboBox(kPortList)->setCurrentIndex(row);
  portStatus_.SetPortName(port.name);
  DropGoneRows();
  UpdateStatusLine();
}

// The udev row of a port, or -1.
int MainDialog::ListedPortRow(const std::string& name) const {
  const QComboBox* list = ComboBox(kPortList);
  return list->findData(QString::fromStdString(name), kPortNameRole, Qt::MatchExactly);
}

// The row that a name typed into the port box means: a udev port's name or a row's text.
int MainDialog::PortRowNamed(const QString& name) const {
  const int row = ListedPortRow(name.toStdString());
  return row >= 0 ? row : ComboBox(kPortList)->findText(name, Qt::MatchExactly);
}

std::string MainDialog::PortNameOfRow(int row) const {
  const QComboBox* list = ComboBox(kPortList);
  const QVariant name = list->itemData(row, kPortNameRole);
  return (name.isValid() ? name.toString() : list->itemText(row)).toStdString();
}

// Without enumeration (tests that list only their own ports) udev is left alone.
SerialPort MainDialog::IdentityOfPath(const std::string& path) const {
  return options_.enumeratePorts ? FindSerialPort(path) : PortOfPath(path);
}

}  // namespace portprobe
