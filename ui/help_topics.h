#pragma once
// The help topics: HTML pages in the resources, in contents order, with the help context
// numbers of the windows that open them.

#include <QString>
#include <QUrl>
#include <vector>

namespace nimbra {

namespace help_context {
inline constexpr int kNone = 0;
inline constexpr int kAboutBox = 1;
inline constexpr int kMainWindow = 2;
inline constexpr int kModelParameters = 21;
inline constexpr int kRepetitionOptions = 22;
inline constexpr int kGraphs = 23;
inline constexpr int kSeriesWorkspace = 30;
inline constexpr int kVisualOutput = 999;
}  // namespace help_context

struct HelpTopic {
  int Context = help_context::kNone;
  QString File;       // name within the help resources, e.g. "model.html"
  QString Title;      // the page's <title>
  QString PlainText;  // for the search, in lower case
  QUrl Url() const;
};

// All topics, loaded once. The first is the contents page.
const std::vector<HelpTopic>& HelpTopics();
const HelpTopic* TopicForContext(int context);
const HelpTopic* TopicForUrl(const QUrl& url);

// True when every word of the query occurs in the topic's title or text, ignoring case;
// an empty query matches every topic.
bool TopicMatches(const HelpTopic& topic, const QString& query);

}  // namespace nimbra
