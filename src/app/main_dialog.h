#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QStringList>
#include <QTimer>
#include <QRect>

class QComboBox;
class QMenu;
class QMoveEvent;
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/settings_store.h"
#include "app/side_window.h"
#include "app/terminal_options.h"
#include "automation/live_decoder.h"
#include "automation/reply_rules.h"
#include "codec/hex_codec.h"
#include "codec/number_conversion.h"
#include "codec/text_encoding.h"
#include "common/byte_frame.h"
#include "files/parser_slots.h"
#include "files/send_file.h"
#include "serial/line_settings.h"
#include "serial/port_enumeration.h"
#include "serial/port_watcher.h"
#include "serial/serial_link.h"
#include "session/auto_send_period.h"
#include "session/busy_state.h"
#include "session/line_choice.h"
#include "session/outbox.h"
#include "session/parser_output_queue.h"
#include "session/port_list.h"
#include "session/port_status.h"
#include "session/preferences.h"
#include "session/receive_path.h"
#include "session/reconnect.h"
#include "ui/prompter.h"
#include "ui/template_dialog.h"

namespace portprobe {

class CaptureControls;
class HistoryPopup;
class HistoryView;
class ReceiveFind;
class ReplyRulesWindow;
class SendPanel;
class WaveWindow;

namespace parser {
class PacketParser;
}

namespace ui {
class ConsoleView;
class FindBar;
class ModemLamps;
class PlainTextView;
}  // namespace ui

// The terminal's one window, built from template 102.
class MainDialog : public ui::TemplateDialog {
  Q_OBJECT

 public:
  MainDialog(ui::Prompter& prompter, TerminalOptions options, QWidget* parent = nullptr);
  ~MainDialog() override;

  std::int64_t RxCount() const { return receive_.RxCount(); }
  std::int64_t TxCount() const { return receive_.TxCount(); }
  bool IsOpen() const { return link_.IsOpen(); }
  bool WantOpen() const { return wantOpen_; }
  std::uint32_t AutoSendPeriod() const { return autoSendPeriod_.Milliseconds(); }
  bool StartupDone() const { return startupDone_; }
  HistoryPopup* HistoryPopupWindow() const;
  ReplyRulesWindow* RepliesWindow() const { return repliesWindow_; }
  // The window's side windows are never placed over it.
  const QWidget* ToolsMenuButton() const;
  // The multi-frame send panel; none until it is first opened or restored.
  SendPanel* SendPanelWindow() const { return sendPanel_; }
  WaveWindow* WaveView() const { return waveWindow_; }

  // Settings beyond the window's own controls (main_dialog_preferences.cpp).
  const Preferences& CurrentPreferences() const { return preferences_; }
  void SetPreferences(const Preferences& preferences);

  // The receive box 1006 and everything appended to it since the last clear, as the
  // box holds it: raw bytes, or UTF-8 text decoded from GB18030; the start-up text does
  // not count.
  ui::PlainTextView* ReceiveBox() const;
  // The send box 1005; its text has LF line ends, sent as CR LF.
  ui::PlainTextView* SendBox() const;
  std::string_view ReceiveText() const;
  const std::string& CapturePath() const { return receive_.CapturePath(); }

  // Puts `text` at the end of the receive box unchanged and shows the end.
  void AppendReceiveText(std::string_view text);

  void done(int result) override;

  friend void PrintToReceiveBox(std::string_view text);

 protected:
  // Only the close box ends the window: Enter confirms what the focused control
  // holds, and Escape is left to popups, menus and the find bar.
  void EnterPressed() override;
  void EscapePressed() override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void RunStartupSequence();
  void ShowAboutDialog();

  // Status line, open button and counters.
  void UpdateStatusLine();
  void UpdateOpenButton();
  void ResetCounters();
  // Reads edit 1001 into the period; shows why and focuses the edit when it is invalid.
  bool ExchangePeriodFromControl();

  // Port discovery, line settings and the link (main_dialog_port.cpp).
  void FillSettingLists();
  void ShowLineChoice();
  void LineListPicked(int listId, int row);
  // The line setting that a list control shows.
  static LineChoice::List ListOf(int listId);
  LineSettings SelectedLineSettings() const;
  void CopySettingText(int listId);
  void CopySettingsTexts();
  void SettingListChanged(int listId);
  void KeepAppliedBaudRate();
  bool BaudRateEntered();
  bool OpenPort(int row);
  // Tells the user why an open did not succeed.
  void ReportOpenFailure(SerialLink::OpenResult result);
  // `sayUnsent`: whether the user is told of bytes still queued, which are dropped.
  void ClosePort(bool sayUnsent);
  void ToggleOpen();
  void PortChanged();
  bool SelectTypedPortPath();
  bool PortPathEntered();
  void DrainSerialEvents();
  void HandleSerialEvent(SerialEvent& event, std::vector<SerialEvent>& batches);
  void HandleHangUp();
  void WarnAboutOtherHolders();
  void Notify(const QString& text);
  void ShowPendingNotices();
  void CloseLostPort();

