// The tools menu: number conversions, the calculator, the multi-frame send panel, the
// modem lines, packet parsers and help.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>

#include "app/desktop.h"
#include "app/main_dialog.h"
#include "app/tools_menu.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "codec/number_conversion.h"
#include "codec/send_text.h"
#include "session/frame_check.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

// One entry of the tools menu, or a separator, or a group of entries made as the menu
// opens (the loaded parsers).
struct MainDialog::ToolsRow {
  enum class Kind { Command, Toggle, Preference, Separator, Group };
  Kind kind;
  int id = 0;
  const char* text = nullptr;
  // What the entry does; a Preference row's runs before its switch flips.
  void (*run)(MainDialog&) = nullptr;
  // Toggle: whether the entry is ticked.
  bool (*ticked)(const MainDialog&) = nullptr;
  // Whether the entry can be chosen now; none: always.
  bool (*enabled)(const MainDialog&) = nullptr;
  // Preference: the switch the entry shows ticked and flips.
  bool Preferences::*preference = nullptr;
  // Group: adds its entries, and acts on their commands (false for any other).
  void (*addGroup)(MainDialog&, QMenu&) = nullptr;
  bool (*groupCommand)(MainDialog&, int id) = nullptr;
};

// The tools menu, entry by entry in the order shown.
const std::vector<MainDialog::ToolsRow>& MainDialog::ToolsRows() {
  using Kind = ToolsRow::Kind;
  static const std::vector<ToolsRow> rows = {
      {Kind::Command, tools::kDecimalToHex, kDecimalToHexText,
       [](MainDialog& w) { w.ConvertToolText(ConversionCode::DecimalToHex); }},
      {Kind::Separator},
      {Kind::Command, tools::kHexToDecimal, kHexToDecimalText,
       [](MainDialog& w) { w.ConvertToolText(ConversionCode::HexToDecimal); }},
      {Kind::Separator},
      {Kind::Command, tools::kHexToBinary, kHexToBinaryText,
       [](MainDialog& w) { w.ConvertToolText(ConversionCode::HexToBinary); }},
      {Kind::Separator},
      {Kind::Command, tools::kCalculator, kCalculatorText, [](MainDialog& w) { w.StartCalculator(); }},
      {Kind::Separator},
      {Kind::Toggle, tools::kSendPanel, kSendPanelEntryText, [](MainDialog& w) { w.ToggleSendPanel(); },
       [](const MainDialog& w) { return w.sendPanelSide_.IsOpen(); }},
      {Kind::Toggle, tools::kWave, kWaveEntryText, [](MainDialog& w) { w.ToggleWaveWindow(); },
       [](const MainDialog& w) { return w.waveSide_.IsOpen(); }},
      {Kind::Toggle, tools::kConsole, kConsoleEntryText, [](MainDialog& w) { w.ToggleConsole(); },
       [](const MainDialog& w) { return w.ConsoleOn(); }},
      {Kind::Separator},
      {Kind::Toggle, tools::kReceiveCheck, kReceiveCheckText, [](MainDialog& w) { w.ToggleReceiveCheck(); },
       [](const MainDialog& w) { return w.receive_.CheckOn(); },
       [](const MainDialog& w) { return FrameCheck::CanCheck(w.ComboBox(kChecksumList)->currentIndex()); }},
      {Kind::Preference, tools::kAutoReconnect, kAutoReconnectText, nullptr, nullptr, nullptr,
       &Preferences::autoReconnect},
      {Kind::Separator},
      {Kind::Preference, tools::kTimestamps, kTimestampsEntryText, nullptr, nullptr, nullptr, &Preferences::timestamps},
      {Kind::Preference, tools::kEchoSent, kEchoSentEntryText, nullptr, nullptr, nullptr, &Preferences::echoSent},
      {Kind::Command, tools::kOptions, kOptionsEntryText, [](MainDialog& w) { w.ShowOptionsDialog(); }},
      {Kind::Command, tools::kRestoreDefaults, kRestoreDefaultsEntryText, [](MainDialog& w) { w.RestoreDefaults(); }},
      {Kind::Separator},
      // The choice is kept for the next device; this one is told once that it has no lines.
      {Kind::Preference, tools::kRts, kRtsEntryText, [](MainDialog& w) { w.NoteModemLinesChoice(); }, nullptr, nullptr,
       &Preferences::rts},
      {Kind::Preference, tools::kDtr, kDtrEntryText, [](MainDialog& w) { w.NoteModemLinesChoice(); }, nullptr, nullptr,
       &Preferences::dtr},
      {Kind::Command, tools::kBreak, kBreakEntryText, [](MainDialog& w) { w.link_.SendBreak(); }, nullptr,
       [](const MainDialog& w) { return w.IsOpen(); }},
      {Kind::Separator},
      {Kind::Command, tools::kReplies, kRepliesEntryText, [](MainDialog& w) { w.ShowRepliesWindow(); }},
      {Kind::Separator},
      {Kind::Command, tools::kLoadParser, kLoadParserText, [](MainDialog& w) { w.LoadParserCommand(); }},
      {Kind::Group, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
       [](MainDialog& w, QMenu& menu) { w.AddParserEntries(menu); },
       [](MainDialog& w, int id) { return w.ParserCommand(id); }},
      {Kind::Separator},
      {Kind::Group, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
       [](MainDialog& w, QMenu& menu) { w.AddLiveDecodeMenu(menu); },
       [](MainDialog& w, int id) { return w.LiveDecodeCommand(id); }},
      {Kind::Separator},
      {Kind::Command, tools::kHelp, kHelpEntryText, [](MainDialog& w) { w.OpenHelp(); }},
      // Window managers give programs no window menu, so About lives here too.
      {Kind::Command, tools::kAbout, kAboutEntryText, [](MainDialog& w) { w.ShowAboutDialog(); }},
  };
  return rows;
}

