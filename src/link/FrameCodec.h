#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The DLE-framed packet of the BRX bus:
//
//   DLE STX  destination  source  data...  checksum  DLE ETX [ETX]
//
// The checksum is the XOR of the destination, the source and every data byte
// other than 0x10. Data bytes 0x10 and a checksum 0x10 are sent doubled;
// the two address bytes are always sent as they are, never doubled, so that
// a unit numbered 16 reads the same on both sides. The second ETX is sent
// only on a direct line (no modem link up).
namespace FrameCodec {

inline constexpr uint8_t DLE = 0x10;
inline constexpr uint8_t STX = 0x02;
inline constexpr uint8_t ETX = 0x03;

inline constexpr uint8_t kAllCus = 0x80;
inline constexpr uint8_t kPcAddress = 0x81;
inline constexpr uint8_t kEnrolmentReader = 0x82;
inline constexpr uint8_t kDeviceTestAddress = 0x83;

// The largest command payload (command code included).
inline constexpr int kMaxPayload = 64;
// Capacity of the receive buffers: data bytes of one frame, checksum included.
inline constexpr int kReceiveCapacity = 516;

uint8_t checksum(uint8_t destination, uint8_t source, const QByteArray &data);

// A frame of the link; `secondEtx` on a direct line.
QByteArray encode(uint8_t destination, uint8_t source, const QByteArray &payload, bool secondEtx);

// A frame of the test windows (CU test, installation device test): the same
// layout without the second ETX.
QByteArray encodeTest(uint8_t destination, uint8_t source, const QByteArray &payload);

// "10 02 05 81" for trace lines and CLI output.
QString hex(const QByteArray &bytes);
// Parses "10 02 05" / "100205" into bytes; false on anything else.
bool parseHex(const QString &text, QByteArray *bytes);

} // namespace FrameCodec