  // Ports on other machines (main_dialog_network.cpp).
  void RemoteNoticed(RemoteNotice notice);
  void ShowLineSettingsUse();
  void RememberNetworkPort(const std::string& name);
  void RestoreNetworkPorts(const QStringList& names);
  // The network ports opened before, the latest first; each is a row of the port box.
  std::vector<std::string> networkPorts_;
  // What each server refused, told once while the window lasts, not at every reconnect.
  std::set<std::pair<std::string, RemoteNotice>> remoteNoticesTold_;

  // The live port list (main_dialog_port_list.cpp).
  void FillPortList();
  void OpenAtStart();
  int RememberedPortRow();
  void ShowPortRows();
  void PortRowPicked(int row);
  void WatchPorts();
  void PortsChanged();
  void DropGoneRows();
  void SelectPortRow(const SerialPort& port);
  SerialPort IdentityOfPath(const std::string& path) const;
  PortList portList_;
  // The port opened last, in this run or an earlier one.
  std::string lastOpenedPort_;

  // Reopening a device that went away (main_dialog_reconnect.cpp).
  void AwaitReturn();
  void CancelReconnect();
  void SayWaitStopped(bool wasAwaiting);
  void ReconnectTick();
  void TryReconnect(const std::string& path);
  void PortAdded(const SerialPort& port);
  void PortRemoved(const SerialPort& port);
  void FollowAutoReconnect();
  QString PortLossText() const;

  // The bytes of a send on their way to the link's write queue (main_dialog_outbox.cpp).
  void BeginSend();
  // Every frame sent enters here, and is echoed in the receive box when that is on.
  void QueueSend(const ByteFrame& bytes);
  void FeedOutbox();
  std::size_t DropOutbox();
  bool SendQueueFull() const;
  void WatchWrites();
  void WriteWatchTick();

  // Manual send and the send-box buttons (main_dialog_send.cpp).
  void SetUpSendBox();
  std::string SendBoxBytes() const;
  void SetSendBoxBytes(const std::string& bytes);
  void EnableSendControls(bool enabled);
  void SendText(const std::string& text);
  ByteFrame HexFrame(const std::string& text);
  void MarkHexStop(const HexTextStop& stop);
  QString HexStopNotice() const;
  void SendFrame(const ByteFrame& bytes);
  void ManualSend();
  ByteFrame ParseSendBox() const;
  void ApplyChecksum();
  void ConvertToHex();
  void ConvertToChars();
  void ClearSend();

  // Automatic and file sending (main_dialog_file_send.cpp).
  void AutoSendToggled();
  void TimerTick();
  void ChooseSendFile();
  bool ShowSendFile(const QString& path);
  void ForgetSendFile();
  bool SendFileReady();
  void StopAutoSend();
  void SendChosenFile();
  void ReportFileSend(const FileSendOutcome& outcome, const QString& path, bool lineError);

  // Long jobs beside the window (main_dialog_job.cpp).
  // `finish` runs once the job has ended, before a hang-up or the window's end that
  // came meanwhile is acted on.
  void RunBesideWindow(const std::function<void()>& job, const std::function<void()>& stop,
                       const std::function<QString()>& stillRunning, const std::function<void()>& finish);
  void FinishDeferredEnds();

  HistoryView* historyView_ = nullptr;

  // The tools menu (main_dialog_tools.cpp), one table row an entry.
  struct ToolsRow;
  static const std::vector<ToolsRow>& ToolsRows();
  void AddToolsRow(QMenu& menu, const ToolsRow& row);
  void ShowToolsMenu(const QPoint& clientPoint);
  void ShowToolsMenuAtCursor();
  void ToolsCommand(int id);
  void ConvertToolText(ConversionCode code);
  QString ToolText() const;
  void StartCalculator();
  void OpenHelp();

  // The receive check (main_dialog_receive_check.cpp).
  void SetUpReceiveCheck();
  void ToggleReceiveCheck();
  void ChecksumRowChanged(int row);
  QString ReceiveCheckCounts() const;

  // Received blocks: their marks, automatic replies and live decoding (main_dialog_blocks.cpp).
  void SetUpReceivedBlocks();
  void ShowReceivedBytes(std::span<const SerialEvent> batches);
  // Ends the block under way: a frame is sent, or the port closes.
  void EndBlockNow();
  void ArmBlockDeadline();
  void EndSilentBlock();
  // `answer`: whether an automatic reply may answer it.
  void ReceivedBlockEnded(const ReceivePath::EndedBlock& ended, bool answer);
  // Fires when the block under way has ended unless more bytes came.
  QTimer blockDeadlineTimer_;
  // The block whose text (and mark) the receive box ends with; 0 once other text follows.
  std::uint64_t blockAtBoxEnd_ = 0;
  // Received bytes are the last text of the box: those of the block under way or just ended.
  bool receivedTextAtBoxEnd_ = false;

