#pragma once

namespace portprobe::tools {

// The commands of the tools menu, by the id that each entry carries. A new entry is a
// name here and a row in the table of main_dialog_tools.cpp.
enum Command : int {
  kAbout = 16,
  kLoadParser = 5000,
  kDecimalToHex = 5001,
  kHexToDecimal = 5002,
  kHexToBinary = 5006,
  kCalculator = 5009,
  kHelp = 5010,
  kReceiveCheck = 5011,
  kFirstParser = 5020,  // then one for each loaded parser
  kTimestamps = 5030,
  kEchoSent = 5031,
  kOptions = 5032,
  kRestoreDefaults = 5033,
  kAutoReconnect = 5050,
  kRts = 5060,
  kDtr = 5061,
  kBreak = 5062,
  kSendPanel = 5070,
  kReplies = 5071,
  kWave = 5072,
  kConsole = 5073,
  kLiveDecodeOff = 5080,
  kFirstLiveDecoder = 5081,  // then one for each parser slot
};

}  // namespace portprobe::tools
