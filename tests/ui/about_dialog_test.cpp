// The about box: its texts, pictures, memory lines and closing.

#include "about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "child_widget.h"
#include "memory_status.h"

using nimbra::AboutDialog;
using nimbra::FormatMemoryLoad;
using nimbra::FormatPhysicalMemory;
using nimbra::MemoryStatus;
using nimbra::ParseMemInfo;

namespace {

const QString kMemInfo = QStringLiteral(
    "MemTotal:       16303276 kB\n"
    "MemFree:         1203400 kB\n"
    "MemAvailable:   10271064 kB\n"
    "Buffers:          512000 kB\n"
    "HugePages_Total:       0\n");

QStringList LabelTexts(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

const QLabel* LabelWithText(const QWidget& widget, const QString& text) {
  for (const QLabel* label : widget.findChildren<QLabel*>())
    if (label->text() == text) return label;
  return nullptr;
}

bool HasVisiblePixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) return true;
  return false;
}

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void CaptionTitleAndVersionLines() {
    AboutDialog box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About Nimbra"));
    const QStringList texts = LabelTexts(box);
    QVERIFY(texts.contains(QStringLiteral("Version " NIMBRA_VERSION)));
    QVERIFY(texts.contains(QStringLiteral("Total physical memory:")));
    const QLabel* title = LabelWithText(box, QStringLiteral("Temporal rainfall disaggregation"));
    QVERIFY(title != nullptr);
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pixelSize(), 13);
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::black));
  }

  void CreditAndContactLines() {
    AboutDialog box;
    const QString all = LabelTexts(box).join(QLatin1Char('\n'));
    QVERIFY(all.contains(QStringLiteral("Developed by")));
    QVERIFY(all.contains(QStringLiteral("reported faults")));
    QVERIFY(all.contains(QStringLiteral("suggestions and fault reports")));
  }

  void PicturesHaveTheirSizesAndAreDrawn() {
    AboutDialog box;
    const auto* picture = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    const auto* banner = box.findChild<QLabel*>(QStringLiteral("Banner"));
    QVERIFY(picture != nullptr && banner != nullptr);
    QCOMPARE(picture->size(), QSize(200, 175));
    QCOMPARE(banner->size(), QSize(145, 25));
    QVERIFY(HasVisiblePixels(picture->pixmap()));
    QVERIFY(HasVisiblePixels(banner->pixmap()));
  }

  void FixedSizeAndCentredOnTheScreen() {
    AboutDialog box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    const QPoint centre = box.screen()->availableGeometry().center();
    QVERIFY2((box.geometry().center() - centre).manhattanLength() <= 4,  // rounding of odd sizes
             qPrintable(QStringLiteral("box centre %1,%2, screen centre %3,%4")
                            .arg(box.geometry().center().x())
                            .arg(box.geometry().center().y())
                            .arg(centre.x())
                            .arg(centre.y())));
  }

  void ParsesTotalAndRoundedLoadFromMemInfo() {
    const auto status = ParseMemInfo(kMemInfo);
    QVERIFY(status.has_value());
    QCOMPARE(status->TotalBytes, quint64(16303276) * 1024);
    QCOMPARE(status->LoadPercent, 37);  // 6032212 / 16303276 = 0.36999...
    QCOMPARE(ParseMemInfo(QStringLiteral("MemTotal: 3 kB\nMemAvailable: 1 kB\n"))->LoadPercent, 67);
    // Kernels without MemAvailable: free memory instead.
    QCOMPARE(ParseMemInfo(QStringLiteral("MemTotal: 1000 kB\nMemFree: 250 kB\n"))->LoadPercent, 75);
  }

  void TextWithoutTotalGivesNothing() {
    QVERIFY(!ParseMemInfo(QString()).has_value());
    QVERIFY(!ParseMemInfo(QStringLiteral("MemFree: 250 kB\n")).has_value());
    QVERIFY(!ParseMemInfo(QStringLiteral("MemTotal: 0 kB\n")).has_value());
  }

  void MemoryFiguresAreFormatted() {
    const quint64 bytes = quint64(16303276) * 1024;
    QCOMPARE(FormatPhysicalMemory(bytes, QLocale(QLocale::English, QLocale::UnitedStates)),
             QStringLiteral("16,303,276 KB"));
    QCOMPARE(FormatPhysicalMemory(bytes, QLocale(QLocale::German, QLocale::Germany)),
             QStringLiteral("16.303.276 KB"));
    // The C locale leaves out group separators unless asked for them.
    QCOMPARE(FormatPhysicalMemory(bytes, QLocale::c()), QStringLiteral("16,303,276 KB"));
    QCOMPARE(FormatPhysicalMemory(999 * 1024, QLocale::c()), QStringLiteral("999 KB"));
    QCOMPARE(FormatPhysicalMemory(1024 * 1000 + 600, QLocale::c()), QStringLiteral("1,001 KB"));
    QCOMPARE(FormatPhysicalMemory(1024 * 1000 + 400, QLocale::c()), QStringLiteral("1,000 KB"));
    QCOMPARE(FormatMemoryLoad(37), QStringLiteral("37 %"));
    QCOMPARE(FormatMemoryLoad(100), QStringLiteral("100 %"));
  }

  void MemoryLinesShowAGivenStatus() {
    AboutDialog box;
    box.ShowMemoryStatus(*ParseMemInfo(kMemInfo));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("PhysMem"))->text(), QStringLiteral("16,303,276 KB"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("FreeRes"))->text(), QStringLiteral("37 %"));
  }

  void MemoryLinesShowThisMachineAtCreation() {
    AboutDialog box;
    const QString physical = box.findChild<QLabel*>(QStringLiteral("PhysMem"))->text();
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^[1-9]\d{0,2}(,\d{3})* KB$)")).match(physical).hasMatch(),
             qPrintable(physical));
    const QString load = box.findChild<QLabel*>(QStringLiteral("FreeRes"))->text();
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^\d{1,3} %$)")).match(load).hasMatch(), qPrintable(load));
  }

  void OkIsDefaultAndCloses() {
    AboutDialog box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
  }

  void EscapeAndEnterClose() {
    AboutDialog box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(!box.isVisible());
  }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
