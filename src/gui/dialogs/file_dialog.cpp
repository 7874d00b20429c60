#include "gui/dialogs/file_dialog.h"

#include <QFileDialog>
#include <QStringList>
#include <deque>

namespace athup::gui {
namespace {

std::deque<QString> g_nextNames;
bool g_autoCancel = false;

std::optional<QString> scripted() {
  if (!g_nextNames.empty()) {
    QString name = g_nextNames.front();
    g_nextNames.pop_front();
    return name;
  }
  if (g_autoCancel) return QString();
  return std::nullopt;
}

}  // namespace

QString FileDialog::qtFilter(const QString& pipeFilter) {
  const QStringList parts = pipeFilter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString label = parts[i];
    const QString patterns = parts[i + 1];
    // The label usually names the lower-case pattern already; add the upper-case one so Qt
    // matches both on case-sensitive file systems.
    const qsizetype open = label.indexOf(QLatin1Char('('));
    if (open >= 0) label = label.left(open).trimmed();
    QStringList globs = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& glob : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      if (!globs.contains(glob.toLower())) globs.append(glob.toLower());
    }
    filters.append(label + QStringLiteral(" (") + globs.join(QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return filters.join(QStringLiteral(";;"));
}

QString FileDialog::openFileName(QWidget* parent, const QString& caption,
                                 const QString& startFolder, const QString& filter) {
  if (auto name = scripted()) return *name;
  return QFileDialog::getOpenFileName(parent, caption, startFolder, qtFilter(filter));
}

QString FileDialog::saveFileName(QWidget* parent, const QString& caption,
                                 const QString& startFolder, const QString& filter) {
  if (auto name = scripted()) return *name;
  return QFileDialog::getSaveFileName(parent, caption, startFolder, qtFilter(filter));
}

QString FileDialog::existingFolder(QWidget* parent, const QString& caption,
                                   const QString& startFolder) {
  if (auto name = scripted()) return *name;
  return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

void FileDialog::setNextFileName(const QString& name) {
  g_nextNames.push_back(name);
}

void FileDialog::setAutoCancel(bool on) {
  g_autoCancel = on;
}

}  // namespace athup::gui
