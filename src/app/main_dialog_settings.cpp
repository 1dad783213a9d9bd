// Remembered settings: the window's controls and its preferences are restored at
// start-up and written back whenever the user changes them, so that a terminal that
// is killed keeps them too. The command line's line settings hold for one run.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMoveEvent>

#include "app/main_dialog.h"
#include "files/history_file.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

// Changes are written together at most this long after the first of them.
constexpr int kSaveDelayMilliseconds = 300;

const QString kPortKey = QStringLiteral("port/name");
const QString kSendTextKey = QStringLiteral("send/text");
const QString kHistoryKey = QStringLiteral("history/entries");
const QString kCaptureKey = QStringLiteral("capture/path");
const QString kGeometryKey = QStringLiteral("window/geometry");

struct LineList {
  int id;
  QString key;
  const std::optional<std::string> TerminalOptions::*commandLine;
};

const LineList kLineLists[] = {
    {kBaudList, QStringLiteral("line/baud"), &TerminalOptions::baudText},
    {kParityList, QStringLiteral("line/parity"), &TerminalOptions::parityText},
    {kDataBitsList, QStringLiteral("line/dataBits"), &TerminalOptions::dataBitsText},
    {kStopBitsList, QStringLiteral("line/stopBits"), &TerminalOptions::stopBitsText},
};

// A period that the auto-send edit takes.
bool ValidPeriod(const QString& text) {
  return AutoSendPeriod().Take(text.toStdString()) == AutoSendPeriod::Check::Valid;
}

// A control of the window whose value is remembered: the key it is kept under, its
// value at the first start ("true"/"false" for a check box, the text of an edit or of a
// list's row), and what a remembered value must be to be taken (none: anything).
struct RememberedControl {
  int id;
  QString key;
  QString startValue;
  bool (*accepts)(const QString&) = nullptr;
};

const RememberedControl kRememberedControls[] = {
    {kHexDisplayCheck, QStringLiteral("display/hex"), QStringLiteral("true")},
    {kHexSendCheck, QStringLiteral("send/hex"), QStringLiteral("true")},
    {kPeriodEdit, QStringLiteral("send/period"), QString::number(AutoSendPeriod().Milliseconds()), ValidPeriod},
    {kChecksumList, QStringLiteral("send/checksum"), QString()},  // the first row
};

// The two texts a check box is stored as; anything else is no value.
std::optional<bool> Flag(const QVariant& value) {
  const QString text = value.toString();
  if (text != QStringLiteral("true") && text != QStringLiteral("false")) return std::nullopt;
  return text == QStringLiteral("true");
}

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }
std::string String(const QByteArray& bytes) { return bytes.toStdString(); }

}  // namespace

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
  if (options_.leadingPorts.empty()) RestorePort(settings_.Value(kPortKey).toString());
  for (const LineList& list : kLineLists) {
    const std::optional<std::string>& given = options_.*list.commandLine;
    const QString text = given ? QString::fromStdString(*given) : settings_.Value(list.key).toString();
    if (!text.isEmpty()) RestoreListText(list.id, text);
  }
}

// A remembered name is taken when the list still has it; a path when it still exists.
void MainDialog::RestorePort(const QString& name) {
  if (name.isEmpty() || name == QString::fromUtf8(PortList::kSeparator)) return;
  int row = portList_.RowNamed(name.toStdString());
  if (row < 0 && name.startsWith(QLatin1Char('/')) && QFileInfo::exists(name))
    row = portList_.RowOfPath(name.toStdString());
  if (row < 0) return;
  portList_.Choose(row);
  ShowPortRows();
}

// A text that names a row selects it; another one (a rate the list lacks) is typed in
// and confirmed as Enter confirms it.
void MainDialog::RestoreListText(int listId, const QString& text) {
  if (lineChoice_.PickText(ListOf(listId), text.toStdString())) {
    ShowLineChoice();
    return;
  }
  ComboBox(listId)->setEditText(text);
  ConfirmListText(ComboBox(listId));
}

