// The waveform view "波形显示": made when first opened; while it is open it is given
// what the port reads and what the live decoder prints. Its choices, place and whether
// it is open are remembered in the settings group [wave].
#include "app/main_dialog.h"
#include "app/wave_window.h"

namespace portprobe {

WaveWindow* MainDialog::MakeWaveWindow() { return static_cast<WaveWindow*>(waveSide_.Made()); }

QWidget* MainDialog::NewWaveWindow() {
  waveWindow_ = new WaveWindow(this, prompter_);
  connect(waveWindow_, &WaveWindow::Changed, this, &MainDialog::ScheduleSettingsSave);
  connect(waveWindow_, &WaveWindow::Closed, this, [this] {
    waveSide_.Closed();
    ScheduleSettingsSave();
  });
  return waveWindow_;
}

void MainDialog::ToggleWaveWindow() {
  waveSide_.Toggle();
  ScheduleSettingsSave();
}

void MainDialog::PlotReceived(std::span<const SerialEvent> batches) {
  if (waveSide_.IsOpen()) waveWindow_->AddReceived(batches, preferences_.encoding);
}

void MainDialog::PlotDecoded(const LiveDecoder::Output& output) {
  if (waveSide_.IsOpen()) waveWindow_->AddDecoded(output.text, output.blockBegan, preferences_.encoding);
}

}  // namespace portprobe
