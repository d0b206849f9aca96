#include "help_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "resources.h"

namespace nimbra {

namespace {

// Draws the SVG pictures of the pages (the toolbar icons) itself, so that the help does
// not depend on an image-format plugin being installed.
class HelpBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  QVariant loadResource(int type, const QUrl& name) override {
    if (type == QTextDocument::ImageResource && name.path().endsWith(QLatin1String(".svg"))) {
      const QString resource = QLatin1Char(':') + source().resolved(name).path();
      QSvgRenderer renderer(resource);
      if (renderer.isValid()) return SvgImage(resource, renderer.defaultSize(), devicePixelRatioF());
    }
    return QTextBrowser::loadResource(type, name);
  }
};

constexpr int kFileRole = Qt::UserRole;

QToolButton* NavigationButton(const QString& text, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  EnsureResources();
  setWindowTitle(QStringLiteral("Nimbra Help"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(MakeNavigation());
  layout->addWidget(MakeSplitter());
  resize(860, 600);
  BuildContents();
  connect(SearchEdit, &QLineEdit::textChanged, this, &HelpWindow::FilterTopics);
  const auto open_item = [this](QListWidgetItem* item) { OpenUrl(QUrl(item->data(kFileRole).toString())); };
  connect(ContentsList, &QListWidget::itemActivated, this, open_item);
  connect(ContentsList, &QListWidget::itemClicked, this, open_item);
  connect(Browser, &QTextBrowser::sourceChanged, this, &HelpWindow::SelectTopicOf);
}

QSplitter* HelpWindow::MakeSplitter() {
  SearchEdit = new QLineEdit(this);
  SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
  SearchEdit->setPlaceholderText(QStringLiteral("Search the topics"));
  SearchEdit->setClearButtonEnabled(true);
  ContentsList = new QListWidget(this);
  ContentsList->setObjectName(QStringLiteral("ContentsList"));
  ContentsList->setWordWrap(true);
  ContentsList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* side = new QWidget(this);
  auto* side_layout = new QVBoxLayout(side);
  side_layout->setContentsMargins(0, 0, 0, 0);
  side_layout->addWidget(SearchEdit);
  side_layout->addWidget(ContentsList);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(side);
  splitter->addWidget(Browser);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({300, 560});
  return splitter;
}

QLayout* HelpWindow::MakeNavigation() {
  Browser = new HelpBrowser(this);
  Browser->setObjectName(QStringLiteral("Browser"));
  Browser->document()->setDefaultStyleSheet(QStringLiteral(
      "h1 { font-size: x-large; } th { background-color: #e4ebf5; } pre { background-color: #f4f4f4; }"));
  auto* contents = NavigationButton(QStringLiteral("Contents"), this);
  auto* back = NavigationButton(QStringLiteral("Back"), this);
  auto* forward = NavigationButton(QStringLiteral("Forward"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QToolButton::clicked, this, &HelpWindow::ShowContents);
  connect(back, &QToolButton::clicked, Browser, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
  connect(Browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(Browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();
  return buttons;
}

void HelpWindow::BuildContents() {
  for (const HelpTopic& topic : HelpTopics()) {
    auto* item = new QListWidgetItem(topic.Title, ContentsList);
    item->setData(kFileRole, topic.Url().toString());
  }
}

void HelpWindow::ShowTopic(int context) {
  const HelpTopic* topic = TopicForContext(context);
  if (topic == nullptr) {
    ShowContents();
    return;
  }
  OpenUrl(topic->Url());
  Present();
  Browser->setFocus();
}

void HelpWindow::ShowContents() {
  OpenUrl(HelpTopics().front().Url());
  Present();
  SearchEdit->setFocus();
  SearchEdit->selectAll();
}

QString HelpWindow::CurrentTitle() const { return Browser->documentTitle(); }

void HelpWindow::OpenUrl(const QUrl& url) {
  if (Browser->source() != url) Browser->setSource(url);
}

void HelpWindow::SelectTopicOf(const QUrl& url) {
  const QString file = url.fileName();
  for (int row = 0; row < ContentsList->count(); ++row) {
    QListWidgetItem* item = ContentsList->item(row);
    if (QUrl(item->data(kFileRole).toString()).fileName() != file) continue;
    const QSignalBlocker blocker(ContentsList);
    ContentsList->setCurrentItem(item);
  }
  setWindowTitle(QStringLiteral("Nimbra Help - ") + Browser->documentTitle());
}

void HelpWindow::FilterTopics(const QString& query) {
  const auto& topics = HelpTopics();
  for (int row = 0; row < ContentsList->count(); ++row)
    ContentsList->item(row)->setHidden(!TopicMatches(topics[static_cast<size_t>(row)], query));
}

void HelpWindow::Present() {
  // A modal dialog blocks every other window; the help must then be shown as the newest
  // modal window to be usable, and again as an ordinary window afterwards.
  QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality wanted = (modal != nullptr && modal != this) ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != wanted) {
    hide();
    setWindowModality(wanted);
  }
  show();
  raise();
  activateWindow();
}

void InstallHelpKey(QWidget* window, int context, HelpWindow& help) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  QPointer<HelpWindow> target(&help);
  QObject::connect(shortcut, &QShortcut::activated, window, [target, context] {
    if (target) target->ShowTopic(context);
  });
}

}  // namespace nimbra
