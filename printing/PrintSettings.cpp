#include "printing/PrintSettings.h"

#include <algorithm>
#include <optional>

#include "gradefile/FileMessages.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace {

constexpr std::size_t kNameBytes = 100;
constexpr std::size_t kAppDirBytes = 100;
constexpr std::size_t kFileNameBytes = 112;
constexpr std::string_view kSettingsName = "qprtpara.dat";

// Record layout: offsets of the fields.
constexpr std::size_t kBodyCharset = 0, kTitleCharset = 1, kBodySize = 4, kTitleSize = 8,
                      kBodyName = 12, kTitleName = 113, kBodyStyle = 214, kTitleStyle = 215,
                      kMarginLeft = 216, kMarginRight = 220, kMarginTop = 224, kMarginBottom = 228;

constexpr std::int32_t kDefaultBodySize = 10;
constexpr std::int32_t kDefaultTitleSize = 16;

const std::string& SongName() {
  static const std::string name = Gbk("宋体");
  return name;
}

void PutInt(std::string& record, std::size_t offset, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t GetInt(std::string_view record, std::size_t offset) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i)
    u |= static_cast<std::uint32_t>(static_cast<unsigned char>(record[offset + i])) << (8 * i);
  return static_cast<std::int32_t>(u);
}

void PutName(std::string& record, std::size_t offset, const std::string& name) {
  const std::size_t n = std::min(name.size(), kNameBytes);
  record[offset] = static_cast<char>(n);
  std::copy_n(name.data(), n, record.begin() + static_cast<std::ptrdiff_t>(offset + 1));
}

std::string GetName(std::string_view record, std::size_t offset) {
  const std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(record[offset]), kNameBytes);
  std::string name(record.substr(offset + 1, n));
  // A face name holds no NUL: one means the length byte was damaged.
  name.resize(std::min(name.size(), name.find('\0')));
  return name.empty() ? SongName() : name;
}

std::int32_t SaneSize(std::int32_t size, std::int32_t fallback) {
  return size >= 1 && size <= kMaxFontPoints ? size : fallback;
}

// Anything standing under the name counts, also what cannot be read: the
// user put it there, and loading and saving then report on it rather than
// quietly use the program's copy.
bool Exists(const std::string& path) {
  platform::FileStatus status;
  return platform::Identify(path, &status) || status.Error != platform::FileError::NoSuchFile;
}

SettingsSaveResult SaveResult(const std::string& fileName, const platform::FileStatus& status) {
  SettingsSaveResult result;
  if (!status.Ok()) {
    result.Ok = false;
    result.Message = std::string(texts::kSettingsNotSaved) + DisplayPath(fileName) + ": " + FileErrorReason(status);
  }
  return result;
}

std::int32_t SaneMargin(std::int32_t pixels, std::int32_t dpi) {
  const std::int64_t limit = static_cast<std::int64_t>(dpi > 0 ? dpi : 600) * kMaxMarginInches;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(pixels, 0, limit));
}

}  // namespace

std::string MakeAppDir(std::string_view directoryWithSeparator) {
  return std::string(directoryWithSeparator.substr(0, kAppDirBytes));
}

std::string SettingsFileName(std::string_view appDir) {
  std::string name(appDir);
  name += kSettingsName;
  if (name.size() > kFileNameBytes) name.resize(kFileNameBytes);
  return name;
}

std::string UserSettingsFileName(std::string_view userDir) {
  // Not cut like the program's: a shortened path would name another file.
  std::string name(userDir);
  name += kSettingsName;
  return name;
}

std::string SettingsFileToRead(std::string_view appDir, std::string_view userDir) {
  if (!userDir.empty()) {
    std::string mine = UserSettingsFileName(userDir);
    if (Exists(mine)) return mine;
  }
  return SettingsFileName(appDir);
}

void ApplyDefaultPrintSettings(PrintSetup& setup) {
  setup.BodyFont = FontSpec{1, kDefaultBodySize, SongName(), 0};
  setup.TitleFont = FontSpec{1, kDefaultTitleSize, SongName(),
                             static_cast<std::uint8_t>(fsBold | fsUnderline)};
  TDeviceMetrics& printer = setup.Metrics[DevicePrinter];
  printer.MarginLeft = DefaultMarginLeft(printer.Dpi);
  printer.MarginRight = 0;
  printer.MarginTop = DefaultMarginTop(printer.Dpi);
  printer.MarginBottom = 0;
}

