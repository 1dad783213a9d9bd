#pragma once

namespace portprobe::resources {

// Control ids of the main window (template 102).
enum MainControlId : int {
  kStateIcon = 1000,
  kPeriodEdit = 1001,
  kHistoryList = 1002,
  kManualSendButton = 1003,
  kAddHistoryButton = 1004,
  kSendBox = 1005,
  kReceiveBox = 1006,
  kHexSendCheck = 1007,
  kHexDisplayCheck = 1008,
  kAutoSendCheck = 1009,
  kImportHistoryButton = 1010,
  kExportHistoryButton = 1011,
  kClearHistoryButton = 1012,
  kChecksumList = 1013,
  kChecksumButton = 1014,
  kMenuButton = 1015,
  kPeriodLabel = 1017,
  kBaudList = 1018,
  kPortList = 1019,
  kParityList = 1020,
  kDataBitsList = 1021,
  kStopBitsList = 1022,
  kSendFileButton = 1023,
  kSendFileLabel = 1024,
  kMillisecondsLabel = 1025,
  kHexButton = 1026,
  kCharButton = 1027,
  kChangeCaptureButton = 1028,
  kCaptureLabel = 1029,
  kCaptureCheck = 1030,
  kSaveReceiveButton = 1031,
  kClearSendButton = 1032,
  kClearReceiveButton = 1033,
  kStatusLabel = 1035,
  kTxLabel = 1036,
  kResetCountersButton = 1037,
  kRxLabel = 1038,
  kOpenButton = 1039,
  kSettingsGroup = 1041,
  kHistoryPopupButton = 1042,
};

// The history popup (template 131).
inline constexpr int kHistoryPopupList = 1034;

// The options dialog (template 103).
inline constexpr int kOptionsOkButton = 1;
inline constexpr int kOptionsCancelButton = 2;
inline constexpr int kEncodingList = 1201;
inline constexpr int kLineEndList = 1202;
inline constexpr int kFrameGapEdit = 1203;
inline constexpr int kFlowControlList = 1204;

// The About dialog (template 100).
inline constexpr int kAboutIcon = 1100;
inline constexpr int kAboutOkButton = 1;

}  // namespace portprobe::resources
