#include "session/port_list.h"

#include <algorithm>

namespace portprobe {

namespace {

PortList::Row RowOf(const SerialPort& port) {
  return {PortListText(port), port.name, port.byIdPath.empty() ? port.path : port.byIdPath, true, false,
          IsUsbAdapter(port)};
}

PortList::Row PlainRow(std::string text) { return {text, text, "", false, false, false}; }

}  // namespace

PortList::PortList(const std::vector<std::string>& leadingPorts) {
  for (const std::string& name : leadingPorts) rows_.push_back(PlainRow(name));
  rows_.push_back(PlainRow(kSeparator));
  for (int n = 1; n <= kComPortCount; ++n) rows_.push_back(PlainRow("COM" + std::to_string(n)));
}

void PortList::Choose(int row) { chosen_ = Valid(row) ? row : -1; }

int PortList::RowOfPort(const std::string& name) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row].listed && rows_[row].name == name) return static_cast<int>(row);
  }
  return -1;
}

int PortList::RowNamed(const std::string& text) const {
  if (const int row = RowOfPort(text); row >= 0) return row;
  const auto found = std::find_if(rows_.begin(), rows_.end(), [&text](const Row& row) { return row.text == text; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

int PortList::RowOfPath(const std::string& path) {
  if (const int row = RowNamed(path); row >= 0) return row;
  Insert(0, PlainRow(path));
  return 0;
}

int PortList::FirstAdapter(const std::vector<std::string>& consoles) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row].adapter && std::find(consoles.begin(), consoles.end(), rows_[row].name) == consoles.end())
      return static_cast<int>(row);
  }
  return -1;
}

int PortList::FirstPort() const { return rows_.front().name == kSeparator ? 1 : 0; }

void PortList::Add(const SerialPort& port) {
  if (const int row = RowOfPort(port.name); row >= 0) {
    rows_[row] = RowOf(port);
    return;
  }
  const int separator = RowNamed(kSeparator);
  if (separator >= static_cast<int>(kMaxEnumeratedPorts)) return;
  int row = 0;
  while (row < separator && (!rows_[row].listed || rows_[row].name < port.name)) ++row;
  Insert(row, RowOf(port));
}

void PortList::Remove(const SerialPort& port) {
  const int row = RowOfPort(port.name);
  if (row < 0) return;
  if (row == chosen_) {
    rows_[row].gone = true;
  } else {
    Erase(row);
  }
}

void PortList::DropGone() {
  for (int row = static_cast<int>(rows_.size()) - 1; row >= 0; --row) {
    if (row != chosen_ && rows_[row].gone) Erase(row);
  }
}

void PortList::Insert(int row, Row added) {
  rows_.insert(rows_.begin() + row, std::move(added));
  if (chosen_ >= row) ++chosen_;
}

void PortList::Erase(int row) {
  rows_.erase(rows_.begin() + row);
  if (chosen_ > row) --chosen_;
}

}  // namespace portprobe
