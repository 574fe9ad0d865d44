#pragma once
#include "alerts/AlertFileStream.h"
#include "platform/Exceptions.h"

#include <string>

class AlertSystemClass;
class TAlertRecord;

// ALERTS.DAT: the user's alerts and, since "1.03", the mail settings and
// e-mail setups. The byte layout is described in docs/alert-file.md.

inline constexpr const char *AlertFileName = "ALERTS.DAT";
inline constexpr const char *AlertRecoveryFileName = "ALERTS.DA_";
inline constexpr const char *AlertFileVersion = "1.03";
inline constexpr const char *EMailSectionVersion = "1.02";
inline constexpr const char *EndOfBodyMarker = "---ENDOFBODY---";
inline constexpr const char *SentinelSymbol = "ENDING";
inline constexpr std::size_t FixedBlockSize = 172;    // versions 1.02 and 1.03
inline constexpr std::size_t OldFixedBlockSize = 156; // version 1.01

// Raised by SaveAlertFile when the file could not be written; the old file
// is then left as it was.
class EAlertFileError : public Exception {
public:
  using Exception::Exception;
};

// What LoadAlertFile found.
struct AlertFileReport {
  bool opened = false; // the file exists and could be opened
  std::string version; // the header text
  int added = 0;       // alerts added to the store
  int duplicates = 0;  // alerts equal to one already stored
  int skipped = 0;     // damaged records left out
  bool sentinelFound = false;
  bool mailSectionRead = false; // the e-mail section was read whole
  std::string error;            // what stopped the reading; empty when nothing did
  std::string setAsidePath;     // copy of a file that could not be read whole
};

// Adds the file's alerts to the store (each gets a new ID; run-time fields
// start afresh; equal alerts load once) and, for version 1.03, reads the mail
// settings and appends the setups. A missing file changes nothing. Damage is
// reported (error-report window, place "ReadAlerts" or "ReadEMSetups"); what
// was read stays, and the file is copied aside (ALERTS.DAT.bad, .bad2, ...)
// so that the next save cannot lose what could not be read. The file is read
// pieceSize bytes at a time (tests choose small pieces).
AlertFileReport LoadAlertFile(AlertSystemClass &store, const std::string &fileName,
                              std::size_t pieceSize = AlertFileReader::PieceSize);

// Writes the whole file (version 1.03) from the store and the mail settings:
// the records are serialised under the store lock, the file is written after
// it is released, to a temporary file that replaces the old one only when
// complete. The file holds the mail password: mode 0600. Raises
// EAlertFileError when the file could not be written.
void SaveAlertFile(AlertSystemClass &store, const std::string &fileName);
// SaveAlertFile for a user's action: a failure is logged and told to the user
// (ReportSaveFailure); the store keeps the alerts, and the next save writes
// them. Never throws; returns whether the file was written.
bool SaveAlertFileReporting(AlertSystemClass &store, const std::string &fileName);
// The bytes SaveAlertFile writes.
std::string SerializeAlertFile(AlertSystemClass &store);

// The e-mail section. ReadEMailSetup resets the mail settings to their
// defaults, then reads them and appends the setups; damage is reported (place
// "ReadEMSetups") and what was read stays. True when read whole.
bool ReadEMailSetup(AlertFileReader &reader);
void WriteEMAILSetup(AlertFileWriter &writer);

// A counted text: int32 byte count, then the bytes.
std::string ReadFileString(AlertFileReader &reader);
void WriteFileString(AlertFileWriter &writer, const std::string &text);

// The fixed block of a record: 172 bytes (versions 1.02, 1.03) or 156
// (1.01, no EMailSetupID and six activation times).
enum class AlertBlockLayout { V101, V102 };
void WriteFixedBlock(AlertFileWriter &writer, const TAlertRecord &alert);
void ReadFixedBlock(AlertFileReader &reader, TAlertRecord &alert, AlertBlockLayout layout);

// At start-up, before loading: temporary files that a killed save left
// beside ALERTS.DAT are removed; a missing ALERTS.DAT is restored from
// ALERTS.DA_; when ALERTS.DAT exists, ALERTS.DA_ is deleted.
void HandleAlertRecoveryCopy(const std::string &folder);
