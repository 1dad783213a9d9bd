#include "automation/block_decoder.h"

#include <algorithm>

#include "files/parser_script_file.h"
#include "resources/strings.h"
#include "common/fill_text.h"

namespace portprobe {

namespace {

std::string StepLimitText() {
  return FillText(resources::kStepLimitNoteText, {std::to_string(BlockDecoder::kStepLimit)});
}

}  // namespace

BlockDecoder::BlockDecoder(std::string scriptText)
    : script_(std::move(scriptText)), parser_([this](std::string_view text) { output_.append(text); }) {
  parser_.SetBanners(false);
  parser_.SetStepLimit(kStepLimit);
}

std::string BlockDecoder::Decode(std::span<const std::uint8_t> block) {
  output_.clear();
  parser_.RunParser(script_, block.first(std::min(block.size(), kMaxParserFrameBytes)));
  if (parser_.LastRunReachedStepLimit() && !limitReported_) {
    limitReported_ = true;
    output_ += StepLimitText();
  }
  return std::move(output_);
}

}  // namespace portprobe
