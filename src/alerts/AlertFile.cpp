#include "alerts/AlertFile.h"

#include "alerts/AlertBatch.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"
#include "alerts/EMailRecord.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/SaveFailureReport.h"
#include "core/StaleSaveFiles.h"
#include "platform/Format.h"
#include "platform/SaveFileWhole.h"
#include "platform/StringUtils.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr const char *CRLF = "\r\n";

// Offsets of the fixed block (both layouts agree up to ActivationTimes).
constexpr std::size_t OffSymbol = 0;
constexpr std::size_t OffID = 16;
constexpr std::size_t OffAlertType = 23;
constexpr std::size_t OffP1 = 28;
constexpr std::size_t OffActions = 68;
constexpr std::size_t OffActiveActions = 69;
constexpr std::size_t OffActivationTimes = 76;
// Version 1.02 / 1.03.
constexpr std::size_t OffLastAlertTime = 132;
constexpr std::size_t OffTriggerValue = 140;
constexpr std::size_t OffEnabled = 148;
constexpr std::size_t OffSoundIndex = 152;
constexpr std::size_t OffHighlightColor = 156;
constexpr std::size_t OffTickIndex = 160;
constexpr std::size_t OffEMailSetupID = 164;
// Version 1.01: six activation times, then the rest 8 bytes earlier.
constexpr std::size_t OldShift = 8;

QString QPath(const std::string &path) { return QString::fromStdString(path); }

bool FinitePrices(const TAlertRecord &alert) {
  return std::isfinite(alert.P1) && std::isfinite(alert.P2) && std::isfinite(alert.P3) &&
         std::isfinite(alert.P4) && std::isfinite(alert.P5);
}

void ResetRunTimeFields(TAlertRecord &alert) {
  alert.LastAlertTime = 0;
  alert.ActivationTimes.fill(0);
  alert.TickIndex = -1;
  alert.ActiveActions.Clear();
}

QByteArray FileHash(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(&file);
  return hash.result();
}

// Copies a file that could not be read whole beside it, unless an identical
// copy is there already. Returns the copy's path ("" when none was made).
std::string SetAside(const std::string &fileName) {
  const QString source = QPath(fileName);
  const QByteArray hash = FileHash(source);
  for (int n = 1; n < 1000; ++n) {
    const QString target = source + ".bad" + (n == 1 ? QString() : QString::number(n));
    if (QFileInfo::exists(target)) {
      if (!hash.isEmpty() && FileHash(target) == hash)
        return target.toStdString();
      continue;
    }
    if (!QFile::copy(source, target)) {
      WriteLog("ReadAlerts: could not copy " + fileName + " to " + target.toStdString(), 0);
      return "";
    }
    QFile::setPermissions(target, OwnerOnly);
    return target.toStdString();
  }
  return "";
}

bool NextTextIsMarker(AlertFileReader &reader) {
  const std::size_t length = std::strlen(EndOfBodyMarker);
  if (reader.Remaining() < 4 + length)
    return false;
  const std::string_view ahead = reader.Peek(4 + length);
  return GetInt32At(ahead, 0) == std::int32_t(length) && ahead.substr(4) == EndOfBodyMarker;
}

} // namespace

// ---- Counted texts and fixed blocks

std::string ReadFileString(AlertFileReader &reader) {
  const std::size_t at = reader.Position();
  const std::int32_t count = reader.ReadInt32();
  if (count < 0 || std::size_t(count) > reader.Remaining())
    throw EAlertFileDamaged("Bad text length " + std::to_string(count) + " at byte " +
                            std::to_string(at));
  return reader.ReadBytes(std::size_t(count));
}

void WriteFileString(AlertFileWriter &writer, const std::string &text) {
  writer.PutInt32(std::int32_t(text.size()));
  writer.PutBytes(text);
}

