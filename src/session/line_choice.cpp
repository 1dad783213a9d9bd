#include "session/line_choice.h"

#include <algorithm>

#include "codec/decimal_text.h"

namespace portprobe {

namespace {

template <typename Table>
std::vector<std::string> TextsOf(const Table& table) {
  return std::vector<std::string>(table.begin(), table.end());
}

}  // namespace

LineChoice::LineChoice()
    : rows_{TextsOf(kBaudRows), TextsOf(kParityRows), TextsOf(kDataBitsRows), TextsOf(kStopBitsRows)},
      chosen_{kDefaultBaudRow, 0, 0, 0} {}

std::string LineChoice::RowText(List list) const {
  const int row = Row(list);
  return row < 0 ? std::string() : Rows(list)[static_cast<std::size_t>(row)];
}

bool LineChoice::Pick(List list, int row) {
  if (row < 0 || row >= static_cast<int>(Rows(list).size())) return false;
  chosen_[Index(list)] = row;
  if (list == List::Baud && row != joinedRow_) joinedRow_ = -1;
  return true;
}

bool LineChoice::PickText(List list, std::string_view text) {
  const std::vector<std::string>& rows = Rows(list);
  const auto found = std::find(rows.begin(), rows.end(), text);
  return found != rows.end() && Pick(list, static_cast<int>(found - rows.begin()));
}

bool LineChoice::TypeRate(std::string_view text) {
  const std::optional<std::uint32_t> rate = ParseUnsignedDecimal(std::string(text));
  if (!rate || *rate == 0) return false;
  const std::string rateText = std::to_string(*rate);
  if (PickText(List::Baud, rateText)) return true;
  rows_[Index(List::Baud)].push_back(rateText);
  chosen_[Index(List::Baud)] = joinedRow_ = static_cast<int>(Rows(List::Baud).size()) - 1;
  return true;
}

void LineChoice::KeepRate(std::uint32_t rate) {
  const int joined = joinedRow_;
  if (!PickText(List::Baud, std::to_string(rate))) chosen_[Index(List::Baud)] = -1;
  if (joined >= 0 && Row(List::Baud) != joined) {
    std::vector<std::string>& bauds = rows_[Index(List::Baud)];
    bauds.erase(bauds.begin() + joined);
    if (Row(List::Baud) > joined) --chosen_[Index(List::Baud)];
  }
  joinedRow_ = -1;
}

// Every row of the baud list is a rate; without a chosen row the rate is 0.
LineSettings LineChoice::Settings(FlowControl flowControl) const {
  const std::optional<std::uint32_t> rate = ParseUnsignedDecimal(RowText(List::Baud));
  LineSettings settings{rate.value_or(0), Row(List::Parity), Row(List::DataBits), Row(List::StopBits)};
  settings.flowControl = flowControl;
  return settings;
}

}  // namespace portprobe
