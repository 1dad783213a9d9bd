// Packet parsers in the tools menu: loading scripts into slots and running them over
// the selected hex text, with their output in the receive box.
#include <QDir>
#include <QMenu>

#include "app/file_filters.h"
#include "app/main_dialog.h"
#include "app/tools_menu.h"
#include "app/unreadable_file_text.h"
#include "codec/hex_codec.h"
#include "common/state_directory.h"
#include "files/parser_script_file.h"
#include "parser/packet_parser.h"
#include "resources/strings.h"

namespace portprobe {

namespace {

// Where earlier versions kept the list: the working directory.
const char kWorkingDirectoryParserList[] = "parsers.txt";

// The parser list in the state folder (created as needed); empty when there is no such
// folder, and then the list is neither read nor written. A list left in the working
// directory is taken over the first time.
std::string ParserListFile() {
  const std::string folder = MakeStateDirectory();
  if (folder.empty()) return {};
  const std::string list = folder + "/parsers.txt";
  ParserSlots::TakeOverList(kWorkingDirectoryParserList, list);
  return list;
}

}  // namespace

void MainDialog::RestoreParsers() {
  const std::string list = ParserListFile();
  const Outcome restored = parserSlots_.RestoreFromList(list);
  // A list that is there but not read is told once a run, not at every opening.
  if (!restored && !parserListRefused_) {
    parserListRefused_ = true;
    Notify(UnreadableFileText(QString::fromStdString(list), restored.Reason()));
  }
}

void MainDialog::AddParserEntries(QMenu& menu) {
  RestoreParsers();
  for (int i = 0; i < parserSlots_.ParserCount(); ++i) {
    menu.addSeparator();
    const QString name = QDir::toNativeSeparators(QString::fromStdString(parserSlots_.Slot(i).name));
    const QString entry = QString::fromUtf8(resources::kParserEntryText).arg(i + 1).arg(name);
    menu.addAction(entry)->setData(tools::kFirstParser + i);
  }
}

bool MainDialog::ParserCommand(int id) {
  const int slot = id - tools::kFirstParser;
  if (slot < 0 || slot >= parserSlots_.ParserCount()) return false;
  RunParserCommand(slot);
  return true;
}

void MainDialog::LoadParserCommand() {
  if (parserSlots_.Full()) {
    Notify(QString::fromUtf8(resources::kTooManyParsersText));
    return;
  }
  const QString path =
      prompter_.GetOpenFileName(this, {kTextOrAnyFileFilter, QStringLiteral("txt"), QStringLiteral("parser.txt")});
  if (path.isEmpty()) return;
  switch (parserSlots_.LoadChosenScript(path.toStdString())) {
    case ParserSlots::LoadOutcome::Loaded:
      if (const std::string list = ParserListFile(); !ParserSlots::AppendToList(list, path.toStdString())) {
        Notify(QString::fromUtf8(resources::kParserLoadedText) + QLatin1Char('\n') +
               QString::fromUtf8(resources::kParserListUnsavedText).arg(QString::fromStdString(list)));
      } else {
        Notify(QString::fromUtf8(resources::kParserLoadedText));
      }
      break;
    case ParserSlots::LoadOutcome::Failed:
      Notify(QString::fromUtf8(resources::kParserLoadFailedText) + QStringLiteral(": ") +
             UnreadableFileText(QDir::toNativeSeparators(path), parserSlots_.LoadFailure()));
      break;
    case ParserSlots::LoadOutcome::Reloaded:
      FollowReloadedParser(path.toStdString());
      break;
    case ParserSlots::LoadOutcome::ReloadFailed:
      break;
  }
}

// The script runs on a thread of its own; what it prints reaches the receive box in
// order while it runs, and a run that takes long can be stopped.
void MainDialog::RunParserCommand(int index) {
  const ParserSlot& slot = parserSlots_.Slot(index);
  if (!slot.loaded) return;  // its reload failed: nothing to run
  const ByteFrame frame = ParseHexText(ToolText().toStdString(), kMaxParserFrameBytes);
  // Bytes that arrive meanwhile are shown after the run, so they never split its output.
  busy_.HoldReceive(true);
  packetParser_->SetTraceFolder(MakeStateDirectory());
  RunBesideWindow([&] { packetParser_->RunParser(slot.text, frame); }, [this] { packetParser_->RequestStop(); },
                  [] { return QString::fromUtf8(resources::kParserStillRunningText); },
                  [this] {
                    busy_.HoldReceive(false);
                    FlushParserOutput();
                    DrainSerialEvents();
                  });
}

void MainDialog::QueueParserOutput(std::string_view text) {
  if (parserOutput_.Append(text)) QMetaObject::invokeMethod(this, &MainDialog::FlushParserOutput, Qt::QueuedConnection);
}

void MainDialog::FlushParserOutput() { PrintToReceiveBox(parserOutput_.Take()); }

}  // namespace portprobe