void WriteFixedBlock(AlertFileWriter &writer, const TAlertRecord &alert) {
  writer.PutShortString(alert.Symbol, TAlertRecord::SymbolMax);
  writer.PutShortString(alert.ID, TAlertRecord::IDMax);
  writer.PutByte(alert.AlertType);
  writer.PutZeros(4);
  for (double p : {alert.P1, alert.P2, alert.P3, alert.P4, alert.P5})
    writer.PutDouble(p);
  writer.PutByte(alert.Actions.Bits());
  writer.PutByte(alert.ActiveActions.Bits());
  writer.PutZeros(6);
  for (TDateTime t : alert.ActivationTimes)
    writer.PutDouble(t);
  writer.PutDouble(alert.LastAlertTime);
  writer.PutDouble(alert.TriggerValue);
  writer.PutByte(alert.Enabled ? 1 : 0);
  writer.PutZeros(3);
  writer.PutInt32(alert.SoundIndex);
  writer.PutInt32(alert.HighlightColor);
  writer.PutInt32(alert.TickIndex);
  writer.PutShortString(alert.EMailSetupID, TAlertRecord::EMailSetupIDMax);
}

void ReadFixedBlock(AlertFileReader &reader, TAlertRecord &alert, AlertBlockLayout layout) {
  const bool old = layout == AlertBlockLayout::V101;
  const std::string_view block = reader.Take(old ? OldFixedBlockSize : FixedBlockSize);
  const std::size_t shift = old ? OldShift : 0;
  const int times = old ? 6 : 7;

  alert.Symbol = GetShortStringAt(block, OffSymbol, TAlertRecord::SymbolMax);
  alert.ID = GetShortStringAt(block, OffID, TAlertRecord::IDMax);
  alert.AlertType = GetByteAt(block, OffAlertType);
  double *params[] = {&alert.P1, &alert.P2, &alert.P3, &alert.P4, &alert.P5};
  for (std::size_t i = 0; i < 5; ++i)
    *params[i] = GetDoubleAt(block, OffP1 + 8 * i);
  alert.Actions = TActionSet::FromBits(GetByteAt(block, OffActions));
  alert.ActiveActions = TActionSet::FromBits(GetByteAt(block, OffActiveActions));
  alert.ActivationTimes.fill(0);
  for (int i = 0; i < times; ++i)
    alert.ActivationTimes[std::size_t(i)] = GetDoubleAt(block, OffActivationTimes + 8 * i);
  alert.LastAlertTime = GetDoubleAt(block, OffLastAlertTime - shift);
  alert.TriggerValue = GetDoubleAt(block, OffTriggerValue - shift);
  alert.Enabled = GetByteAt(block, OffEnabled - shift) != 0;
  alert.SoundIndex = GetInt32At(block, OffSoundIndex - shift);
  alert.HighlightColor = GetInt32At(block, OffHighlightColor - shift);
  alert.TickIndex = GetInt32At(block, OffTickIndex - shift);
  alert.EMailSetupID =
      old ? std::string() : GetShortStringAt(block, OffEMailSetupID, TAlertRecord::EMailSetupIDMax);
}

// ---- E-mail section

bool ReadEMailSetup(AlertFileReader &reader) {
  std::string label = "Mark 1";
  MailSettings settings; // the defaults
  bool whole = false;
  try {
    label = "Mark 2";
    SetMailSettings(settings);
    label = "Mark 3";
    const std::string versionText = ReadFileString(reader);
    const double version = StrToFloat(Trim(versionText));
    label = "Mark 4";
    ParseMailHostPortText(ReadFileString(reader), settings.SMTPHost, settings.SMTPPort);
    label = "Mark 5";
    settings.FromAddress = ReadFileString(reader);
    if (std::fabs(version - 1.01) > 0.0001) {
      label = "Mark 6";
      settings.Authenticate = reader.ReadByte();
      settings.UserName = ReadFileString(reader);
      settings.Password = ReadFileString(reader);
    }
    SetMailSettings(settings);
    label = "Mark 7";
    const std::size_t countAt = reader.Position();
    const std::int32_t count = reader.ReadInt32();
    // A count too large for the bytes left ends at the first text that is
    // missing, keeping the setups read before it.
    if (count < 0)
      throw EAlertFileDamaged("Bad setup count " + std::to_string(count) + " at byte " +
                              std::to_string(countAt));
    for (std::int32_t i = 0; i < count; ++i) {
      label = "Mark 8";
      const std::string id = ReadFileString(reader);
      const std::string name = ReadFileString(reader);
      const std::string subject = ReadFileString(reader);
      const std::string sendTo = ReadFileString(reader);
      label = "Mark 8.5";
      std::string body;
      for (;;) {
        std::string text = ReadFileString(reader);
        if (text == EndOfBodyMarker)
          break;
        body += text + CRLF;
      }
      // A body that is the marker itself was written before its marker: a
      // second marker follows at once (no setup ID is that long), and the
      // first one was the body.
      while (NextTextIsMarker(reader)) {
        ReadFileString(reader);
        body += std::string(EndOfBodyMarker) + CRLF;
      }
      if (body.size() >= 2)
        body.erase(body.size() - 2);
      label = "Mark 9";
      EMailSetups().Add(name, std::make_unique<EMailRecord>(id, body, subject, sendTo, name));
    }
    whole = true;
  } catch (const std::exception &e) {
    SetMailSettings(settings);
    ShowErrorReport(label + " " + e.what(), "ReadEMSetups");
  }
  return whole;
}

