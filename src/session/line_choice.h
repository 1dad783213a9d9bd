#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serial/line_settings.h"

namespace portprobe {

// The line settings chosen in the four lists of the port settings: the rate, which may
// be typed (a rate that no row has joins the baud list), and the rows of parity, data
// bits and stop bits. The lists show it; the port gets Settings().
class LineChoice {
 public:
  enum class List { Baud, Parity, DataBits, StopBits };
  static constexpr List kLists[] = {List::Baud, List::Parity, List::DataBits, List::StopBits};

  // The first start's choice: 9600, no parity, 8 data bits, 1 stop bit.
  LineChoice();

  // A list's rows as it shows them, and the chosen one (-1: none).
  const std::vector<std::string>& Rows(List list) const { return rows_[Index(list)]; }
  int Row(List list) const { return chosen_[Index(list)]; }
  std::string RowText(List list) const;
  // Picks a row; one the list lacks changes nothing and gives false.
  bool Pick(List list, int row);
  bool PickText(List list, std::string_view text);
  // A positive rate typed into the baud list is chosen, and joins its rows when none
  // has it; false for anything else.
  bool TypeRate(std::string_view text);
  // The driver refused the chosen rate: `rate`, the one in force, is chosen again, and
  // a typed rate that joined for the refused one leaves the list.
  void KeepRate(std::uint32_t rate);
  // The chosen rate reached the port (or there is none to refuse it): a typed rate
  // that joined for it stays in the list.
  void RateTaken() { joinedRow_ = -1; }

  LineSettings Settings(FlowControl flowControl) const;

 private:
  static std::size_t Index(List list) { return static_cast<std::size_t>(list); }

  std::vector<std::string> rows_[4];
  int chosen_[4];
  // The baud row that the last typed rate added, until it is kept or refused.
  int joinedRow_ = -1;
};

}  // namespace portprobe
