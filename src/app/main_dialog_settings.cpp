// Remembered settings: one table row each. At start-up every row shows what was
// stored; whenever something changes, the rows whose value differs from what the file
// holds are written, so that a terminal that is killed keeps them too; and
// "恢复默认设置" shows each row's start value. What the command line sets holds for
// one run: it is only written once the user changes it.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMoveEvent>

#include "app/main_dialog.h"
#include "app/send_panel.h"
#include "app/wave_window.h"
#include "app/reply_rules_window.h"
#include "app/capture_controls.h"
#include "app/history_view.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

const QString kPortKey = QStringLiteral("port/name");

// Changes are written together at most this long after the first of them.
constexpr int kSaveDelayMilliseconds = 300;

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }
std::string String(const QVariant& value) { return value.toByteArray().toStdString(); }

// The two texts a check box is stored as; anything else is no value.
std::optional<bool> Flag(const QVariant& value) {
  const QString text = value.toString();
  if (text != QStringLiteral("true") && text != QStringLiteral("false")) return std::nullopt;
  return text == QStringLiteral("true");
}

QVariant FlagText(bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); }

// A period that the auto-send edit takes.
bool ValidPeriod(const QString& text) {
  return AutoSendPeriod().Take(text.toStdString()) == AutoSendPeriod::Check::Valid;
}

QVariant FirstStartRow(LineChoice::List list) { return QString::fromStdString(LineChoice().RowText(list)); }

}  // namespace

// One remembered setting: the key it is kept under, what it holds now as it is
// stored (nothing: there is nothing to keep, and the file keeps what it has), how a
// stored value is shown, and what "恢复默认设置" shows (nothing: it stays). A row
// with a control reads and shows that control, and its signals are changes.
struct MainDialog::RememberedRow {
  QString key;
  SettingStage stage = SettingStage::WindowReady;
  QVariant startValue = {};
  int control = 0;
  QVariant (*value)(const MainDialog&) = nullptr;
  void (*show)(MainDialog&, const QVariant&) = nullptr;
  // What the command line gives for it, which wins for the run.
  const std::optional<std::string> TerminalOptions::*commandLine = nullptr;
};

