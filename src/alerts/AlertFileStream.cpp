#include "alerts/AlertFileStream.h"

#include <algorithm>
#include <bit>

namespace {

std::uint64_t LoadLE(std::string_view bytes, std::size_t offset, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i)
    value |= std::uint64_t(std::uint8_t(bytes[offset + i])) << (8 * i);
  return value;
}

void CheckRange(std::string_view block, std::size_t offset, std::size_t width) {
  if (offset > block.size() || width > block.size() - offset)
    throw EAlertFileDamaged("Field at offset " + std::to_string(offset) +
                            " lies outside its record");
}

} // namespace

void AlertFileReader::Need(std::size_t count) {
  if (count > Remaining())
    throw EAlertFileDamaged("Unexpected end of file at byte " + std::to_string(Position()) + " (" +
                            std::to_string(count) + " bytes wanted, " +
                            std::to_string(Remaining()) + " left)");
  if (count > m_data.size() - m_pos)
    Fill(count);
}

// Keeps the unread bytes, moved to the front, and reads behind them until
// count bytes are in hand (at least a piece, as far as the file goes).
void AlertFileReader::Fill(std::size_t count) {
  const std::size_t kept = m_data.size() - m_pos;
  m_buffer.erase(0, m_buffer.size() - kept);
  m_start += m_pos;
  m_pos = 0;
  const std::size_t wanted = std::min(std::max(count, m_pieceSize), Remaining());
  m_buffer.resize(wanted);
  std::size_t have = kept;
  while (have < wanted) {
    const std::size_t got = m_source ? m_source(m_buffer.data() + have, wanted - have) : 0;
    if (got == 0 || got > wanted - have) {
      m_buffer.resize(have);
      m_data = m_buffer;
      m_size = m_start + have; // the file was shorter than its size said
      throw EAlertFileDamaged("Unexpected end of file at byte " + std::to_string(m_size));
    }
    have += got;
  }
  m_data = m_buffer;
}

std::uint8_t AlertFileReader::ReadByte() {
  Need(1);
  return std::uint8_t(m_data[m_pos++]);
}

std::int32_t AlertFileReader::ReadInt32() {
  Need(4);
  const auto value = std::int32_t(std::uint32_t(LoadLE(m_data, m_pos, 4)));
  m_pos += 4;
  return value;
}

double AlertFileReader::ReadDouble() {
  Need(8);
  const double value = std::bit_cast<double>(LoadLE(m_data, m_pos, 8));
  m_pos += 8;
  return value;
}

std::string AlertFileReader::ReadBytes(std::size_t count) { return std::string(Take(count)); }

std::string_view AlertFileReader::Take(std::size_t count) {
  const std::string_view part = Peek(count);
  m_pos += count;
  return part;
}

std::string_view AlertFileReader::Peek(std::size_t count) {
  Need(count);
  return m_data.substr(m_pos, count);
}

void AlertFileWriter::PutInt32(std::int32_t value) {
  const auto bits = std::uint32_t(value);
  for (int i = 0; i < 4; ++i)
    m_data.push_back(char((bits >> (8 * i)) & 0xFF));
}

void AlertFileWriter::PutDouble(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i)
    m_data.push_back(char((bits >> (8 * i)) & 0xFF));
}

void AlertFileWriter::PutShortString(const std::string &text, std::size_t maxLength) {
  const std::size_t length = std::min(text.size(), maxLength);
  PutByte(std::uint8_t(length));
  m_data.append(text, 0, length);
  PutZeros(maxLength - length);
}

std::uint8_t GetByteAt(std::string_view block, std::size_t offset) {
  CheckRange(block, offset, 1);
  return std::uint8_t(block[offset]);
}

std::int32_t GetInt32At(std::string_view block, std::size_t offset) {
  CheckRange(block, offset, 4);
  return std::int32_t(std::uint32_t(LoadLE(block, offset, 4)));
}

double GetDoubleAt(std::string_view block, std::size_t offset) {
  CheckRange(block, offset, 8);
  return std::bit_cast<double>(LoadLE(block, offset, 8));
}

std::string GetShortStringAt(std::string_view block, std::size_t offset, std::size_t maxLength) {
  CheckRange(block, offset, 1 + maxLength);
  const std::size_t length = std::min<std::size_t>(std::uint8_t(block[offset]), maxLength);
  return std::string(block.substr(offset + 1, length));
}
