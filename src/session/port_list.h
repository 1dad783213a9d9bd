#pragma once

#include <string>
#include <vector>

#include "serial/port_enumeration.h"

namespace portprobe {

// The rows of the port box, and which one is chosen: the ports given on the command
// line, the serial ports that the system lists (rows that come and go while the window
// runs), "---------", and COM1 to COM128. Rows are counted from 0; -1 is no row.
class PortList {
 public:
  struct Row {
    std::string text;     // as the box shows it: a listed port's name and description
    std::string name;     // the port: a listed port's name, else the text
    std::string toolTip;  // a listed port's stable path
    bool listed = false;  // a port that the system lists
    bool gone = false;    // listed, and its device went away while it was chosen
    bool adapter = false;  // listed, a USB serial adapter or USB modem
  };

  static constexpr int kComPortCount = 128;
  static constexpr const char kSeparator[] = "---------";

  explicit PortList(const std::vector<std::string>& leadingPorts = {});

  const std::vector<Row>& Rows() const { return rows_; }
  int Chosen() const { return chosen_; }
  // Out-of-range rows choose nothing.
  void Choose(int row);
  bool ChosenGone() const { return Valid(chosen_) && rows_[chosen_].gone; }
  // The port of a row; empty for no row.
  std::string NameOf(int row) const { return Valid(row) ? rows_[row].name : std::string(); }

  // The row of a listed port, or -1.
  int RowOfPort(const std::string& name) const;
  // The row that a name typed into the box means: a listed port's name or a row's text.
  int RowNamed(const std::string& text) const;
  // The row of a typed path, which becomes the first row when no row has it yet.
  int RowOfPath(const std::string& path);
  // The first listed adapter that is none of `consoles`, or -1.
  int FirstAdapter(const std::vector<std::string>& consoles) const;
  // The first row that is not the separator.
  int FirstPort() const;

  // A port the system lists: a new row, in name order after the given ones and before
  // the separator (at most kMaxEnumeratedPorts rows there), or its row renewed.
  void Add(const SerialPort& port);
  // A listed port went away: its row goes, unless it is chosen; then it stays, marked
  // gone, until another row is chosen.
  void Remove(const SerialPort& port);
  // Drops the gone rows that are not chosen.
  void DropGone();

 private:
  bool Valid(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }
  void Insert(int row, Row added);
  void Erase(int row);

  std::vector<Row> rows_;
  int chosen_ = 0;
};

}  // namespace portprobe