// The value a remembered control shows, as it is stored.
QString MainDialog::ControlValue(int id) const {
  if (const auto* check = qobject_cast<QCheckBox*>(Control(id))) {
    return check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
  }
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

// The first start's values of the remembered controls.
void MainDialog::ShowStartValues() {
  for (const RememberedControl& control : kRememberedControls) SetControlValue(control.id, control.startValue);
}

// The rest, once the start-up defaults are in place.
void MainDialog::RestoreWindowSettings() {
  for (const RememberedControl& control : kRememberedControls) {
    const QVariant stored = settings_.Value(control.key);
    if (!stored.isValid()) continue;
    if (control.accepts == nullptr || control.accepts(stored.toString()))
      SetControlValue(control.id, stored.toString());
  }
  autoSendPeriod_.Take(Edit(kPeriodEdit)->text().toStdString());
  if (options_.characterDisplay) CheckBox(kHexDisplayCheck)->setChecked(false);
  const QVariant sendText = settings_.Value(kSendTextKey);
  if (sendText.isValid()) SetSendBoxBytes(String(sendText.toByteArray()));
  // A file edited by hand may hold more entries than the history takes.
  for (const QVariant& entry : settings_.Value(kHistoryKey).toList()) {
    if (history_.Entries().size() >= kMaxHistoryEntries) break;
    history_.Add(String(entry.toByteArray()));
  }
  ShowHistoryRows();
  rememberedCapturePath_ = String(settings_.Value(kCaptureKey).toByteArray());
  restoreGeometry(settings_.Value(kGeometryKey).toByteArray());
  RestoreLiveDecoder();
  SetUpAutoReplies();
  RestoreSendPanel();
  ConnectSettingsSaving();
  rememberChanges_ = settings_.Remembers();
  ShowPendingNotices();
}

void MainDialog::ConnectSettingsSaving() {
  settingsSaveTimer_.setSingleShot(true);
  settingsSaveTimer_.setInterval(kSaveDelayMilliseconds);
  connect(&settingsSaveTimer_, &QTimer::timeout, this, &MainDialog::SaveSettings);
  for (const RememberedControl& control : kRememberedControls) {
    const auto remember = [this, &control] { RememberSetting(control.key, ControlValue(control.id)); };
    if (auto* check = qobject_cast<QCheckBox*>(Control(control.id))) {
      connect(check, &QCheckBox::toggled, this, remember);
    } else if (auto* list = qobject_cast<QComboBox*>(Control(control.id))) {
      connect(list, &QComboBox::currentTextChanged, this, remember);
    } else {
      connect(Edit(control.id), &QLineEdit::textChanged, this, remember);
    }
  }
  connect(SendBox(), &ui::PlainTextView::Edited, this, &MainDialog::ScheduleSettingsSave);
  QAbstractItemModel* history = ComboBox(kHistoryList)->model();
  connect(history, &QAbstractItemModel::rowsInserted, this, &MainDialog::ScheduleSettingsSave);
  connect(history, &QAbstractItemModel::rowsRemoved, this, &MainDialog::ScheduleSettingsSave);
  connect(history, &QAbstractItemModel::modelReset, this, &MainDialog::ScheduleSettingsSave);
}

void MainDialog::RememberSetting(const QString& key, const QVariant& value) {
  if (!rememberChanges_) return;
  settings_.SetValue(key, value);
  ScheduleSettingsSave();
}

void MainDialog::RememberLineSetting(int listId) {
  for (const LineList& list : kLineLists) {
    if (list.id == listId) RememberSetting(list.key, ComboBox(listId)->currentText());
  }
}

void MainDialog::RememberPort() {
  // A udev row by its port's name: its description may differ next time.
  const std::string name = portList_.NameOf(portList_.Chosen());
  if (name != PortList::kSeparator) RememberSetting(kPortKey, QString::fromStdString(name));
}

void MainDialog::RememberCapturePath() { RememberSetting(kCaptureKey, Bytes(CapturePath())); }

// The remembered file is where capture goes when it is first switched on in a run.
std::string MainDialog::TakeRememberedCapturePath() { return std::exchange(rememberedCapturePath_, std::string()); }

void MainDialog::RememberPreferences() {
  for (const auto& [key, text] : PreferencesToText(preferences_)) {
    RememberSetting(QString::fromStdString(key), QString::fromStdString(text));
  }
}

// Saved once changes pause, so typing or dragging the window costs no file writes.
void MainDialog::ScheduleSettingsSave() {
  if (rememberChanges_) settingsSaveTimer_.start();
}

// The send box, the history and the window's place change often or in many ways;
// they are read when the changes are written.
void MainDialog::SaveSettings() {
  if (!rememberChanges_) return;
  settingsSaveTimer_.stop();
  settings_.SetValue(kSendTextKey, Bytes(SendBoxBytes()));
  QVariantList entries;
  for (const std::string& entry : history_.Entries()) entries << Bytes(entry);
  settings_.SetValue(kHistoryKey, entries);
  settings_.SetValue(kGeometryKey, saveGeometry());
  RememberSendPanel();
  settings_.Sync();
}

void MainDialog::moveEvent(QMoveEvent* event) {
  TemplateDialog::moveEvent(event);
  ScheduleSettingsSave();
}

// The start-up defaults of the window's own controls and of the preferences, saved
// at once. The port, its connection and the command history stay as they are.
void MainDialog::RestoreDefaults() {
  lineChoice_ = LineChoice();
  ShowLineChoice();
  for (const LineList& list : kLineLists) SettingListChanged(list.id);
  ShowStartValues();
  autoSendPeriod_ = portprobe::AutoSendPeriod();
  SetSendBoxBytes(kDefaultSendText);
  rememberedCapturePath_.clear();
  RememberSetting(kCaptureKey, QByteArray());
  SetPreferences(Preferences());
  resize(initialSize_);
  // Written again, as a control that already held its default did not signal.
  for (const RememberedControl& control : kRememberedControls) RememberSetting(control.key, ControlValue(control.id));
  RememberPreferences();
  SaveSettings();
}

}  // namespace portprobe
