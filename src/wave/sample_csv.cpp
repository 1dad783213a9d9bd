#include "wave/sample_csv.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>

#include "common/c_file.h"

namespace portprobe {

namespace {

// A name with a comma, a quote or a line end is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string field = "\"";
  for (const char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

void AppendNumber(std::string& out, double value, std::chars_format format, int precision = -1) {
  char buffer[64];
  const auto result = precision < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value, format)
                                    : std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  out.append(buffer, result.ptr);
}

}  // namespace

std::optional<std::size_t> SampleCsvWriter::Column(const std::string& name) {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i] == name) return i;
  }
  if (columns_.size() == SampleStore::kMaxSeries) return std::nullopt;
  columns_.push_back(name);
  return columns_.size() - 1;
}

void SampleCsvWriter::WriteHeader() {
  std::string line = "time_s";
  for (const std::string& column : columns_) line += "," + CsvField(column);
  line += "\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  columnsInHeader_ = columns_.size();
}

// Seconds to the microsecond, the resolution the samples' times are read at.
void SampleCsvWriter::WriteRow(double seconds, std::span<const double> cells) {
  if (cells.size() > columnsInHeader_) WriteHeader();
  std::string line;
  AppendNumber(line, seconds, std::chars_format::fixed, 6);
  for (const double cell : cells) {
    line += ',';
    if (!std::isnan(cell)) AppendNumber(line, cell, std::chars_format::general);
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), file_);
}

void SampleCsvWriter::AddRow(double seconds, std::span<const NamedValue> values) {
  for (const NamedValue& value : values) Column(value.name);
  cells_.assign(columns_.size(), std::nan(""));
  for (const NamedValue& value : values) {
    if (const std::optional<std::size_t> column = Column(value.name)) cells_[*column] = value.value;
  }
  WriteRow(seconds, cells_);
}

void SampleCsvWriter::AddStore(const SampleStore& store) {
  for (std::size_t i = 0; i < store.SeriesCount(); ++i) Column(store.SeriesName(i));
  WriteHeader();
  store.ForEachRow([this](double seconds, std::span<const double> values) { WriteRow(seconds, values); });
}

Outcome SampleCsvWriter::Finish() {
  if (std::fflush(file_) != 0 || std::ferror(file_)) return Failure{std::strerror(errno)};
  return Done{};
}

SampleCsvLog::SampleCsvLog(std::FILE* file, TextEncoding encoding)
    : writer_(file), lines_([this](WallTime time, std::span<const NamedValue> values) {
        if (!origin_) origin_ = time;
        writer_.AddRow(std::chrono::duration<double>(time - *origin_).count(), values);
      }) {
  lines_.SetEncoding(encoding);
}

Outcome WriteSamplesCsv(const SampleStore& store, const std::string& path) {
  CFile file = OpenCFile(path, "wb");
  if (!file) return Failure{std::strerror(errno)};
  SampleCsvWriter writer(file.get());
  writer.AddStore(store);
  Outcome written = writer.Finish();
  if (written && std::fclose(file.release()) != 0) return Failure{std::strerror(errno)};
  return written;
}

}  // namespace portprobe
