#include "help_topics.h"

#include <QFile>
#include <QTextDocument>
#include <algorithm>
#include <array>

#include "resources.h"

namespace nimbra {

namespace {

struct TopicEntry {
  int context;
  const char* file;
};

constexpr std::array<TopicEntry, 16> kTopicEntries = {{
    {help_context::kNone, "index.html"},
    {help_context::kNone, "first_run.html"},
    {help_context::kNone, "model.html"},
    {help_context::kNone, "disaggregation.html"},
    {help_context::kNone, "calibration.html"},
    {help_context::kMainWindow, "main_window.html"},
    {help_context::kVisualOutput, "visual_output.html"},
    {help_context::kModelParameters, "model_parameters.html"},
    {help_context::kRepetitionOptions, "repetition_options.html"},
    {help_context::kGraphs, "graphs.html"},
    {help_context::kSeriesWorkspace, "series_workspace.html"},
    {help_context::kNone, "statistics.html"},
    {help_context::kNone, "input_file.html"},
    {help_context::kNone, "output_file.html"},
    {help_context::kNone, "example_data.html"},
    {help_context::kAboutBox, "about_box.html"},
}};

HelpTopic LoadTopic(const TopicEntry& entry) {
  HelpTopic topic;
  topic.Context = entry.context;
  topic.File = QString::fromLatin1(entry.file);
  QFile file(QStringLiteral(":/help/") + topic.File);
  if (!file.open(QIODevice::ReadOnly)) return topic;
  QTextDocument document;
  document.setHtml(QString::fromUtf8(file.readAll()));
  topic.Title = document.metaInformation(QTextDocument::DocumentTitle);
  topic.PlainText = document.toPlainText().toLower();
  return topic;
}

std::vector<HelpTopic> LoadTopics() {
  EnsureResources();
  std::vector<HelpTopic> topics;
  for (const auto& entry : kTopicEntries) topics.push_back(LoadTopic(entry));
  return topics;
}

}  // namespace

QUrl HelpTopic::Url() const { return QUrl(QStringLiteral("qrc:/help/") + File); }

const std::vector<HelpTopic>& HelpTopics() {
  static const std::vector<HelpTopic> topics = LoadTopics();
  return topics;
}

const HelpTopic* TopicForContext(int context) {
  if (context == help_context::kNone) return nullptr;
  const auto& topics = HelpTopics();
  const auto found = std::find_if(topics.begin(), topics.end(),
                                  [context](const HelpTopic& topic) { return topic.Context == context; });
  return found == topics.end() ? nullptr : &*found;
}

const HelpTopic* TopicForUrl(const QUrl& url) {
  const QString file = url.fileName();
  const auto& topics = HelpTopics();
  const auto found = std::find_if(topics.begin(), topics.end(),
                                  [&file](const HelpTopic& topic) { return topic.File == file; });
  return found == topics.end() ? nullptr : &*found;
}

bool TopicMatches(const HelpTopic& topic, const QString& query) {
  const QStringList words = query.toLower().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QString title = topic.Title.toLower();
  return std::all_of(words.begin(), words.end(), [&](const QString& word) {
    return title.contains(word) || topic.PlainText.contains(word);
  });
}

}  // namespace nimbra
