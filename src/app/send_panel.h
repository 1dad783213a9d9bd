#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "automation/frame_panel.h"
#include "automation/send_sequence.h"
#include "common/byte_frame.h"
#include "ui/prompter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace portprobe {

// "多条发送": a window beside the main window with a table of frames, each with its own
// send button, and a run that sends the ticked rows in order with their delays. The
// rows live in PanelRow values; the table only shows and edits them.
class SendPanel : public QWidget {
  Q_OBJECT

 public:
  enum Column { kTickColumn, kNameColumn, kHexColumn, kFrameColumn, kChecksumColumn, kDelayColumn, kSendColumn };

  // What the panel asks of the main window.
  struct Link {
    // Hands a frame on; false when it could not be sent (the port is closed, which the
    // main window has said), and a run then ends.
    std::function<bool(const ByteFrame&)> send;
    // False while the frame last sent is not yet written or the window is busy: a run
    // waits rather than piling frames up.
    std::function<bool()> runMayGoOn;
  };

  SendPanel(QWidget* mainWindow, ui::Prompter& prompter, Link link);

  const std::vector<PanelRow>& Rows() const { return rows_; }
  // Shows these rows, and blank ones up to kPanelRowCount.
  void SetRows(std::vector<PanelRow> rows);
  bool Looping() const;
  void SetLooping(bool loop);
  bool Running() const { return sequence_.has_value(); }
  void StopRun();

  QTableWidget* Table() const { return table_; }
  QPushButton* RowSendButton(int row) const;
  QPushButton* RunButton() const { return runButton_; }
  QCheckBox* LoopCheck() const { return loopCheck_; }
  QPushButton* ImportButton() const { return importButton_; }
  QPushButton* ExportButton() const { return exportButton_; }
  QLabel* StatusLabel() const { return status_; }

 signals:
  // The rows, the loop switch or the window's place changed, so they are remembered.
  void Changed();
  // The user closed the window.
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetUpTable();
  QWidget* MakeButtonRow();
  void FillRow(int row);
  void AddRowWidgets(int row);
  void ItemChanged(int row, int column);
  void RowEdited(int row);
  void ShowFrameCheck(int row);
  int RowOf(const QWidget* cellWidget, int column) const;

  void SendRow(int row);
  void ToggleRun();
  void Step();
  void ReportSkipped(const std::vector<SkippedRow>& skipped);
  void ShowStatus(const QString& text);

  void ImportFile();
  void ExportFile();

  ui::Prompter& prompter_;
  Link link_;
  std::vector<PanelRow> rows_;
  // On while the table is filled from the rows, so its signals change no row.
  bool filling_ = false;
  // The built-in checksum rows the lists offer after "无校验", in list order.
  std::vector<int> checksumRows_;

  QTableWidget* table_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QCheckBox* loopCheck_ = nullptr;
  QPushButton* importButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QLabel* status_ = nullptr;

  std::optional<SendSequence> sequence_;
  // The delay of the row last sent, until its frame is written and the delay begins.
  std::optional<int> delayAfterWrite_;
  // Waits the delay of the row last sent.
  QTimer stepTimer_;
};

}  // namespace portprobe