  // Automatic replies and their rules window (main_dialog_replies.cpp).
  void ShowRepliesWindow();
  void AnswerBlock(const ByteFrame& block, Tick lastTick);
  AutoReplies autoReplies_;
  ReplyRulesWindow* repliesWindow_ = nullptr;
  QWidget* RepliesWindowWidget() const;
  SideWindow repliesSide_{*this, [this] { return RepliesWindowWidget(); }, [this] { return ToolsMenuButton(); }};

  // The multi-frame send panel (main_dialog_panel.cpp).
  SendPanel* MakeSendPanel();
  QWidget* NewSendPanel();
  void ToggleSendPanel();
  bool SendPanelFrame(const ByteFrame& frame);
  void StopPanelRun();
  SendPanel* sendPanel_ = nullptr;
  SideWindow sendPanelSide_{*this, [this] { return NewSendPanel(); }, [this] { return ToolsMenuButton(); }};

  // The waveform view (main_dialog_wave.cpp).
  WaveWindow* MakeWaveWindow();
  QWidget* NewWaveWindow();
  void ToggleWaveWindow();
  void PlotReceived(std::span<const SerialEvent> batches);
  void PlotDecoded(const LiveDecoder::Output& output);
  WaveWindow* waveWindow_ = nullptr;
  SideWindow waveSide_{*this, [this] { return NewWaveWindow(); }, [this] { return ToolsMenuButton(); }};

  // Console mode "终端模式" (main_dialog_console.cpp).
  void ToggleConsole();
  void ShowConsole(bool on);
  bool ConsoleOn() const;
  void PlaceConsole();
  void ApplyConsolePreferences();
  void FeedConsole(std::span<const SerialEvent> batches);
  void ConsoleTyped(const std::string& utf8);
  void SendConsoleBytes(const std::string& utf8);
  ui::ConsoleView* console_ = nullptr;
  bool consoleOn_ = false;
  std::unique_ptr<TextDecoder> consoleDecoder_;

  // Packet parsers (main_dialog_parser.cpp).
  void AddParserEntries(QMenu& menu);
  // Runs the parser of a tools-menu command; false for any other command.
  bool ParserCommand(int id);
  void LoadParserCommand();
  void RunParserCommand(int index);
  void QueueParserOutput(std::string_view text);
  void FlushParserOutput();

  // Loads the parsers that the list names, the first time they are needed.
  void RestoreParsers();

  // Live decoding of every received block by a loaded parser (main_dialog_live_decode.cpp).
  void AddLiveDecodeMenu(QMenu& menu);
  // Acts on a command of the live-decoding submenu; false for any other command.
  bool LiveDecodeCommand(int id);
  void StartLiveDecoder(int slot);
  void StopLiveDecoder();
  // A parser loaded again that is decoding live goes on with its new text.
  void FollowReloadedParser(const std::string& path);
  void RestoreLiveDecoder(const std::string& path);
  std::string LiveDecoderName() const;
  void DecodeBlockLive(const ReceivedBlock& block);
  void ShowLiveDecoderOutput();
  void ShowDecoderOutput(const std::vector<LiveDecoder::Output>& outputs);
  void DropLiveDecoder();
  QString LiveDecodeModeText() const;
  std::unique_ptr<LiveDecoder> liveDecoder_;
  // The parser slot that liveDecoder_ runs.
  int liveDecoderSlot_ = -1;

  // Layout and colours (main_dialog_layout.cpp).
  void RecordLayout();
  void Relayout(const QSize& proposed);
  // Where a control of the bottom area stands at a window grown by dx and dy.
  QRect LaidOut(std::size_t bottomControl, int dx, int dy) const;
  void FitCounters();
  void ApplyTextColours();

  // Receive path and display (main_dialog_receive.cpp).
  void SetUpReceiveBox();
  void ReportCaptureFailure(const ReceivePath::CaptureFailure& failure);
  ReceiveDisplay CurrentReceiveDisplay() const;
  bool ReceiveTextEmpty() const;
  // Timestamps and the frame gap of the receive path and the receive check.
  void ApplyReceivePreferences();
  void ClearReceive();

  // The echo of sent frames in the receive box (main_dialog_echo.cpp).
  void EchoSent(std::span<const std::uint8_t> bytes);
  // From a job beside the window: the echo is shown once the window's thread runs.
  void EchoFromJob(std::span<const std::uint8_t> bytes);
  bool ReceiveTextEndsLine() const;
  // Ends the received block under way, its mark first so it stays with that block, and
  // the line, for text that stands on lines of its own.
  void StartLinesOfTheirOwn();
  std::string ReceiveTextWithoutEcho() const;

