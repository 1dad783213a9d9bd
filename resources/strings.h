#pragma once

// Every text the programs show, in one place, byte for byte. Every room may include it;
// texts with %1, %2 are filled by QString::arg in the window and by FillText
// (common/fill_text.h) below it.

namespace portprobe::resources {

// String 101: the About entry.
inline constexpr const char kAboutEntryText[] = "关于 ttyprobe(&A)...";

// The edit menu of the text boxes.
inline constexpr const char kUndoEntryText[] = "撤销(&U)";
inline constexpr const char kRedoEntryText[] = "重做(&R)";
inline constexpr const char kCutEntryText[] = "剪切(&T)";
inline constexpr const char kCopyEntryText[] = "复制(&C)";
inline constexpr const char kPasteEntryText[] = "粘贴(&P)";
inline constexpr const char kDeleteEntryText[] = "删除(&D)";
inline constexpr const char kSelectAllEntryText[] = "全选(&A)";

// Main window.
inline constexpr const char kNoCaptureFileText[] = "未指定写入文件";
inline constexpr const char kNoSendFileText[] = "未指定发送文件";
inline constexpr const char kReceivingAreaText[] = "Receiving Area";
inline constexpr const char kSendBlockedText[] = " 发送阻塞";
inline constexpr const char kCloseButtonText[] = "关闭";
inline constexpr const char kOpenButtonText[] = "打开";
inline constexpr const char kNotAPositiveIntegerText[] = "“请填入一个正整数。”";
inline constexpr const char kPeriodOutOfRangeText[] = "“请填入一个在%1和%2之间的整数。”";

// Port and line.
inline constexpr const char kOpenFailedText[] = "打开%1失败:已被占用或不存在!";
inline constexpr const char kSettingsFailedText[] = "参数设置失败!";
inline constexpr const char kOpenDeniedText[] = "打开%1失败:没有访问权限!";
inline constexpr const char kNotAPortText[] = "打开%1失败:不是串口!";
inline constexpr const char kStaleLockText[] =
    "打开%1失败:设备仍被一个已结束的程序锁定为独占使用。拔下再插上设备，或以root身份打开一次，即可解除锁定。";
inline constexpr const char kBadAddressText[] =
    "打开%1失败:网络端口应写成 rfc2217://主机:端口 或 tcp://主机:端口，端口为1到65535。";
inline constexpr const char kNoSuchHostText[] = "打开%1失败:找不到这个主机名。";
inline constexpr const char kConnectRefusedText[] = "打开%1失败:远端拒绝连接，那里没有服务在监听。";
inline constexpr const char kConnectTimedOutText[] = "打开%1失败:5秒内没有连上远端。";
inline constexpr const char kRawTcpLineTip[] =
    "tcp://端口只传字节，线路设置在远端服务器上，这里不能改。要从这里设置，请用rfc2217://。";
inline constexpr const char kEventFailedText[] = "不能建立事件对象!";
// What a server on the network did not do as asked (RemoteNotice, in its order).
inline constexpr const char* kRemoteNoticeTexts[] = {
    "远端不支持设置波特率", "远端不支持设置数据位", "远端不支持设置校验位", "远端不支持设置停止位",
    "远端不支持设置流控",   "远端不支持设置RTS/DTR", "远端不支持发送Break",  "远端不支持清空缓冲区",
    "远端不支持RFC 2217串口设置，只能收发数据。",
    "%1在5秒内没有应答RFC 2217协商，已关闭。它若是普通TCP端口，请用tcp://打开。"};
inline constexpr const char kThreadFailedText[] = "线程创建失败!";
inline constexpr const char kClosedWithUnsentText[] = "串口已关闭，%1字节尚未发出，已丢弃。";
inline constexpr const char kHolderText[] = "%1(进程%2)";
inline constexpr const char kOtherHoldersText[] = "注意: %1同时被其他程序打开: %2。收到的数据可能被它读走。";
inline constexpr const char kHolderSeparatorText[] = "、";
inline constexpr const char kLineErrorText[] = "读串口错，请检查参数设置。";
inline constexpr const char kReadErrorText[] = "读字符出错，请检查。";
inline constexpr const char kHungUpText[] = "串口%1已断开，请检查设备后重新打开。";
inline constexpr const char kSendCutText[] = "\n发送被中断，已写出%1字节。";
inline constexpr const char kWriteErrorText[] = "写串口错！请检查参数设置。";

// Sending.
inline constexpr const char kTooLongText[] = "Too Long Data To Do!";
inline constexpr const char kSendBoxFullText[] =
    "发送框最多容纳4 MiB文本，粘贴的内容太大。更大的数据请用“发送文件”发送。";
inline constexpr const char kPortNotOpenText[] = "串口未打开！";
inline constexpr const char kChecksumNeedsHexText[] = "十六进制发送才可计算校验和!";
inline constexpr const char kAutoSendNeedsPortText[] = "自动发送,请先打开串口!";
inline constexpr const char kSendFileProgressText[] =
    "正在发送文件%1\n已读取 %2 / %3 字节，已写出 %4 字节。要停止发送吗?";
inline constexpr const char kSendFileLabelText[] = "%1 (%2 字节)";
inline constexpr const char kSendFileGoneText[] = "发送文件%1已不存在";
inline constexpr const char kBadHexFileText[] = "读十六进制文件出错，请检查格式！";

// Capture.
inline constexpr const char kNoCaptureChosenText[] = "你未指定写入到文件项。";
inline constexpr const char kChooseCaptureFileText[] = "请选择存放文件处！";
inline constexpr const char kSaveFailedText[] = "保存到文件%1失败:%2";
inline constexpr const char kSavedText[] = "接收数据已存入文件!";
inline constexpr const char kCaptureFailedText[] = "写入文件%1失败:%2\n已停止写入文件。";

// Command history.
inline constexpr const char kHistoryEntryTooLongText[] = "历史命令最长%1字节，发送框中的文本有%2字节，未加入。";
inline constexpr const char kHistoryImportCutText[] = "历史命令最多%1条：导入了前%1条，舍弃了其后的%2条。";
inline constexpr const char kClearHistoryQuestionText[] = "清空全部%1条历史命令？";
inline constexpr const char kHistoryPopupTitleText[] = "%1/%2 双击发送";

// Tools menu and packet parsers.
inline constexpr const char kDecimalToHexText[] = "十进制 -> 十六进制";
inline constexpr const char kHexToDecimalText[] = "十进制 <- 十六进制";
inline constexpr const char kHexToBinaryText[] = "二进制 <- 十六进制";
inline constexpr const char kCalculatorText[] = "计 算 器";
inline constexpr const char kLoadParserText[] = "载入数据包解析器";
inline constexpr const char kReceiveCheckText[] = "接收校验";
inline constexpr const char kReceiveCheckCountsText[] = " ✓%1 ✗%2";
inline constexpr const char kHelpEntryText[] = "About && Help";
inline constexpr const char kNoCalculatorText[] =
    "找不到计算器。请安装 gnome-calculator、kcalc、galculator、qalculate-gtk 或 x11-apps(xcalc)中的一个。";
inline constexpr const char kNoHelpFileText[] =
    "找不到帮助文件%1。请重新安装 PortProbe:cmake --install 把 readme.txt 装在 portprobe 旁边。";
inline constexpr const char kNoHelpViewerText[] =
    "无法打开帮助文件%1。请安装 xdg-utils 和一个文本编辑器(例如 gedit 或 mousepad)。";
// On Windows the calculator and the shell's text viewer come with the system.
inline constexpr const char kNoCalculatorWindowsText[] = "找不到计算器 calc.exe。";
inline constexpr const char kNoHelpFileWindowsText[] = "找不到帮助文件%1。请把 readme.txt 放回 portprobe.exe 旁边。";
inline constexpr const char kNoHelpViewerWindowsText[] = "无法打开帮助文件%1:没有程序打开 .txt 文件。";
inline constexpr const char kParserEntryText[] = "解析器%1:%2";
inline constexpr const char kTooManyParsersText[] = "解析器已经太多了!";
inline constexpr const char kParserLoadedText[] = "载入解析器成功";
inline constexpr const char kParserListUnsavedText[] = "解析器列表无法保存到%1，下次启动时不会自动载入。";
inline constexpr const char kParserLoadFailedText[] = "载入解析器失败";
inline constexpr const char kParserStillRunningText[] = "数据包解析器仍在运行。要停止它吗?";
inline constexpr const char kChecksumProgramStillRunningText[] = "自定义校验程序仍在运行。要停止它吗?";

// Files and prompts.
inline constexpr const char kUnreadableFileText[] = "无法读取文件%1: %2";
inline constexpr const char kAllFilesFirstFilterText[] = "所有文件|*|文本文件|*.txt|";
inline constexpr const char kTextFileFilterText[] = "文本文件|*.txt|";
inline constexpr const char kTextFirstFilterText[] = "文本文件|*.txt|所有文件|*|";
inline constexpr const char kStopButtonText[] = "停止";

// Remembered settings, the command line's line options and the options dialog.
inline constexpr const char kDefaultSendText[] = "0b 03 07 00 34 12 00 00 01 01 00";
inline constexpr const char kSettingsUnreadableText[] = "设置文件%1已损坏或无法读取，本次使用默认设置。";
inline constexpr const char kSettingsMovedAsideText[] = "\n原文件已另存为%1。";
inline constexpr const char kSettingsUnsavedText[] = "设置无法保存到%1: %2";
inline constexpr const char kTimestampsEntryText[] = "时间戳";
inline constexpr const char kEchoSentEntryText[] = "显示发送";
inline constexpr const char kOptionsEntryText[] = "选项...";
inline constexpr const char kRestoreDefaultsEntryText[] = "恢复默认设置";
inline constexpr const char kTimestampsModeText[] = " 时间戳";
inline constexpr const char kEchoSentModeText[] = " 回显";
// " GB18030", or " GBK" where GBK stands in for it (kGbkStandsInText says so).
inline constexpr const char kEncodingModeText[] = " %1";
inline constexpr const char kGbkStandsInText[] = "此系统没有GB18030(代码页54936)，以GBK(代码页936)代替。";
inline constexpr const char kFrameGapModeText[] = " 间隔%1ms";
inline constexpr const char kFrameGapOutOfRangeText[] = "帧间隔请填入一个在%1和%2之间的整数(毫秒)。";
inline constexpr const char* kEncodingRows[] = {"UTF-8", "GB18030"};
inline constexpr const char* kLineEndRows[] = {"无", "CR", "LF", "CR LF"};
inline constexpr const char* kFlowControlRows[] = {"无", "RTS/CTS", "XON/XOFF"};

// Modem lines, break and flow control.
inline constexpr const char kRtsEntryText[] = "RTS";
inline constexpr const char kDtrEntryText[] = "DTR";
inline constexpr const char kBreakEntryText[] = "发送Break";
// The lamps of the lines a device drives, in the order of their bits.
inline constexpr const char* kModemLampTexts[] = {"CTS", "DSR", "RI", "DCD"};
inline constexpr const char kModemLampsLiveText[] = "设备送来的控制线:绿灯为有效";
inline constexpr const char kModemLampsClosedText[] = "端口未打开";
inline constexpr const char kModemLinesMissingText[] = "该设备没有调制解调器控制线(RTS/DTR/CTS/DSR/RI/DCD)";
inline constexpr const char kModemLinesMissingStatusText[] = " 该设备没有RTS/DTR控制线";

// The find bar of the receive box.
inline constexpr const char kFindPlaceholderText[] = "文本或十六进制(如 01 03)";
inline constexpr const char kFindHexText[] = "Hex";
inline constexpr const char kFindHexTipText[] = "按十六进制字节查找;字符显示中查找原始字节";
inline constexpr const char kFindMatchCaseText[] = "Aa";
inline constexpr const char kFindMatchCaseTipText[] = "区分大小写";
inline constexpr const char kFindPreviousTipText[] = "上一个 (Shift+Enter, Shift+F3)";
inline constexpr const char kFindNextTipText[] = "下一个 (Enter, F3)";
inline constexpr const char kFindCloseTipText[] = "关闭 (Esc)";
inline constexpr const char kFindWrappedToStartText[] = "已回到开头";
inline constexpr const char kFindWrappedToEndText[] = "已回到末尾";
inline constexpr const char kFindNotFoundText[] = "未找到";
inline constexpr const char kNoSerialDeviceText[] = "未找到串口设备";
inline constexpr const char kFindBadHexText[] = "十六进制有误";

// The live port list and reconnecting.
inline constexpr const char kAutoReconnectText[] = "自动重连";
inline constexpr const char kAwaitingReturnLineText[] = "串口%1已断开，设备回来后自动重连。";
inline constexpr const char kReconnectedLineText[] = "串口%1已重新连接。";
inline constexpr const char kPortGoneStatusText[] = " 已断开";
inline constexpr const char kAwaitingReturnStatusText[] = " 已断开，等待重连…";
inline constexpr const char kStoppedAwaitingText[] = "已停止等待重连";

// Live decoding of received blocks.
inline constexpr const char kLiveDecodeMenuText[] = "实时解析";
inline constexpr const char kLiveDecodeOffText[] = "关闭";
inline constexpr const char kLiveDecodeModeText[] = " 实时解析";
// Before a block's decoding when other text came between the block and it: the
// block's local time.
inline constexpr const char kDecodedBlockText[] = "<实时解析：%1 收到的帧>\r\n";

// Automatic replies: the rules window.
inline constexpr const char kRepliesEntryText[] = "自动应答";
inline constexpr const char kRepliesTitleText[] = "自动应答";
inline constexpr const char* kRepliesColumnTexts[] = {"匹配", "应答", "命中", "说明"};
inline constexpr const char kRepliesEnabledText[] = "启用";
inline constexpr const char kRepliesAddText[] = "添加";
inline constexpr const char kRepliesRemoveText[] = "删除";
inline constexpr const char kRepliesResetHitsText[] = "清零";
inline constexpr const char kRepliesLoadText[] = "载入...";
inline constexpr const char kRepliesSaveText[] = "保存...";
inline constexpr const char kRepliesHintText[] =
    "匹配: 十六进制字节, ?? 为任意字节; 应答: 十六进制或\"文本\", 可加 +crc16-modbus 等校验";
inline constexpr const char kRepliesBadFileText[] = "规则文件%1中有%2行不是规则,未载入:";
inline constexpr const char kRepliesBadLineText[] = "第%1行: %2";
inline constexpr const char kUnwritableFileText[] = "无法写入文件%1: %2";

// The multi-frame send panel.
inline constexpr const char kSendPanelEntryText[] = "多条发送";
inline constexpr const char kSendPanelTitleText[] = "多条发送";
inline constexpr const char* kSendPanelColumnTexts[] = {"", "名称", "Hex", "帧", "校验", "延时(ms)", ""};
inline constexpr const char kSendPanelTickTipText[] = "勾选的行由\"循环发送\"依次发送";
inline constexpr const char kSendPanelRowSendText[] = "发送";
inline constexpr const char kSendPanelRunText[] = "循环发送";
inline constexpr const char kSendPanelStopText[] = "停止";
inline constexpr const char kSendPanelLoopText[] = "循环";
inline constexpr const char kSendPanelImportText[] = "导入...";
inline constexpr const char kSendPanelExportText[] = "导出...";
inline constexpr const char kSendPanelBadRowText[] = "第%1行的帧有误，未发送：%2";
inline constexpr const char kSendPanelSkippedText[] = "第%1行的帧有误，已跳过：%2";
inline constexpr const char kSendPanelNothingTickedText[] = "没有可发送的勾选行";
inline constexpr const char kSendPanelImportFailedText[] = "未导入%1，面板保持不变:\n%2";
inline constexpr const char kSendPanelImportLineText[] = "第%1行: %2";
inline constexpr const char kSendPanelMoreErrorsText[] = "……还有%1行有误";
inline constexpr const char kSendPanelImportedText[] = "已导入%1行";
inline constexpr const char kSendPanelExportedText[] = "已导出到%1";

// Frames written in files (panel, rules): why a frame's text is refused.
inline constexpr const char kTextEndsInBackslashReason[] = "文本以单独的反斜杠结尾";
inline constexpr const char kEscapeNeedsTwoHexDigitsReason[] = "\\x 后须有两位十六进制数字：";
inline constexpr const char kUnknownEscapeReason[] = "未知的转义：";
inline constexpr const char kTextAfterFrameReason[] = "帧后有多余的文字：";
inline constexpr const char kUnknownChecksumReason[] = "未知的校验：";
inline constexpr const char kNotHexByteReason[] = "不是十六进制字节：";
inline constexpr const char kNoFrameReason[] = "没有帧";
inline constexpr const char kTextMissingQuoteReason[] = "文本缺少结尾的引号";

// The panel file "多条发送".
inline constexpr const char kPanelFileHeaderText[] =
    "# 多条发送: [x]勾选 名称 | 延时(ms) | 帧 (十六进制或\"文本\", 可加 +校验名)\n";
inline constexpr const char kPanelDelayReason[] = "延时须为 0 到 %1 之间的毫秒数：\"%2\"";
inline constexpr const char kPanelTickReason[] = "行首须为 [x] 或 [ ]";
inline constexpr const char kPanelRowFormReason[] = "须写成 [x] 名称 | 延时 | 帧";
inline constexpr const char kPanelTooManyRowsReason[] = "面板最多 %1 行";

// Reply rules: why a rule is refused.
inline constexpr const char kRulePatternReason[] = "匹配：";
inline constexpr const char kRuleEmptyPatternReason[] = "匹配为空";
inline constexpr const char kRuleMissingArrowReason[] = "匹配与应答之间缺少\"->\"";
inline constexpr const char kRuleReplyReason[] = "应答：";
inline constexpr const char kRuleNoReplyReason[] = "应答：没有帧";
inline constexpr const char kRuleCellLineBreakReason[] = "单元格中有换行，保存后会断成几行";
inline constexpr const char kRuleCommentReason[] = "以\"#\"开头，整行是注释";

// Live decoding's notes in the receive box.
inline constexpr const char kStepLimitNoteText[] = "<实时解析：本帧执行超过%1行，已停止；以后超限的帧不再提示>\r\n";
inline constexpr const char kSkippedBlocksNoteText[] = "<实时解析：解析跟不上接收，跳过了%1帧>\r\n";
inline constexpr const char kDecoderThreadFailedText[] = "无法启动实时解析线程：";
inline constexpr const char kCsvFilterText[] = "CSV 文件|*.csv|";
inline constexpr const char kPngFilterText[] = "PNG 图片|*.png|";

// Console mode.
inline constexpr const char kConsoleEntryText[] = "终端模式";
// Shown over the screen for a moment when its size changes, for `stty rows R cols C`.
inline constexpr const char kConsoleSizeText[] = "%1列 × %2行";

// The waveform view.
inline constexpr const char kWaveEntryText[] = "波形显示";
inline constexpr const char kWaveTitleText[] = "波形显示";
inline constexpr const char* kWaveSourceTexts[] = {"文本行", "实时解析"};
inline constexpr const char kWaveSourceTipText[] =
    "文本行: 每行的数字 (1.5,2.25,-3 或 temp:21.5 hum:40)\n"
    "实时解析: 工具菜单\"实时解析\"所选解析器输出的 name=value 行";
inline constexpr const char kWaveSpanText[] = "显示最近";
inline constexpr const char kWaveSecondsSuffixText[] = " 秒";
inline constexpr const char kWaveAllText[] = "全部";
inline constexpr const char kWaveAutoScaleText[] = "自动量程";
inline constexpr const char kWavePauseText[] = "暂停";
inline constexpr const char kWaveResumeText[] = "继续";
inline constexpr const char kWaveClearText[] = "清空";
inline constexpr const char kWaveExportCsvText[] = "导出CSV...";
inline constexpr const char kWaveExportPngText[] = "导出PNG...";
inline constexpr const char kWaveTimeAxisText[] = "时间 (秒)";
inline constexpr const char kWaveSkippedText[] = "无数字的行: %1";
inline constexpr const char kWaveCursorText[] = "%1 秒";
inline constexpr const char kWaveHintText[] = "暂停后可用滚轮缩放、拖动平移; 点击图例隐藏或显示曲线";

// The parity list, row by row.
inline constexpr const char* kParityRowTexts[] = {"无None", "奇Odd", "偶Even", "标志Mark", "空格Space"};

// What an open that did not succeed says on the command line; the window's texts are
// above.
inline constexpr const char kOpenFailedCliText[] =
    "cannot open it: it is missing, not accessible or held by another program";
inline constexpr const char kMissingCliText[] = "cannot open it: no such device";
inline constexpr const char kHeldCliText[] = "cannot open it: another program holds it";
inline constexpr const char kStaleLockCliText[] =
    "cannot open it: it is still locked for exclusive use by a program that has ended; unplugging it, or opening "
    "it once as root, clears the lock";
inline constexpr const char kDeniedCliText[] = "cannot open it: permission denied";
inline constexpr const char kNoSerialPortCliText[] = "it is no serial port";
inline constexpr const char kSettingsRefusedCliText[] = "the driver refused the line settings";
inline constexpr const char kNoResourcesCliText[] = "the system refused the resources to watch it";
inline constexpr const char kBadAddressCliText[] =
    "cannot open it: a network port is rfc2217://HOST:PORT or tcp://HOST:PORT with a port from 1 to 65535";
inline constexpr const char kNoSuchHostCliText[] = "cannot open it: the host name does not resolve";
inline constexpr const char kConnectRefusedCliText[] = "cannot open it: the server refused the connection";
inline constexpr const char kConnectTimedOutCliText[] = "cannot open it: no connection within 5 seconds";
inline constexpr const char* kRemoteNoticeCliTexts[] = {
    "the server does not set the baud rate",
    "the server does not set the data bits",
    "the server does not set the parity",
    "the server does not set the stop bits",
    "the server does not set the flow control",
    "the server does not set RTS/DTR",
    "the server does not send a break",
    "the server does not purge its buffers",
    "the server refuses RFC 2217's serial-port option: data only",
    "no answer to the RFC 2217 negotiation within 5 seconds; for a plain TCP port use tcp://"};

// portprobe-cli.
inline constexpr const char kParserTimedOutCliText[] = "解析器运行超时\n";
inline constexpr const char kHexStopsText[] = "第%1个字符起不是十六进制";
inline constexpr const char kHexStopsSentText[] = "第%1个字符起不是十六进制，只发送了%2字节";
inline constexpr const char kNotDecimalCliText[] = "不是十进制整数";
inline constexpr const char kBeyond32BitsCliText[] = "超出32位整数的范围";
inline constexpr const char kMoreErrorLinesText[] = "…还有%1行错误";
inline constexpr const char kRulesUnreadableCliText[] = "载入应答规则失败: 无法读取文件%1: %2\n";
inline constexpr const char kParserUnreadableCliText[] = "载入解析器失败: 无法读取文件%1: %2\n";
inline constexpr const char kIsFolderReason[] = "是文件夹";
inline constexpr const char kUnknownChecksumCliText[] = "未知的校验: %1\n可用的校验:\n";

}  // namespace portprobe::resources
