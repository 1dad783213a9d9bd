#include "app/wave_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

#include "resources/strings.h"
#include "wave/sample_csv.h"

namespace portprobe {

using namespace resources;

namespace {

// About 33 frames a second at most; and frames take at most a sixth of the
// window's thread, so that a costly view never slows what the port reads.
constexpr int kFrameMilliseconds = 30;
constexpr int kFrameShare = 6;
constexpr int kDefaultSpanSeconds = 10;
constexpr double kValueLimit = 1e9;

// Eight colours far apart, then again from the first.
const QColor kSeriesColours[] = {QColor(31, 119, 180), QColor(214, 39, 40),  QColor(44, 160, 44),
                                 QColor(255, 127, 14), QColor(148, 103, 189), QColor(140, 86, 75),
                                 QColor(227, 119, 194), QColor(23, 190, 207)};

QPushButton* AddButton(QHBoxLayout& row, const char* text) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  row.addWidget(button);
  return button;
}

QDoubleSpinBox* LimitBox(double value) {
  auto* box = new QDoubleSpinBox;
  box->setRange(-kValueLimit, kValueLimit);
  box->setDecimals(3);
  box->setValue(value);
  // Wide enough for everyday limits; longer ones scroll inside.
  box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-000000.000")) + 32);
  return box;
}

}  // namespace

WaveWindow::WaveWindow(QWidget* mainWindow, ui::Prompter& prompter)
    : QWidget(mainWindow, Qt::Window),
      prompter_(prompter),
      lines_([this](WallTime time, std::span<const NamedValue> values) { AddRow(time, values); }),
      decoded_([this](WallTime time, std::span<const NamedValue> values) { AddRow(time, values); }) {
  setWindowTitle(QString::fromUtf8(kWaveTitleText));
  BuildLayout();
  resize(760, 420);
  frameTimer_.setInterval(kFrameMilliseconds);
  connect(&frameTimer_, &QTimer::timeout, this, &WaveWindow::DrawFrame);
}

void WaveWindow::BuildLayout() {
  plot_ = new QCustomPlot;
  plot_->xAxis->setLabel(QString::fromUtf8(kWaveTimeAxisText));
  // One-pixel curves drawn as plain polylines: a wider pen is stroked as a shape, whose
  // cost grows with how often a decimated curve turns.
  plot_->setPlottingHint(QCP::phFastPolylines, true);
  plot_->legend->setVisible(true);
  plot_->legend->setBrush(QColor(255, 255, 255, 210));  // curves show through it
  plot_->legend->setSelectableParts(QCPLegend::spItems);
  plot_->setInteractions(QCP::iSelectLegend);
  cursor_ = new QCPItemStraightLine(plot_);
  cursor_->setPen(QPen(Qt::gray, 1, Qt::DashLine));
  cursor_->setVisible(false);
  connect(plot_, &QCustomPlot::legendClick, this, &WaveWindow::ToggleSeries);
  connect(plot_, &QCustomPlot::mouseMove, this, &WaveWindow::ShowReading);
  // While paused the user moves the view; the curves follow it.
  connect(plot_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
    if (paused_) dirty_ = true;
  });

  reading_ = new QLabel;
  reading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  reading_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // many series never widen the window
  skipped_ = new QLabel;
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(reading_, 1);
  bottom->addWidget(skipped_);
  exportCsvButton_ = AddButton(*bottom, kWaveExportCsvText);
  exportPngButton_ = AddButton(*bottom, kWaveExportPngText);
  connect(exportCsvButton_, &QPushButton::clicked, this, &WaveWindow::ExportCsv);
  connect(exportPngButton_, &QPushButton::clicked, this, &WaveWindow::ExportPng);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildControls());
  layout->addWidget(plot_, 1);
  layout->addLayout(bottom);
  ShowSkipped();
}

QLayout* WaveWindow::BuildControls() {
  auto* row = new QHBoxLayout;
  sourceList_ = new QComboBox;
  for (const char* text : kWaveSourceTexts) sourceList_->addItem(QString::fromUtf8(text));
  sourceList_->setToolTip(QString::fromUtf8(kWaveSourceTipText));
  row->addWidget(sourceList_);
  row->addWidget(new QLabel(QString::fromUtf8(kWaveSpanText)));
  spanBox_ = new QSpinBox;
  spanBox_->setRange(1, 24 * 3600);
  spanBox_->setValue(kDefaultSpanSeconds);
  spanBox_->setSuffix(QString::fromUtf8(kWaveSecondsSuffixText));
  row->addWidget(spanBox_);
  allCheck_ = new QCheckBox(QString::fromUtf8(kWaveAllText));
  row->addWidget(allCheck_);
  autoScaleCheck_ = new QCheckBox(QString::fromUtf8(kWaveAutoScaleText));
  autoScaleCheck_->setChecked(true);
  row->addWidget(autoScaleCheck_);
  lowBox_ = LimitBox(-1);
  highBox_ = LimitBox(1);
  row->addWidget(lowBox_);
  row->addWidget(highBox_);
  row->addStretch(1);
  pauseButton_ = AddButton(*row, kWavePauseText);
  pauseButton_->setToolTip(QString::fromUtf8(kWaveHintText));
  clearButton_ = AddButton(*row, kWaveClearText);

  connect(sourceList_, &QComboBox::currentIndexChanged, this, &WaveWindow::ChoicesChanged);
  connect(spanBox_, &QSpinBox::valueChanged, this, &WaveWindow::ChoicesChanged);
  for (QCheckBox* check : {allCheck_, autoScaleCheck_}) connect(check, &QCheckBox::toggled, this, &WaveWindow::ChoicesChanged);
  for (QDoubleSpinBox* box : {lowBox_, highBox_}) {
    connect(box, &QDoubleSpinBox::valueChanged, this, &WaveWindow::ChoicesChanged);
  }
  connect(pauseButton_, &QPushButton::clicked, this, &WaveWindow::TogglePause);
  connect(clearButton_, &QPushButton::clicked, this, &WaveWindow::Clear);
  ChoicesChanged();
  return row;
}