  CaptureControls* capture_ = nullptr;

  // The modem lines, break and flow control (main_dialog_modem.cpp).
  void SetUpModemLines();
  void NoteModemLinesChoice();
  void ApplyModemPreferences();
  void ShowModemLines(const SerialEvent& event);
  void UpdateModemLamps();
  QString ModemLinesMissingNotice() const;
  ui::ModemLamps* modemLamps_ = nullptr;
  // The connections whose lamps show its readings and that was told it has no lines.
  std::uint32_t modemLampsConnection_ = 0;
  std::uint32_t modemLinesMissingShown_ = 0;

  // Puts the current preferences into effect.
  void ApplyPreferences();

  // Remembered settings (main_dialog_settings.cpp), one table row each.
  enum class SettingStage { BeforeOpen, WindowReady };
  struct RememberedRow;
  static const std::vector<RememberedRow>& RememberedRows();
  // Every key the window writes: its rows and the preferences.
  static QStringList RememberedKeys();
  QVariant RowValue(const RememberedRow& row) const;
  void ShowRowValue(const RememberedRow& row, const QVariant& value);
  void RestoreStage(SettingStage stage);
  void RestoreLineSettings();
  void RestoreListText(int listId, const QString& text);
  QVariant LineRowText(LineChoice::List list) const;
  void RestoreWindowSettings();
  QString ControlValue(int id) const;
  void SetControlValue(int id, const QString& value);
  void ShowStartValues();
  void ConnectSettingsSaving();
  void ScheduleSettingsSave();
  void WriteSetting(const QString& key, const QVariant& value, bool always);
  void SaveSettings();
  void RestoreDefaults();

  // The options dialog and the modes on the status line (main_dialog_options.cpp).
  void ShowOptionsDialog();
  QString StatusModesText() const;
  QString EncodingNotice() const;

  // Enter in a list with a typed text: a typed port path or a row's name.
  void ConfirmListText(QComboBox* list);

  ReceiveFind* find_ = nullptr;

  // The font size of both boxes (main_dialog_zoom.cpp).
  void SetUpZoom();
  void Zoom(int steps);
  int BoxFontPointSize() const;
  void ApplyBoxFontSize();

  // The window that PrintToReceiveBox writes to: the one constructed last, while it lives.
  static MainDialog* running_;

  ui::Prompter& prompter_;
  TerminalOptions options_;
  SerialLink link_;

  bool wantOpen_ = false;
  bool autoSendOn_ = false;
  bool startupDone_ = false;
  portprobe::AutoSendPeriod autoSendPeriod_;
  QTimer autoSendTimer_;

  PortStatus portStatus_;
  // The line settings chosen in the four lists.
  LineChoice lineChoice_;
  Preferences preferences_;

  QSize initialSize_;
  QRect initialReceiveBox_;
  QRect initialSendBox_;
  std::array<QRect, 24> initialBottomControls_;

  ParserSlots parserSlots_;
  bool parserListRefused_ = false;
  // One interpreter for the window's life, so its count of unreleased allocations
  // covers every run.
  std::unique_ptr<parser::PacketParser> packetParser_;
  ParserOutputQueue parserOutput_;

  Outbox outbox_;
  // Refreshes the status line while bytes wait for the device, so a stuck one shows.
  QTimer writeWatchTimer_;

  std::string sendFilePath_;
  // The chosen file's size and modification time when it was last shown.
  struct SendFileStamp {
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const SendFileStamp&) const = default;
  };
  SendFileStamp sendFileStamp_;
  // Where the last hex send stopped reading its text; said on the status line.
  std::optional<HexTextStop> hexStop_;
  // Jobs beside the window, deferred ends, held receive and the notices to show.
  BusyState busy_;
  ReceivePath receive_;
  // "Receiving Area" stands in the box until the first text replaces it.
  bool startupTextShown_ = false;

  SettingsStore settings_;
  // Off while start-up restores: what the command line set is only written back once
  // the user changes it.
  bool rememberChanges_ = false;
  // What the file holds, key by key, as far as this window knows: only values that
  // differ are written.
  QHash<QString, QVariant> written_;
  QTimer settingsSaveTimer_;

  // Tells of ports that come and go; none when the ports are not enumerated.
  std::unique_ptr<PortWatcher> portWatcher_;
  // The device the port was last opened on, and what became of it once it went away.
  Reconnect reconnect_;
  // Tries the awaited device's path, for devices that udev does not announce.
  QTimer reconnectTimer_;
};

// Appends `text` to the receive box of the running main window, for code that has no
// window at hand (the packet parser's output). Runs on the user-interface thread.
void PrintToReceiveBox(std::string_view text);

}  // namespace portprobe