// The port and its line are restored before the start-up open takes them; the rest
// once the window stands. The panel's rows come before its switch, which shows it.
const std::vector<MainDialog::RememberedRow>& MainDialog::RememberedRows() {
  using Stage = SettingStage;
  using List = LineChoice::List;
  static const std::vector<RememberedRow> rows = {
      // The port opened last, by name: a udev row's description may differ next time.
      {kPortKey,
       Stage::BeforeOpen,
       {},
       0,
       [](const MainDialog& w) {
         return w.lastOpenedPort_.empty() ? QVariant() : QVariant(QString::fromStdString(w.lastOpenedPort_));
       },
       [](MainDialog& w, const QVariant& v) { w.lastOpenedPort_ = v.toString().toStdString(); }},
      // Ports on the network opened before, kept as rows of the port box.
      {QStringLiteral("port/network"),
       Stage::BeforeOpen,
       {},
       0,
       [](const MainDialog& w) {
         QStringList names;
         for (const std::string& name : w.networkPorts_) names << QString::fromStdString(name);
         return names.isEmpty() ? QVariant() : QVariant(names);
       },
       [](MainDialog& w, const QVariant& v) { w.RestoreNetworkPorts(v.toStringList()); }},
      {QStringLiteral("line/baud"), Stage::BeforeOpen, FirstStartRow(List::Baud), 0,
       [](const MainDialog& w) { return w.LineRowText(List::Baud); },
       [](MainDialog& w, const QVariant& v) { w.RestoreListText(kBaudList, v.toString()); },
       &TerminalOptions::baudText},
      {QStringLiteral("line/parity"), Stage::BeforeOpen, FirstStartRow(List::Parity), 0,
       [](const MainDialog& w) { return w.LineRowText(List::Parity); },
       [](MainDialog& w, const QVariant& v) { w.RestoreListText(kParityList, v.toString()); },
       &TerminalOptions::parityText},
      {QStringLiteral("line/dataBits"), Stage::BeforeOpen, FirstStartRow(List::DataBits), 0,
       [](const MainDialog& w) { return w.LineRowText(List::DataBits); },
       [](MainDialog& w, const QVariant& v) { w.RestoreListText(kDataBitsList, v.toString()); },
       &TerminalOptions::dataBitsText},
      {QStringLiteral("line/stopBits"), Stage::BeforeOpen, FirstStartRow(List::StopBits), 0,
       [](const MainDialog& w) { return w.LineRowText(List::StopBits); },
       [](MainDialog& w, const QVariant& v) { w.RestoreListText(kStopBitsList, v.toString()); },
       &TerminalOptions::stopBitsText},
      {QStringLiteral("display/hex"), Stage::WindowReady, FlagText(true), kHexDisplayCheck},
      {QStringLiteral("send/hex"), Stage::WindowReady, FlagText(true), kHexSendCheck},
      {QStringLiteral("send/period"), Stage::WindowReady, QString::number(portprobe::AutoSendPeriod().Milliseconds()),
       kPeriodEdit, nullptr,
       [](MainDialog& w, const QVariant& v) {
         if (ValidPeriod(v.toString())) w.SetControlValue(kPeriodEdit, v.toString());
         w.autoSendPeriod_.Take(w.Edit(kPeriodEdit)->text().toStdString());
       }},
      {QStringLiteral("send/checksum"), Stage::WindowReady, QString(), kChecksumList},  // the first row
      {QStringLiteral("send/text"), Stage::WindowReady, Bytes(kDefaultSendText), 0,
       [](const MainDialog& w) { return QVariant(Bytes(w.SendBoxBytes())); },
       [](MainDialog& w, const QVariant& v) { w.SetSendBoxBytes(String(v)); }},
      {QStringLiteral("history/entries"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return QVariant(w.historyView_->Entries()); },
       [](MainDialog& w, const QVariant& v) { w.historyView_->Restore(v.toList()); }},
      // Where capture goes when it is first switched on in a run.
      {QStringLiteral("capture/path"), Stage::WindowReady, QByteArray(), 0,
       [](const MainDialog& w) { return w.CapturePath().empty() ? QVariant() : QVariant(Bytes(w.CapturePath())); },
       [](MainDialog& w, const QVariant& v) { w.capture_->SetRememberedPath(String(v)); }},
      {QStringLiteral("window/geometry"), Stage::WindowReady, QByteArray(), 0,
       [](const MainDialog& w) { return QVariant(w.saveGeometry()); },
       [](MainDialog& w, const QVariant& v) {
         if (!w.restoreGeometry(v.toByteArray())) w.resize(w.initialSize_);
       }},
      {QStringLiteral("decoder/parser"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return QVariant(Bytes(w.LiveDecoderName())); },
       [](MainDialog& w, const QVariant& v) { w.RestoreLiveDecoder(String(v)); }},
      {QStringLiteral("replies/rules"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return QVariant(QString::fromStdString(w.repliesWindow_->RulesText())); },
       [](MainDialog& w, const QVariant& v) { w.repliesWindow_->SetRulesText(v.toString().toStdString()); }},
      {QStringLiteral("replies/enabled"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return FlagText(w.autoReplies_.Enabled()); },
       [](MainDialog& w, const QVariant& v) {
         w.repliesWindow_->SetRepliesEnabled(v.toString() != QStringLiteral("false"));
       }},
      // A panel never made this run leaves its rows alone. Rows the user has not
      // finished are kept as they stand.
      {QStringLiteral("panel/rows"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) {
         return w.sendPanel_ ? QVariant(Bytes(FormatPanelFile(w.sendPanel_->Rows()))) : QVariant();
       },
       [](MainDialog& w, const QVariant& v) {
         w.MakeSendPanel()->SetRows(ParsePanelFile(String(v), PanelFrames::Unchecked).rows);
       }},
      {QStringLiteral("panel/loop"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.sendPanel_ ? FlagText(w.sendPanel_->Looping()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) {
         w.MakeSendPanel()->SetLooping(v.toString() != QStringLiteral("false"));
       }},
      {QStringLiteral("panel/geometry"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.sendPanel_ ? QVariant(w.sendPanel_->saveGeometry()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) {
         w.sendPanelSide_.RestorePlace(v.toByteArray());
       }},
      {QStringLiteral("panel/open"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.sendPanel_ ? FlagText(w.sendPanelSide_.IsOpen()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) { w.sendPanelSide_.RestoreOpen(Flag(v).value_or(false)); }},
      // The waveform view, as the panel.
      {QStringLiteral("wave/settings"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.waveWindow_ ? QVariant(w.waveWindow_->SettingsText()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) { w.MakeWaveWindow()->SetSettingsText(v.toString()); }},
      {QStringLiteral("wave/geometry"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.waveWindow_ ? QVariant(w.waveWindow_->saveGeometry()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) { w.waveSide_.RestorePlace(v.toByteArray()); }},
      {QStringLiteral("wave/open"),
       Stage::WindowReady,
       {},
       0,
       [](const MainDialog& w) { return w.waveWindow_ ? FlagText(w.waveSide_.IsOpen()) : QVariant(); },
       [](MainDialog& w, const QVariant& v) { w.waveSide_.RestoreOpen(Flag(v).value_or(false)); }},
      {QStringLiteral("display/console"), Stage::WindowReady, FlagText(false), 0,
       [](const MainDialog& w) { return FlagText(w.ConsoleOn()); },
       [](MainDialog& w, const QVariant& v) { w.ShowConsole(Flag(v).value_or(false)); }},
  };
  return rows;
}

QStringList MainDialog::RememberedKeys() {
  QStringList keys;
  for (const RememberedRow& row : RememberedRows()) keys << row.key;
  for (const auto& [key, text] : PreferencesToText(Preferences())) keys << QString::fromStdString(key);
  return keys;
}

QVariant MainDialog::RowValue(const RememberedRow& row) const {
  return row.value ? row.value(*this) : ControlValue(row.control);
}

void MainDialog::ShowRowValue(const RememberedRow& row, const QVariant& value) {
  if (row.show) {
    row.show(*this, value);
  } else {
    SetControlValue(row.control, value.toString());
  }
}

// Shows what was stored for the rows of one stage.
void MainDialog::RestoreStage(SettingStage stage) {
  for (const RememberedRow& row : RememberedRows()) {
    if (row.stage != stage) continue;
    const std::optional<std::string>* given = row.commandLine ? &(options_.*row.commandLine) : nullptr;
    const QVariant stored = given && *given ? QString::fromStdString(**given) : settings_.Value(row.key);
    if (stored.isValid()) ShowRowValue(row, stored);
  }
}

// The port and the line settings, before the start-up open takes them. What the
// command line gives wins over what was remembered.
void MainDialog::RestoreLineSettings() {
  if (settings_.Unreadable()) {
    QString notice = QString::fromUtf8(kSettingsUnreadableText).arg(settings_.Path());
    if (!settings_.MovedTo().isEmpty()) notice += QString::fromUtf8(kSettingsMovedAsideText).arg(settings_.MovedTo());
    busy_.AddNotice(notice.toStdString());
  }
  // Before the start-up open, which sets the modem lines and flow control they hold.
  SetPreferences(PreferencesFromText(settings_.TextLookup()));
  RestoreStage(SettingStage::BeforeOpen);
}

// A text that names a row selects it; another one (a rate the list lacks) is typed in
// and confirmed as Enter confirms it.
void MainDialog::RestoreListText(int listId, const QString& text) {
  if (text.isEmpty()) return;
  if (lineChoice_.PickText(ListOf(listId), text.toStdString())) {
    ShowLineChoice();
    return;
  }
  ComboBox(listId)->setEditText(text);
  ConfirmListText(ComboBox(listId));
}

QVariant MainDialog::LineRowText(LineChoice::List list) const {
  return QString::fromStdString(lineChoice_.RowText(list));
}

// The value a control shows, as it is stored.
QString MainDialog::ControlValue(int id) const {
  if (const auto* check = qobject_cast<QCheckBox*>(Control(id))) return FlagText(check->isChecked()).toString();
  if (const auto* list = qobject_cast<QComboBox*>(Control(id))) return list->currentText();
  return Edit(id)->text();
}

// Shows a stored value; one that the control cannot show (a row the list lacks, a
// check box's value that is neither of its two) leaves it as it is. An empty text
// picks a list's first row.
void MainDialog::SetControlValue(int id, const QString& value) {
  if (auto* check = qobject_cast<QCheckBox*>(Control(id))) {
    if (const std::optional<bool> on = Flag(value)) check->setChecked(*on);
  } else if (auto* list = qobject_cast<QComboBox*>(Control(id))) {
    const int row = value.isEmpty() ? 0 : list->findText(value, Qt::MatchExactly);
    if (row >= 0) list->setCurrentIndex(row);
  } else {
    Edit(id)->setText(value);
  }
}

// The first start's values of the controls.
void MainDialog::ShowStartValues() {
  for (const RememberedRow& row : RememberedRows()) {
    if (row.control != 0) SetControlValue(row.control, row.startValue.toString());
  }
}

// The rest, once the start-up defaults are in place. What the window shows then is
// what the file is taken to hold: only later changes are written.
void MainDialog::RestoreWindowSettings() {
  RestoreStage(SettingStage::WindowReady);
  if (options_.characterDisplay) CheckBox(kHexDisplayCheck)->setChecked(false);
  for (const RememberedRow& row : RememberedRows()) written_[row.key] = RowValue(row);
  // The port opened at start-up is remembered too, even one given on the command line.
  written_[kPortKey] = settings_.Value(kPortKey);
  for (const auto& [key, text] : PreferencesToText(preferences_))
    written_[QString::fromStdString(key)] = QString::fromStdString(text);
  ConnectSettingsSaving();
  rememberChanges_ = settings_.Remembers();
  ShowPendingNotices();
}

void MainDialog::ConnectSettingsSaving() {
  settingsSaveTimer_.setSingleShot(true);
  settingsSaveTimer_.setInterval(kSaveDelayMilliseconds);
  connect(&settingsSaveTimer_, &QTimer::timeout, this, &MainDialog::SaveSettings);
  for (const RememberedRow& row : RememberedRows()) {
    if (auto* check = qobject_cast<QCheckBox*>(Control(row.control))) {
      connect(check, &QCheckBox::toggled, this, &MainDialog::ScheduleSettingsSave);
    } else if (auto* list = qobject_cast<QComboBox*>(Control(row.control))) {
      connect(list, &QComboBox::currentTextChanged, this, &MainDialog::ScheduleSettingsSave);
    } else if (row.control != 0) {
      connect(Edit(row.control), &QLineEdit::textChanged, this, &MainDialog::ScheduleSettingsSave);
    }
  }
  connect(SendBox(), &ui::PlainTextView::Edited, this, &MainDialog::ScheduleSettingsSave);
  connect(capture_, &CaptureControls::PathChanged, this, &MainDialog::ScheduleSettingsSave);
  connect(repliesWindow_, &ReplyRulesWindow::RulesChanged, this, &MainDialog::ScheduleSettingsSave);
  QAbstractItemModel* history = ComboBox(kHistoryList)->model();
  connect(history, &QAbstractItemModel::rowsInserted, this, &MainDialog::ScheduleSettingsSave);
  connect(history, &QAbstractItemModel::rowsRemoved, this, &MainDialog::ScheduleSettingsSave);
  connect(history, &QAbstractItemModel::modelReset, this, &MainDialog::ScheduleSettingsSave);
}

// Saved once changes pause, so typing or dragging the window costs no file writes.
void MainDialog::ScheduleSettingsSave() {
  if (rememberChanges_) settingsSaveTimer_.start();
}

// Writes a value unless the file holds it already; `always` writes it anyway.
void MainDialog::WriteSetting(const QString& key, const QVariant& value, bool always) {
  if (!value.isValid() || (!always && written_.value(key) == value)) return;
  settings_.SetValue(key, value);
  written_[key] = value;
}

void MainDialog::SaveSettings() {
  if (!rememberChanges_) return;
  settingsSaveTimer_.stop();
  for (const RememberedRow& row : RememberedRows()) WriteSetting(row.key, RowValue(row), false);
  for (const auto& [key, text] : PreferencesToText(preferences_))
    WriteSetting(QString::fromStdString(key), QString::fromStdString(text), false);
  const QString unsaved = settings_.Sync();
  if (!unsaved.isEmpty()) Notify(QString::fromUtf8(kSettingsUnsavedText).arg(settings_.Path(), unsaved));
}

void MainDialog::moveEvent(QMoveEvent* event) {
  TemplateDialog::moveEvent(event);
  ScheduleSettingsSave();
}

// The start values of the rows that have one, and the default preferences, written
// at once. The port, its connection and the command history stay as they are.
void MainDialog::RestoreDefaults() {
  lineChoice_ = LineChoice();
  ShowLineChoice();
  for (const RememberedRow& row : RememberedRows()) {
    if (row.startValue.isValid()) ShowRowValue(row, row.startValue);
  }
  for (const int id : {kBaudList, kParityList, kDataBitsList, kStopBitsList}) SettingListChanged(id);
  SetPreferences(Preferences());
  if (!rememberChanges_) return;
  // Written again, as a setting that already held its default did not change.
  for (const RememberedRow& row : RememberedRows()) {
    const QVariant now = RowValue(row);
    if (row.startValue.isValid()) WriteSetting(row.key, now.isValid() ? now : row.startValue, true);
  }
  for (const auto& [key, text] : PreferencesToText(preferences_))
    WriteSetting(QString::fromStdString(key), QString::fromStdString(text), true);
  SaveSettings();
}

}  // namespace portprobe
