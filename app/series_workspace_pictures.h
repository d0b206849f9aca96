#pragma once
// Pictures of the series workspace on the bundled July record: each page after its job.

#include <QDir>
#include <QString>

void TakeSeriesWorkspace(const QDir& dir, const QString& examples);
