#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <span>
#include <string_view>

#include "codec/text_encoding.h"
#include "serial/serial_event.h"
#include "ui/prompter.h"
#include "wave/sample_lines.h"
#include "wave/sample_store.h"

class QCheckBox;
class QComboBox;
class QCPAbstractLegendItem;
class QCPItemStraightLine;
class QCPLegend;
class QCustomPlot;
class QDoubleSpinBox;
class QLabel;
class QMouseEvent;
class QPushButton;
class QSpinBox;

namespace portprobe {

// "波形显示": a window beside the main window that plots the numbers the device sends,
// from its text lines or from the live decoder's name=value lines. It redraws about 30
// times a second at most, only when something changed and within a sixth of the
// window's thread, each curve decimated to the lowest and highest value of each pixel
// column.
class WaveWindow : public QWidget {
  Q_OBJECT

 public:
  enum class Source { Lines, Decoded };

  WaveWindow(QWidget* mainWindow, ui::Prompter& prompter);

  // What the port read, and what the live decoder printed for a block that began at
  // `time` (one row); each counts only while it is the chosen source.
  void AddReceived(std::span<const SerialEvent> batches, TextEncoding encoding);
  void AddDecoded(std::string_view output, WallTime time, TextEncoding encoding);

  // The view's choices as remembered text, and back; a text that is no such text
  // leaves the defaults.
  QString SettingsText() const;
  void SetSettingsText(const QString& text);

  const SampleStore& Samples() const { return store_; }
  QCustomPlot* Plot() const { return plot_; }
  QComboBox* SourceList() const { return sourceList_; }
  QPushButton* PauseButton() const { return pauseButton_; }
  QPushButton* ClearButton() const { return clearButton_; }
  QPushButton* ExportCsvButton() const { return exportCsvButton_; }
  QPushButton* ExportPngButton() const { return exportPngButton_; }
  QLabel* Reading() const { return reading_; }
  // Draws what arrived since the last frame now, as the frame timer would.
  void DrawFrame();

 signals:
  void Changed();
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildLayout();
  QLayout* BuildControls();
  void AddRow(WallTime time, std::span<const NamedValue> values);
  void MakeGraphs();
  void SetCurves();
  void ScaleValues();
  void TogglePause();
  void Clear();
  void ExportCsv();
  void ExportPng();
  QString AskSavePath(const char* filter, const char* extension);
  void ToggleSeries(QCPLegend* legend, QCPAbstractLegendItem* item, QMouseEvent* event);
  void ShowReading(QMouseEvent* event);
  void ShowSkipped();
  void ChoicesChanged();

  ui::Prompter& prompter_;
  SampleStore store_;
  SampleLines lines_;
  SampleLines decoded_;
  bool paused_ = false;
  bool dirty_ = false;
  QTimer frameTimer_;
  QCustomPlot* plot_;
  QCPItemStraightLine* cursor_;
  QComboBox* sourceList_;
  QSpinBox* spanBox_;
  QCheckBox* allCheck_;
  QCheckBox* autoScaleCheck_;
  QDoubleSpinBox* lowBox_;
  QDoubleSpinBox* highBox_;
  QPushButton* pauseButton_;
  QPushButton* clearButton_;
  QPushButton* exportCsvButton_;
  QPushButton* exportPngButton_;
  QLabel* reading_;
  QLabel* skipped_;
};

}  // namespace portprobe
