// The tools menu: number conversions, the calculator, the multi-frame send panel, the
// modem lines, packet parsers and help.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>

#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "codec/number_conversion.h"
#include "codec/send_text.h"
#include "ui/plain_text_view.h"

namespace portprobe {

using namespace resources;

namespace {

enum ToolsCommandId : int {
  kLoadParserCommand = 5000,
  kDecimalToHexCommand = 5001,
  kHexToDecimalCommand = 5002,
  kHexToBinaryCommand = 5006,
  kCalculatorCommand = 5009,
  kHelpCommand = 5010,
  kReceiveCheckCommand = 5011,
  kAutoReconnectCommand = 5050,
  kSendPanelCommand = 5070,
  kRepliesCommand = 5071,
  kAboutCommand = 16,
};

#ifdef Q_OS_WIN
// The system's own calculator; what to say when it or the help file is missing.
constexpr const char* kCalculators[] = {"calc.exe"};
constexpr const char* kCalculatorMissing = kNoCalculatorWindowsText;
constexpr const char* kHelpFileMissing = kNoHelpFileWindowsText;
constexpr const char* kHelpViewerMissing = kNoHelpViewerWindowsText;
#else
// Calculators that desktops commonly install, in order of preference.
constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"};
constexpr const char* kCalculatorMissing = kNoCalculatorText;
constexpr const char* kHelpFileMissing = kNoHelpFileText;
constexpr const char* kHelpViewerMissing = kNoHelpViewerText;
#endif

// What the user can install when the desktop lacks something, named by Debian package.

void AddCommand(QMenu& menu, int id, const QString& text) { menu.addAction(text)->setData(id); }

}  // namespace

void MainDialog::ShowToolsMenu(const QPoint& clientPoint) {
  QMenu menu(this);
  AddCommand(menu, kDecimalToHexCommand, QString::fromUtf8(kDecimalToHexText));
  menu.addSeparator();
  AddCommand(menu, kHexToDecimalCommand, QString::fromUtf8(kHexToDecimalText));
  menu.addSeparator();
  AddCommand(menu, kHexToBinaryCommand, QString::fromUtf8(kHexToBinaryText));
  menu.addSeparator();
  AddCommand(menu, kCalculatorCommand, QString::fromUtf8(kCalculatorText));
  menu.addSeparator();
  AddSendPanelEntry(menu, kSendPanelCommand);
  menu.addSeparator();
  AddReceiveCheckEntry(menu, kReceiveCheckCommand);
  AddAutoReconnectEntry(menu, kAutoReconnectCommand);
  menu.addSeparator();
  AddPreferenceEntries(menu);
  menu.addSeparator();
  AddModemEntries(menu);
  menu.addSeparator();
  AddCommand(menu, kRepliesCommand, QString::fromUtf8(kRepliesEntryText));
  menu.addSeparator();
  AddCommand(menu, kLoadParserCommand, QString::fromUtf8(kLoadParserText));
  AddParserEntries(menu);
  menu.addSeparator();
  AddLiveDecodeMenu(menu);
  menu.addSeparator();
  AddCommand(menu, kHelpCommand, QString::fromUtf8(kHelpEntryText));
  // Window managers give programs no window menu, so About lives here too.
  AddCommand(menu, kAboutCommand, QString::fromUtf8(kAboutEntryText));
  if (QAction* chosen = prompter_.ExecMenu(menu, mapToGlobal(clientPoint))) ToolsCommand(chosen->data().toInt());
}

void MainDialog::ShowToolsMenuAtCursor() { ShowToolsMenu(mapFromGlobal(QCursor::pos())); }

void MainDialog::ToolsCommand(int id) {
  if (PreferenceCommand(id)) return;
  switch (id) {
    case kDecimalToHexCommand:
    case kHexToDecimalCommand:
    case kHexToBinaryCommand:
      Notify(QString::fromStdString(
          ConvertNumber(static_cast<ConversionCode>(id - kLoadParserCommand), ToolText().toStdString())));
      break;
    case kCalculatorCommand:
      StartCalculator();
      break;
    case kHelpCommand:
      OpenHelp();
      break;
    case kAboutCommand:
      ShowAboutDialog();
      break;
    case kLoadParserCommand:
      LoadParserCommand();
      break;
    case kReceiveCheckCommand:
      ToggleReceiveCheck();
      break;
    case kAutoReconnectCommand:
      ToggleAutoReconnect();
      break;
    case kSendPanelCommand:
      ToggleSendPanel();
      break;
    case kRepliesCommand:
      ShowRepliesWindow();
      break;
    default:
      if (ModemCommand(id) || LiveDecodeCommand(id)) break;
      if (id >= kFirstParserCommandId && id < kFirstParserCommandId + parserSlots_.ParserCount()) {
        RunParserCommand(id - kFirstParserCommandId);
      }
      break;
  }
}

QString MainDialog::ToolText() const {
  QString text = ReceiveBox()->SelectedText();
  if (text.isEmpty()) text = SendBox()->SelectedText();
  if (text.isEmpty()) text = SendBox()->ToPlainText();
  return QString::fromStdString(ToWireText(text.toStdString()));
}

void MainDialog::StartCalculator() {
  for (const char* name : kCalculators) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!program.isEmpty() && prompter_.StartDetached(program)) return;
  }
  Notify(QString::fromUtf8(kCalculatorMissing));
}

void MainDialog::OpenHelp() {
  const QString path = QString::fromStdString(options_.helpFile);
  if (!QFileInfo(path).isFile()) {
    Notify(QString::fromUtf8(kHelpFileMissing).arg(QDir::toNativeSeparators(path)));
  } else if (!prompter_.OpenDocument(path)) {
    Notify(QString::fromUtf8(kHelpViewerMissing).arg(QDir::toNativeSeparators(path)));
  }
}

// A right click on the window's own surface, outside every control, opens the tools menu.
void MainDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) ShowToolsMenu(event->position().toPoint());
  event->accept();
}

}  // namespace portprobe
