#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace athup::gui {

// File and folder choices of the program. Tests queue the next answers so no dialog opens; an
// empty QString in the queue stands for the user's cancel.
class FileDialog {
 public:
  // An existing file; empty when cancelled. The filter uses the "Text (*.txt)|*.TXT|..." form of
  // the filing program's dialogs and is translated to Qt's.
  [[nodiscard]] static QString openFileName(QWidget* parent, const QString& caption,
                                            const QString& startFolder, const QString& filter);
  [[nodiscard]] static QString saveFileName(QWidget* parent, const QString& caption,
                                            const QString& startFolder, const QString& filter);
  [[nodiscard]] static QString existingFolder(QWidget* parent, const QString& caption,
                                              const QString& startFolder);

  static void setNextFileName(const QString& name);
  // Answer every dialog with a cancel until switched off.
  static void setAutoCancel(bool on);

  // "A (*.x)|*.X|B (*.*)|*.*" → "A (*.x *.X);;B (*.*)".
  [[nodiscard]] static QString qtFilter(const QString& pipeFilter);
};

}  // namespace athup::gui