void WriteEMAILSetup(AlertFileWriter &writer) {
  const MailSettings settings = GetMailSettings();
  WriteFileString(writer, EMailSectionVersion);
  WriteFileString(writer, MailHostPortText(settings.SMTPHost, settings.SMTPPort));
  WriteFileString(writer, settings.FromAddress);
  writer.PutByte(settings.Authenticate);
  WriteFileString(writer, settings.UserName);
  WriteFileString(writer, settings.Password);
  const EMailSetupList &setups = EMailSetups();
  int count = 0;
  for (int i = 0; i < setups.Count(); ++i)
    if (setups.Record(i))
      ++count;
  writer.PutInt32(count);
  for (int i = 0; i < setups.Count(); ++i) {
    const EMailRecord *setup = setups.Record(i);
    if (!setup)
      continue;
    WriteFileString(writer, setup->ID);
    WriteFileString(writer, setup->Name);
    WriteFileString(writer, setup->Subject);
    WriteFileString(writer, setup->SendTo);
    WriteFileString(writer, setup->Body);
    WriteFileString(writer, EndOfBodyMarker);
  }
}

// ---- The whole file

AlertFileReport LoadAlertFile(AlertSystemClass &store, const std::string &fileName,
                              std::size_t pieceSize) {
  AlertFileReport report;
  QFile file(QPath(fileName));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    return report;
  report.opened = true;
  // Read piece by piece: the bytes in hand stay small however large the file.
  AlertFileReader reader(
      [&](char *to, std::size_t max) {
        const qint64 got = file.read(to, qint64(max));
        if (got < 0)
          throw EAlertFileDamaged("Cannot read " + fileName + ": " +
                                  file.errorString().toStdString());
        return std::size_t(got);
      },
      std::size_t(std::max<qint64>(0, file.size())), pieceSize);

  std::string label = "Mark 2";
  bool damaged = false;
  // The records read go to the store in one go, also when the file breaks off.
  TAlertBatch read;
  const auto addRead = [&] {
    if (read.Empty())
      return;
    try {
      const AlertSystemClass::TAddedCounts counts = store.AddAlertBatch(std::move(read));
      report.added += counts.added;
      report.duplicates += counts.equal;
    } catch (const std::exception &e) {
      damaged = true;
      if (report.error.empty())
        report.error = e.what();
      ShowErrorReport(std::string("Mark 4.3 ") + e.what(), "ReadAlerts");
    }
    read = TAlertBatch();
  };
  try {
    label = "Mark 3";
    if (reader.Size() < 4)
      throw EAlertFileDamaged("The file is too short for its header");
    report.version = reader.ReadBytes(4);
    AlertBlockLayout layout;
    if (report.version == "1.01")
      layout = AlertBlockLayout::V101;
    else if (report.version == "1.02" || report.version == "1.03")
      layout = AlertBlockLayout::V102;
    else
      throw EAlertFileDamaged("Unknown alert file version \"" + report.version + "\"");

    label = "Mark 4";
    // Room for as many records as the file can hold, so that the batch is
    // not copied as it grows.
    read.Reserve(reader.Remaining() /
                 ((layout == AlertBlockLayout::V101 ? OldFixedBlockSize : FixedBlockSize) + 4));
    while (reader.Position() + 1 < reader.Size()) {
      label = "Mark 4.1";
      std::unique_ptr<TAlertRecord> alert = TAlertRecord::Create();
      ReadFixedBlock(reader, *alert, layout);
      label = "Mark 4.2";
      alert->WaveFile = ReadFileString(reader);
      ResetRunTimeFields(*alert);
      // Stored alerts always carry an ID; the end record has none. So an
      // alert on a symbol that happens to be "ENDING" does not end the file.
      if (alert->Symbol == SentinelSymbol && alert->ID.empty()) {
        report.sentinelFound = true;
        break;
      }
      label = "Mark 4.3";
      if (alert->AlertType >= AlertTypeCount || !FinitePrices(*alert)) {
        ++report.skipped;
        continue;
      }
      read.Add(std::move(alert));
    }
    addRead();
    label = "Mark 5";
    if (!report.sentinelFound)
      throw EAlertFileDamaged("The file ends without its end record");
    if (report.skipped > 0) {
      damaged = true;
      report.error = std::to_string(report.skipped) + " damaged alert record(s) left out";
      ShowErrorReport(label + " " + report.error, "ReadAlerts");
    }
    if (report.version >= AlertFileVersion) {
      label = "Mark 6";
      report.mailSectionRead = ReadEMailSetup(reader);
      if (!report.mailSectionRead) {
        damaged = true;
        if (report.error.empty())
          report.error = "The e-mail section is damaged";
      }
    }
  } catch (const std::exception &e) {
    damaged = true;
    report.error = e.what();
    ShowErrorReport(label + " " + e.what(), "ReadAlerts");
  }
  addRead(); // what was read before the damage
  if (damaged) {
    report.setAsidePath = SetAside(fileName);
    if (!report.setAsidePath.empty())
      WriteLog("ReadAlerts: " + fileName + " kept as " + report.setAsidePath, 0);
  }
  return report;
}

