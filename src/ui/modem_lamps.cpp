#include "ui/modem_lamps.h"

#include <QHBoxLayout>
#include <QLabel>

#include "resources/strings.h"

namespace portprobe::ui {

namespace {

QString DotColour(ModemLamps::Lamp state) {
  switch (state) {
    case ModemLamps::Lamp::On:
      return QStringLiteral("#00b000");
    case ModemLamps::Lamp::Off:
      return QStringLiteral("#404040");
    case ModemLamps::Lamp::Grey:
      break;
  }
  return QStringLiteral("#c0c0c0");
}

}  // namespace

ModemLamps::ModemLamps(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(fontMetrics().averageCharWidth() / 2);
  for (QLabel*& label : labels_) {
    label = new QLabel(this);
    label->setTextFormat(Qt::RichText);
    row->addWidget(label);
  }
  row->addStretch();
  ShowGrey({});
}

void ModemLamps::ShowLines(std::uint32_t lit) {
  setToolTip(QString::fromUtf8(resources::kModemLampsLiveText));
  for (std::size_t lamp = 0; lamp < labels_.size(); ++lamp) Paint(lamp, (lit >> lamp) & 1u ? Lamp::On : Lamp::Off);
}

void ModemLamps::ShowGrey(const QString& reason) {
  setToolTip(reason);
  for (std::size_t lamp = 0; lamp < labels_.size(); ++lamp) Paint(lamp, Lamp::Grey);
}

// The window refreshes the lamps with every received batch; most refreshes change nothing.
void ModemLamps::Paint(std::size_t lamp, Lamp state) {
  if (states_[lamp] == state && !labels_[lamp]->text().isEmpty()) return;
  states_[lamp] = state;
  labels_[lamp]->setEnabled(state != Lamp::Grey);
  labels_[lamp]->setText(QStringLiteral("<span style=\"color:%1\">\u25CF</span>%2")
                             .arg(DotColour(state), QString::fromUtf8(resources::kModemLampTexts[lamp])));
}

}  // namespace portprobe::ui
