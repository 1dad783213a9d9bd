// The tools menu: number conversions, the calculator, packet parsers and help.
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>

#include "app/main_dialog.h"
#include "common/executable_directory.h"
#include "resources/control_ids.h"
#include "resources/strings.h"
#include "send/number_conversion.h"
#include "send/send_text.h"
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
  kAboutCommand = 16,
};

// Calculators that desktops commonly install, in order of preference.
constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"};

void AddCommand(QMenu& menu, int id, const QString& text) { menu.addAction(text)->setData(id); }

}  // namespace

void MainDialog::ShowToolsMenu(const QPoint& clientPoint) {
  QMenu menu(this);
  AddCommand(menu, kDecimalToHexCommand, QStringLiteral("十进制 -> 十六进制"));
  menu.addSeparator();
  AddCommand(menu, kHexToDecimalCommand, QStringLiteral("十进制 <- 十六进制"));
  menu.addSeparator();
  AddCommand(menu, kHexToBinaryCommand, QStringLiteral("二进制 <- 十六进制"));
  menu.addSeparator();
  AddCommand(menu, kCalculatorCommand, QStringLiteral("计 算 器"));
  menu.addSeparator();
  AddCommand(menu, kLoadParserCommand, QStringLiteral("载入数据包解析器"));
  AddParserEntries(menu);
  menu.addSeparator();
  AddCommand(menu, kHelpCommand, QStringLiteral("About && Help"));
  // Window managers give programs no window menu, so About lives here too.
  AddCommand(menu, kAboutCommand, QString::fromUtf8(kAboutEntryText));
  if (QAction* chosen = prompter_.ExecMenu(menu, mapToGlobal(clientPoint))) ToolsCommand(chosen->data().toInt());
}

void MainDialog::ShowToolsMenuAtCursor() { ShowToolsMenu(mapFromGlobal(QCursor::pos())); }

void MainDialog::ToolsCommand(int id) {
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
    default:
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
}

void MainDialog::OpenHelp() {
  prompter_.OpenDocument(QString::fromStdString(ExecutableDirectory() + "/readme.txt"));
}

// A right click on the window's own surface, outside every control, opens the tools menu.
void MainDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) ShowToolsMenu(event->position().toPoint());
  event->accept();
}

}  // namespace portprobe