void WaveWindow::ChoicesChanged() {
  spanBox_->setEnabled(!allCheck_->isChecked());
  lowBox_->setEnabled(!autoScaleCheck_->isChecked());
  highBox_->setEnabled(!autoScaleCheck_->isChecked());
  dirty_ = true;
  emit Changed();
}

void WaveWindow::AddReceived(std::span<const SerialEvent> batches, TextEncoding encoding) {
  if (sourceList_->currentIndex() != static_cast<int>(Source::Lines)) return;
  lines_.SetEncoding(encoding);
  for (const SerialEvent& batch : batches) {
    if (batch.kind == SerialEvent::Kind::Batch) lines_.Add(batch.bytes, batch.time);
  }
}

void WaveWindow::AddDecoded(std::string_view output, WallTime time, TextEncoding encoding) {
  if (sourceList_->currentIndex() != static_cast<int>(Source::Decoded)) return;
  decoded_.SetEncoding(encoding);
  decoded_.AddBlock(output, time);
}

// Only rows change the picture: lines without numbers (a binary flood) draw nothing.
void WaveWindow::AddRow(WallTime time, std::span<const NamedValue> values) {
  store_.AddRow(time, values);
  dirty_ = true;
}

// Nothing is drawn while nothing changed. A paused view keeps collecting, and its
// axes are the user's to zoom and move.
void WaveWindow::DrawFrame() {
  ShowSkipped();
  if (!dirty_) return;
  dirty_ = false;
  QElapsedTimer cost;
  cost.start();
  MakeGraphs();
  if (!paused_) {
    const double last = store_.LastSeconds();
    const double first = allCheck_->isChecked() ? store_.FirstSeconds() : last - spanBox_->value();
    QSignalBlocker quiet(plot_->xAxis);
    plot_->xAxis->setRange(first, std::max(last, first + 1e-3));
  }
  SetCurves();
  if (!paused_) ScaleValues();
  plot_->replot(QCustomPlot::rpImmediateRefresh);
  // Setting the interval restarts the timer, so it is set only when it changes.
  const int interval = std::max<int>(kFrameMilliseconds, static_cast<int>(cost.elapsed()) * kFrameShare);
  if (interval != frameTimer_.interval()) frameTimer_.setInterval(interval);
}

void WaveWindow::MakeGraphs() {
  while (static_cast<std::size_t>(plot_->graphCount()) < store_.SeriesCount()) {
    const int index = plot_->graphCount();
    QCPGraph* graph = plot_->addGraph();
    graph->setName(QString::fromStdString(store_.SeriesName(static_cast<std::size_t>(index))));
    graph->setPen(QPen(kSeriesColours[index % std::size(kSeriesColours)], 1));
  }
}

// Each curve holds only what its columns show: the lowest and highest value of each.
void WaveWindow::SetCurves() {
  const QCPRange range = plot_->xAxis->range();
  const int columns = std::max(1, plot_->axisRect()->width());
  for (int i = 0; i < plot_->graphCount(); ++i) {
    QVector<QCPGraphData> points;
    for (const CurvePoint& point : store_.Envelope(static_cast<std::size_t>(i), range.lower, range.upper, columns)) {
      points.append(QCPGraphData(point.seconds, point.value));
    }
    plot_->graph(i)->data()->set(points, true);
  }
}

void WaveWindow::ScaleValues() {
  if (!autoScaleCheck_->isChecked()) {
    if (lowBox_->value() < highBox_->value()) plot_->yAxis->setRange(lowBox_->value(), highBox_->value());
    return;
  }
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (int i = 0; i < plot_->graphCount(); ++i) {
    if (!plot_->graph(i)->visible()) continue;
    bool found = false;
    const QCPRange values = plot_->graph(i)->getValueRange(found);
    if (!found) continue;
    low = std::min(low, values.lower);
    high = std::max(high, values.upper);
  }
  if (!(low <= high)) return;
  const double margin = low == high ? 1 : (high - low) * 0.05;
  plot_->yAxis->setRange(low - margin, high + margin);
}

