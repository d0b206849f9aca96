#include "memory_status.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace nimbra {

namespace {

// The values of the "Name:  12345 kB" lines, in bytes.
QMap<QString, quint64> ReadFields(const QString& text) {
  static const QRegularExpression line(QStringLiteral(R"(^(\w+):\s+(\d+)\s*(kB)?\s*$)"),
                                       QRegularExpression::MultilineOption);
  QMap<QString, quint64> fields;
  for (auto match = line.globalMatch(text); match.hasNext();) {
    const auto field = match.next();
    const quint64 unit = field.captured(3).isEmpty() ? 1 : 1024;
    fields.insert(field.captured(1), field.captured(2).toULongLong() * unit);
  }
  return fields;
}

}  // namespace

std::optional<MemoryStatus> ParseMemInfo(const QString& text) {
  const auto fields = ReadFields(text);
  const quint64 total = fields.value(QStringLiteral("MemTotal"));
  if (total == 0) return std::nullopt;
  // Kernels before 3.14 have no MemAvailable; free memory is the nearest figure there.
  const quint64 available =
      std::min(total, fields.value(QStringLiteral("MemAvailable"), fields.value(QStringLiteral("MemFree"))));
  const double load = 100.0 * static_cast<double>(total - available) / static_cast<double>(total);
  return MemoryStatus{total, static_cast<int>(std::lround(load))};
}

MemoryStatus ReadMemoryStatus(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return ParseMemInfo(QString::fromLatin1(file.readAll())).value_or(MemoryStatus{});
}

QString FormatPhysicalMemory(quint64 total_bytes, const QLocale& locale) {
  QLocale grouped = locale;
  grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  const double kilobytes = static_cast<double>(total_bytes) / 1024.0;
  return grouped.toString(kilobytes, 'f', 0) + QStringLiteral(" KB");
}

QString FormatMemoryLoad(int percent) { return QStringLiteral("%1 %").arg(percent); }

}  // namespace nimbra
