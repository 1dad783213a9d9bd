// Live decoding: one loaded parser, chosen in the tools menu, decodes every received
// block beside the window, and its output follows the block in the receive box. The
// chosen parser is remembered and chosen again at the next start while it is loaded.
#include <QDir>
#include <QAction>
#include <QMenu>

#include "app/main_dialog.h"
#include "app/tools_menu.h"
#include "resources/strings.h"
#include "serial/receive_timestamps.h"

namespace portprobe {

using namespace resources;

namespace {

QAction* AddTickEntry(QMenu& menu, const QString& text, int id, bool ticked) {
  QAction* entry = menu.addAction(text);
  entry->setData(id);
  entry->setCheckable(true);
  entry->setChecked(ticked);
  return entry;
}

}  // namespace

void MainDialog::AddLiveDecodeMenu(QMenu& menu) {
  QMenu* decoders = menu.addMenu(QString::fromUtf8(kLiveDecodeMenuText));
  AddTickEntry(*decoders, QString::fromUtf8(kLiveDecodeOffText), tools::kLiveDecodeOff, !liveDecoder_);
  for (int i = 0; i < parserSlots_.ParserCount(); ++i) {
    const ParserSlot& slot = parserSlots_.Slot(i);
    const QString text =
        QString::fromUtf8(kParserEntryText).arg(i + 1).arg(QDir::toNativeSeparators(QString::fromStdString(slot.name)));
    AddTickEntry(*decoders, text, tools::kFirstLiveDecoder + i, liveDecoder_ && liveDecoderSlot_ == i)
        ->setEnabled(slot.loaded);
  }
}

bool MainDialog::LiveDecodeCommand(int id) {
  if (id == tools::kLiveDecodeOff) {
    StopLiveDecoder();
    return true;
  }
  const int slot = id - tools::kFirstLiveDecoder;
  if (slot < 0 || slot >= ParserSlots::kCapacity) return false;
  if (slot < parserSlots_.ParserCount()) StartLiveDecoder(slot);
  return true;
}

void MainDialog::StartLiveDecoder(int slot) {
  const ParserSlot& parser = parserSlots_.Slot(slot);
  if (!parser.loaded) return;
  DropLiveDecoder();  // the old script is stopped before the new one starts
  liveDecoder_ = std::make_unique<LiveDecoder>(parser.text, [this] {
    QMetaObject::invokeMethod(this, &MainDialog::ShowLiveDecoderOutput, Qt::QueuedConnection);
  });
  if (const Outcome& started = liveDecoder_->Started(); !started) {
    Notify(QString::fromStdString(started.Reason()));
    StopLiveDecoder();
    return;
  }
  liveDecoderSlot_ = slot;
  ScheduleSettingsSave();
  UpdateStatusLine();
}

void MainDialog::StopLiveDecoder() {
  DropLiveDecoder();
  ScheduleSettingsSave();
  UpdateStatusLine();
}

void MainDialog::FollowReloadedParser(const std::string& path) {
  if (liveDecoder_ && parserSlots_.Slot(liveDecoderSlot_).name == path) StartLiveDecoder(liveDecoderSlot_);
}

std::string MainDialog::LiveDecoderName() const {
  return liveDecoder_ ? parserSlots_.Slot(liveDecoderSlot_).name : std::string();
}

void MainDialog::RestoreLiveDecoder(const std::string& path) {
  if (path.empty()) return;
  RestoreParsers();
  for (int i = 0; i < parserSlots_.ParserCount(); ++i) {
    if (parserSlots_.Slot(i).name == path) {
      StartLiveDecoder(i);
      return;
    }
  }
}

void MainDialog::DecodeBlockLive(const ReceivedBlock& block) {
  if (liveDecoder_) liveDecoder_->Submit(block.bytes, block.number, block.began);
}

// While a parser run from the menu holds received data back, its output is not split
// by the live decoder's either; that waits as the received bytes do. Nor is a block
// under way: the output waits for its end.
void MainDialog::ShowLiveDecoderOutput() {
  if (!liveDecoder_ || receive_.BlockUnderWay()) return;
  if (busy_.ReceiveHeld()) {
    QTimer::singleShot(receive_.FrameGap(), this, &MainDialog::ShowLiveDecoderOutput);
    return;
  }
  ShowDecoderOutput(liveDecoder_->TakeOutput());
}

// A block's decoding stands right under it; when other text came between, under a
// line that names the block by its time, so that it is never read as another's.
void MainDialog::ShowDecoderOutput(const std::vector<LiveDecoder::Output>& outputs) {
  for (const LiveDecoder::Output& output : outputs) {
    if (output.text.empty()) continue;
    PlotDecoded(output);
    const bool underItsBlock = output.block == blockAtBoxEnd_;
    StartLinesOfTheirOwn();
    if (!underItsBlock) {
      AppendReceiveText(
          QString::fromUtf8(kDecodedBlockText).arg(QString::fromStdString(ClockText(output.blockBegan))).toStdString());
    }
    AppendReceiveText(output.text);
    receive_.OtherTextShown();
  }
}

// What the old decoder finished is shown, even before the end of the block under way.
void MainDialog::DropLiveDecoder() {
  if (!liveDecoder_) return;
  const std::vector<LiveDecoder::Output> finished = liveDecoder_->TakeOutput();
  liveDecoder_.reset();
  ShowDecoderOutput(finished);
}

QString MainDialog::LiveDecodeModeText() const {
  return liveDecoder_ ? QString::fromUtf8(kLiveDecodeModeText) : QString();
}

}  // namespace portprobe