std::string EncodePrintSettings(const PrintSetup& setup) {
  std::string record(kSettingsRecordSize, '\0');
  record[kBodyCharset] = static_cast<char>(setup.BodyFont.Charset);
  record[kTitleCharset] = static_cast<char>(setup.TitleFont.Charset);
  PutInt(record, kBodySize, setup.BodyFont.Size);
  PutInt(record, kTitleSize, setup.TitleFont.Size);
  PutName(record, kBodyName, setup.BodyFont.Name);
  PutName(record, kTitleName, setup.TitleFont.Name);
  record[kBodyStyle] = static_cast<char>(setup.BodyFont.Style);
  record[kTitleStyle] = static_cast<char>(setup.TitleFont.Style);
  const TDeviceMetrics& printer = setup.Metrics[DevicePrinter];
  PutInt(record, kMarginLeft, printer.MarginLeft);
  PutInt(record, kMarginRight, printer.MarginRight);
  PutInt(record, kMarginTop, printer.MarginTop);
  PutInt(record, kMarginBottom, printer.MarginBottom);
  return record;
}

void DecodePrintSettings(std::string_view record, PrintSetup& setup) {
  if (record.size() < kSettingsRecordSize) {
    ApplyDefaultPrintSettings(setup);
    return;
  }
  constexpr std::uint8_t kStyleMask = fsBold | fsItalic | fsUnderline | fsStrikeOut;
  TDeviceMetrics& printer = setup.Metrics[DevicePrinter];
  printer.MarginLeft = SaneMargin(GetInt(record, kMarginLeft), printer.Dpi);
  printer.MarginRight = SaneMargin(GetInt(record, kMarginRight), printer.Dpi);
  printer.MarginTop = SaneMargin(GetInt(record, kMarginTop), printer.Dpi);
  printer.MarginBottom = SaneMargin(GetInt(record, kMarginBottom), printer.Dpi);

  setup.BodyFont.Charset = static_cast<std::uint8_t>(record[kBodyCharset]);
  setup.BodyFont.Size = SaneSize(GetInt(record, kBodySize), kDefaultBodySize);
  setup.BodyFont.Name = GetName(record, kBodyName);
  setup.BodyFont.Style = static_cast<std::uint8_t>(record[kBodyStyle]) & kStyleMask;

  setup.TitleFont.Charset = static_cast<std::uint8_t>(record[kTitleCharset]);
  setup.TitleFont.Size = SaneSize(GetInt(record, kTitleSize), kDefaultTitleSize);
  setup.TitleFont.Name = GetName(record, kTitleName);
  setup.TitleFont.Style = static_cast<std::uint8_t>(record[kTitleStyle]) & kStyleMask;
}

void LoadPrintSettings(std::string_view appDir, std::string_view userDir, PrintSetup& setup) {
  // Opened like a grade file: a pipe or a device in its place would hold up
  // the start of the program, so anything but a regular file is no record.
  std::string record;
  platform::FileStatus status;
  if (std::optional<platform::InputFile> file =
          platform::InputFile::Open(SettingsFileToRead(appDir, userDir), status)) {
    record.resize(kSettingsRecordSize);
    std::size_t got = 0;
    while (got < record.size()) {
      const long n = file->Read(record.data() + got, record.size() - got, status);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    // Only a whole first record counts; what follows it is ignored.
    if (got < kSettingsRecordSize) record.clear();
  }
  DecodePrintSettings(record, setup);
}

void LoadPrintSettings(std::string_view appDir, PrintSetup& setup) { LoadPrintSettings(appDir, {}, setup); }

SettingsSaveResult SavePrintSettings(std::string_view appDir, std::string_view userDir,
                                     const PrintSetup& setup) {
  const std::string record = EncodePrintSettings(setup);
  const std::string userFile = userDir.empty() ? std::string() : UserSettingsFileName(userDir);
  if (userFile.empty() || !Exists(userFile)) {
    const std::string programFile = SettingsFileName(appDir);
    const platform::FileStatus status = platform::WriteWholeFile(programFile, record);
    // A failed write leaves the old file whole, so the user's copy can take
    // over: whatever kept the program's folder from taking the file (a
    // system folder, a read-only copy, a path cut short), the teacher's
    // choice is kept, and read first from now on.
    if (status.Ok() || userFile.empty()) return SaveResult(programFile, status);
  }
  platform::FileStatus status = platform::CreateFolders(std::string(userDir));
  if (status.Ok()) status = platform::WriteWholeFile(userFile, record);
  return SaveResult(userFile, status);
}

SettingsSaveResult SavePrintSettings(std::string_view appDir, const PrintSetup& setup) {
  return SavePrintSettings(appDir, {}, setup);
}
