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
const QString kHexDisplayKey = QStringLiteral("display/hex");
const QString kHexSendKey = QStringLiteral("send/hex");
const QString kPeriodKey = QStringLiteral("send/period");
const QString kChecksumKey = QStringLiteral("send/checksum");
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

const QString kSeparatorRow = QStringLiteral("---------");

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
  QComboBox* ports = ComboBox(kPortList);
  if (name.isEmpty() || name == kSeparatorRow) return;
  int row = PortRowNamed(name);
  if (row < 0 && name.startsWith(QLatin1Char('/')) && QFileInfo::exists(name)) {
    ports->insertItem(0, name);
    row = 0;
  }
  if (row >= 0) ports->setCurrentIndex(row);
}

// A text that names a row selects it; another one (a rate the list lacks) is typed in
// and confirmed as Enter confirms it.
void MainDialog::RestoreListText(int listId, const QString& text) {
  QComboBox* list = ComboBox(listId);
  const int row = list->findText(text, Qt::MatchExactly);
  if (row >= 0) {
    list->setCurrentIndex(row);
    return;
  }
  list->setEditText(text);
  ConfirmListText(list);
}

// The rest, once the start-up defaults are in place.
void MainDialog::RestoreWindowSettings() {
  if (const std::optional<bool> hex = Flag(settings_.Value(kHexDisplayKey))) {
    CheckBox(kHexDisplayCheck)->setChecked(*hex);
  }
  if (options_.characterDisplay) CheckBox(kHexDisplayCheck)->setChecked(false);
  if (const std::optional<bool> hex = Flag(settings_.Value(kHexSendKey))) CheckBox(kHexSendCheck)->setChecked(*hex);
  const std::string period = settings_.Value(kPeriodKey).toString().toStdString();
  if (portprobe::AutoSendPeriod().Take(period) == AutoSendPeriod::Check::Valid) {
    autoSendPeriod_.Take(period);
    Edit(kPeriodEdit)->setText(QString::fromStdString(period));
  }
  const int checksumRow = ComboBox(kChecksumList)->findText(settings_.Value(kChecksumKey).toString());
  if (checksumRow >= 0) ComboBox(kChecksumList)->setCurrentIndex(checksumRow);
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
  connect(CheckBox(kHexDisplayCheck), &QCheckBox::toggled, this,
          [this](bool on) { RememberSetting(kHexDisplayKey, on); });
  connect(CheckBox(kHexSendCheck), &QCheckBox::toggled, this, [this](bool on) { RememberSetting(kHexSendKey, on); });
  connect(Edit(kPeriodEdit), &QLineEdit::textChanged, this,
          [this](const QString& text) { RememberSetting(kPeriodKey, text); });
  connect(ComboBox(kChecksumList), &QComboBox::currentTextChanged, this,
          [this](const QString& text) { RememberSetting(kChecksumKey, text); });
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
  const QString name = QString::fromStdString(PortNameOfRow(ComboBox(kPortList)->currentIndex()));
  if (name != kSeparatorRow) RememberSetting(kPortKey, name);
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
  for (const LineList& list : kLineLists) {
    ComboBox(list.id)->setCurrentIndex(list.id == kBaudList ? kDefaultBaudRow : 0);
    SettingListChanged(list.id);
  }
  CheckBox(kHexDisplayCheck)->setChecked(true);
  CheckBox(kHexSendCheck)->setChecked(true);
  autoSendPeriod_ = portprobe::AutoSendPeriod();
  Edit(kPeriodEdit)->setText(QString::number(autoSendPeriod_.Milliseconds()));
  ComboBox(kChecksumList)->setCurrentIndex(0);
  SetSendBoxBytes(kDefaultSendText);
  rememberedCapturePath_.clear();
  RememberSetting(kCaptureKey, QByteArray());
  SetPreferences(Preferences());
  resize(initialSize_);
  // Written again, as a control that already held its default did not signal.
  RememberSetting(kHexDisplayKey, true);
  RememberSetting(kHexSendKey, true);
  RememberSetting(kPeriodKey, Edit(kPeriodEdit)->text());
  RememberSetting(kChecksumKey, ComboBox(kChecksumList)->currentText());
  RememberPreferences();
  SaveSettings();
}

}  // namespace portprobe
