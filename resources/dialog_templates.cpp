#include "resources/dialog_templates.h"

#include "resources/control_ids.h"

namespace portprobe::resources {

using ui::ControlKind;
using ui::kNoControlId;

// The templates read as tables, so the formatter leaves them alone.
// clang-format off
const ui::DialogTemplate& MainDialogTemplate() {
  static const ui::DialogTemplate dialog{
      102, "PortProbe V5.0", 10, 371, 254, true, true,
      {
          {kOpenButton, ControlKind::PushButton, "关闭", {28, 76, 39, 14}},
          {kPortList, ControlKind::ComboBox, "", {30, 9, 47, 67}},
          {kBaudList, ControlKind::ComboBox, "", {30, 22, 47, 145}},
          {kParityList, ControlKind::ComboBox, "", {30, 35, 47, 57}},
          {kDataBitsList, ControlKind::ComboBox, "", {30, 48, 47, 50}},
          {kStopBitsList, ControlKind::ComboBox, "", {30, 61, 47, 46}},
          {kNoControlId, ControlKind::Label, "串口", {6, 11, 16, 8}},
          {kNoControlId, ControlKind::Label, "波特率", {3, 24, 23, 8}},
          {kSettingsGroup, ControlKind::GroupBox, "", {1, 1, 80, 94}},
          {kNoControlId, ControlKind::Label, "校验位", {3, 38, 23, 8}},
          {kNoControlId, ControlKind::Label, "数据位", {3, 50, 23, 8}},
          {kNoControlId, ControlKind::Label, "停止位", {3, 63, 23, 8}},
          {kHexSendCheck, ControlKind::CheckBox, "十六进制发送", {2, 177, 61, 10}},
          {kAutoSendCheck, ControlKind::CheckBox, "自动发送", {2, 191, 46, 10}},
          {kSendFileButton, ControlKind::PushButton, "发送文件", {228, 238, 35, 14}},
          {kClearSendButton, ControlKind::PushButton, "清空发送&C", {72, 170, 39, 14}},
          {kManualSendButton, ControlKind::PushButton, "手动发送&S", {72, 187, 39, 14}},
          {kSendFileLabel, ControlKind::BorderedLabel, "filepath", {270, 239, 100, 13}, ui::kStyleElideMiddle},
          {kSendBox, ControlKind::MultiLineEdit, "", {116, 167, 254, 46}, ui::kStyleWantReturn},
          {kHexDisplayCheck, ControlKind::CheckBox, "十六进制显示", {2, 98, 57, 10}},
          {kClearReceiveButton, ControlKind::PushButton, "清空接收&R", {47, 110, 39, 14}},
          {kCaptureCheck, ControlKind::CheckBox, "写入文件", {2, 112, 41, 10}},
          {kChangeCaptureButton, ControlKind::PushButton, "更改文件", {4, 126, 35, 14}},
          {kSaveReceiveButton, ControlKind::PushButton, "保存接收&X", {47, 127, 39, 14}},
          {kReceiveBox, ControlKind::MultiLineEdit, "", {88, 2, 281, 164}, ui::kStyleReadOnly},
          {kResetCountersButton, ControlKind::PushButton, "计数清零", {186, 238, 35, 14}},
          {kCaptureLabel, ControlKind::BorderedLabel, "accept filename", {5, 146, 80, 13}, ui::kStyleElideMiddle},
          {kStatusLabel, ControlKind::Label, "STATUS:", {1, 238, 100, 12}, ui::kStyleElideMiddle},
          {kTxLabel, ControlKind::Label, "TX:", {144, 238, 41, 12}},
          {kRxLabel, ControlKind::Label, "RX:", {101, 238, 43, 12}},
          {kStateIcon, ControlKind::Icon, "", {2, 74, 20, 20}},
          {kPeriodLabel, ControlKind::Label, "自动发送周期", {2, 206, 46, 8}},
          {kPeriodEdit, ControlKind::Edit, "", {52, 203, 27, 14}},
          {kMillisecondsLabel, ControlKind::Label, "毫秒", {81, 205, 16, 8}},
          {kHistoryList, ControlKind::ComboBox, "", {39, 222, 89, 75}},
          {kAddHistoryButton, ControlKind::PushButton, "加入&A", {129, 221, 24, 14}},
          {kImportHistoryButton, ControlKind::PushButton, "导入&I", {177, 221, 24, 14}},
          {kExportHistoryButton, ControlKind::PushButton, "导出&E", {201, 221, 24, 14}},
          {kClearHistoryButton, ControlKind::PushButton, "清空&L", {153, 221, 24, 14}},
          // Its rows come from the checksum row table.
          {kChecksumList, ControlKind::ComboBox, "", {228, 222, 54, 90}, ui::kStyleDropDownList},
          {kChecksumButton, ControlKind::PushButton, "校验&K", {283, 220, 24, 14}},
          {kMenuButton, ControlKind::PushButton, "&Menu", {347, 220, 21, 14}},
          {kHexButton, ControlKind::PushButton, "Hex", {308, 220, 17, 14}},
          {kCharButton, ControlKind::PushButton, "Char", {325, 220, 21, 14}},
          {kHistoryPopupButton, ControlKind::PushButton, "历史命令", {3, 221, 35, 14}},
      }};
  return dialog;
}

const ui::DialogTemplate& AboutDialogTemplate() {
  static const ui::DialogTemplate dialog{
      100, "关于 PortProbe", 10, 190, 66, false, false,
      {
          {kAboutIcon, ControlKind::Icon, "", {11, 14, 24, 24}},
          {kNoControlId, ControlKind::Label, "PortProbe V5.0", {44, 12, 140, 10}},
          {kNoControlId, ControlKind::Label, "串口调试终端", {44, 25, 140, 10}},
          {kAboutOkButton, ControlKind::PushButton, "确定", {132, 45, 50, 14}},
      }};
  return dialog;
}

const ui::DialogTemplate& HistoryPopupTemplate() {
  static const ui::DialogTemplate dialog{
      131, "", 10, 74, 94, true, false,
      {
          {kHistoryPopupList, ControlKind::ListBox, "", {0, 0, 74, 94}},
      }};
  return dialog;
}

const ui::DialogTemplate& OptionsDialogTemplate() {
  static const ui::DialogTemplate dialog{
      103, "选项", 10, 170, 96, false, false,
      {
          {kNoControlId, ControlKind::Label, "编码", {7, 9, 52, 8}},
          {kEncodingList, ControlKind::ComboBox, "", {62, 7, 100, 60}, ui::kStyleDropDownList},
          {kNoControlId, ControlKind::Label, "发送行尾", {7, 25, 52, 8}},
          {kLineEndList, ControlKind::ComboBox, "", {62, 23, 100, 60}, ui::kStyleDropDownList},
          {kNoControlId, ControlKind::Label, "帧间隔(ms)", {7, 41, 52, 8}},
          {kFrameGapEdit, ControlKind::Edit, "", {62, 39, 50, 14}},
          {kNoControlId, ControlKind::Label, "流控", {7, 57, 52, 8}},
          {kFlowControlList, ControlKind::ComboBox, "", {62, 55, 100, 60}, ui::kStyleDropDownList},
          {kOptionsOkButton, ControlKind::PushButton, "确定", {62, 76, 48, 14}},
          {kOptionsCancelButton, ControlKind::PushButton, "取消", {114, 76, 48, 14}},
      }};
  return dialog;
}

// clang-format on
}  // namespace portprobe::resources
