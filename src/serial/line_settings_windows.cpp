// The rows as a COM port's device control block.
#include "serial/dcb_rows.h"

namespace portprobe {

namespace {

// Only the chosen pacing: a driver's leftover XON/XOFF would swallow 0x11 and 0x13
// from binary data, and leftover CTS or DSR handshaking would stall a device without
// the lines wired.
void SetFlowControl(DCB& dcb, FlowControl flowControl) {
  const bool rtsCts = flowControl == FlowControl::RtsCts;
  const bool xonXoff = flowControl == FlowControl::XonXoff;
  dcb.fOutxCtsFlow = rtsCts;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  if (rtsCts) {
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  } else if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE) {
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
  }
  if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE) dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fOutX = xonXoff;
  dcb.fInX = xonXoff;
  dcb.fTXContinueOnXoff = TRUE;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
}

}  // namespace

void SetLineSettings(DCB& dcb, const LineSettings& settings) {
  dcb.fBinary = TRUE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;  // a line error must not stop every read and write until it is taken
  if (settings.baudRate != 0) dcb.BaudRate = settings.baudRate;
  if (ValidRow(settings.dataBitsRow, kDataBitsRows)) {
    static constexpr BYTE kSizes[] = {8, 7, 6, 5};
    dcb.ByteSize = kSizes[settings.dataBitsRow];
  }
  if (ValidRow(settings.parityRow, kParityRows)) {
    static constexpr BYTE kParities[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
    dcb.Parity = kParities[settings.parityRow];
    dcb.fParity = settings.parityRow != 0;
  }
  if (ValidRow(settings.stopBitsRow, kStopBitsRows)) {
    static constexpr BYTE kStopBits[] = {ONESTOPBIT, TWOSTOPBITS, ONE5STOPBITS};
    dcb.StopBits = kStopBits[settings.stopBitsRow];
  }
  // A UART sends 1.5 stop bits only at 5 data bits and 2 only at 6 to 8, and drivers
  // refuse the other pairs; the longer stop is what the line gets, as on Linux.
  if (dcb.StopBits != ONESTOPBIT) dcb.StopBits = dcb.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS;
  SetFlowControl(dcb, settings.flowControl);
}

}  // namespace portprobe