void WaveWindow::TogglePause() {
  paused_ = !paused_;
  pauseButton_->setText(QString::fromUtf8(paused_ ? kWaveResumeText : kWavePauseText));
  plot_->setInteractions(paused_ ? QCP::iSelectLegend | QCP::iRangeDrag | QCP::iRangeZoom : QCP::iSelectLegend);
  dirty_ = true;
}

void WaveWindow::Clear() {
  store_.Clear();
  lines_.Reset();
  decoded_.Reset();
  plot_->clearGraphs();
  reading_->clear();
  dirty_ = true;
  DrawFrame();
}

QString WaveWindow::AskSavePath(const char* filter, const char* extension) {
  return prompter_.GetSaveFileName(this, {QString::fromUtf8(filter), QString::fromUtf8(extension), QString()});
}

void WaveWindow::ExportCsv() {
  const QString path = AskSavePath(kCsvFilterText, "csv");
  if (path.isEmpty()) return;
  const Outcome written = WriteSamplesCsv(store_, QDir::toNativeSeparators(path).toStdString());
  if (!written) {
    prompter_.ShowMessage(this, QString::fromUtf8(kUnwritableFileText).arg(path, QString::fromStdString(written.Reason())));
  }
}

void WaveWindow::ExportPng() {
  const QString path = AskSavePath(kPngFilterText, "png");
  if (path.isEmpty()) return;
  DrawFrame();
  if (!plot_->savePng(path)) prompter_.ShowMessage(this, QString::fromUtf8(kUnwritableFileText).arg(path, QString()));
}

// A click on a legend entry hides its curve, or shows it again.
void WaveWindow::ToggleSeries(QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
  auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
  if (entry == nullptr) return;
  QCPAbstractPlottable* curve = entry->plottable();
  curve->setVisible(!curve->visible());
  entry->setTextColor(curve->visible() ? Qt::black : Qt::gray);
  plot_->deselectAll();
  dirty_ = true;
  DrawFrame();
}

// The time under the mouse and each series' last value at that time.
void WaveWindow::ShowReading(QMouseEvent* event) {
  const double seconds = plot_->xAxis->pixelToCoord(event->position().x());
  QStringList parts{QString::fromUtf8(kWaveCursorText).arg(seconds, 0, 'f', 3)};
  for (std::size_t i = 0; i < store_.SeriesCount(); ++i) {
    if (const std::optional<CurvePoint> point = store_.ValueAt(i, seconds)) {
      parts << QStringLiteral("%1=%2").arg(QString::fromStdString(store_.SeriesName(i))).arg(point->value, 0, 'g', 10);
    }
  }
  reading_->setText(parts.join(QStringLiteral("   ")));
  cursor_->point1->setCoords(seconds, 0);
  cursor_->point2->setCoords(seconds, 1);
  cursor_->setVisible(true);
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

void WaveWindow::ShowSkipped() {
  skipped_->setText(QString::fromUtf8(kWaveSkippedText).arg(lines_.SkippedLines() + decoded_.SkippedLines()));
}

QString WaveWindow::SettingsText() const {
  return QStringLiteral("source=%1;seconds=%2;all=%3;auto=%4;low=%5;high=%6")
      .arg(sourceList_->currentIndex())
      .arg(spanBox_->value())
      .arg(int(allCheck_->isChecked()))
      .arg(int(autoScaleCheck_->isChecked()))
      .arg(lowBox_->value())
      .arg(highBox_->value());
}

void WaveWindow::SetSettingsText(const QString& text) {
  for (const QString& pair : text.split(QLatin1Char(';'))) {
    const QString name = pair.section(QLatin1Char('='), 0, 0);
    bool number = false;
    const double value = pair.section(QLatin1Char('='), 1).toDouble(&number);
    if (!number) continue;
    if (name == QStringLiteral("source") && value >= 0 && value < sourceList_->count()) {
      sourceList_->setCurrentIndex(static_cast<int>(value));
    } else if (name == QStringLiteral("seconds")) {
      spanBox_->setValue(static_cast<int>(value));
    } else if (name == QStringLiteral("all") || name == QStringLiteral("auto")) {
      (name == QStringLiteral("all") ? allCheck_ : autoScaleCheck_)->setChecked(value != 0);
    } else if (name == QStringLiteral("low") || name == QStringLiteral("high")) {
      (name == QStringLiteral("low") ? lowBox_ : highBox_)->setValue(value);
    }
  }
}

void WaveWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit Closed();
}

// Frames are drawn only while the view can be seen.
void WaveWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  frameTimer_.start();
  dirty_ = true;
}

void WaveWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  frameTimer_.stop();
}

// Its place is remembered.
void WaveWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  emit Changed();
}

void WaveWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  dirty_ = true;
  emit Changed();
}

}  // namespace portprobe
