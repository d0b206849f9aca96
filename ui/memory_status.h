#pragma once
// The memory figures of the about box, read from the kernel's /proc/meminfo.

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace nimbra {

struct MemoryStatus {
  quint64 TotalBytes = 0;  // physical memory
  int LoadPercent = 0;     // share of it in use, 0 to 100
};

// From the text of /proc/meminfo; nothing when it holds no usable MemTotal.
std::optional<MemoryStatus> ParseMemInfo(const QString& text);
// Zeros when the file cannot be read.
MemoryStatus ReadMemoryStatus(const QString& path = QStringLiteral("/proc/meminfo"));

// "16,303,276 KB": kilobytes, no decimals, thousands always grouped.
QString FormatPhysicalMemory(quint64 total_bytes, const QLocale& locale);
// "37 %".
QString FormatMemoryLoad(int percent);

}  // namespace nimbra