void MainDialog::AddToolsRow(QMenu& menu, const ToolsRow& row) {
  switch (row.kind) {
    case ToolsRow::Kind::Separator:
      menu.addSeparator();
      return;
    case ToolsRow::Kind::Group:
      row.addGroup(*this, menu);
      return;
    case ToolsRow::Kind::Command:
    case ToolsRow::Kind::Toggle:
    case ToolsRow::Kind::Preference:
      break;
  }
  QAction* entry = menu.addAction(QString::fromUtf8(row.text));
  entry->setData(row.id);
  if (row.kind != ToolsRow::Kind::Command) {
    entry->setCheckable(true);
    entry->setChecked(row.kind == ToolsRow::Kind::Toggle ? row.ticked(*this) : preferences_.*row.preference);
  }
  if (row.enabled != nullptr) entry->setEnabled(row.enabled(*this));
}

void MainDialog::ShowToolsMenu(const QPoint& clientPoint) {
  QMenu menu(this);
  for (const ToolsRow& row : ToolsRows()) AddToolsRow(menu, row);
  if (QAction* chosen = prompter_.ExecMenu(menu, mapToGlobal(clientPoint))) ToolsCommand(chosen->data().toInt());
}

void MainDialog::ShowToolsMenuAtCursor() { ShowToolsMenu(mapFromGlobal(QCursor::pos())); }

void MainDialog::ToolsCommand(int id) {
  for (const ToolsRow& row : ToolsRows()) {
    if (row.kind == ToolsRow::Kind::Group && row.groupCommand(*this, id)) return;
    if (row.kind == ToolsRow::Kind::Separator || row.kind == ToolsRow::Kind::Group || row.id != id) continue;
    if (row.run != nullptr) row.run(*this);
    if (row.kind == ToolsRow::Kind::Preference) {
      Preferences changed = preferences_;
      changed.*row.preference = !(changed.*row.preference);
      SetPreferences(changed);
    }
    return;
  }
}

void MainDialog::ConvertToolText(ConversionCode code) {
  Notify(QString::fromStdString(ConvertNumber(code, ToolText().toStdString())));
}

QString MainDialog::ToolText() const {
  QString text = ReceiveBox()->SelectedText();
  if (text.isEmpty()) text = SendBox()->SelectedText();
  if (text.isEmpty()) text = SendBox()->ToPlainText();
  return QString::fromStdString(ToWireText(text.toStdString()));
}

void MainDialog::StartCalculator() {
  for (const char* name : desktop::Calculators()) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!program.isEmpty() && prompter_.StartDetached(program)) return;
  }
  Notify(QString::fromUtf8(desktop::CalculatorMissingText()));
}

void MainDialog::OpenHelp() {
  const QString path = QString::fromStdString(options_.helpFile);
  if (!QFileInfo(path).isFile()) {
    Notify(QString::fromUtf8(desktop::HelpFileMissingText()).arg(QDir::toNativeSeparators(path)));
  } else if (!prompter_.OpenDocument(path)) {
    Notify(QString::fromUtf8(desktop::HelpViewerMissingText()).arg(QDir::toNativeSeparators(path)));
  }
}

// A right click on the window's own surface, outside every control, opens the tools menu.
void MainDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) ShowToolsMenu(event->position().toPoint());
  event->accept();
}

const QWidget* MainDialog::ToolsMenuButton() const { return Button(kMenuButton); }

}  // namespace portprobe
