#include "parser/packet_parser.h"

#include "parser/runtime/interpreter.h"

namespace portprobe::parser {

PacketParser::PacketParser(OutputSink sink) : interpreter_(std::make_unique<Interpreter>(std::move(sink))) {}

PacketParser::~PacketParser() = default;

int PacketParser::RunParser(std::string_view scriptText, std::span<const std::uint8_t> frame) {
  return interpreter_->RunParser(scriptText, frame);
}

std::int32_t PacketParser::AllocationCount() const { return interpreter_->AllocationCount(); }

void PacketParser::RequestStop() { interpreter_->RequestStop(); }

void PacketParser::SetStepLimit(std::uint64_t maxLines) { interpreter_->SetStepLimit(maxLines); }

void PacketParser::SetBanners(bool on) { interpreter_->SetBanners(on); }

bool PacketParser::LastRunReachedStepLimit() const { return interpreter_->LastRunReachedStepLimit(); }

void PacketParser::SetTraceFolder(const std::string& folder) { interpreter_->SetTraceFolder(folder); }

}  // namespace portprobe::parser
