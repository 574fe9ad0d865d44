#pragma once
#include "platform/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Raised when the bytes of the alert file do not form what is expected: a read
// past the end, or a length that cannot be right. The message names the byte
// position.
class EAlertFileDamaged : public Exception {
public:
  using Exception::Exception;
};

// Reads little-endian numbers and texts from the bytes of a file held in
// memory. Every read checks the bytes left first and raises EAlertFileDamaged
// instead of reading past the end.
class AlertFileReader {
public:
  explicit AlertFileReader(std::string_view data) : m_data(data) {}

  std::size_t Position() const { return m_pos; }
  std::size_t Size() const { return m_data.size(); }
  std::size_t Remaining() const { return m_data.size() - m_pos; }

  std::uint8_t ReadByte();
  std::int32_t ReadInt32();
  double ReadDouble();
  std::string ReadBytes(std::size_t count);
  // The next count bytes without copying them.
  std::string_view Take(std::size_t count);

private:
  void Need(std::size_t count) const;

  std::string_view m_data;
  std::size_t m_pos = 0;
};

// Builds the bytes of a file in memory, little-endian.
class AlertFileWriter {
public:
  void PutByte(std::uint8_t value) { m_data.push_back(char(value)); }
  void PutInt32(std::int32_t value);
  void PutDouble(double value);
  void PutBytes(std::string_view bytes) { m_data.append(bytes); }
  void PutZeros(std::size_t count) { m_data.append(count, '\0'); }
  // A short string: a length byte (the text cut to maxLength) and maxLength
  // bytes, the unused ones zero.
  void PutShortString(const std::string &text, std::size_t maxLength);

  const std::string &Data() const { return m_data; }
  std::string Release() { return std::move(m_data); }

private:
  std::string m_data;
};

// Decoding of fields at fixed offsets of a record held in memory.
std::uint8_t GetByteAt(std::string_view block, std::size_t offset);
std::int32_t GetInt32At(std::string_view block, std::size_t offset);
double GetDoubleAt(std::string_view block, std::size_t offset);
// A short string at offset: its length byte, clamped to maxLength, and text.
std::string GetShortStringAt(std::string_view block, std::size_t offset, std::size_t maxLength);
