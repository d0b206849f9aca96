// The help window, its topics and search, the help key, and the toolbar icons.

#include "help_window.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>
#include <set>

#include "child_widget.h"
#include "icons.h"

using nimbra::HelpWindow;
namespace context = nimbra::help_context;

namespace {

QListWidget* Contents(HelpWindow& help) {
  return help.findChild<QListWidget*>(QStringLiteral("ContentsList"));
}
QLineEdit* Search(HelpWindow& help) { return help.findChild<QLineEdit*>(QStringLiteral("SearchEdit")); }

QStringList ShownTopics(HelpWindow& help) {
  QStringList titles;
  QListWidget* list = Contents(help);
  for (int row = 0; row < list->count(); ++row)
    if (!list->item(row)->isHidden()) titles << list->item(row)->text();
  return titles;
}

bool ContainsTitleWith(const QStringList& titles, const QString& part) {
  return std::any_of(titles.begin(), titles.end(),
                     [&](const QString& title) { return title.contains(part); });
}

QString ResourceText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 128) ++count;
  return count;
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void EachContextOpensTheTopicOfItsWindow_data() {
    QTest::addColumn<int>("help_context");
    QTest::addColumn<QString>("caption");
    QTest::newRow("about box") << 1 << QStringLiteral("About Nimbra");
    QTest::newRow("main window") << 2 << QStringLiteral("Nimbra: Temporal Rainfall Disaggregation");
    QTest::newRow("parameters") << 21 << QStringLiteral("Bartlett-Lewis model parameters");
    QTest::newRow("repetitions") << 22 << QStringLiteral("Repetition Options");
    QTest::newRow("graphs") << 23 << QStringLiteral("Nimbra graphs");
    QTest::newRow("visual output") << 999 << QStringLiteral("Visual Output");
  }

  void EachContextOpensTheTopicOfItsWindow() {
    QFETCH(int, help_context);
    QFETCH(QString, caption);
    HelpWindow help;
    help.ShowTopic(help_context);
    QVERIFY(help.isVisible());
    QVERIFY2(help.CurrentTitle().contains(caption), qPrintable(help.CurrentTitle()));
    QVERIFY(help.windowTitle().contains(caption));
    QCOMPARE(Contents(help)->currentItem()->text(), help.CurrentTitle());
  }

  void UnknownContextAndContentsShowTheContentsWithSearch() {
    HelpWindow help;
    help.ShowTopic(5);
    QVERIFY(help.CurrentTitle().contains(QStringLiteral("Contents")));
    help.ShowTopic(context::kGraphs);
    help.ShowContents();
    QVERIFY(help.CurrentTitle().contains(QStringLiteral("Contents")));
    QVERIFY(QTest::qWaitForWindowActive(&help));
    QVERIFY(Search(help)->hasFocus());
  }

  void EveryTopicHasATitleAndIsListed() {
    const auto& topics = nimbra::HelpTopics();
    QVERIFY(topics.size() >= 12);
    std::set<QString> titles;
    for (const auto& topic : topics) {
      QVERIFY2(!topic.Title.isEmpty(), qPrintable(topic.File));
      QVERIFY2(topic.PlainText.size() > 300, qPrintable(topic.File));
      titles.insert(topic.Title);
    }
    QCOMPARE(titles.size(), topics.size());
    HelpWindow help;
    QCOMPARE(Contents(help)->count(), int(topics.size()));
  }

  void EveryLinkAndPictureOfTheTopicsExists() {
    // moc cannot read a raw string with quotes in it.
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#]+)[^\"]*\""));
    for (const auto& topic : nimbra::HelpTopics()) {
      const QString html = ResourceText(QStringLiteral(":/help/") + topic.File);
      for (auto match = reference.globalMatch(html); match.hasNext();) {
        const QUrl target = topic.Url().resolved(QUrl(match.next().captured(1)));
        QVERIFY2(QFile::exists(QLatin1Char(':') + target.path()),
                 qPrintable(topic.File + QStringLiteral(" refers to ") + target.toString()));
      }
    }
  }

  void SearchFiltersTopicsByTheirText() {
    HelpWindow help;
    help.ShowContents();
    const int all = ShownTopics(help).size();
    QTest::keyClicks(Search(help), QStringLiteral("tempelhof"));
    const QStringList found = ShownTopics(help);
    QVERIFY(ContainsTitleWith(found, QStringLiteral("Berlin-Tempelhof example data")));
    QVERIFY(!ContainsTitleWith(found, QStringLiteral("Repetition Options")));
    QVERIFY(found.size() < all);

    Search(help)->setText(QStringLiteral("SEED Greek"));  // every word, any case
    const QStringList both = ShownTopics(help);
    QVERIFY(ContainsTitleWith(both, QStringLiteral("Bartlett-Lewis model parameters")));
    QVERIFY(!ContainsTitleWith(both, QStringLiteral("Hourly output file")));

    Search(help)->setText(QStringLiteral("zzqx"));
    QVERIFY(ShownTopics(help).isEmpty());
    Search(help)->clear();
    QCOMPARE(ShownTopics(help).size(), all);
  }

  void ChoosingATopicInTheListOpensIt() {
    HelpWindow help;
    help.ShowContents();
    QListWidget* list = Contents(help);
    const QList<QListWidgetItem*> items =
        list->findItems(QStringLiteral("Hourly output file"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
    QCOMPARE(help.CurrentTitle(), QStringLiteral("Hourly output file"));
  }

  void FollowingALinkSelectsItsTopic() {
    HelpWindow help;
    help.ShowTopic(context::kMainWindow);
    auto* browser = help.findChild<QTextBrowser*>(QStringLiteral("Browser"));
    browser->setSource(QUrl(QStringLiteral("model.html")));
    QCOMPARE(help.CurrentTitle(), QStringLiteral("The Bartlett-Lewis rectangular pulse model"));
    QCOMPARE(Contents(help)->currentItem()->text(), help.CurrentTitle());
  }

  void HelpKeyOpensTheTopicOfTheWindow() {
    HelpWindow help;
    QWidget window;
    nimbra::InstallHelpKey(&window, context::kRepetitionOptions, help);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(!help.isVisible());
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(help.isVisible());
    QVERIFY(help.CurrentTitle().contains(QStringLiteral("Repetition Options")));
  }

  void HelpKeyInAModalDialogGivesAUsableHelpWindow() {
    HelpWindow help;
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    nimbra::InstallHelpKey(&dialog, context::kModelParameters, help);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QVERIFY(help.isVisible());
    QVERIFY(help.CurrentTitle().contains(QStringLiteral("Bartlett-Lewis model parameters")));
    QCOMPARE(QGuiApplication::modalWindow(), help.windowHandle());  // not blocked by the dialog
    help.close();
    dialog.close();
    help.ShowTopic(context::kMainWindow);  // from no modal window: an ordinary window again
    QCOMPARE(help.windowModality(), Qt::NonModal);
  }

  void EveryToolbarIconIsDrawnAt16Pixels() {
    std::set<QByteArray> drawings;
    for (int index = 0; index < nimbra::kToolbarIconCount; ++index) {
      const QIcon icon = nimbra::ToolbarIcon(index);
      QVERIFY2(!icon.isNull(), qPrintable(QString::number(index)));
      const QImage image = icon.pixmap(QSize(16, 16)).toImage();
      QCOMPARE(image.size(), QSize(16, 16));
      QVERIFY2(OpaquePixels(image) >= 30, qPrintable(QString::number(index)));
      drawings.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(int(drawings.size()), nimbra::kToolbarIconCount);  // no two alike
    QCOMPARE(nimbra::kToolbarIconCount, 13);
    QVERIFY(nimbra::ToolbarIcon(-1).isNull());
    QVERIFY(nimbra::ToolbarIcon(13).isNull());
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
