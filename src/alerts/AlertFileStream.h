#pragma once
#include "platform/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Raised when the bytes of the alert file do not form what is expected: a read
// past the end, or a length that cannot be right. The message names the byte
// position.
class EAlertFileDamaged : public Exception {
public:
  using Exception::Exception;
};

// Reads little-endian numbers and texts from the bytes of a file. Every read
// checks the bytes left first and raises EAlertFileDamaged instead of reading
// past the end. The bytes are either held whole in memory or read from a
// source piece by piece, so that a large file is never held whole: the bytes
// in hand stay within a piece plus the longest field asked for.
class AlertFileReader {
public:
  // Fills to with up to max bytes, answers how many it gave (0: the bytes
  // ended early); may raise to report a failed read.
  using Source = std::function<std::size_t(char *to, std::size_t max)>;
  static constexpr std::size_t PieceSize = 256 * 1024;

  explicit AlertFileReader(std::string_view data) : m_data(data), m_size(data.size()) {}
  // size bytes from source, at least pieceSize bytes at a time.
  AlertFileReader(Source source, std::size_t size, std::size_t pieceSize = PieceSize)
      : m_source(std::move(source)), m_size(size), m_pieceSize(pieceSize) {}
  AlertFileReader(const AlertFileReader &) = delete;
  AlertFileReader &operator=(const AlertFileReader &) = delete;

  std::size_t Position() const { return m_start + m_pos; }
  std::size_t Size() const { return m_size; }
  std::size_t Remaining() const { return m_size - Position(); }

  std::uint8_t ReadByte();
  std::int32_t ReadInt32();
  double ReadDouble();
  std::string ReadBytes(std::size_t count);
  // The next count bytes without copying them; valid until the next read.
  std::string_view Take(std::size_t count);
  // The next count bytes, left unread; valid until the next read.
  std::string_view Peek(std::size_t count);

private:
  void Need(std::size_t count);
  void Fill(std::size_t count);

  Source m_source;
  std::string m_buffer;    // with a source: the bytes in hand
  std::string_view m_data; // the bytes in hand, from file position m_start
  std::size_t m_size = 0;
  std::size_t m_pieceSize = PieceSize;
  std::size_t m_start = 0;
  std::size_t m_pos = 0; // within m_data
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
