// How the series workspace answers while its jobs run. Fit, calibrate and disaggregate are
// started through the window's own buttons (offscreen, the window shown), once to their end
// and once cancelled a while after the start. A 10 ms timer measures the longest wait of the
// event loop from the click until the window is idle again; a cancel is timed to the job's
// end and to the window being idle after it (the page's end handling done, the queue empty).
//
// Usage: workspace_bench [DAILY_CSV HOURLY_CSV [CANCEL_AFTER_MS]]
// (default: the July example records and 1000 ms). The bars: no wait over 100 ms, a cancel
// within a second.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "calibrate_page.h"
#include "disaggregate_page.h"
#include "fit_page.h"
#include "help_window.h"
#include "qt_prompts.h"
#include "records_page.h"
#include "remembered_settings.h"
#include "series_workspace.h"

using namespace nimbra;

namespace {

constexpr int kTickMs = 10;

double Milliseconds(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

// The longest time the event loop kept a 10 ms timer waiting beyond its due time.
class LoopWatch {
 public:
  LoopWatch() {
    tick_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick_, &QTimer::timeout, [this] { Tick(); });
  }
  // Starts the timer and the clock the times are counted on.
  void Start() {
    clock_.start();
    tick_.start(kTickMs);
  }
  qint64 Now() const { return clock_.nsecsElapsed(); }
  double LongestWaitMs() const { return Milliseconds(longest_); }
  qint64 LongestWaitEnd() const { return longestEnd_; }

 private:
  void Tick() {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 wait = now - last_ - qint64{kTickMs} * 1000000;
    if (wait > longest_) {
      longest_ = wait;
      longestEnd_ = now;
    }
    last_ = now;
  }

  QTimer tick_;
  QElapsedTimer clock_;
  qint64 last_ = 0, longest_ = 0, longestEnd_ = 0;
};

struct Lap {
  double Seconds = 0;
  double LongestWaitMs = 0;
  double LongestWaitBeforeEndMs = 0;  // negative: after the job's end, in the page's handling
  double CancelToEndMs = NAN, CancelToIdleMs = NAN;
  QString Status;
};

// Clicks the button from inside the event loop and drives the loop until the job has ended
// and the window is idle again; clicks Cancel after cancelAfterMs when that is not negative.
Lap Drive(TaskBar& bar, QPushButton& run, int cancelAfterMs) {
  LoopWatch watch;
  QEventLoop loop;
  qint64 cancelledAt = -1, endedAt = 0, idleAt = 0;
  const auto ended = QObject::connect(bar.Task, &BackgroundTask::Finished, &loop, [&] {
    endedAt = watch.Now();
    QTimer::singleShot(0, &loop, [&] {
      idleAt = watch.Now();
      loop.quit();
    });
  });
  QTimer::singleShot(0, &loop, [&] {
    watch.Start();
    run.click();
    if (cancelAfterMs < 0) return;
    QTimer::singleShot(cancelAfterMs, &loop, [&] {
      if (!bar.Task->Running()) return;
      cancelledAt = watch.Now();
      bar.CancelButton->click();
    });
  });
  loop.exec();
  QObject::disconnect(ended);
  Lap lap{Milliseconds(idleAt) / 1000,
          watch.LongestWaitMs(),
          Milliseconds(endedAt - watch.LongestWaitEnd()),
          NAN,
          NAN,
          bar.Status->text()};
  if (cancelledAt >= 0) {
    lap.CancelToEndMs = Milliseconds(endedAt - cancelledAt);
    lap.CancelToIdleMs = Milliseconds(idleAt - cancelledAt);
  }
  return lap;
}

void Print(const char* job, const char* how, const Lap& lap) {
  std::printf("%-12s %-9s %8.2f %15.1f %15.1f %16.1f %17.1f  %s\n", job, how, lap.Seconds, lap.LongestWaitMs,
              lap.LongestWaitBeforeEndMs, lap.CancelToEndMs, lap.CancelToIdleMs,
              qPrintable(lap.Status.left(60)));
  std::fflush(stdout);
}

void Measure(const char* job, TaskBar& bar, QPushButton& run, int cancelAfterMs) {
  Print(job, "to end", Drive(bar, run, -1));
  Print(job, "cancelled", Drive(bar, run, cancelAfterMs));
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QString examples = QStringLiteral(NIMBRA_EXAMPLES_DIR);
  const QString daily = argc > 2 ? QString::fromLocal8Bit(argv[1])
                                 : examples + QStringLiteral("/berlin_tempelhof_july_daily.csv");
  const QString hourly = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : examples + QStringLiteral("/berlin_tempelhof_july_hourly.csv");
  const int cancelAfterMs = argc > 3 ? std::atoi(argv[3]) : 1000;
  QTemporaryDir output;
  // The fields remember their choices: the bench keeps its own apart from the user's.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, output.path());
  const auto in = [&](const char* name) { return output.filePath(QString::fromLatin1(name)); };
  QtPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  workspace.show();
  if (!workspace.Records->Open(daily)) return 2;

  std::printf("%-12s %-9s %8s %15s %15s %16s %17s  %s\n", "job", "run", "seconds", "longest wait ms",
              "its end to job's", "cancel to end ms", "cancel to idle ms", "status");
  FitPage& fit = *workspace.Fit;
  fit.Input->SetPath(hourly);
  fit.SeasonsBox->setCurrentIndex(0);  // monthly
  fit.Output->SetPath(in("fitted.csv"));
  Measure("fit", *fit.Bar, *fit.Bar->RunButton, cancelAfterMs);  // the table the next jobs read

  CalibratePage& calibrate = *workspace.Calibrate;
  calibrate.Daily->SetPath(daily);
  calibrate.Observed->SetPath(hourly);
  calibrate.SeasonsEdit->setText(QStringLiteral("7"));
  calibrate.SeedsBox->setValue(1);
  calibrate.EvaluationsBox->setValue(2);
  calibrate.ThreadsBox->setValue(2);
  calibrate.Output->SetPath(in("calibrated.csv"));
  Measure("calibrate", *calibrate.Bar, *calibrate.Bar->RunButton, cancelAfterMs);

  DisaggregatePage& disaggregate = *workspace.Disaggregate;
  disaggregate.Output->SetPath(in("hourly.csv"));
  disaggregate.ReportBox->setChecked(true);
  disaggregate.Report->SetPath(in("report.csv"));
  disaggregate.Observed->SetPath(hourly);
  disaggregate.ThreadsBox->setValue(2);
  Measure("disaggregate", *disaggregate.Bar, *disaggregate.Bar->RunButton, cancelAfterMs);
  workspace.close();
  WriteRememberedValues();  // before the folder of the settings goes
  return 0;
}