std::string SerializeAlertFile(AlertSystemClass &store) {
  AlertFileWriter writer;
  writer.PutBytes(AlertFileVersion);
  store.ForEachAlert("SAVE", [&](const TAlertRecord &alert) {
    WriteFixedBlock(writer, alert);
    WriteFileString(writer, alert.WaveFile);
  });
  std::unique_ptr<TAlertRecord> sentinel = TAlertRecord::Create();
  sentinel->Symbol = SentinelSymbol;
  WriteFixedBlock(writer, *sentinel);
  writer.PutInt32(0);
  WriteEMAILSetup(writer);
  return writer.Release();
}

void SaveAlertFile(AlertSystemClass &store, const std::string &fileName) {
  const std::string bytes = SerializeAlertFile(store);
  // The file holds the mail password: owner only, from the first byte on.
  std::string error;
  if (!SaveFileWhole(fileName, bytes, error, true))
    throw EAlertFileError("Cannot write " + fileName + ": " + error);
}

bool SaveAlertFileReporting(AlertSystemClass &store, const std::string &fileName) {
  try {
    SaveAlertFile(store, fileName);
    NoteSaveSucceeded();
    return true;
  } catch (const std::exception &e) {
    ReportSaveFailure("the alerts", e.what(), "Alerts");
  } catch (...) {
    ReportSaveFailure("the alerts", "unknown error", "Alerts");
  }
  return false;
}

void HandleAlertRecoveryCopy(const std::string &folder) {
  RemoveStaleSaveFiles(folder + AlertFileName);
  const QString dat = QPath(folder + AlertFileName);
  const QString recovery = QPath(folder + AlertRecoveryFileName);
  if (!QFileInfo::exists(dat)) {
    if (QFileInfo::exists(recovery) && !QFile::rename(recovery, dat))
      WriteLog("NewAlerts: could not restore " + recovery.toStdString(), 0);
  } else if (QFileInfo::exists(recovery)) {
    QFile::remove(recovery);
  }
}
