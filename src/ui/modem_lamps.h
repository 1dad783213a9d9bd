#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;

namespace portprobe::ui {

// Four lamps for the lines a device drives, CTS, DSR, RI and DCD: green while the
// line is on, dark while it is off, and all grey while there is nothing to show (no
// port open, or a device without such lines), with the reason as tool tip.
class ModemLamps : public QWidget {
  Q_OBJECT

 public:
  enum class Lamp { Off, On, Grey };
  static constexpr int kLampCount = 4;

  explicit ModemLamps(QWidget* parent = nullptr);

  // Bit i lights lamp i.
  void ShowLines(std::uint32_t lit);
  void ShowGrey(const QString& reason);
  Lamp State(int lamp) const { return states_[static_cast<std::size_t>(lamp)]; }

 private:
  void Paint(std::size_t lamp, Lamp state);

  std::array<QLabel*, kLampCount> labels_{};
  std::array<Lamp, kLampCount> states_{};
};

}  // namespace portprobe::ui
