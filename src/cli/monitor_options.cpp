#include "cli/monitor_options.h"

#include <charconv>
#include <optional>

#include "common/option_word.h"
#include "serial/frame_gap.h"

namespace portprobe::cli {

namespace {

std::optional<std::int32_t> GapMilliseconds(const std::string& text) {
  std::int32_t gap = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), gap);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (gap < kMinFrameGapMilliseconds || gap > kMaxFrameGapMilliseconds) return std::nullopt;
  return gap;
}

Failure Mistake(const std::string& what) { return Failure{"portprobe-cli monitor: " + what + "\n"}; }

Failure BadValue(const std::string& option, const std::string& value) {
  return Mistake("bad value \"" + value + "\" for " + option);
}

// Sets the option that takes a value; false when the value is no good.
bool SetValue(MonitorOptions& options, const std::string& name, const std::string& value) {
  if (name == "--port") {
    options.port = value;
    return !value.empty();
  }
  if (name == "--parser") {
    options.parserPath = value;
    return !value.empty();
  }
  if (name == "--rules") {
    options.rulesPath = value;
    return !value.empty();
  }
  if (name == "--csv") {
    options.csvPath = value;
    return !value.empty();
  }
  if (name == "--gap") {
    const std::optional<std::int32_t> gap = GapMilliseconds(value);
    if (gap) options.gapMilliseconds = *gap;
    return gap.has_value();
  }
  return SetLineOption(options.line, name, value);
}

bool TakesValue(const std::string& name) {
  return name == "--port" || name == "--parser" || name == "--rules" || name == "--csv" || name == "--gap" ||
         IsLineOption(name);
}

}  // namespace

Expected<MonitorOptions> ReadMonitorOptions(const std::vector<std::string>& args) {
  MonitorOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto [name, value] = SplitOptionWord(arg);

    if (name == "--text" || name == "--echo") {
      if (value) return Mistake(name + " takes no value");
      (name == "--text" ? options.text : options.echo) = true;
      continue;
    }
    if (!TakesValue(name)) return Mistake("unknown option \"" + arg + "\"");
    if (!value) {
      if (i + 1 == args.size()) return Mistake(name + " needs a value");
      value = args[++i];
    }
    if (!SetValue(options, name, *value)) return BadValue(name, *value);
  }
  if (options.port.empty()) return Mistake("--port is needed");
  return options;
}

}  // namespace portprobe::cli
